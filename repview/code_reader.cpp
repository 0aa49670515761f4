#include "repview/code_reader.h"

#include "repview/ean13.h"
#include "repview/report_font.h"

#include <string>

namespace zlt::repview {

namespace {

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
    else if (code == "BL") printer.setColour(0);
    else if (code == "MA") printer.setColour(16711680);
    else if (code == "CY") printer.setColour(16776960);
    else if (code == "VI") printer.setColour(255);
    else if (code == "YE") printer.setColour(65535);
    else if (code == "OR") printer.setColour(255);
    else if (code == "GR") printer.setColour(65280);
    else if (code == "BC") printBarcode(input, printer);
    // Any other code has been read and is dropped.
}

}  // namespace zlt::repview
