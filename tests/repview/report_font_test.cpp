// The report font's choice and the font test page.
#include "repview/report_font.h"
#include "platform/testing/recording_printer.h"
#include <gtest/gtest.h>

using zlt::testing::RecordingPrinter;
using Fonts = std::vector<std::string>;

TEST(ReportFont, ExactlyCourierElseCourierNewAndATestPageInListOrder)
{
    const std::pair<Fonts, std::string> cases[] = {
        {{"Courier", "Arial"}, "Courier"}, {{"Arial", "Courier New", "Courier"}, "Courier"},
        {{"courier", "Courier New"}, "Courier New"}, {{"Courier 10 Pitch", "COURIER"}, "Courier New"}, {{}, "Courier New"},
    };
    for (const auto& [fonts, chosen] : cases) {
        RecordingPrinter printer(fonts);
        zlt::repview::selectReportFont(printer);  // the rest of the report font shows in the print engine's calls
        EXPECT_EQ(printer.calls.at(0), "font " + chosen);
    }
    RecordingPrinter printer({"Alpha", "EAN-13"});
    zlt::repview::printFontTestPage(printer);
    Fonts expected = {"strikethrough off", "underline off", "begin"};
    for (const std::string font : {"Alpha", "EAN-13"})
        expected.insert(expected.end(), {"font " + font, "bold off", "size 12", "italic off",
                                         "text This is a test for font " + font + "\r\n", "line " + std::string(52, '-')});
    expected.push_back("end");
    EXPECT_EQ(printer.calls, expected);
}
