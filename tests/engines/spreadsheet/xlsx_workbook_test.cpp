// The .xlsx backend checked by an independent reader, openpyxl, for what
// the file holds (tabulo's own test shows a workbook in LibreOffice); and
// what it refuses, with which number, leaving what came before intact.
#include "engines/spreadsheet/xlsx/xlsx_workbook.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <functional>

namespace fs = std::filesystem;
using namespace zlt;
using namespace zlt::error_number;
using zlt::testing::TempDir;

namespace {

// Standard output of a reader run with a plain UTF-8 environment.
std::string run(const TempDir& folder, const std::string& program, const std::vector<std::string>& arguments)
{
    const auto result = zlt::testing::runProgram(
        program, arguments, {"PATH=/usr/bin:/bin", "HOME=" + folder.path().string(), "LC_ALL=C.UTF-8"}, folder.path());
    EXPECT_EQ(result.exitStatus, 0) << program << ": " << result.standardError;
    return result.standardOutput;
}

std::string readWorkbook(const TempDir& folder, const std::string& workbook)
{
    return run(folder, "/usr/bin/python3", {ZLT_WORKBOOK_READER, workbook});
}

// Two sheets as a user's workbook has them: bold headings over formatted
// columns, awkward texts, numbers and dates, a skipped row, a frozen heading
// row and a background picture on the first sheet only.
TEST(XlsxWorkbook, ReadersFindWhatWasWritten)
{
    TempDir folder;
    auto book = makeXlsxWorkbook(folder / "stock.xlsx");
    book->addSheet("STOCK");
    book->setColumnWidth(2, 30.5);
    book->setColumnFormat(3, "#,##0.00");
    book->setColumnFormat(4, "0");
    book->freezePanes(2, 1);
    book->setBackgroundPicture(ZLT_PICTURE);
    const Cell headings[] = {Cell::ofText("Code").bolded(), Cell::ofText("Description").bolded(),
                             Cell::ofText("Qty").bolded(), Cell::ofText("EAN").bolded()};
    const Cell first[] = {Cell::ofText("A1"), Cell::ofText("He said \"hi\", café à 5€"), Cell::ofNumber(1234.5),
                          Cell::ofNumber(9300000000012), Cell::ofDate({2002, 12, 25}, "dd/mm/yyyy")};
    const Cell fourth[] = {{}, {}, Cell::ofNumber(12), {}, Cell::ofText("")};
    book->writeRow(1, headings);
    book->writeRow(2, first);
    book->writeRow(4, fourth);
    // A new sheet starts with no settings and its own rows from row 1.
    book->addSheet("Orders 2002");
    book->setColumnWidth(2, 0.5);
    const Cell heading[] = {Cell::ofText("Order").bolded(), Cell{}.bolded()};
    const Cell order[] = {Cell::ofNumber(-0.25), Cell::ofDate({1900, 3, 1}, "yyyy-mm-dd"),
                          Cell::ofDate({2000, 2, 29}, "yyyy-mm-dd")};
    book->writeRow(1, heading);
    book->writeRow(2, order);
    book->close();

    EXPECT_EQ(readWorkbook(folder, folder / "stock.xlsx"),
              "sheets STOCK|Orders 2002\n"
              "freeze STOCK A2\n"
              "column STOCK B width=31.28515625 format=General\n"
              "column STOCK C width=9.140625 format=#,##0.00\n"
              "column STOCK D width=9.140625 format=0\n"
              "cell STOCK A1 str bold=1 format=General \"Code\"\n"
              "cell STOCK B1 str bold=1 format=General \"Description\"\n"
              "cell STOCK C1 str bold=1 format=#,##0.00 \"Qty\"\n"
              "cell STOCK D1 str bold=1 format=0 \"EAN\"\n"
              "cell STOCK A2 str bold=0 format=General \"A1\"\n"
              "cell STOCK B2 str bold=0 format=General \"He said \\\"hi\\\", café à 5€\"\n"
              "cell STOCK C2 float bold=0 format=#,##0.00 1234.5\n"
              "cell STOCK D2 int bold=0 format=0 9300000000012\n"
              "cell STOCK E2 datetime bold=0 format=dd/mm/yyyy \"2002-12-25 00:00:00\"\n"
              "cell STOCK C4 int bold=0 format=#,##0.00 12\n"
              "column Orders 2002 B width=0.85546875 format=General\n"
              "cell Orders 2002 A1 str bold=1 format=General \"Order\"\n"
              "cell Orders 2002 B1 NoneType bold=1 format=General null\n"
              "cell Orders 2002 A2 float bold=0 format=General -0.25\n"
              "cell Orders 2002 B2 datetime bold=0 format=yyyy-mm-dd \"1900-03-01 00:00:00\"\n"
              "cell Orders 2002 C2 datetime bold=0 format=yyyy-mm-dd \"2000-02-29 00:00:00\"\n"
              "picture in xl/worksheets/sheet1.xml\n"
              "media xl/media/image1.jpeg " +
                  std::to_string(fs::file_size(ZLT_PICTURE)) + "\n");
}

// A desktop program runs under the user's LC_NUMERIC, where de_DE writes
// 1234,5; the workbook must hold 1234.5 all the same.
TEST(XlsxWorkbook, NumbersIgnoreADecimalCommaLocale)
{
    TempDir folder;
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {  // not installed: made in the folder
        zlt::testing::runProgram("/usr/bin/localedef", {"-i", "de_DE", "-f", "UTF-8", folder / "de_DE.UTF-8"}, {},
                                 folder.path());
        setenv("LOCPATH", folder.path().c_str(), 1);
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }
    const bool decimalComma = *std::localeconv()->decimal_point == ',';
    auto book = makeXlsxWorkbook(folder / "comma.xlsx");
    book->addSheet("S");
    book->setColumnWidth(1, 12.5);
    const Cell row[] = {Cell::ofNumber(1234.5), Cell::ofNumber(0.1)};
    book->writeRow(1, row);
    book->close();
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    if (!decimalComma)
        GTEST_SKIP() << "no decimal-comma locale: de_DE.UTF-8 is neither installed nor made by localedef";
    EXPECT_EQ(readWorkbook(folder, folder / "comma.xlsx"),
              "sheets S\n"
              "column S A width=13.28515625 format=General\n"
              "cell S A1 float bold=0 format=General 1234.5\n"
              "cell S B1 float bold=0 format=General 0.1\n");
}

// Destinations that cannot be written, then one workbook through calls
// accepted and refused, in and out of order: each refusal has its number,
// prints nothing and changes nothing, so close() writes only what was
// accepted.
TEST(XlsxWorkbook, RefusalsHaveTheirNumberAndChangeNothing)
{
    TempDir folder;
    folder.write("file", "");
    folder.write("sub/gone/file", "");
    const std::string textPicture = folder.write("text.jpg", "plain text, no picture");
    const std::string longText(32'768, 'x');
    const Cell kept[] = {Cell::ofText("kept")};
    auto book = makeXlsxWorkbook(folder / "refused.xlsx");
    const auto closeInRemovedFolder = [&] {
        auto other = makeXlsxWorkbook(folder / "sub/gone/book.xlsx");
        other->addSheet("S");
        fs::remove_all(folder / "sub/gone");
        other->close();
    };
    // A row whose second cell is refused after a good first one.
    const auto secondCell = [&](Cell cell) {
        return [&book, cell] {
            const Cell row[] = {Cell::ofText("refused"), cell};
            book->writeRow(1, row);
        };
    };
    const struct {
        std::function<void()> call;
        int number;  // 0: accepted
        const char* saying;
    } steps[] = {
        {[&] { makeXlsxWorkbook(folder / "missing/book.xlsx"); }, FileNotFound, "missing/book.xlsx"},
        {[&] { makeXlsxWorkbook(folder / "file/book.xlsx"); }, PathNotFound, "file/book.xlsx"},
        {[&] { makeXlsxWorkbook(folder / "sub"); }, PathFileAccessError, "sub"},
        {closeInRemovedFolder, FileNotFound, "Error creating output xlsx file"},
        {[&] { makeXlsxWorkbook(folder / "dropped.xlsx")->addSheet("S"); }, 0, ""},  // never closed: stays empty
        {[&] { book->setColumnWidth(1, 5); }, InvalidProcedureCall, "setColumnWidth before any sheet"},
        {[&] { book->writeRow(1, kept); }, InvalidProcedureCall, "writeRow before any sheet"},
        {[&] { book->addSheet("STOCK"); book->setColumnWidth(1, 20); book->freezePanes(3, 2); }, 0, ""},
        {[&] { book->addSheet("A/B"); }, ObjectDefinedError, "invalid characters"},
        {[&] { book->addSheet(std::string(32, 'N')); }, ObjectDefinedError, "31 characters"},
        {[&] { book->addSheet("'Q'"); }, ObjectDefinedError, "apostrophe"},
        {[&] { book->addSheet("stock"); }, ObjectDefinedError, "already in use"},
        {[&] { book->addSheet(""); }, ObjectDefinedError, "empty sheet name"},
        {[&] { book->setColumnWidth(0, 5); }, ObjectDefinedError, "column 0"},
        {[&] { book->setColumnFormat(16385, "0"); }, ObjectDefinedError, "column 16385"},
        {[&] { book->setColumnWidth(1, 256); }, ObjectDefinedError, "column width"},
        {[&] { book->setColumnWidth(1, -1); }, ObjectDefinedError, "column width"},
        {[&] { book->setColumnWidth(1, std::nan("")); }, ObjectDefinedError, "column width"},
        {[&] { book->setColumnFormat(1, std::string(128, '0')); }, InvalidProcedureCall, "128"},
        {[&] { book->freezePanes(0, 1); }, ObjectDefinedError, "frozen panes"},
        {[&] { book->freezePanes(2, 16385); }, ObjectDefinedError, "frozen panes"},
        {[&] { book->setBackgroundPicture(folder / "none.jpg"); }, FileNotFound, "none.jpg"},
        {[&] { book->setBackgroundPicture(textPicture); }, ObjectDefinedError, "text.jpg"},
        {[&] { book->writeRow(0, {}); }, ObjectDefinedError, "row 0"},
        {[&] { book->writeRow(1'048'577, {}); }, ObjectDefinedError, "row 1048577"},
        {[&] { book->writeRow(1, std::vector<Cell>(16'385)); }, ObjectDefinedError, "16385 cells"},
        {secondCell(Cell::ofNumber(HUGE_VAL)), InvalidProcedureCall, "finite number for B1"},
        {secondCell(Cell::ofDate({1900, 2, 29}, "dd/mm/yyyy")), InvalidProcedureCall, "calendar date from 1900"},
        {secondCell(Cell::ofDate({1899, 12, 31}, "dd/mm/yyyy")), InvalidProcedureCall, "calendar date from 1900"},
        {secondCell(Cell::ofDate({2002, 12, 25}, "")), InvalidProcedureCall, "no date format for B1"},
        {secondCell(Cell::ofText(longText)), ObjectDefinedError, "32,767 characters"},
        {secondCell(Cell::ofText(std::string_view("a\0b", 3))), InvalidProcedureCall, "NUL character in B1"},
        {[&] { book->freezePanes(1, 1); book->writeRow(1, kept); }, 0, ""},  // the last freeze holds: none
        {[&] { book->writeRow(1, kept); }, InvalidProcedureCall, "row 1 after row 1"},
        {[&] { book->setColumnFormat(1, "0"); }, InvalidProcedureCall, "setColumnFormat after the sheet's rows"},
        {[&] { book->freezePanes(2, 1); }, InvalidProcedureCall, "freezePanes after the sheet's rows"},
        {[&] { book->setBackgroundPicture("/none.jpg"); }, InvalidProcedureCall, "after the sheet's rows"},
        {[&] { book->close(); }, 0, ""},
        {[&] { book->addSheet("B"); }, InvalidProcedureCall, "addSheet after close"},
        {[&] { book->close(); }, InvalidProcedureCall, "close after close"},
    };
    // The library's own lines stay off the screen: each refusal is told once, by its error.
    ::testing::internal::CaptureStderr();
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE("step " + std::to_string(i) + ": " + steps[i].saying);
        try {
            steps[i].call();
            EXPECT_EQ(steps[i].number, 0) << "accepted";
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.number(), steps[i].number) << error.description();
            EXPECT_NE(error.description().find(steps[i].saying), std::string::npos) << error.description();
        }
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(fs::file_size(folder / "dropped.xlsx"), 0u);
    EXPECT_EQ(readWorkbook(folder, folder / "refused.xlsx"),
              "sheets STOCK\n"
              "column STOCK A width=20.7109375 format=General\n"
              "cell STOCK A1 str bold=0 format=General \"kept\"\n");
}

}  // namespace
