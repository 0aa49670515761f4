// The run machinery every printer shares, on a printer that records what it draws: one run per
// style, the print position and the documents.
#include "platform/testing/recording_run_printer.h"
#include <gtest/gtest.h>

using zlt::testing::DrawnRun;

TEST(RunPrinter, RunsPositionsAndDocuments)
{
    zlt::testing::RecordingRunPrinter printer;
    printer.beginDocument();
    printer.endDocument();  // nothing printed: no sheet
    printer.beginDocument();
    for (char c : std::string("ab cd"))
        printer.printText(std::string(1, c));  // a call per character, as the print engine makes them
    printer.setFontSize(10);                   // unchanged: the run goes on
    printer.printText("e\r\n");
    printer.setBold(true);
    printer.printText("X");
    printer.setFontSize(16);
    printer.printText("Y\r\nZ");  // the break is as high as the font current at it
    printer.setColour(255);
    printer.setFontSize(10);
    printer.printLine("W");
    printer.endDocument();
    printer.endDocument();  // ending again does nothing
    printer.printText("dropped");
    printer.abandonDocument();
    printer.printText(std::string(5000, 'x'));  // from the top left again; a long run is drawn without waiting
    printer.printText("R");
    printer.endDocument();
    const std::vector<std::vector<DrawnRun>> expected = {
        {{0, 0, "ab cde", "Courier New", 10, false, 0}, {0, 10, "X", "Courier New", 10, true, 0},
         {1, 10, "Y", "Courier New", 16, true, 0}, {0, 26, "Z", "Courier New", 16, true, 0},
         {1, 26, "W", "Courier New", 10, true, 255}},
        {{0, 0, std::string(5000, 'x'), "Courier New", 10, true, 255}, {5000, 0, "R", "Courier New", 10, true, 255}},
    };
    EXPECT_EQ(printer.jobs, expected);
    EXPECT_EQ(printer.abandoned, 1);
}
