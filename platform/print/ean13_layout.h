#pragma once
// The EAN-13 symbol drawn from the text written for the "EAN-13" barcode
// font, for printers that draw the symbol themselves where the font is
// missing. The characters of that text are the font's contract, shared by
// the program that writes the text and the printers that draw it.
#include <string_view>
#include <vector>

namespace zlt {

// Each role takes ten characters, from the one named here for the digit 0
// to the ninth after it for 9; the centre guard is one character.
namespace ean13_font {
constexpr char LeadingDigit = '!';        // the leading digit, printed beside the symbol
constexpr char LeftGuardSetA = '`';       // the left guard, then a digit in number set A
constexpr char SetA = '0';
constexpr char SetB = '@';
constexpr char CentreGuard = '|';
constexpr char SetC = 'P';
constexpr char SetCRightGuard = 'p';      // a digit in number set C, then the right guard
}  // namespace ean13_font

// The symbol at a font size, in device units from its top left corner, y
// downwards: the symbol with its digits fills one line of that size.
struct PlacedBarcode {
    struct Bar {
        double x, y, width, height;
    };
    struct Digit {
        char digit;
        double x;         // the left edge of the digit's cell
        double baseline;  // below the symbol's top
    };
    std::vector<Bar> bars;
    std::vector<Digit> digits;
    double digitPoints = 0;  // the size of the human-readable digits
    double width = 0;        // the symbol's, quiet zones included
};

// Characters outside the roles add nothing. The digits are meant for a
// monospaced face whose cells are 0.6 of its size wide (Courier, Liberation
// Mono).
PlacedBarcode placeEan13Text(std::string_view text, double pointSize, double deviceUnitsPerPoint);

}  // namespace zlt
