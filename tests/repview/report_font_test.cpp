// The report font's choice and the font test page.
#include "repview/report_font.h"
#include "repview/repview_main.h"

#include "platform/testing/recording_printer.h"

#include <gtest/gtest.h>

using zlt::testing::RecordingPrinter;
using namespace zlt::repview;

TEST(SelectReportFont, ChoosesExactlyCourierElseCourierNew)
{
    struct Case {
        std::vector<std::string> fonts;
        std::string chosen;
    };
    const Case cases[] = {
        {{"Courier", "Arial"}, "Courier"},
        {{"Arial", "Courier New", "Courier"}, "Courier"},
        {{"courier", "Courier New"}, "Courier New"},
        {{"Courier 10 Pitch", "COURIER"}, "Courier New"},
        {{}, "Courier New"},
    };
    for (const Case& c : cases) {
        RecordingPrinter printer(c.fonts);
        SelectReportFont(printer);
        std::vector<std::string> expected = {"font " + c.chosen, "italic off", "bold off", "size 10", "strikethrough off", "underline off"};
        EXPECT_EQ(printer.calls, expected) << "first font: " << (c.fonts.empty() ? "(none)" : c.fonts[0]);
    }
}

TEST(PrintFontTestPage, OneSampleAndOneRulePerFontInListOrder)
{
    RecordingPrinter printer({"Alpha", "Beta Sans", "EAN-13"});
    PrintFontTestPage(printer);
    std::vector<std::string> expected = {"strikethrough off", "underline off", "begin"};
    const std::string rule(52, '-');
    for (std::string font : {"Alpha", "Beta Sans", "EAN-13"}) {
        expected.insert(expected.end(), {"font " + font, "bold off", "size 12", "italic off",
                                         "text This is a test for font " + font + "\r\n", "line " + rule});
    }
    expected.push_back("end");
    EXPECT_EQ(printer.calls, expected);
}

TEST(PrintFontTestPage, EmptyFontListPrintsAnEmptyDocument)
{
    RecordingPrinter printer(std::vector<std::string>{});
    PrintFontTestPage(printer);
    EXPECT_EQ(printer.calls, (std::vector<std::string>{"strikethrough off", "underline off", "begin", "end"}));
}

TEST(ModeOf, ArgumentTextChoosesTheMode)
{
    struct Case {
        std::string text;
        Mode mode;
    };
    const Case cases[] = {
        {"", Mode::Viewer},          {"FONTS", Mode::FontTest},      {"fonts", Mode::FontTest},
        {"FoNtS", Mode::FontTest},   {" FONTS", Mode::BatchPrint},   {"FONTS ", Mode::BatchPrint},
        {"FONT", Mode::BatchPrint},  {"\"FONTS\"", Mode::BatchPrint}, {"C:\\ZLT\\RPT.", Mode::BatchPrint},
    };
    for (const Case& c : cases)
        EXPECT_EQ(modeOf(c.text), c.mode) << "\"" << c.text << "\"";
}
