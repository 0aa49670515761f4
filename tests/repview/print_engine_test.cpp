// The print engine's calls on the printer for reports of each kind, and where its text lands.
#include "repview/print_engine.h"
#include "platform/run_time_error.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/recording_printer.h"
#include "platform/testing/recording_run_printer.h"

#include <gtest/gtest.h>

using namespace zlt;
using namespace std::string_literals;
using repview::PrintEngine;

namespace {
std::string failed(int number, const std::string& text) { return " ! " + std::to_string(number) + " " + text; }
std::string mismatch(const std::string& field) { return failed(error_number::TypeMismatch, "Type mismatch (barcode field \"" + field + "\")"); }

// The printer's calls for a report's text (or, given a path, for the file /c/ZLT/RPT holding it on drive C:)
// joined by ';', the report font's six as "RF" and letting window events run as "events"; then " ! " and the
// error that ended the run, if one did. The start every run shares, "RF;events;begin;", is left out.
std::string printed(const std::string& report, const char* path = nullptr, int failReadsWith = 0)
{
    zlt::testing::MemoryFileSystem tree;
    tree.addFile("/c/ZLT/RPT", report);
    tree.failReadsWith = failReadsWith;
    HostFiles files(tree, DriveMap::parse("C=/c", "/h"));
    zlt::testing::RecordingPrinter printer;
    PrintEngine engine(printer, files, [&] { printer.calls.push_back("events"); });
    std::string error, all;
    try {
        path ? engine.printReportFile(path) : engine.printReportText(report);
    } catch (const RunTimeError& e) {
        error = failed(e.number(), e.what());
    }
    for (const std::string& call : printer.merged())
        all += (all.empty() ? "" : ";") + call;
    const std::string reportFont = "font Courier New;italic off;bold off;size 10;strikethrough off;underline off";
    for (size_t at; (at = all.find(reportFont)) != std::string::npos;)
        all.replace(at, reportFont.size(), "RF");
    const std::string start = "RF;events;begin;";
    return (all.compare(0, start.size(), start) == 0 ? all.substr(start.size()) : all) + error;
}
}  // namespace

TEST(PrintEngine, ReportsPrintExactly)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", "end"}, {"AB", "text AB;end"}, {"A\nB", "text A\nB;end"}, {"A\0B\0"s, "text AB;end"},
        {"A>B", "text AB;end"}, {"A>", "text A;end"}, {"A\rB", "text AB;end"}, {"A\r", "text A;end"},  // lone '>' and CR vanish
        {"A\r\nB", "text A\r\nB;end"}, {"A\r\r\nB", "text A\r\nB;end"}, {"A>\r\nB", "text A\r\nB;end"},
        {"A\f", "text A;end;end"}, {"A\fB", "text A;end;begin;text B;end"}, {"A\f\fB", "text A;end;begin;end;begin;text B;end"},
        {"A>>[BO]<B", "text A;bold on;text B;end"}, {"A\r>[BO]<B", "text A;bold on;text B;end"},
        {">[BO]<Total>[NO]<", "bold on;text Total;bold off;end"}, {">[GR]<A\fB", "colour 65280;text A;end;begin;text B;end"},
        {"A>[bo]<B>[XX]<C>[]<D", "text ABCD;end"}, {">[BOLD]<x", "bold on;text x;end"},  // only the first pair counts
        {">[CO]<a>[ST]<b>[EX]<c", "size 8;text a;size 10;text b;size 16;text c;end"},
        {">[BL]<>[MA]<>[CY]<>[VI]<>[YE]<>[OR]<>[GR]<",
         "colour 0;colour 16711680;colour 16776960;colour 255;colour 65535;colour 255;colour 65280;end"},
        {">[BOX]<abc]<e", "bold on;text e;end"}, {">[BOX]<abc", "bold on;end"},  // an odd body takes text in pairs
        {"A>[BO", "text A;end"}, {"A>[BOLD", "text A;bold on;end"},            // the pair that ends the input is lost
        {">[BC590123412345]<after", "font EAN-13;size 28;line &i@A23D|QRSTUw;RF;text after;end"},
        {">[BO]<>[GR]<>[BC000000000000]<x", "bold on;colour 65280;font EAN-13;size 28;line !`00000|PPPPPp;RF;text x;end"},
        {">[BC5901234123457]<", "font EAN-13;size 28;line &i@A23D|QRSTUw;RF;text <;end"},  // 12 read, 2 skipped
        {">[BC40063813", "font EAN-13;size 28;line %`@63HA|SPPPPp;RF;end"},
        {"one\fbefore>[BC5X0123412345]<after", "text one;end;begin;text before;abandon" + mismatch("5X0123412345")},
        {">[BC]<1234567890AB", "abandon" + mismatch("]<1234567890")}, {">[BC1", "abandon" + mismatch("1")},
    };
    for (const auto& [report, expected] : cases)
        EXPECT_EQ(printed(report), expected) << report;
}

TEST(PrintEngine, ReportFilesThroughTheDriveMap)
{
    const std::string report = "X>[BO]<Y\r\n\fZ";
    EXPECT_EQ(printed(report, "c:\\zlt\\rpt."), "text X;bold on;text Y\r\n;end;begin;text Z;end");
    EXPECT_EQ(printed(report, "C:\\ZLT\\NOPE"), "RF;events" + failed(error_number::FileNotFound, "File not found (/c/ZLT/NOPE)"));
    EXPECT_EQ(printed(report, "C:\\ZLT\\RPT", error_number::DeviceIoError),
              "abandon" + failed(error_number::DeviceIoError, "Device I/O error"));
}

TEST(PrintEngine, WhereTheTextLands)
{
    zlt::testing::MemoryFileSystem tree;
    HostFiles files(tree, DriveMap::parse("", "/h"));
    zlt::testing::RecordingRunPrinter printer;
    PrintEngine engine(printer, files);
    engine.printReportText(">[EX]<>[VI]<Big\r\nNext\r\n>[BO]<>[BC590123412345]<after");
    engine.printReportText(">[EX]<>[BO]<\f");  // size and bold end with the run, the colour holds
    engine.printReportText("x");
    const std::vector<std::vector<zlt::testing::DrawnRun>> expected = {
        {{0, 0, "Big", "Courier New", 16, false, 255}, {0, 16, "Next", "Courier New", 16, false, 255},
         {0, 32, "&i@A23D|QRSTUw", "EAN-13", 28, true, 255}, {0, 60, "after", "Courier New", 10, false, 255}},
        {{0, 0, "x", "Courier New", 10, false, 255}},
    };
    EXPECT_EQ(printer.jobs, expected);
}
