#pragma once

#include <string>
#include <unordered_map>
#include <vector>

// The sectioned "key=value" text format of the settings file. Section and key names compare
// without regard to ASCII case; values keep their case. Lines that are neither a section header
// nor a key=value pair are ignored, so a hand-edited or half-written file still reads.
namespace velmora {

class IniFile {
public:
    // Parses `text` (LF or CR LF line ends, an optional UTF-8 byte order mark). Blank lines,
    // ';' comments, garbage lines and keys before the first section are ignored. A section
    // that appears twice is merged; of a key that appears twice the first value counts.
    static IniFile Parse(const std::string& text);

    bool HasKey(const std::string& section, const std::string& key) const;

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // A value that is not a whole decimal number in the range of int gives `fallback`.
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    // Stored as an integer, nonzero = true; a value that is not a number gives `fallback`.
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;
    // Decimal comma or point; a value that is not a number gives `fallback`.
    double ReadReal(const std::string& section, const std::string& key, double fallback) const;

    // A new section goes after the existing ones, a new key after the keys of its section;
    // writing an existing key replaces its value in place.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, long long value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void WriteReal(const std::string& section, const std::string& key, double value);

    // Sections in order, separated by a blank line, "\n" line ends.
    std::string Text() const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    // Names are looked up by their lower-case form, so reading and writing stay linear in the
    // size of the file however many keys it holds.
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        std::unordered_map<std::string, std::size_t> index; // lower-case key -> entry
    };

    const Section* FindSection(const std::string& name) const;
    Section& SectionFor(const std::string& name);
    const std::string* FindValue(const std::string& section, const std::string& key) const;
    // Adds the key when the section lacks it; false (nothing changed) when it has it.
    static bool AddEntry(Section& section, const std::string& key, const std::string& value);

    std::vector<Section> m_sections;
    std::unordered_map<std::string, std::size_t> m_sectionIndex; // lower-case name -> section
};

} // namespace velmora
