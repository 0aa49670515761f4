#include "platform/print/pdf/win_ansi.h"

namespace zlt::pdf {

namespace {

// Characters of 0x80..0x9F; 0 where WinAnsi has none.
constexpr char32_t Specials[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

int winAnsiByte(char32_t c)
{
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0))
        return ' ';
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (Specials[i] == c)
            return 0x80 + i;
    return -1;
}

}  // namespace

std::optional<std::array<std::uint8_t, 256>> winAnsiTable(const CodePage& codePage)
{
    std::array<std::uint8_t, 256> table{};
    for (int b = 0; b < 256; ++b) {
        int w = winAnsiByte(codePage.toUnicode(static_cast<unsigned char>(b)));
        if (w < 0)
            return std::nullopt;
        table[b] = static_cast<std::uint8_t>(w);
    }
    return table;
}

}  // namespace zlt::pdf
