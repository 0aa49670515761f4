// The Linux spreadsheet layer: how a data file is split and what each value
// becomes; what the program's calls make of the workbook (over a recording
// workbook, so each column setting and row is seen); what the layer refuses;
// and that a failed write leaves nothing under a workbook's name.
#include <gtest/gtest.h>

#include "tests/tabulo/dictionary_line.h"

#include <functional>
#include <sstream>

#include "engines/spreadsheet/excel/linux_excel.h"
#include "engines/spreadsheet/excel/text_import.h"
#include "platform/program_exit.h"
#include "platform/testing/fixed_clock.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/recording_message_box.h"
#include "platform/testing/recording_opener.h"
#include "platform/testing/recording_window_system.h"
#include "engines/spreadsheet/testing/recording_workbook.h"
#include "tabulo/run_tabulo.h"

namespace zlt::excel {
namespace {

using Log = std::vector<std::string>;
using Kind = ImportedValue::Kind;

TEST(TabuloTextImport, ValuesBecomeNumbersDatesOrText)
{
    const struct {
        std::string value;
        Kind kind;
        double number;
        CalendarDate date;
    } cases[] = {
        {"12", Kind::Number, 12, {}}, {" 12 ", Kind::Number, 12, {}}, {"-3.25", Kind::Number, -3.25, {}},
        {"3.25-", Kind::Number, -3.25, {}}, {"(7)", Kind::Number, -7, {}}, {"+.5", Kind::Number, 0.5, {}},
        {"1,234.5", Kind::Number, 1234.5, {}}, {"1,234,567", Kind::Number, 1234567, {}}, {"1e3", Kind::Number, 1000, {}},
        {"9300000000012", Kind::Number, 9300000000012, {}}, {"00123", Kind::Number, 123, {}},
        {"25/12/2002", Kind::Date, 0, {2002, 12, 25}}, {"1/2/03", Kind::Date, 0, {2003, 2, 1}},
        {"1-2-30", Kind::Date, 0, {1930, 2, 1}}, {"29/02/2000", Kind::Date, 0, {2000, 2, 29}},
        {"29/02/2002", Kind::Text, 0, {}}, {"25/12/1899", Kind::Text, 0, {}}, {"1/2", Kind::Text, 0, {}},
        {"1/2-2003", Kind::Text, 0, {}}, {"1,23", Kind::Text, 0, {}}, {"12,3456", Kind::Text, 0, {}},
        {"1.2.3", Kind::Text, 0, {}}, {"-", Kind::Text, 0, {}}, {"--5", Kind::Text, 0, {}}, {"1e", Kind::Text, 0, {}},
        {"inf", Kind::Text, 0, {}}, {"$12", Kind::Text, 0, {}}, {"   ", Kind::Text, 0, {}}, {"", Kind::Empty, 0, {}},
        {"1e999", Kind::Text, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const ImportedValue value = importedValue(c.value);
        EXPECT_EQ(value.kind, c.kind);
        if (c.kind == Kind::Number) {
            EXPECT_EQ(value.number, c.number);
        }
        if (c.kind == Kind::Date) {
            EXPECT_EQ(std::tie(value.date.year, value.date.month, value.date.day),
                      std::tie(c.date.year, c.date.month, c.date.day));
        }
    }
}

TEST(TabuloTextImport, LinesAreRecordsOfQuotedOrPlainValues)
{
    using Records = std::vector<std::vector<std::string>>;
    const struct {
        std::string text;
        std::string delimiters;
        bool consecutive;
        int startRow;
        Records records;
    } cases[] = {
        {"a,b\r\nc\rd\ne", ",", false, 1, {{"a", "b"}, {"c"}, {"d"}, {"e"}}},
        {"\"x, y\",\"say \"\"hi\"\"\",\"q\"tail,\"open", ",", false, 1, {{"x, y", "say \"hi\"", "qtail", "open"}}},
        {" \"a\",b\"c\"", ",", false, 1, {{" \"a\"", "b\"c\""}}},
        {"a,,b,\r\n\r\n,\r\n", ",", false, 1, {{"a", "", "b", ""}, {""}, {"", ""}}},
        {"a;b\tc d,e", ",", false, 1, {{"a;b\tc d", "e"}}},
        {"a;b\tc", ";\t", false, 1, {{"a", "b", "c"}}},
        {"a,,,b", ",", true, 1, {{"a", "b"}}},
        {"h1\r\nh2\r\nx\r\n\x1A", ",", false, 3, {{"x"}}},
        {"x\x1A", ",", false, 1, {{"x"}}},
        {"", ",", false, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        testing::MemoryFileSystem files;
        files.addFile("/d.csv", c.text);
        TextImportOptions options;
        for (const char d : c.delimiters)
            options.delimiters[static_cast<unsigned char>(d)] = true;
        options.consecutiveDelimiters = c.consecutive;
        options.startRow = c.startRow;
        const auto file = files.openRead("/d.csv");
        DelimitedTextReader reader(*file, options);
        Records records;
        for (std::vector<std::string_view> values; reader.next(values);)
            records.emplace_back(values.begin(), values.end());
        EXPECT_EQ(records, c.records);
    }
}

// A workbook that fails as a full disk makes it fail, half written.
class FullDiskWorkbook : public testing::RecordingWorkbook {
public:
    FullDiskWorkbook(Log& log, testing::MemoryFileSystem& files, std::string path)
        : RecordingWorkbook(log), files_(files), path_(std::move(path))
    {
    }
    void close() override
    {
        files_.openWrite(path_, WriteMode::Replace)->write("PK\x03\x04half");
        throw RunTimeError(error_number::DiskFull);
    }

private:
    testing::MemoryFileSystem& files_;
    std::string path_;
};

struct LinuxExcelRun {
    Log log;
    testing::MemoryFileSystem fileSystem;
    CodePage codePage{1252};
    HostFiles files{fileSystem, DriveMap::parse("C=/c", "/home/u"), &codePage};
    testing::FixedClock clock{{2002, 12, 25, 10, 30, 0, 0}};
    testing::RecordingOpener opener;
    std::ostringstream notes;
    bool fullDisk = false;
    ExcelHost host{files, codePage, clock, &opener, "/out",
                   [this](const std::string& path) -> std::unique_ptr<Workbook> {
                       log.push_back("create " + path);
                       if (fullDisk)
                           return std::make_unique<FullDiskWorkbook>(log, fileSystem, path);
                       return std::make_unique<testing::RecordingWorkbook>(log);
                   },
                   &notes};

    LinuxExcelRun()
    {
        fileSystem.addFolder("/out");
        fileSystem.addFolder("/c");  // drive C:
        fileSystem.addFile("/opt/zlt/Kelvane.jpg", "\xFF\xD8\xFF\xE0 picture");
    }
    // Tabulo itself, on the layer.
    int tabulo(const std::string& argumentText, std::string* shown = nullptr)
    {
        testing::RecordingMessageBox messages;
        Log windowCalls;
        testing::RecordingWindowSystem windows(windowCalls);
        tabulo::TabuloPlatform platform{files, codePage, messages, windows, [this] { return makeLinuxExcel(host); },
                                        "/opt/zlt/"};
        const int status = tabulo::runTabulo(argumentText, platform);
        for (const auto& box : messages.shown)
            *shown += box.text + "\n";
        return status;
    }
};

std::string field(int number, const std::string& name, const std::string& type, const std::string& width)
{
    return testing::dictionaryLine(std::to_string(number), name, type, width) + "\r\n";
}

std::string heading(const std::string& name)
{
    std::string text = name;
    text.resize(30, ' ');
    return "bold text \"" + text + "\"";
}

// Settings come before the rows; the imported data moves down a row under
// the headings; an extra column keeps its fitted width; a column format
// covers the dates in it; the barcode format shows large numbers whole.
TEST(TabuloLinuxExcel, WorkbookHoldsTheImportUnderItsHeadings)
{
    LinuxExcelRun run;
    run.fileSystem.addFile("/c/ZLT/STOCK.DIC", "TITLE\r\n" + field(1, "Code", "", "3") +
                                                   field(3, "Qty", "FIXED2", "10") + field(2, "Description", "", "5") +
                                                   field(4, "Barcode", "", "14") + field(5, "When", "FIXED4", ""));
    run.fileSystem.addFile("/c/ZLT/STOCK.PHD", "A1,\"Widget, large\",12,9300000000012,25/12/2002,extra text\r\n"
                                               "B2,Caf\xE9,3.25-,4294967295\r\n");
    std::string shown;
    ASSERT_EQ(run.tabulo("C:\\ZLT\\,STOCK.DIC,stock", &shown), exit_status::Done) << shown;
    EXPECT_EQ(run.log, (Log{
                           "create /out/.workbook-20021225-103000-1.xlsx.part",
                           "sheet stock",
                           "width 1 5",
                           "width 2 12",
                           "width 3 12",
                           "width 4 14",
                           "width 5 9",
                           "width 6 11",
                           "format 3 ###,###,##0.00",
                           "format 4 [<4294967296]# ?/?;0",
                           "format 5 ###,###,##0.0000",
                           "freeze 2 1",
                           "background /opt/zlt/Kelvane.jpg",
                           "row 1: " + heading("Code") + " | " + heading("Description") + " | " + heading("Qty") +
                               " | " + heading("Barcode") + " | " + heading("When"),
                           "row 2: text \"A1\" | text \"Widget, large\" | number 12 | number 9300000000012 | "
                           "date 2002-12-25 | text \"extra text\"",
                           "row 3: text \"B2\" | text \"Caf\xC3\xA9\" | number -3.25 | number 4294967295",
                           "close",
                       }));
    EXPECT_EQ(run.opener.opened, Log{"/out/stock 2002-12-25 10.30.00.xlsx"});
    EXPECT_EQ(run.fileSystem.files().count("/out/stock 2002-12-25 10.30.00.xlsx"), 1u);

    // Another export in the same second takes a name of its own.
    ASSERT_EQ(run.tabulo("C:\\ZLT\\,STOCK.DIC,stock"), exit_status::Done);
    EXPECT_EQ(run.opener.opened.back(), "/out/stock 2002-12-25 10.30.00 (2).xlsx");
}

// Whatever stopped the export, the sheets reached so far are written: the
// first completely, the one being worked on as far as it got, the rest empty.
TEST(TabuloLinuxExcel, StoppedExportKeepsWhatWasDone)
{
    LinuxExcelRun run;
    run.opener.failure.reset();
    run.host.opener = nullptr;
    run.fileSystem.addFile("/c/ZLT/STOCK.DIC", field(1, "Code", "", "3"));
    run.fileSystem.addFile("/c/ZLT/A.PHD", "1\r\n");
    std::string shown;
    EXPECT_EQ(run.tabulo("C:\\ZLT\\,STOCK.DIC,A,B,C", &shown), exit_status::Failed);
    EXPECT_EQ(shown, "Run-time error '53':\n\nFile not found (/c/ZLT/B.PHD)\n");
    EXPECT_EQ(run.log, (Log{"create /out/.workbook-20021225-103000-1.xlsx.part", "sheet A", "width 1 5",
                            "freeze 2 1", "background /opt/zlt/Kelvane.jpg", "row 1: " + heading("Code"),
                            "row 2: number 1", "sheet Sheet2", "sheet Sheet3", "close"}));
    EXPECT_EQ(run.notes.str(), "The workbook is kept as /out/A 2002-12-25 10.30.00.xlsx\n");
}

TEST(TabuloLinuxExcel, FailedWriteLeavesNothingUnderAWorkbooksName)
{
    LinuxExcelRun run;
    run.fullDisk = true;
    run.fileSystem.addFile("/c/ZLT/STOCK.DIC", field(1, "Code", "", "3"));
    run.fileSystem.addFile("/c/ZLT/STOCK.PHD", "1\r\n");
    std::string shown;
    EXPECT_EQ(run.tabulo("C:\\ZLT\\,STOCK.DIC,STOCK", &shown), exit_status::Failed);
    EXPECT_EQ(shown, "Run-time error '61':\n\nDisk full\n");
    EXPECT_EQ(run.fileSystem.list("/out"), Log{});
    EXPECT_TRUE(run.opener.opened.empty());
}

// Refusals carry the numbers the object model raises, and change nothing.
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
        {"name with a slash", [](ExcelApplication& x) { x.addWorkbook(), x.setSheetName(1, "A/B"); }, 1004},
        {"name too long", [](ExcelApplication& x) { x.addWorkbook(), x.setSheetName(1, std::string(32, 'x')); }, 1004},
        {"width over 255", [](ExcelApplication& x) { x.addWorkbook(), x.worksheets(1).setColumnWidth(1, 256); }, 1004},
        {"column past the last", [](ExcelApplication& x) { x.addWorkbook(), x.worksheets(1).setColumnWidth(16385, 9); }, 1004},
        {"unknown property", [&](ExcelApplication& x) { x.addWorkbook(), query(x, "/d.csv").setProperty("Bogus", 1); }, 438},
        {"wrong type", [&](ExcelApplication& x) { x.addWorkbook(), query(x, "/d.csv").setProperty("AdjustColumnWidth", 1); }, 13},
        {"a live query", [&](ExcelApplication& x) { x.addWorkbook(), query(x, "/d.csv").setProperty("RowNumbers", true); }, 1004},
        {"missing data", [&](ExcelApplication& x) { x.addWorkbook(), query(x, "C:\\NONE.PHD").refresh(false); }, 53},
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
             ExcelQueryTable& table = query(x, "/d.csv");
             table.refresh(false);
             x.worksheets(1).selectRange("A2");
             x.insertActiveCellEntireRow(); }, 1004},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LinuxExcelRun run;
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
}  // namespace zlt::excel
