#include "platform/print/ean13_layout.h"

#include <string>

namespace zlt {

namespace {

// Module patterns of the digits in number set A; set C is set A inverted and
// set B is set C read backwards.
constexpr const char* SetA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                  "0110001", "0101111", "0111011", "0110111", "0001011"};

std::string pattern(char set, int digit)
{
    std::string a = SetA[digit];
    if (set == 'A')
        return a;
    std::string c = a;
    for (char& m : c)
        m = m == '1' ? '0' : '1';
    if (set == 'C')
        return c;
    return std::string(c.rbegin(), c.rend());
}

constexpr int LeftQuietZone = 11;
constexpr int RightQuietZone = 7;

class Builder {
public:
    BarcodeLayout layout;
    int cursor = 0;

    void modules(const std::string& bits, bool guard)
    {
        for (size_t i = 0; i < bits.size(); ++i) {
            if (bits[i] != '1')
                continue;
            int start = cursor + static_cast<int>(i);
            auto& bars = layout.bars;
            if (!bars.empty() && bars.back().guard == guard && bars.back().module + bars.back().width == start)
                ++bars.back().width;
            else
                bars.push_back({start, 1, guard});
        }
        cursor += static_cast<int>(bits.size());
    }
    void digit(char set, int d)
    {
        layout.digits.push_back({static_cast<char>('0' + d), cursor + 3.5, false});
        modules(pattern(set, d), false);
    }
};

}  // namespace

BarcodeLayout layoutEan13Text(std::string_view text)
{
    Builder b;
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 33 && c <= 42) {
            b.layout.digits.push_back({static_cast<char>('0' + (c - 33)), b.cursor + 3.5, true});
            b.cursor += LeftQuietZone;
        } else if (c >= 96 && c <= 105) {
            b.modules("101", true);
            b.digit('A', c - 96);
        } else if (c >= '0' && c <= '9') {
            b.digit('A', c - '0');
        } else if (c >= 64 && c <= 73) {
            b.digit('B', c - 64);
        } else if (c == '|') {
            b.modules("01010", true);
        } else if (c >= 80 && c <= 89) {
            b.digit('C', c - 80);
        } else if (c >= 112 && c <= 121) {
            b.digit('C', c - 112);
            b.modules("101", true);
            b.cursor += RightQuietZone;
        }
    }
    b.layout.modules = b.cursor;
    return b.layout;
}

BarcodeMetrics barcodeMetrics(double pointSize, double deviceUnitsPerPoint)
{
    // At 28 points a module is 0.93 pt (0.33 mm), the standard's nominal size,
    // and the symbol with its digits fits in one line of the font.
    double em = pointSize * deviceUnitsPerPoint;
    double digitSize = pointSize * 0.30;
    return BarcodeMetrics{em / 30.0, em * 0.78, em * 0.90, digitSize, em * 0.78 + digitSize * deviceUnitsPerPoint * 0.85};
}

}  // namespace zlt
