#include "common/rtf/rtf_escape.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace zlt::rtf {

namespace {

// Windows-1252's characters in 0x80..0x9F; 0xA0..0xFF are Latin-1's own.
constexpr std::pair<char32_t, unsigned char> Windows1252High[] = {
    {0x0152, 0x8C}, {0x0153, 0x9C}, {0x0160, 0x8A}, {0x0161, 0x9A}, {0x0178, 0x9F}, {0x017D, 0x8E},
    {0x017E, 0x9E}, {0x0192, 0x83}, {0x02C6, 0x88}, {0x02DC, 0x98}, {0x2013, 0x96}, {0x2014, 0x97},
    {0x2018, 0x91}, {0x2019, 0x92}, {0x201A, 0x82}, {0x201C, 0x93}, {0x201D, 0x94}, {0x201E, 0x84},
    {0x2020, 0x86}, {0x2021, 0x87}, {0x2022, 0x95}, {0x2026, 0x85}, {0x2030, 0x89}, {0x2039, 0x8B},
    {0x203A, 0x9B}, {0x20AC, 0x80}, {0x2122, 0x99},
};

constexpr char HexDigits[] = "0123456789abcdef";

// \uN takes a signed 16-bit number: code units above 0x7FFF are written negative.
void appendUnicodeUnit(std::string& out, char32_t unit)
{
    const long value = unit > 0x7FFF ? static_cast<long>(unit) - 0x10000 : static_cast<long>(unit);
    out += "\\u";
    out += std::to_string(value);
    out += '?';
}

}  // namespace

std::optional<unsigned char> windows1252Byte(char32_t c)
{
    if (c < 0x80)
        return static_cast<unsigned char>(c);
    if (c >= 0xA0 && c <= 0xFF)
        return static_cast<unsigned char>(c);
    auto it = std::lower_bound(std::begin(Windows1252High), std::end(Windows1252High), c,
                               [](const auto& entry, char32_t key) { return entry.first < key; });
    if (it != std::end(Windows1252High) && it->first == c)
        return it->second;
    return std::nullopt;
}

void appendEscapedCharacter(std::string& out, char32_t c, Escapes escapes)
{
    if (c == U'\\' || c == U'{' || c == U'}') {
        out += '\\';
        out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
        out += static_cast<char>(c);
    } else if (c == U'\t') {
        out += "\\tab ";
    } else if (c == U'\f') {
        out += "\\page ";
    } else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
        // Printer codes and undefined bytes: nothing a reader could show.
    } else if (auto byte = windows1252Byte(c); byte && escapes == Escapes::Windows1252) {
        out += "\\'";
        out += HexDigits[*byte >> 4];
        out += HexDigits[*byte & 0x0F];
    } else if (c <= 0xFFFF) {
        appendUnicodeUnit(out, c);
    } else if (c <= 0x10FFFF) {
        const char32_t v = c - 0x10000;
        appendUnicodeUnit(out, 0xD800 + (v >> 10));
        appendUnicodeUnit(out, 0xDC00 + (v & 0x3FF));
    }
}

void appendEscaped(std::string& out, std::string_view hostText, const CodePage& page, Escapes escapes)
{
    // Printable ASCII that RTF leaves as it is, most of any report, goes
    // across a run at a time rather than a character at a time.
    const auto plain = [&page](char byte) {
        const auto c = static_cast<unsigned char>(byte);
        return c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}' && page.toUnicode(c) == c;
    };
    for (std::size_t i = 0; i < hostText.size();) {
        std::size_t end = i;
        while (end < hostText.size() && plain(hostText[end]))
            ++end;
        out.append(hostText, i, end - i);
        if (end < hostText.size())
            appendEscapedCharacter(out, page.toUnicode(static_cast<unsigned char>(hostText[end])), escapes);
        i = end + 1;
    }
}

}  // namespace zlt::rtf
