#include "reports/rtf_writer.h"

#include <cstdint>

namespace velmora {

namespace {

// The next code point of UTF-8 `text` at `i` (advancing it); a broken sequence gives '?'.
std::uint32_t NextCodePoint(const std::string& text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) {
        return lead;
    }
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) > text.size()) {
        return '?';
    }
    std::uint32_t code = lead & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        const auto next = static_cast<unsigned char>(text[i++]);
        if ((next & 0xC0) != 0x80) {
            return '?';
        }
        code = (code << 6) | (next & 0x3F);
    }
    return code;
}

// The Windows-1250 byte of the Hungarian letters and signs the reports use, 0 for others.
unsigned char Cp1250(std::uint32_t c) {
    static const struct {
        std::uint32_t code;
        unsigned char byte;
    } table[] = {
        {0xC1, 0xC1}, {0xE1, 0xE1}, {0xC9, 0xC9}, {0xE9, 0xE9}, {0xCD, 0xCD},  {0xED, 0xED},
        {0xD3, 0xD3}, {0xF3, 0xF3}, {0xD6, 0xD6}, {0xF6, 0xF6}, {0x150, 0xD5}, {0x151, 0xF5},
        {0xDA, 0xDA}, {0xFA, 0xFA}, {0xDC, 0xDC}, {0xFC, 0xFC}, {0x170, 0xDB}, {0x171, 0xFB},
        {0xBB, 0xBB}, {0xAB, 0xAB}, {0xA0, 0xA0},
    };
    for (const auto& entry : table) {
        if (entry.code == c) {
            return entry.byte;
        }
    }
    return 0;
}

const char* const kHex = "0123456789abcdef";

} // namespace

std::string RtfDocument(const std::vector<std::string>& lines, int pointSize) {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}\n"
                      "\\f0\\fs" +
                      std::to_string(pointSize * 2) + "\n";
    for (const std::string& line : lines) {
        bool blankBefore = true; // a line starts as after a blank
        for (std::size_t i = 0; i < line.size();) {
            const std::uint32_t c = NextCodePoint(line, i);
            // Blanks that line columns up are kept as unbreakable blanks, which no reader
            // folds into one.
            const bool blank = c == ' ';
            if (blank && blankBefore) {
                rtf += "\\~";
            } else if (c == '\r') {
                rtf += "\\par\n";
            } else if (c == '\f') {
                rtf += "\\page\n";
            } else if (c == '\\' || c == '{' || c == '}') {
                rtf += '\\';
                rtf += static_cast<char>(c);
            } else if (c < 0x80) {
                rtf += static_cast<char>(c);
            } else if (const unsigned char byte = Cp1250(c); byte != 0) {
                rtf += "\\'";
                rtf += kHex[byte >> 4];
                rtf += kHex[byte & 15];
            } else {
                // Beyond the code page: the Unicode character, a question mark for readers
                // that know none.
                const auto signedCode = static_cast<std::int16_t>(c <= 0xFFFF ? c : '?');
                rtf += "\\u" + std::to_string(signedCode) + "?";
            }
            blankBefore = blank || c == '\r';
        }
        rtf += "\\par\n";
    }
    return rtf + "}\n";
}

std::string PlainText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        for (char c : line) {
            text += c == '\r' ? '\n' : c;
        }
        text += '\n';
    }
    return text;
}

} // namespace velmora
