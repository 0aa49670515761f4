#pragma once
// Draws the text written for the "EAN-13" barcode font as the symbol itself,
// for machines that do not have that font. Each character plays its role:
// '!'..'*' the leading digit beside the symbol, '`'..'i' the left guard with
// a digit of set A, '0'..'9' set A, '@'..'I' set B, '|' the centre guard,
// 'P'..'Y' set C, 'p'..'y' a digit of set C with the right guard. Anything
// else draws nothing.
#include <string>
#include <string_view>
#include <vector>

class QPainter;
class QColor;

namespace zlt::qt {

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

// Geometry at a font size: the symbol fills one line of that size.
struct BarcodeMetrics {
    double module;       // module width, device units
    double barHeight;    // height of a digit's bars
    double guardHeight;  // height of guard bars
    double digitSize;    // point size of the human-readable digits
};
BarcodeMetrics barcodeMetrics(double pointSize, double deviceUnitsPerPoint);

// Draws the layout with its top left corner at (x, top); returns its width.
double drawBarcode(QPainter& painter, const BarcodeLayout& layout, const BarcodeMetrics& metrics, double x, double top,
                   const QColor& colour, double deviceUnitsPerPoint);

}  // namespace zlt::qt
