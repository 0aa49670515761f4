#include "repview/report_font.h"

#include <string>
#include <vector>

#include "platform/print/report_font_name.h"

namespace zlt::repview {

void selectReportFont(Printer& printer)
{
    std::vector<std::string> fonts;
    for (int i = 0, count = printer.fontCount(); i < count; ++i)
        fonts.push_back(printer.fontName(i));
    printer.setFontName(reportFontName(fonts));
    printer.setItalic(false);
    printer.setBold(false);
    printer.setFontSize(10);
    printer.setStrikethrough(false);
    printer.setUnderline(false);
}

void printFontTestPage(Printer& printer)
{
    printer.setStrikethrough(false);
    printer.setUnderline(false);
    printer.beginDocument();
    for (int i = 0, count = printer.fontCount(); i < count; ++i) {
        std::string name = printer.fontName(i);
        printer.setFontName(name);
        printer.setBold(false);
        printer.setFontSize(12);
        printer.setItalic(false);
        printer.printText("This is a test for font " + name + "\r\n");
        printer.printLine(std::string(52, '-'));
    }
    printer.endDocument();
}

}  // namespace zlt::repview
