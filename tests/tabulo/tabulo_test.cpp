// Tabulo on the Linux spreadsheet layer over an in-memory workbook: the
// version check and the command line, what each dictionary field makes of
// its column, what a stopped export keeps, and what the layer refuses.
#include <gtest/gtest.h>

#include "tests/tabulo/dictionary_line.h"

#include <algorithm>
#include <functional>
#include <sstream>

#include "platform/ascii.h"
#include "engines/spreadsheet/excel/linux_excel.h"
#include "engines/spreadsheet/testing/memory_workbook.h"
#include "platform/program_exit.h"
#include "platform/testing/fixed_clock.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/recording_message_box.h"
#include "platform/testing/recording_opener.h"
#include "platform/testing/recording_window_system.h"
#include "tabulo/run_tabulo.h"

namespace zlt::tabulo {
namespace {

using Log = std::vector<std::string>;

using testing::field;

std::string heading(const std::string& name) { return "bold text \"" + testing::padded(name) + "\""; }

// An application that only tells its version, for the check.
class VersionOnly : public ExcelApplication {
public:
    explicit VersionOnly(std::optional<std::string> version) : version_(std::move(version)) {}
    std::string version() override { return version_ ? *version_ : throw RunTimeError(error_number::NoSuchMember); }
    void release() override {}
    void setVisible(bool) override { refuse(); }
    void setSheetsInNewWorkbook(int) override { refuse(); }
    void addWorkbook() override { refuse(); }
    ExcelWorksheet& worksheets(int) override { refuse(); }
    void setSheetName(int, const std::string&) override { refuse(); }
    void insertActiveCellEntireRow() override { refuse(); }
    void setActiveWindowFreezePanes(bool) override { refuse(); }
    void setActiveCellEntireColumnNumberFormat(const std::string&) override { refuse(); }

private:
    [[noreturn]] static void refuse() { throw RunTimeError(error_number::NoSuchMember); }
    std::optional<std::string> version_;
};

struct TabuloRun {
    testing::MemoryFileSystem fileSystem;
    CodePage codePage{1252};
    HostFiles files{fileSystem, DriveMap::parse("C=/c", "/home/u"), &codePage};
    testing::FixedClock clock{{2002, 12, 25, 10, 30, 0, 0}};
    testing::RecordingOpener opener;
    testing::MemoryWorkbooks workbooks;
    testing::RecordingMessageBox messages;
    Log windowCalls;
    testing::RecordingWindowSystem windows{windowCalls};
    std::ostringstream errors;
    ExcelHost host{files, codePage, clock, &opener, "/out",
                   [this](const std::string& path) { return workbooks.make(path); }, &errors};
    std::function<std::unique_ptr<ExcelApplication>()> createExcel = [this] { return makeLinuxExcel(host); };

    TabuloRun()
    {
        fileSystem.addFolder("/out");
        fileSystem.addFile("/opt/zlt/Kelvane.jpg", "\xFF\xD8\xFF\xE0 picture");
        fileSystem.addFile("/c/ZLT/STOCK.DIC", field("1", "Code", "", "3"));
        windows.windows = {{"Microsoft Excel - Book1", 7}};
    }
    int operator()(const std::string& commandLine)
    {
        TabuloPlatform platform{files, codePage, messages, windows, createExcel, "/opt/zlt/", &errors};
        return runTabulo(commandLine, platform);
    }
    // The names of the sheets of the workbook the export kept; none when it kept none.
    Log keptSheets() const
    {
        Log names;
        if (!workbooks.books.empty() && workbooks.books.back().closed)
            for (const auto& sheet : workbooks.books.back().sheets)
                names.push_back(sheet.name);
        return names;
    }
};

// The version check, then the command line: what is exported (each data
// file holds its own name, so the sheets show which were imported) or
// which box is shown.
TEST(TabuloStartUp, VersionAndCommandLineDecideWhatIsExported)
{
    const std::string instructions =
        "Tabulo\n\nCommand line properties -\n\n          TABULO ExportFilePath,ExportDictionary,ExportData\n"
        "   e.g. TABULO C:\\ZLT\\,STOCK.DIC,STOCK.PHD\n\nNote: the command line seperators are commas, and they\n"
        "           break up the fields shown in the examples,\n"
        "           that must be included for the program to work.\n\n";
    const auto refusal = [](const std::string& version) {
        return "The version of Excel you have installed on \nyour machine " + version +
               " is not compatible with\nthe Tabulo.\n\nTo run it, you need atleast Excel version 9.0 (Office 2000)";
    };
    std::string twoHundredOne = "C:\\ZLT\\,STOCK.DIC";
    for (int i = 0; i < 201; ++i)
        twoHundredOne += ",F" + std::to_string(i);
    const std::string stock = "C:\\ZLT\\,STOCK.DIC,STOCK.PHD";
    const struct {
        std::string version;  // of a stand-in application: "(fails)" to read, "(none)" to start; "": the layer's
        std::string commandLine;
        std::string box;      // the box's text, or how it starts; "": none
        Log sheets;           // each "<sheet name> <the data it holds>"
    } cases[] = {
        {"", stock, "", {"STOCK stock.phd"}},
        {"", "C:\\ZLT\\,STOCK.DIC,STOCK", "", {"STOCK stock.phd"}},
        {"", "C:\\ZLT\\,STOCK.DIC,STOCK.TXT", "", {"STOCK stock.txt"}},
        {"", "C:\\ZLT\\,STOCK.DIC,STOCK.PHD,ORDERS,SALES.2002.PHD", "",
         {"STOCK stock.phd", "ORDERS orders.phd", "SALES sales.2002.phd"}},
        {"", "C:\\ZLT\\, STOCK.DIC, STOCK", "", {" STOCK  stock.phd"}},
        {"", "C:\\ZLT\\,STOCK.DIC", "", {}}, {"", "C:\\ZLT\\", "", {}},
        {"", "", instructions, {}}, {"", "C:\\ZLT\\,STOCK.DIC,", instructions, {}},
        {"", "C:\\ZLT\\,,STOCK.PHD", instructions, {}}, {"", ",STOCK.DIC,STOCK.PHD", instructions, {}},
        {"", "C:\\ZLT\\,STOCK.DIC,STOCK.PHD,,ORDERS", instructions, {}}, {"", twoHundredOne, instructions, {}},
        {"9.0", "C:\\ZLT\\,STOCK.DIC", "", {}}, {"10.0", "C:\\ZLT\\,STOCK.DIC", "", {}}, {" 9", "", instructions, {}},
        {"8.0", stock, refusal("8.0"), {}}, {"8.9999", stock, refusal("8.9999"), {}}, {" ", stock, refusal(" "), {}},
        {"nine", stock, refusal("nine"), {}}, {"(fails)", stock, refusal(""), {}}, {"(none)", stock, refusal(""), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version + " " + c.commandLine.substr(0, 60));
        TabuloRun run;
        if (!c.version.empty())
            run.createExcel = [&c]() -> std::unique_ptr<ExcelApplication> {
                if (c.version == "(none)")
                    throw RunTimeError(error_number::CannotCreateObject);
                return std::make_unique<VersionOnly>(c.version == "(fails)" ? std::nullopt : std::optional(c.version));
            };
        run.fileSystem.addFile("/c/ZLT/ STOCK.DIC", field("1", "Code", "", "3"));
        for (const char* name : {"STOCK.PHD", "STOCK.TXT", "ORDERS.PHD", "SALES.2002.PHD", " STOCK.PHD"})
            run.fileSystem.addFile(std::string("/c/ZLT/") + name, lowerAscii(name) + "\r\n");
        const bool refused = c.box.starts_with("The version");
        EXPECT_EQ(run(c.commandLine), refused ? exit_status::Failed : exit_status::Done);
        Log sheets;
        for (const auto& sheet : run.keptSheets())
            sheets.push_back(sheet + " " + run.workbooks.books.back().sheet(sheet).rows.at(2).at(0).substr(5));
        for (std::string& sheet : sheets)
            std::erase(sheet, '"');
        EXPECT_EQ(sheets, c.sheets);
        ASSERT_EQ(run.messages.shown.size(), c.box.empty() ? 0u : 1u);
        if (!c.box.empty()) {
            const auto& [title, text] = run.messages.shown[0];
            EXPECT_EQ(title, refused ? "ZELTO TABULO Error - Incorrect version" : "ZELTO TABULO - Operating instructions");
            EXPECT_TRUE(text.starts_with(c.box)) << text;
            EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(c.box.begin(), c.box.end(), '\n') + !refused);
            EXPECT_TRUE(run.workbooks.books.empty());
        }
    }
}

// Widths from the heading, the dictionary and the type, formats by type and
// name, whatever the order of the lines; the data one row down, each value
// what the import makes of it; an extra column fitted to its values.
TEST(TabuloExport, EachFieldGivesItsColumnHeadingWidthAndFormat)
{
    TabuloRun run;
    run.fileSystem.addFile("/c/ZLT/STOCK.DIC",
                           "STOCK DICTIONARY\r\n\r\n" + field("  2", "Description", "TEXT", "5") +
                               field("1", "Code", "TEXT", "  8") + field("3", "Qty", "FIXED2", "10") +
                               field("4", "Cost", "xfixed4", "8.5") + field("27", "Price", "FIXED4F", "7.5") +
                               field("52", "Both", "FIXED2 ", "0") + field("53", "Barcode Number", "NUMBER", "13") +
                               field("5", "EAN barcode", "FIXED2", "-4") + field("6", "EAN", "BARCODE", "9") +
                               field("702", "", "", "3") + field("7", "Short", "", "") + "8      Cut\r" +
                               "10" + std::string(5, '\0') + "Nul" + std::string(28, '\0') + "FIXED2" + '\0' + "9\0\n");
    run.fileSystem.addFile("/c/ZLT/STOCK.PHD", "A1,\"Widget, large\",12,1234.5,9300000000012,25/12/2002,,,extra text\r\n"
                                               "B2,Caf\xE9,3.25-,1/2/03\r\n");
    ASSERT_EQ(run("C:\\ZLT\\,STOCK.DIC,STOCK"), exit_status::Done) << run.errors.str();
    const std::string fixed2 = "###,###,##0.00", fixed4 = "###,###,##0.0000", barcode = "[<4294967296]# ?/?;0";
    const struct {
        int column;
        std::string name;
        double width;
        std::string format;
    } columns[] = {
        {1, "Code", 8, ""}, {2, "Description", 12, ""}, {3, "Qty", 12, fixed2}, {4, "Cost", 12, fixed4},
        {5, "EAN barcode", 14, barcode}, {6, "EAN", 9, ""}, {7, "Short", 6, ""}, {8, "Cut", 4, ""},
        {27, "Price", 12, fixed4}, {52, "Both", 7, fixed2}, {53, "Barcode Number", 15, barcode}, {702, "", 3, ""},
        {10, "Nul", 11, fixed2},  // old DOS programs pad fixed-width fields with NULs: they read as blanks
    };
    const testing::WrittenSheet& sheet = run.workbooks.books.at(0).sheet("STOCK");
    for (const auto& c : columns) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sheet.widths.at(c.column), c.width);
        EXPECT_EQ(sheet.formats.count(c.column) ? sheet.formats.at(c.column) : "", c.format);
        EXPECT_EQ(sheet.rows.at(1).at(static_cast<std::size_t>(c.column) - 1), heading(c.name));
    }
    EXPECT_EQ(sheet.widths.at(9), 11);
    EXPECT_EQ(sheet.formats.size(), 7u);
    EXPECT_EQ(sheet.rows.at(2), (Log{"text \"A1\"", "text \"Widget, large\"", "number 12", "number 1234.5",
                                     "number 9300000000012", "date 2002-12-25 [dd/mm/yyyy]", "empty", "empty",
                                     "text \"extra text\""}));
    EXPECT_EQ(sheet.rows.at(3), (Log{"text \"B2\"", "text \"Caf\xC3\xA9\"", "number -3.25", "date 2003-02-01"}));
    EXPECT_EQ(std::tie(sheet.frozenRow, sheet.frozenColumn, sheet.picture), std::make_tuple(2, 1, "/opt/zlt/Kelvane.jpg"));
    EXPECT_EQ(run.windowCalls, (Log{"find Microsoft Excel - Book1", "foreground 7", "maximise 7", "focus 7"}));
    EXPECT_EQ(run.opener.opened, Log{"/out/STOCK 2002-12-25 10.30.00.xlsx"});
    EXPECT_TRUE(run.messages.shown.empty());
    EXPECT_EQ(run.errors.str(), "");

    // Another export in the same second takes a name of its own.
    ASSERT_EQ(run("C:\\ZLT\\,STOCK.DIC,STOCK"), exit_status::Done);
    EXPECT_EQ(run.opener.opened.back(), "/out/STOCK 2002-12-25 10.30.00 (2).xlsx");
}

// A failure stops the export where it happened: one box and one line, and
// the workbook as far as it got is kept and opened; one that cannot be
// written leaves nothing under a workbook's name.
TEST(TabuloExport, RunTimeErrorStopsTheExportAndKeepsWhatWasDone)
{
    const std::string objectDefined = "Application-defined or object-defined error";
    const struct {
        std::string commandLine, dictionary, failAt;
        std::string whatFailed, description;
        int number;
        Log kept;  // the sheets of the workbook kept
    } cases[] = {
        {"C:\\ZLT\\,NONE.DIC,STOCK", "", "", "exporting STOCK.PHD", "File not found (/c/ZLT/NONE.DIC)", 53, {"STOCK"}},
        {"C:\\ZLT\\,STOCK.DIC,STOCK", field("1", "Code", "", "300"), "", "exporting STOCK.PHD",
         objectDefined + " (column width 300.000000 outside 0 to 255)", 1004, {"STOCK"}},
        {"C:\\ZLT\\,STOCK.DIC,STOCK", field("1", "Code", "", "40000"), "", "exporting STOCK.PHD", "Overflow", 6, {"STOCK"}},
        {"C:\\ZLT\\,STOCK.DIC,STOCK", field("1", "Code", "", "3") + field("1E3", "Far", "", "3") + field("2E3", "No", "", "3"),
         "", "exporting STOCK.PHD", "Subscript out of range", 9, {"STOCK"}},
        {"C:\\ZLT\\,STOCK.DIC,NONE", "", "", "exporting NONE.PHD", "File not found (/c/ZLT/NONE.PHD)", 53, {"Sheet1"}},
        {"C:\\ZLT\\,STOCK.DIC,A[1]", "", "", "exporting A[1].PHD",
         objectDefined + " (sheet name \"A[1]\": a sheet name holds none of [ ] : * ? / \\)", 1004, {"Sheet1"}},
        {"C:\\ZLT\\,STOCK.DIC,STOCK,NONE,ORDERS", "", "", "exporting NONE.PHD", "File not found (/c/ZLT/NONE.PHD)", 53,
         {"STOCK", "Sheet2", "Sheet3"}},
        {"C:\\ZLT\\,STOCK.DIC,STOCK", "", "close", "keeping the workbook", "Disk full", 61, {}},
        // A sheet the workbook refused is kept as far as it got, the rest all the same.
        {"C:\\ZLT\\,STOCK.DIC,STOCK", "", "row 1", "keeping the workbook", "Disk full", 61, {"STOCK"}},
        {"C:\\ZLT\\,STOCK.DIC,STOCK,ORDERS", "", "row 1", "keeping the workbook", "Disk full", 61, {"STOCK", "ORDERS"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine + " " + c.description);
        TabuloRun run;
        if (!c.dictionary.empty())
            run.fileSystem.addFile("/c/ZLT/STOCK.DIC", c.dictionary);
        for (const char* name : {"STOCK.PHD", "ORDERS.PHD", "A[1].PHD"})
            run.fileSystem.addFile(std::string("/c/ZLT/") + name, "7\r\n");
        run.workbooks.failAt = c.failAt;
        EXPECT_EQ(run(c.commandLine), exit_status::Failed);
        const std::string number = std::to_string(c.number);
        EXPECT_EQ(run.errors.str(), "tabulo: " + c.whatFailed + ": " + c.description + " (error " + number + ")\n");
        ASSERT_EQ(run.messages.shown.size(), 1u);
        EXPECT_EQ(run.messages.shown[0].title, "Tabulo");
        EXPECT_EQ(run.messages.shown[0].text, "Run-time error '" + number + "':\n\n" + c.description);
        EXPECT_EQ(run.keptSheets(), c.kept);
        EXPECT_EQ(run.opener.opened.size(), c.kept.empty() ? 0u : 1u);
        if (c.kept.empty()) {
            EXPECT_EQ(run.fileSystem.list("/out"), Log{});
        }
    }
}

// Refusals carry the numbers the object model raises.
TEST(TabuloLinuxExcel, RefusedCallsRaiseTheObjectModelsNumbers)
{
    using Calls = std::function<void(ExcelApplication&)>;
    const auto query = [](ExcelApplication& x, const std::string& path) -> ExcelQueryTable& {
        return x.worksheets(1).addQueryTable("TEXT;" + path, x.worksheets(1).range("A1"));
    };
    const struct {
        std::string what;
        Calls calls;
        int number;
    } cases[] = {
        {"no workbook yet", [](ExcelApplication& x) { x.worksheets(1); }, 1004},
        {"no third sheet", [](ExcelApplication& x) { x.addWorkbook(), x.worksheets(3); }, 9},
        {"name taken in another case", [](ExcelApplication& x) { x.addWorkbook(), x.setSheetName(2, "SHEET1"); }, 1004},
        {"name too long", [](ExcelApplication& x) { x.addWorkbook(), x.setSheetName(1, std::string(32, 'x')); }, 1004},
        {"column past the last", [](ExcelApplication& x) { x.addWorkbook(), x.worksheets(1).setColumnWidth(16385, 9); }, 1004},
        {"unknown property", [&](ExcelApplication& x) { x.addWorkbook(), query(x, "/d.csv").setProperty("Bogus", 1); }, 438},
        {"wrong type", [&](ExcelApplication& x) { x.addWorkbook(), query(x, "/d.csv").setProperty("AdjustColumnWidth", 1); }, 13},
        {"a live query", [&](ExcelApplication& x) { x.addWorkbook(), query(x, "/d.csv").setProperty("RowNumbers", true); }, 1004},
        {"not a text file", [](ExcelApplication& x) {
             x.addWorkbook(), x.worksheets(1).addQueryTable("ODBC;x", x.worksheets(1).range("A1")); }, 1004},
        {"no picture file", [](ExcelApplication& x) { x.addWorkbook(), x.worksheets(1).setBackgroundPicture("/none.jpg"); }, 53},
        {"no picture", [](ExcelApplication& x) { x.addWorkbook(), x.worksheets(1).setBackgroundPicture("/d.csv"); }, 1004},
        {"select off the active sheet", [](ExcelApplication& x) { x.addWorkbook(), x.worksheets(2).selectRange("A1"); }, 1004},
        {"a bad address", [](ExcelApplication& x) { x.addWorkbook(), x.worksheets(1).selectRange("1A"); }, 1004},
        {"back to a written sheet", [](ExcelApplication& x) {
             x.addWorkbook(), x.worksheets(2).activate(), x.worksheets(1).activate(); }, 1004},
        {"a row inside the data", [&](ExcelApplication& x) {
             x.addWorkbook();
             query(x, "/d.csv").refresh(false);
             x.worksheets(1).selectRange("A2");
             x.insertActiveCellEntireRow(); }, 1004},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TabuloRun run;
        run.fileSystem.addFile("/d.csv", "1\n2\n3\n");
        const auto excel = makeLinuxExcel(run.host);
        excel->setSheetsInNewWorkbook(2);
        try {
            c.calls(*excel);
            ADD_FAILURE() << "not refused";
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.number(), c.number) << error.description();
        }
    }
}

}  // namespace
}  // namespace zlt::tabulo
