// What the print engine puts on paper for reports of each kind (every code; a barcode as the text for the
// "EAN-13" font), from a text or a file, one run after another on one printer.
#include "repview/print_engine.h"
#include "platform/run_time_error.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/recording_run_printer.h"

#include <gtest/gtest.h>

using namespace zlt;
using namespace std::string_literals;
using repview::PrintEngine;

namespace {
std::string failed(int number, const std::string& text) { return " ! " + std::to_string(number) + " " + text; }
std::string mismatch(const std::string& field) { return failed(error_number::TypeMismatch, "Type mismatch (barcode field \"" + field + "\")"); }

// What runs of the reports printed (RecordingRunPrinter::printed: a failed run's document is dropped), or, given a
// path, runs of the file /c/ZLT/RPT holding the first report on drive C:; then " ! " and the error that ended a run.
std::string printed(const std::vector<std::string>& reports, const char* path = nullptr, int failReadsWith = 0)
{
    zlt::testing::MemoryFileSystem tree;
    tree.addFile("/c/ZLT/RPT", reports.at(0));
    tree.failReadsWith = failReadsWith;
    HostFiles files(tree, DriveMap::parse("C=/c", "/h"));
    zlt::testing::RecordingRunPrinter printer;
    int events = 0;
    PrintEngine engine(printer, files, [&] { ++events; });
    std::string error;
    try {
        for (const std::string& report : reports)
            path ? engine.printReportFile(path) : engine.printReportText(report);
    } catch (const RunTimeError& e) {
        error = failed(e.number(), e.what());
    }
    EXPECT_EQ(events, static_cast<int>(reports.size())) << "the window paints once before each run";
    return printer.printed() + error;
}
}  // namespace

TEST(PrintEngine, ReportsPrintExactly)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{""}, ""}, {{"AB"}, "AB"}, {{"A\nB"}, "A\nB"}, {{"A\0B\0"s}, "AB"}, {{"A>B"}, "AB"}, {{"A>"}, "A"},
        {{"A\rB"}, "AB"}, {{"A\r"}, "A"},  // a lone '>' or CR vanishes
        {{"A\r\nB"}, "A\r\nB"}, {{"A\r\r\nB"}, "A\r\nB"}, {{"A>\r\nB"}, "A\r\nB"},
        {{"A\f"}, "A"}, {{"A\fB"}, "A\fB"}, {{"A\f\fB"}, "A\fB"},  // an empty job makes no sheet
        {{"A>>[BO]<B"}, "A{10 b}B"}, {{"A\r>[BO]<B"}, "A{10 b}B"},
        {{">[BO]<Total>[NO]< sum"}, "{10 b}Total{10} sum"}, {{">[GR]<A\fB"}, "{10 c65280}A\f{10 c65280}B"},
        {{"A>[bo]<B>[XX]<C>[]<D"}, "ABCD"}, {{">[BOLD]<x"}, "{10 b}x"},  // only the first pair counts
        {{">[CO]<a>[ST]<b>[EX]<c"}, "{8}a{10}b{16}c"},
        {{"a>[MA]<b>[CY]<c>[VI]<d>[YE]<e>[OR]<f>[GR]<g>[BL]<h"},
         "a{10 c16711680}b{10 c16776960}c{10 c255}d{10 c65535}e{10 c255}f{10 c65280}g{10}h"},
        {{">[BOX]<abc]<e"}, "{10 b}e"}, {{">[BOX]<abc"}, ""},  // an odd body takes text in pairs
        {{"A>[BO"}, "A"}, {{"A>[BOLD"}, "A"},                   // the pair that ends the input is lost
        {{">[BC590123412345]<after"}, "{EAN-13 28}&i@A23D|QRSTUw\r\n{10}after"},
        {{">[BO]<>[GR]<>[BC000000000000]<x"}, "{EAN-13 28 b c65280}!`00000|PPPPPp\r\n{10 c65280}x"},
        {{">[BC5901234123457]<"}, "{EAN-13 28}&i@A23D|QRSTUw\r\n{10}<"},  // 12 read, 2 skipped
        {{">[BC40063813"}, "{EAN-13 28}%`@63HA|SPPPPp"},  // cut short: no check digit, missing places count 0
        {{">[BC999999999999]<"}, "{EAN-13 28}*iII9I9|YYYYYt"}, {{">[BC400638133393]<"}, "{EAN-13 28}%`@63HA|SSSYSq"},
        {{">[BC5901X3412345]<"}, "{EAN-13 28}&i@A03D|QRSTUy"},  // other characters count 0, but for the second
        {{">[BCX90123412345]<"}, "{EAN-13 28}!i|QRSTUr"},       // a leading non-digit leaves out the left half
        {{">[BC5 0123412345]<"}, mismatch("5 0123412345")},
        {{"one\fbefore>[BC5X0123412345]<after"}, "one" + mismatch("5X0123412345")},
        {{">[BC]<1234567890AB"}, mismatch("]<1234567890")}, {{">[BC1"}, mismatch("1")},
        // Size and bold end with the run, the colour holds.
        {{">[EX]<>[VI]<Big\r\n>[BO]<>[BC590123412345]<after", ">[EX]<>[BO]<\f", "x"},
         "{16 c255}Big\r\n{EAN-13 28 b c255}&i@A23D|QRSTUw\r\n{10 c255}after\f{10 c255}x"},
    };
    for (const auto& [reports, expected] : cases)
        EXPECT_EQ(printed(reports), expected) << reports[0];
}

TEST(PrintEngine, ReportFilesThroughTheDriveMap)
{
    const std::string report = "X>[BO]<Y\r\n\fZ";
    EXPECT_EQ(printed({report}, "c:\\zlt\\rpt."), "X{10 b}Y\f{10 b}Z");
    EXPECT_EQ(printed({report}, "C:\\ZLT\\NOPE"), failed(error_number::FileNotFound, "File not found (/c/ZLT/NOPE)"));
    EXPECT_EQ(printed({report}, "C:\\ZLT\\RPT", error_number::DeviceIoError), failed(error_number::DeviceIoError, "Device I/O error"));
}
