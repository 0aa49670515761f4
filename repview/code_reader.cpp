#include "repview/code_reader.h"

#include "repview/ean13.h"
#include "repview/report_font.h"

#include <string>
#include <string_view>
#include <utility>

namespace zlt::repview {

namespace {

constexpr HostColour hostColour(HostColour red, HostColour green, HostColour blue)
{
    return red + 256 * green + 65536 * blue;
}
constexpr HostColour Black = hostColour(0, 0, 0), Red = hostColour(255, 0, 0), Green = hostColour(0, 255, 0),
                     Blue = hostColour(0, 0, 255), Yellow = hostColour(255, 255, 0), Cyan = hostColour(0, 255, 255);

// The colours as the host's tools printed them, kept so that a report looks
// as it always has: "MA" is pure blue, not magenta, and "VI" prints the same
// red as "OR".
constexpr std::pair<std::string_view, HostColour> ColourCodes[] = {
    {"BL", Black}, {"MA", Blue}, {"CY", Cyan}, {"VI", Red}, {"YE", Yellow}, {"OR", Red}, {"GR", Green},
};

void printBarcode(ReportInput& input, Printer& printer)
{
    const std::string field(input.read(12));
    input.read(2);
    const std::string text = ean13Text(field);
    printer.setFontName("EAN-13");
    printer.setFontSize(28);
    printer.printLine(text);
    selectReportFont(printer);
}

}  // namespace

void readCode(ReportInput& input, Printer& printer)
{
    std::string body;
    for (;;) {
        std::string pair(input.read(2));
        if (input.usedUp() || pair == "]<")
            break;
        body += pair;
        if (body.compare(0, 2, "BC") == 0)
            break;
    }
    std::string code = body.substr(0, 2);

    if (code == "BO") printer.setBold(true);
    else if (code == "NO") printer.setBold(false);
    else if (code == "CO") printer.setFontSize(8);
    else if (code == "ST") printer.setFontSize(10);
    else if (code == "EX") printer.setFontSize(16);
    else if (code == "BC") printBarcode(input, printer);
    for (const auto& [colourCode, colour] : ColourCodes)
        if (code == colourCode)
            printer.setColour(colour);
    // Any other code has been read and is dropped.
}

}  // namespace zlt::repview
