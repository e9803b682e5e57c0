#include "settings/ini_file.h"

#include <climits>

#include "common/hu_format.h"

namespace velmora {

namespace {

// Names compare without regard to ASCII case only.
std::string Lower(std::string name) {
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return name;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

} // namespace

IniFile IniFile::Parse(const std::string& text) {
    IniFile ini;
    Section* current = nullptr;
    std::size_t position = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        position = 3;
    }
    while (position < text.size()) {
        std::size_t end = text.find('\n', position);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = Trim(text.substr(position, end - position));
        position = end + 1;
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line[0] == '[') {
            const std::size_t close = line.find(']');
            const std::string name =
                Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            current = &ini.SectionFor(name);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (current == nullptr || equals == std::string::npos) {
            continue;
        }
        const std::string key = Trim(line.substr(0, equals));
        if (key.empty()) {
            continue;
        }
        AddEntry(*current, key, Trim(line.substr(equals + 1)));
    }
    return ini;
}

const IniFile::Section* IniFile::FindSection(const std::string& name) const {
    const auto found = m_sectionIndex.find(Lower(name));
    return found == m_sectionIndex.end() ? nullptr : &m_sections[found->second];
}

IniFile::Section& IniFile::SectionFor(const std::string& name) {
    const auto [found, added] = m_sectionIndex.try_emplace(Lower(name), m_sections.size());
    if (added) {
        m_sections.push_back({name, {}, {}});
    }
    return m_sections[found->second];
}

const std::string* IniFile::FindValue(const std::string& section, const std::string& key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return nullptr;
    }
    const auto entry = found->index.find(Lower(key));
    return entry == found->index.end() ? nullptr : &found->entries[entry->second].value;
}

bool IniFile::AddEntry(Section& section, const std::string& key, const std::string& value) {
    const auto [found, added] = section.index.try_emplace(Lower(key), section.entries.size());
    if (added) {
        section.entries.push_back({key, value});
    }
    return added;
}

bool IniFile::HasKey(const std::string& section, const std::string& key) const {
    return FindValue(section, key) != nullptr;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
    const std::string* value = FindValue(section, key);
    return value != nullptr ? *value : fallback;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const {
    const std::string* value = FindValue(section, key);
    long long parsed = 0;
    if (value == nullptr || !ParseInteger(*value, parsed) || parsed < INT_MIN || parsed > INT_MAX) {
        return fallback;
    }
    return static_cast<int>(parsed);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
    const std::string* value = FindValue(section, key);
    long long parsed = 0;
    if (value == nullptr || !ParseInteger(*value, parsed)) {
        return fallback;
    }
    return parsed != 0;
}

double IniFile::ReadReal(const std::string& section, const std::string& key,
                         double fallback) const {
    const std::string* value = FindValue(section, key);
    double parsed = 0;
    if (value == nullptr || !ParseReal(*value, parsed)) {
        return fallback;
    }
    return parsed;
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
    Section& target = SectionFor(section);
    if (!AddEntry(target, key, value)) {
        target.entries[target.index.at(Lower(key))].value = value;
    }
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, long long value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteReal(const std::string& section, const std::string& key, double value) {
    WriteString(section, key, FormatReal(value));
}

std::string IniFile::Text() const {
    std::string text;
    for (const Section& section : m_sections) {
        if (!text.empty()) {
            text += '\n';
        }
        text += '[' + section.name + "]\n";
        for (const Entry& entry : section.entries) {
            text += entry.key + '=' + entry.value + '\n';
        }
    }
    return text;
}

} // namespace velmora
