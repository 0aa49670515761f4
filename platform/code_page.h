#pragma once
// The host's single-byte code page: how its bytes read as Unicode and back.
#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace zlt {

class CodePage {
public:
    // The ZLT_CODEPAGE setting ("1252" when empty; "437", "850", "cp850" ...).
    // Throws std::invalid_argument naming the setting for an unknown page.
    static CodePage fromSetting(std::string_view value);

    // Throws std::invalid_argument when iconv does not know the page.
    explicit CodePage(int number);

    int number() const { return number_; }

    // Every byte has a character: bytes the page leaves undefined map to
    // the C1 control of the same value, as Windows shows them.
    char32_t toUnicode(unsigned char byte) const { return table_[byte]; }

    std::string toUtf8(std::string_view hostText) const;

    // Characters the page cannot hold become '?'.
    std::string fromUtf8(std::string_view utf8) const;

private:
    int number_;
    std::array<char32_t, 256> table_{};
    // (character, byte) sorted by character, lowest byte first for a
    // character two bytes share: the way back from Unicode.
    std::array<std::pair<char32_t, unsigned char>, 256> reverse_{};
};

// Parses a ZLT_CODEPAGE value; returns 0 when it is not a page number.
int parseCodePageNumber(std::string_view text);

}  // namespace zlt
