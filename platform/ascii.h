#pragma once
// ASCII character classes and letter case, independent of the C locale
// (which a Qt program takes from the user): the host's command words, DOS
// drive letters and the settings files are ASCII.
#include <string>
#include <string_view>

namespace zlt {

constexpr bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }
// What separates words on a line of a settings or registry file.
constexpr bool isSpaceOrTab(char c) { return c == ' ' || c == '\t'; }
// Any ASCII white space, line ends included.
constexpr bool isAsciiWhitespace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
constexpr char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string upperAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = upperAscii(c);
    return out;
}

inline std::string lowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = lowerAscii(c);
    return out;
}

}  // namespace zlt
