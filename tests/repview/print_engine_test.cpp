// The print engine's exact calls on the printer for reports of each kind.
#include "repview/print_engine.h"

#include "platform/run_time_error.h"
#include "platform/testing/recording_printer.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>

using zlt::DriveMap;
using zlt::testing::RecordingPrinter;
using namespace zlt::repview;

namespace {

using Calls = std::vector<std::string>;

// The report font as every run sets it first (no "Courier" on the recording printer).
const Calls ReportFont = {"font Courier New", "italic off", "bold off", "size 10", "strikethrough off", "underline off"};

Calls withReportFont(const Calls& rest)
{
    Calls all = ReportFont;
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
}

struct Case {
    const char* name;
    std::string report;
    Calls expected;  // merged calls, after the report font
};

class PrintEngineCase : public ::testing::TestWithParam<Case> {};

TEST_P(PrintEngineCase, PrintsExactly)
{
    const Case& c = GetParam();
    RecordingPrinter printer;
    RepviewState state;
    DriveMap drives;
    PrintEngine engine(state, printer, drives);
    engine.PrintReportText(c.report);
    EXPECT_EQ(printer.merged(), withReportFont(c.expected)) << c.name;
}

using namespace std::string_literals;

const Case EngineCases[] = {
    {"empty input", "", {"begin", "end"}},
    {"last character without line break", "AB", {"begin", "text AB", "end"}},
    {"lone greater-than vanishes", "A>B", {"begin", "text AB", "end"}},
    {"CR LF is a line break", "A\r\nB", {"begin", "text A\r\nB", "end"}},
    {"lone CR is dropped", "A\rB", {"begin", "text AB", "end"}},
    {"CR CR LF is one line break", "A\r\r\nB", {"begin", "text A\r\nB", "end"}},
    {"lone LF is an ordinary character", "A\nB", {"begin", "text A\nB", "end"}},
    {"NUL leaves no trace", "A\0B\0"s, {"begin", "text AB", "end"}},
    {"greater-than at the end prints nothing", "A>", {"begin", "text A", "end"}},
    {"CR at the end prints nothing", "A\r", {"begin", "text A", "end"}},
    {"form feed at the end begins nothing new", "A\f", {"begin", "text A", "end", "end"}},
    {"form feed between jobs", "A\fB", {"begin", "text A", "end", "begin", "text B", "end"}},
    {"two form feeds give an empty job", "A\f\fB", {"begin", "text A", "end", "begin", "end", "begin", "text B", "end"}},
    {"double greater-than opens a code", "A>>[BO]<B", {"begin", "text A", "bold on", "text B", "end"}},
    {"greater-than then CR LF", "A>\r\nB", {"begin", "text A\r\nB", "end"}},
    {"CR then code", "A\r>[BO]<B", {"begin", "text A", "bold on", "text B", "end"}},
};
std::string caseName(const ::testing::TestParamInfo<Case>& info)
{
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}
INSTANTIATE_TEST_SUITE_P(Engine, PrintEngineCase, ::testing::ValuesIn(EngineCases), caseName);

const Case CodeCases[] = {
    {"bold word", ">[BO]<Total>[NO]<", {"begin", "bold on", "text Total", "bold off", "end"}},
    {"lower-case code does nothing", "A>[bo]<B", {"begin", "text AB", "end"}},
    {"unknown code does nothing", "A>[XX]<B", {"begin", "text AB", "end"}},
    {"empty body does nothing", "A>[]<B", {"begin", "text AB", "end"}},
    {"long even body acts by its first pair", ">[BOLD]<x", {"begin", "bold on", "text x", "end"}},
    {"sizes", ">[CO]<a>[ST]<b>[EX]<c", {"begin", "size 8", "text a", "size 10", "text b", "size 16", "text c", "end"}},
    {"colours", ">[BL]<>[MA]<>[CY]<>[VI]<>[YE]<>[OR]<>[GR]<",
     {"begin", "colour 0", "colour 16711680", "colour 16776960", "colour 255", "colour 65535", "colour 255", "colour 65280", "end"}},
    // An odd body never meets the closing on a pair boundary: text is swallowed in pairs.
    {"odd body swallows text in pairs", ">[BOX]<abc]<e", {"begin", "bold on", "text e", "end"}},
    {"odd body swallows to the end", ">[BOX]<abc", {"begin", "bold on", "end"}},
    {"code cut by the end of input", "A>[BO", {"begin", "text A", "end"}},
    {"longer code cut by the end still acts", "A>[BOLD", {"begin", "text A", "bold on", "end"}},
    {"settings hold across form feeds", ">[GR]<A\fB", {"begin", "colour 65280", "text A", "end", "begin", "text B", "end"}},
    {"EX line break follows the size", ">[EX]<A\r\nB", {"begin", "size 16", "text A\r\nB", "end"}},
};
INSTANTIATE_TEST_SUITE_P(Codes, PrintEngineCase, ::testing::ValuesIn(CodeCases), caseName);

Calls barcodeThenReportFont(const std::string& text)
{
    Calls calls = {"font EAN-13", "size 28", "line " + text};
    calls.insert(calls.end(), ReportFont.begin(), ReportFont.end());
    return calls;
}

Calls concat(std::initializer_list<Calls> parts)
{
    Calls all;
    for (const Calls& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

const Case BarcodeCases[] = {
    {"barcode then text on the next line", ">[BC590123412345]<after",
     concat({{"begin"}, barcodeThenReportFont("&i@A23D|QRSTUw"), {"text after", "end"}})},
    {"bold is lost after a barcode, colour stays", ">[BO]<>[GR]<>[BC000000000000]<x",
     concat({{"begin", "bold on", "colour 65280"}, barcodeThenReportFont("!`00000|PPPPPp"), {"text x", "end"}})},
    // The closing is never looked for: ">[BC]<" takes "]<" and ten characters as digits.
    {"thirteen digits: the 13th and ']' are skipped, '<' is printed", ">[BC5901234123457]<",
     concat({{"begin"}, barcodeThenReportFont("&i@A23D|QRSTUw"), {"text <", "end"}})},
    {"digits cut by the end of input: no check digit", ">[BC40063813",
     concat({{"begin"}, barcodeThenReportFont("%`@63HA|SPPPPp"), {"end"}})},
};
INSTANTIATE_TEST_SUITE_P(Barcodes, PrintEngineCase, ::testing::ValuesIn(BarcodeCases), caseName);

}  // namespace

TEST(Barcode, NonDigitSecondCharacterIsATypeMismatchThatAbandonsTheDocument)
{
    const char* reports[] = {">[BC]<1234567890AB", ">[BC1A3456789012]<", ">[BC1", ">[BC1 3456789012]<"};
    for (const char* report : reports) {
        RecordingPrinter printer;
        RepviewState state;
        DriveMap drives;
        PrintEngine engine(state, printer, drives);
        try {
            engine.PrintReportText(std::string("before") + report + "after");
            ADD_FAILURE() << report << " printed without error";
        } catch (const zlt::RunTimeError& e) {
            EXPECT_EQ(e.number(), 13) << report;
        }
        Calls merged = printer.merged();
        ASSERT_FALSE(merged.empty());
        EXPECT_EQ(merged.back(), "abandon") << report;
        for (const std::string& call : merged)
            EXPECT_EQ(call.find("after"), std::string::npos) << report << ": printed past the failure";
    }
}

TEST(PrintReportFile, ReadsTheFileThroughTheDriveMapCaseBlind)
{
    auto root = std::filesystem::temp_directory_path() / ("repview-engine-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "zlt");
    {
        std::ofstream(root / "zlt" / "RPT", std::ios::binary) << "X>[BO]<Y\r\n\fZ";
    }
    RecordingPrinter printer;
    RepviewState state;
    DriveMap drives = DriveMap::parse("C=" + root.string());
    PrintEngine engine(state, printer, drives);
    state.ReportPath = "c:\\ZLT\\rpt.";
    engine.PrintReportFile();
    EXPECT_EQ(printer.merged(), withReportFont({"begin", "text X", "bold on", "text Y\r\n", "end", "begin", "text Z", "end"}));
    std::filesystem::remove_all(root);
}

TEST(PrintReportFile, MissingFileFailsBeforeAnyDocument)
{
    RecordingPrinter printer;
    RepviewState state;
    DriveMap drives;
    PrintEngine engine(state, printer, drives);
    for (const char* path : {"/nonexistent/RPT", "\"/tmp/RPT\""}) {
        state.ReportPath = path;
        EXPECT_THROW(engine.PrintReportFile(), zlt::RunTimeError) << path;
    }
    for (const std::string& call : printer.calls)
        EXPECT_NE(call, "begin");
}

TEST(PrintReportFile, EveryRunStartsInTheReportFontAndEventsRunOnceBeforePrinting)
{
    RecordingPrinter printer;
    RepviewState state;
    DriveMap drives;
    int yields = 0;
    size_t callsAtYield = 0;
    PrintEngine engine(state, printer, drives, [&] {
        ++yields;
        callsAtYield = printer.calls.size();
    });
    engine.PrintReportText(">[EX]<>[BO]<big");
    printer.calls.clear();
    engine.PrintReportText("next");
    EXPECT_EQ(yields, 2);
    EXPECT_EQ(callsAtYield, ReportFont.size());  // after the font, before the document
    EXPECT_EQ(printer.merged(), withReportFont({"begin", "text next", "end"}));
}
