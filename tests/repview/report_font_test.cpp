// The report font's choice and the font test page, as printed.
#include "repview/report_font.h"
#include "platform/testing/recording_run_printer.h"
#include <gtest/gtest.h>

using zlt::testing::RecordingRunPrinter;
using Fonts = std::vector<std::string>;

TEST(ReportFont, ExactlyCourierElseCourierNewAndATestPageInListOrder)
{
    const std::pair<Fonts, std::string> cases[] = {
        {{"Courier", "Arial"}, "{Courier 10}"}, {{"Arial", "Courier New", "Courier"}, "{Courier 10}"},
        {{"courier", "Courier New"}, ""}, {{"Courier 10 Pitch", "COURIER"}, ""}, {{}, ""},
    };
    for (const auto& [fonts, chosen] : cases) {
        RecordingRunPrinter printer(fonts);
        printer.setFontName("Arial");
        printer.setFontSize(16);
        printer.setBold(true);
        zlt::repview::selectReportFont(printer);
        printer.printText("x");
        printer.endDocument();
        EXPECT_EQ(printer.printed(), chosen + "x");
    }
    RecordingRunPrinter printer({"Alpha", "EAN-13"});
    printer.setBold(true);
    zlt::repview::printFontTestPage(printer);
    std::string expected;
    for (const std::string font : {"Alpha", "EAN-13"})
        expected += (expected.empty() ? "{" : "\r\n{") + font + " 12}This is a test for font " + font + "\r\n" + std::string(52, '-');
    EXPECT_EQ(printer.printed(), expected);
}
