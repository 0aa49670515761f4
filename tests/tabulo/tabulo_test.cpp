// Tabulo's logic with the recording doubles: the version check and the
// command line, the exact calls into the spreadsheet application for one
// and two data files, each dictionary field's heading, width and format,
// and the one message that stops a failed export.
#include <gtest/gtest.h>

#include "tests/tabulo/dictionary_line.h"

#include <sstream>

#include "platform/program_exit.h"
#include "platform/testing/memory_file_system.h"
#include "engines/spreadsheet/testing/recording_excel_application.h"
#include "platform/testing/recording_message_box.h"
#include "platform/testing/recording_window_system.h"
#include "tabulo/field_dictionary.h"
#include "common/leading_number.h"
#include "tabulo/run_tabulo.h"

namespace zlt::tabulo {
namespace {

using Log = std::vector<std::string>;

const auto field = testing::dictionaryLine;

std::string padded(std::string text, std::size_t length = 30)
{
    text.resize(length, ' ');
    return text;
}

struct TabuloRun {
    Log log;
    testing::MemoryFileSystem fileSystem;
    CodePage codePage{1252};
    HostFiles files{fileSystem, DriveMap::parse("C=/c", "/home/u"), &codePage};
    testing::RecordingMessageBox messages;
    testing::RecordingWindowSystem windows{log};
    testing::RecordingExcel excel{log};
    std::ostringstream errors;

    TabuloRun() { windows.windows = {{"Microsoft Excel - Book1", 7}}; }
    int operator()(const std::string& argumentText)
    {
        TabuloPlatform platform{files, codePage, messages, windows, [this] { return excel.create(); }, "/opt/zlt/",
                                &errors};
        return runTabulo(argumentText, platform);
    }
    // The log from the export's own application on (after the version check's three lines).
    Log exportLog() const { return log.size() > 3 ? Log(log.begin() + 3, log.end()) : Log{}; }
};

const Log versionCheck = {"CreateObject Excel.Application", "Version", "Release"};

TEST(TabuloStartUp, VersionBelowNineIsRefusedWithTheVersionText)
{
    const std::string refusal = "The version of Excel you have installed on \nyour machine ";
    const std::string rest = " is not compatible with\nthe Tabulo.\n\nTo run it, you need atleast Excel version 9.0 (Office 2000)";
    const struct {
        std::string version;
        bool noApplication, noVersion, refused;
        Log log;
    } cases[] = {
        {"9.0", false, false, false, versionCheck}, {"10.0", false, false, false, versionCheck},
        {"12.0", false, false, false, versionCheck}, {" 9", false, false, false, versionCheck},
        {"8.0", false, false, true, versionCheck}, {"8.9999", false, false, true, versionCheck},
        {"", false, false, true, versionCheck}, {"nine", false, false, true, versionCheck},
        {"9.0", false, true, true, versionCheck}, {"9.0", true, false, true, {"CreateObject Excel.Application"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        TabuloRun run;
        if (c.noApplication)
            run.excel.creationFailure = RunTimeError(error_number::CannotCreateObject);
        if (c.noVersion)
            run.excel.versionFailure = RunTimeError(error_number::NoSuchMember);
        run.excel.versionText = c.version;
        const int status = run("C:\\ZLT\\,STOCK.DIC");  // nothing to export: the check alone runs
        EXPECT_EQ(run.log, c.log);
        if (!c.refused) {
            EXPECT_EQ(status, exit_status::Done);
            EXPECT_TRUE(run.messages.shown.empty());
            continue;
        }
        EXPECT_EQ(status, exit_status::Failed);
        ASSERT_EQ(run.messages.shown.size(), 1u);
        EXPECT_EQ(run.messages.shown[0].title, "ZELTO TABULO Error - Incorrect version");
        const std::string shown = c.noApplication || c.noVersion ? "" : c.version;
        EXPECT_EQ(run.messages.shown[0].text, refusal + shown + rest);
    }
}

TEST(TabuloStartUp, CommandLineNamesTheDataFilesOrShowsTheInstructions)
{
    const std::string instructions =
        "Tabulo\n\nCommand line properties -\n\n          TABULO ExportFilePath,ExportDictionary,ExportData\n"
        "   e.g. TABULO C:\\ZLT\\,STOCK.DIC,STOCK.PHD\n\nNote: the command line seperators are commas, and they\n"
        "           break up the fields shown in the examples,\n"
        "           that must be included for the program to work.\n\n";
    std::string twoHundredOne = "C:\\ZLT\\,STOCK.DIC";
    for (int i = 0; i < 201; ++i)
        twoHundredOne += ",F" + std::to_string(i);
    const struct {
        std::string commandLine;
        bool instructions;
        Log connections;  // the data files imported, in order
    } cases[] = {
        {"C:\\ZLT\\,STOCK.DIC,STOCK.PHD", false, {"C:\\ZLT\\STOCK.PHD"}},
        {"C:\\ZLT\\,STOCK.DIC,STOCK", false, {"C:\\ZLT\\STOCK.PHD"}},
        {"C:\\ZLT\\,STOCK.DIC,STOCK.TXT", false, {"C:\\ZLT\\STOCK.TXT"}},
        {"C:\\ZLT\\,STOCK.DIC,STOCK.PHD,ORDERS,SALES.2002.PHD", false,
         {"C:\\ZLT\\STOCK.PHD", "C:\\ZLT\\ORDERS.PHD", "C:\\ZLT\\SALES.2002.PHD"}},
        {"C:\\ZLT\\, STOCK.DIC, STOCK", false, {"C:\\ZLT\\ STOCK.PHD"}},
        {"C:\\ZLT\\,STOCK.DIC", false, {}}, {"C:\\ZLT\\", false, {}},
        {"", true, {}}, {"C:\\ZLT\\,STOCK.DIC,", true, {}}, {"C:\\ZLT\\,,STOCK.PHD", true, {}},
        {",STOCK.DIC,STOCK.PHD", true, {}}, {"C:\\ZLT\\,STOCK.DIC,STOCK.PHD,,ORDERS", true, {}},
        {twoHundredOne, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine.substr(0, 60));
        TabuloRun run;
        run.fileSystem.addFile("/c/ZLT/STOCK.DIC", "");
        run.fileSystem.addFile("/c/ZLT/ STOCK.DIC", "");
        EXPECT_EQ(run(c.commandLine), exit_status::Done);
        Log connections;
        for (const std::string& line : run.log)
            if (const auto at = line.find("Connection:=\"TEXT;"); at != std::string::npos)
                connections.push_back(line.substr(at + 18, line.find('"', at + 18) - at - 18));
        EXPECT_EQ(connections, c.connections);
        if (c.instructions) {
            ASSERT_EQ(run.messages.shown.size(), 1u);
            EXPECT_EQ(run.messages.shown[0].title, "ZELTO TABULO - Operating instructions");
            EXPECT_EQ(run.messages.shown[0].text.substr(0, instructions.size()), instructions);
            EXPECT_EQ(run.messages.shown[0].text.back(), '\n');
            EXPECT_EQ(run.log, versionCheck);
        } else {
            EXPECT_TRUE(run.messages.shown.empty()) << run.messages.shown[0].text;
        }
    }
}

// The calls that frame sheet n: the import, the heading row, frozen panes,
// the name and the picture.
Log framing(int n, const std::string& dataFile, const std::string& sheetName)
{
    const std::string sheet = "Worksheets(" + std::to_string(n) + ")";
    Log calls = {sheet + ".Activate",
                 sheet + ".QueryTables.Add Connection:=\"TEXT;C:\\ZLT\\" + dataFile + "\", Destination:=" + sheet +
                     ".Range(\"A1\")",
                 "QueryTable.Name = \"" + sheetName + "\""};
    for (const char* setting :
         {"FieldNames = True", "RowNumbers = False", "FillAdjacentFormulas = False", "PreserveFormatting = True",
          "RefreshOnFileOpen = False", "SavePassword = False", "SaveData = True", "AdjustColumnWidth = True",
          "RefreshPeriod = 0", "TextFilePromptOnRefresh = False", "TextFileStartRow = 1",
          "TextFileConsecutiveDelimiter = False", "TextFileTabDelimiter = False", "TextFileSemicolonDelimiter = False",
          "TextFileCommaDelimiter = True", "TextFileSpaceDelimiter = False"})
        calls.push_back(std::string("QueryTable.") + setting);
    for (const std::string& call :
         {std::string("QueryTable.Refresh BackgroundQuery:=False"), sheet + ".Range(\"A1\").Select",
          std::string("ActiveCell.EntireRow.Insert"), sheet + ".Range(\"A2\").Select",
          std::string("ActiveWindow.FreezePanes = True"),
          "Sheets(" + std::to_string(n) + ").Name = \"" + sheetName + "\"",
          sheet + ".SetBackgroundPicture \"/opt/zlt/Kelvane.jpg\""})
        calls.push_back(call);
    return calls;
}

// The calls of one field line with a plain type: width from the heading,
// read back, the dictionary's width when larger, bold heading.
Log heading(int n, int column, const std::string& name, int headingWidth, int width)
{
    const std::string cells = "Worksheets(" + std::to_string(n) + ").";
    const std::string columnWidth = cells + "Columns(" + std::to_string(column) + ").ColumnWidth";
    Log calls = {columnWidth + " = " + std::to_string(headingWidth), columnWidth};
    if (width > headingWidth)
        calls.push_back(columnWidth + " = " + std::to_string(width));
    const std::string cell = cells + "Cells(1, " + std::to_string(column) + ")";
    calls.push_back(cell + ".Font.Bold = True");
    calls.push_back(cell + ".Value = \"" + padded(name) + "\"");
    return calls;
}

Log joined(std::initializer_list<Log> parts)
{
    Log all;
    for (const Log& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(TabuloExport, OneDataFileIsImportedFramedAndHeaded)
{
    TabuloRun run;
    run.fileSystem.addFile("/c/ZLT/STOCK.DIC", "STOCK DICTIONARY\r\n\r\n" + field("  2", "Description", "TEXT", "5") +
                                                   "\r\n" + field("1", "Code", "TEXT", "  8") + "\r\n");
    EXPECT_EQ(run("C:\\ZLT\\,STOCK.DIC,STOCK"), exit_status::Done);
    EXPECT_EQ(run.exportLog(),
              joined({{"CreateObject Excel.Application", "Visible = True", "SheetsInNewWorkbook = 1", "Workbooks.Add",
                       "find Microsoft Excel - Book1", "foreground 7", "maximise 7", "focus 7"},
                      framing(1, "STOCK.PHD", "STOCK"), heading(1, 2, "Description", 12, 5),
                      heading(1, 1, "Code", 5, 8), {"Release"}}));
    EXPECT_TRUE(run.messages.shown.empty());
    EXPECT_EQ(run.errors.str(), "");
}

// The dictionary is read again for each sheet; only the first sheet makes
// the workbook; no window of that title: nothing is brought forward.
TEST(TabuloExport, TwoDataFilesMakeTwoSheetsInOneWorkbook)
{
    TabuloRun run;
    run.windows.windows.clear();
    run.fileSystem.addFile("/c/ZLT/STOCK.DIC", field("1", "Code", "", "3"));
    EXPECT_EQ(run("C:\\ZLT\\,STOCK.DIC,STOCK.PHD,SALES.2002.PHD"), exit_status::Done);
    EXPECT_EQ(run.exportLog(),
              joined({{"CreateObject Excel.Application", "Visible = True", "SheetsInNewWorkbook = 2", "Workbooks.Add",
                       "find Microsoft Excel - Book1"},
                      framing(1, "STOCK.PHD", "STOCK"), heading(1, 1, "Code", 5, 3), {"Visible = True"},
                      framing(2, "SALES.2002.PHD", "SALES"), heading(2, 1, "Code", 5, 3), {"Release"}}));
}

// Each field line's own calls after its heading: number formats by type,
// the barcode format by name, widths widened from what Excel reports.
TEST(TabuloExport, FieldTypeAndNameGiveTheColumnItsFormat)
{
    const std::string fixed2 = "ActiveCell.EntireColumn.NumberFormat = \"###,###,##0.00\"";
    const std::string fixed4 = "ActiveCell.EntireColumn.NumberFormat = \"###,###,##0.0000\"";
    const std::string barcode = "ActiveCell.EntireColumn.NumberFormat = \"# ?/?\"";
    const struct {
        std::string line;
        int column;
        std::string name;
        int headingWidth, width;
        Log formatCalls;
    } cases[] = {
        {field("3", "Qty", "FIXED2", "10"), 3, "Qty", 4, 10,
         {"Worksheets(1).Range(\"C1\").Select", fixed2, "Worksheets(1).Columns(3).ColumnWidth",
          "Worksheets(1).Columns(3).ColumnWidth = 12"}},
        {field("4", "Cost", "xfixed4", "8.5"), 4, "Cost", 5, 8,
         {"Worksheets(1).Range(\"D1\").Select", fixed4, "Worksheets(1).Columns(4).ColumnWidth",
          "Worksheets(1).Columns(4).ColumnWidth = 12"}},
        {field("27", "Price", "FIXED4F", "7.5"), 27, "Price", 6, 8,
         {"Worksheets(1).Range(\"AA1\").Select", fixed4, "Worksheets(1).Columns(27).ColumnWidth",
          "Worksheets(1).Columns(27).ColumnWidth = 12"}},
        {field("52", "Both", "FIXED2 FIXED4", "0"), 52, "Both", 5, 0,
         {"Worksheets(1).Range(\"AZ1\").Select", fixed2, "Worksheets(1).Columns(52).ColumnWidth",
          "Worksheets(1).Columns(52).ColumnWidth = 7"}},
        {field("53", "Barcode Number", "NUMBER", "13"), 53, "Barcode Number", 15, 13,
         {"Worksheets(1).Range(\"BA1\").Select", barcode}},
        {field("5", "EAN barcode", "FIXED2", "-4"), 5, "EAN barcode", 12, -4,
         {"Worksheets(1).Range(\"E1\").Select", fixed2, "Worksheets(1).Columns(5).ColumnWidth",
          "Worksheets(1).Columns(5).ColumnWidth = 14", "Worksheets(1).Range(\"E1\").Select", barcode}},
        {field("6", "EAN", "BARCODE", "9"), 6, "EAN", 4, 9, {}},
        {field("702", "", "", "3"), 702, "", 1, 3, {}},
        {field("7", "Short", "", ""), 7, "Short", 6, 0, {}},
        {"8      Cut", 8, "Cut", 4, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        TabuloRun run;
        run.fileSystem.addFile("/c/ZLT/STOCK.DIC", c.line + "\r");
        EXPECT_EQ(run("C:\\ZLT\\,STOCK.DIC,STOCK"), exit_status::Done);
        const Log log = run.exportLog();
        const auto first = std::find(log.begin(), log.end(), "Worksheets(1).SetBackgroundPicture \"/opt/zlt/Kelvane.jpg\"");
        ASSERT_NE(first, log.end());
        EXPECT_EQ(Log(first + 1, log.end()), joined({heading(1, c.column, c.name, c.headingWidth, c.width),
                                                     c.formatCalls, {"Release"}}));
    }
}

// Positions 1 to 3 and 46 to 52: leading number, blanks anywhere, rounded
// half to even into 16 bits.
TEST(TabuloDictionary, NumbersAreReadByPositionAndRoundedHalfToEven)
{
    const struct {
        std::string text;
        double number;
        int rounded;  // -99999: overflow
    } cases[] = {
        {"8.5", 8.5, 8}, {"7.5", 7.5, 8}, {" 1 2", 12, 12}, {"  7", 7, 7}, {"7  ", 7, 7}, {"-2.5", -2.5, -2},
        {"12abc", 12, 12}, {"abc", 0, 0}, {"", 0, 0}, {".5", 0.5, 0}, {"1E3", 1000, 1000}, {"1d2", 100, 100},
        {"+3", 3, 3}, {"32767", 32767, 32767}, {"32768", 32768, -99999}, {"-32768.5", -32768.5, -32768},
        {"9E9", 9e9, -99999}, {"1e-999", 0, 0}, {"9.0", 9, 9}, {"1.5.5", 1.5, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(leadingNumber(c.text), c.number);
        try {
            EXPECT_EQ(roundedToInteger(leadingNumber(c.text)), c.rounded);
        } catch (const RunTimeError& error) {
            EXPECT_EQ(c.rounded, -99999);
            EXPECT_EQ(error.number(), error_number::Overflow);
        }
    }
}

// A failure stops the export where it happened: the application is still
// let go of (so the workbook stays with the user), then one box and one line.
TEST(TabuloExport, RunTimeErrorStopsTheExportWithOneMessage)
{
    const struct {
        std::string dictionary;  // "-": no dictionary file
        std::string failAt;
        Log lastCalls;  // the log's end
        std::string description;
        int number;
    } cases[] = {
        {"-", "", {"Worksheets(1).SetBackgroundPicture \"/opt/zlt/Kelvane.jpg\"", "Release"},
         "File not found (/c/ZLT/STOCK.DIC)", 53},
        {field("1", "Code", "", "300"), "Worksheets(1).Columns(1).ColumnWidth = 300",
         {"Worksheets(1).Columns(1).ColumnWidth", "Worksheets(1).Columns(1).ColumnWidth = 300", "Release"},
         "Application-defined or object-defined error", 1004},
        {field("1", "Code", "", "40000"), "", {"Worksheets(1).SetBackgroundPicture \"/opt/zlt/Kelvane.jpg\"", "Release"},
         "Overflow", 6},
        {field("1", "Code", "", "3") + "\r\n" + field("1E3", "Far", "", "3") + "\r\n" + field("2E3", "Too far", "", "3"),
         "", {"Worksheets(1).Cells(1, 1000).Value = \"" + padded("Far") + "\"", "Release"}, "Subscript out of range", 9},
        {field("1", "Code", "", "3"), "QueryTable.Refresh Back", {"QueryTable.Refresh BackgroundQuery:=False", "Release"},
         "Application-defined or object-defined error", 1004},
        {field("1", "Code", "", "3"), "Sheets(1).Name", {"Sheets(1).Name = \"STOCK\"", "Release"},
         "Application-defined or object-defined error", 1004},
        {field("1", "Code", "", "3"), "Release", {"Worksheets(1).Cells(1, 1).Value = \"" + padded("Code") + "\"", "Release"},
         "Application-defined or object-defined error", 1004},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failAt + c.description);
        TabuloRun run;
        c.dictionary != "-" ? run.fileSystem.addFile("/c/ZLT/STOCK.DIC", c.dictionary) : run.fileSystem.addFolder("/c/ZLT");
        run.excel.failAt = c.failAt;
        EXPECT_EQ(run("C:\\ZLT\\,STOCK.DIC,STOCK"), exit_status::Failed);
        ASSERT_GE(run.log.size(), c.lastCalls.size());
        EXPECT_EQ(Log(run.log.end() - static_cast<std::ptrdiff_t>(c.lastCalls.size()), run.log.end()), c.lastCalls);
        ASSERT_EQ(run.messages.shown.size(), 1u);
        EXPECT_EQ(run.messages.shown[0].title, "Tabulo");
        const std::string number = std::to_string(c.number);
        EXPECT_EQ(run.messages.shown[0].text, "Run-time error '" + number + "':\n\n" + c.description);
        const std::string what = c.failAt == "Release" ? "keeping the workbook" : "exporting STOCK.PHD";
        EXPECT_EQ(run.errors.str(), "tabulo: " + what + ": " + c.description + " (error " + number + ")\n");
    }
}

}  // namespace
}  // namespace zlt::tabulo
