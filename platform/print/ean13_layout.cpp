#include "platform/print/ean13_layout.h"

#include <string>

namespace zlt {

namespace {

// Module patterns of the digits in number set A; set C is set A inverted and
// set B is set C read backwards.
constexpr const char* SetAModules[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                         "0110001", "0101111", "0111011", "0110111", "0001011"};

std::string pattern(char set, int digit)
{
    std::string a = SetAModules[digit];
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
constexpr double DigitCell = 0.6;  // of the digits' size

// The digit a character of the role starting at first stands for; -1 when
// it is none of the role's ten.
int digitOf(unsigned char c, char first)
{
    const int d = c - static_cast<unsigned char>(first);
    return d >= 0 && d <= 9 ? d : -1;
}

// Lays the symbol out in modules, then scales it: at 28 points a module is
// 0.93 pt (0.33 mm), the standard's nominal size.
class Builder {
public:
    Builder(double pointSize, double unitsPerPoint) : em_(pointSize * unitsPerPoint), unitsPerPoint_(unitsPerPoint)
    {
        placed_.digitPoints = pointSize * 0.30;
    }

    void modules(const std::string& bits, bool guard)
    {
        for (size_t i = 0; i < bits.size(); ++i) {
            const int start = cursor_ + static_cast<int>(i);
            // Adjacent modules of one kind make one bar.
            if (bits[i] == '1' && !bars_.empty() && bars_.back().guard == guard && bars_.back().end == start)
                ++bars_.back().end;
            else if (bits[i] == '1')
                bars_.push_back({start, start + 1, guard});
        }
        cursor_ += static_cast<int>(bits.size());
    }
    void digit(char set, int d)
    {
        humanReadable(d);
        modules(pattern(set, d), false);
    }
    void leadingDigit(int d)
    {
        humanReadable(d);
        cursor_ += LeftQuietZone;
    }
    void rightQuietZone() { cursor_ += RightQuietZone; }

    PlacedBarcode finish()
    {
        for (const ModuleBar& bar : bars_)
            placed_.bars.push_back({bar.start * module_, 0, (bar.end - bar.start) * module_, em_ * (bar.guard ? 0.90 : 0.78)});
        placed_.width = cursor_ * module_;
        return placed_;
    }

private:
    struct ModuleBar {
        int start, end;
        bool guard;  // guard bars reach down between the digits
    };

    // Centred under the digit's seven modules (the leading digit in the quiet zone).
    void humanReadable(int d)
    {
        const double size = placed_.digitPoints * unitsPerPoint_;
        placed_.digits.push_back({static_cast<char>('0' + d), (cursor_ + 3.5) * module_ - size * DigitCell / 2,
                                  em_ * 0.78 + size * 0.85});
    }

    const double em_, unitsPerPoint_, module_ = em_ / 30.0;
    int cursor_ = 0;
    std::vector<ModuleBar> bars_;
    PlacedBarcode placed_;
};

}  // namespace

PlacedBarcode placeEan13Text(std::string_view text, double pointSize, double deviceUnitsPerPoint)
{
    using namespace ean13_font;
    Builder b(pointSize, deviceUnitsPerPoint);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (int d = digitOf(c, LeadingDigit); d >= 0) {
            b.leadingDigit(d);
        } else if (d = digitOf(c, LeftGuardSetA); d >= 0) {
            b.modules("101", true);
            b.digit('A', d);
        } else if (d = digitOf(c, SetA); d >= 0) {
            b.digit('A', d);
        } else if (d = digitOf(c, SetB); d >= 0) {
            b.digit('B', d);
        } else if (c == CentreGuard) {
            b.modules("01010", true);
        } else if (d = digitOf(c, SetC); d >= 0) {
            b.digit('C', d);
        } else if (d = digitOf(c, SetCRightGuard); d >= 0) {
            b.digit('C', d);
            b.modules("101", true);
            b.rightQuietZone();
        }
    }
    return b.finish();
}

}  // namespace zlt
