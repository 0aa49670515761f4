#pragma once
// The EAN-13 symbol laid out from the text written for the "EAN-13" barcode
// font, for printers that draw the symbol themselves. Each character plays
// its role: '!'..'*' the leading digit beside the symbol, '`'..'i' the left
// guard with a digit of set A, '0'..'9' set A, '@'..'I' set B, '|' the
// centre guard, 'P'..'Y' set C, 'p'..'y' a digit of set C with the right
// guard. Anything else adds nothing.
#include <string_view>
#include <vector>

namespace zlt {

struct BarcodeLayout {
    struct Bar {
        int module;   // first module, counted from the left of the symbol's box
        int width;    // in modules
        bool guard;   // guard bars reach down between the digits
    };
    struct Digit {
        char digit;
        double centre;  // in modules
        bool leading;   // the leading digit, printed beside the symbol
    };
    std::vector<Bar> bars;
    std::vector<Digit> digits;
    int modules = 0;  // the box's width, quiet zones included
};

BarcodeLayout layoutEan13Text(std::string_view text);

// Geometry at a font size: the symbol with its digits fills one line of
// that size.
struct BarcodeMetrics {
    double module;       // module width, device units
    double barHeight;    // height of a digit's bars
    double guardHeight;  // height of guard bars
    double digitSize;    // point size of the human-readable digits
    double digitBaseline;  // below the top of the symbol, device units
};
BarcodeMetrics barcodeMetrics(double pointSize, double deviceUnitsPerPoint);

}  // namespace zlt
