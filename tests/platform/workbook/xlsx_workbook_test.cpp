// The .xlsx backend read back by openpyxl: what a reader finds, what is
// refused and with which number, and numbers under a decimal-comma locale.
#include "platform/workbook/xlsx_workbook.h"

#include "workbook_files.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace fs = std::filesystem;
using namespace zlt;
using namespace zlt::error_number;
using zlt::testing::readWorkbook;
using zlt::testing::TempFolder;

namespace {

Cell bold(const char* text)
{
    return Cell::ofText(text).bolded();
}

TEST(XlsxWorkbook, TwoSheetsReadBackByOpenpyxl)
{
    TempFolder folder;
    const auto pictureSize = zlt::testing::writeJpeg(folder / "Kelvane.jpg");
    auto book = makeXlsxWorkbook(folder / "book.xlsx");
    book->addSheet("STOCK");
    book->setColumnWidth(1, 12);
    book->setColumnWidth(2, 30.5);
    book->setColumnFormat(3, "#,##0.00");
    book->setColumnFormat(4, "0");
    book->freezePanes(2, 1);
    book->setBackgroundPicture(folder / "Kelvane.jpg");
    const Cell headings[] = {bold("Code"), bold("Description"), bold("Qty                           "), bold("EAN")};
    const Cell first[] = {Cell::ofText("A1"), Cell::ofText("He said \"hi\", café à 5€"), Cell::ofNumber(1234.5),
                          Cell::ofNumber(9300000000012), Cell::ofDate({2002, 12, 25}, "dd/mm/yyyy")};
    const Cell fourth[] = {Cell::ofNumber(-0.25), {}, Cell::ofNumber(12), {}, Cell::ofText("")};
    book->writeRow(1, headings);
    book->writeRow(2, first);
    book->writeRow(4, fourth);
    book->addSheet("Orders 2002");
    book->setColumnWidth(2, 0.5);
    const Cell heading[] = {bold("Order"), Cell{}.bolded()};
    const Cell order[] = {Cell::ofNumber(1e20), Cell::ofDate({1900, 3, 1}, "yyyy-mm-dd")};
    book->writeRow(1, heading);
    book->writeRow(2, order);
    book->close();

    const std::vector<std::string> expected = {
        "sheets STOCK|Orders 2002",
        "freeze STOCK A2",
        "column STOCK A width=12.7109375 format=General",
        "column STOCK B width=31.28515625 format=General",
        "column STOCK C width=9.140625 format=#,##0.00",
        "column STOCK D width=9.140625 format=0",
        "cell STOCK A1 str bold=1 format=General \"Code\"",
        "cell STOCK B1 str bold=1 format=General \"Description\"",
        "cell STOCK C1 str bold=1 format=#,##0.00 \"Qty                           \"",
        "cell STOCK D1 str bold=1 format=0 \"EAN\"",
        "cell STOCK A2 str bold=0 format=General \"A1\"",
        "cell STOCK B2 str bold=0 format=General \"He said \\\"hi\\\", café à 5€\"",
        "cell STOCK C2 float bold=0 format=#,##0.00 1234.5",
        "cell STOCK D2 int bold=0 format=0 9300000000012",
        "cell STOCK E2 datetime bold=0 format=dd/mm/yyyy \"2002-12-25 00:00:00\"",
        "cell STOCK A4 float bold=0 format=General -0.25",
        "cell STOCK C4 int bold=0 format=#,##0.00 12",
        "picture STOCK xl/media/image1.jpeg " + std::to_string(pictureSize),
        "column Orders 2002 B width=0.85546875 format=General",
        "cell Orders 2002 A1 str bold=1 format=General \"Order\"",
        "cell Orders 2002 B1 NoneType bold=1 format=General null",
        "cell Orders 2002 A2 float bold=0 format=General 1e+20",
        "cell Orders 2002 B2 datetime bold=0 format=yyyy-mm-dd \"1900-03-01 00:00:00\"",
    };
    EXPECT_EQ(readWorkbook(folder / "book.xlsx"), expected);
}

// A desktop program runs under the user's LC_NUMERIC; de_DE writes 1,5.
TEST(XlsxWorkbook, NumbersIgnoreADecimalCommaLocale)
{
    TempFolder folder;
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
        std::system(("localedef -i de_DE -f UTF-8 " + (folder / "de_DE.UTF-8").string() + " 2>/dev/null").c_str()) != -1) {
        setenv("LOCPATH", folder.path().c_str(), 1);
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }
    char shown[8];
    std::snprintf(shown, sizeof shown, "%.1f", 1.5);
    if (std::string(shown) == "1,5") {
        auto book = makeXlsxWorkbook(folder / "comma.xlsx");
        book->addSheet("S");
        book->setColumnWidth(1, 12.5);
        const Cell row[] = {Cell::ofNumber(1234.5), Cell::ofNumber(0.1)};
        book->writeRow(1, row);
        book->close();
    }
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    if (std::string(shown) != "1,5")
        GTEST_SKIP() << "no decimal-comma locale: de_DE.UTF-8 is neither installed nor made by localedef";
    const std::vector<std::string> expected = {
        "sheets S",
        "column S A width=13.28515625 format=General",
        "cell S A1 float bold=0 format=General 1234.5",
        "cell S B1 float bold=0 format=General 0.1",
    };
    EXPECT_EQ(readWorkbook(folder / "comma.xlsx"), expected);
}

void expectRefused(const std::function<void()>& call, int number, const std::string& saying, const std::string& what)
{
    try {
        call();
        ADD_FAILURE() << what << ": not refused";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.number(), number) << what << ": " << error.description();
        EXPECT_NE(error.description().find(saying), std::string::npos) << what << ": " << error.description();
    }
}

// Refused calls leave the workbook as it was: close() writes what came
// before them and nothing of theirs.
TEST(XlsxWorkbook, RefusedCallsChangeNothing)
{
    TempFolder folder;
    std::FILE* text = std::fopen((folder / "text.jpg").c_str(), "w");
    std::fputs("plain text, no picture", text);
    std::fclose(text);
    auto book = makeXlsxWorkbook(folder / "refused.xlsx");
    book->addSheet("STOCK");

    struct Setting {
        std::function<void(Workbook&)> call;
        int number;
        const char* saying;
    };
    const Setting settings[] = {
        {[](Workbook& b) { b.addSheet("A/B"); }, ObjectDefinedError, "invalid characters"},
        {[](Workbook& b) { b.addSheet("[x]"); }, ObjectDefinedError, "invalid characters"},
        {[](Workbook& b) { b.addSheet(std::string(32, 'N')); }, ObjectDefinedError, "31 characters"},
        {[](Workbook& b) { b.addSheet("'Q'"); }, ObjectDefinedError, "apostrophe"},
        {[](Workbook& b) { b.addSheet("stock"); }, ObjectDefinedError, "already in use"},
        {[](Workbook& b) { b.addSheet(""); }, ObjectDefinedError, "empty sheet name"},
        {[](Workbook& b) { b.setColumnWidth(0, 5); }, ObjectDefinedError, "column 0"},
        {[](Workbook& b) { b.setColumnFormat(16385, "0"); }, ObjectDefinedError, "column 16385"},
        {[](Workbook& b) { b.setColumnWidth(1, 256); }, ObjectDefinedError, "column width"},
        {[](Workbook& b) { b.setColumnWidth(1, -1); }, ObjectDefinedError, "column width"},
        {[](Workbook& b) { b.setColumnWidth(1, std::nan("")); }, ObjectDefinedError, "column width"},
        {[](Workbook& b) { b.setColumnFormat(1, std::string(128, '0')); }, InvalidProcedureCall, "128"},
        {[](Workbook& b) { b.freezePanes(0, 1); }, ObjectDefinedError, "frozen panes"},
        {[](Workbook& b) { b.freezePanes(2, 16385); }, ObjectDefinedError, "frozen panes"},
        {[&](Workbook& b) { b.setBackgroundPicture(folder / "none.jpg"); }, FileNotFound, "none.jpg"},
        {[&](Workbook& b) { b.setBackgroundPicture(folder / "text.jpg"); }, ObjectDefinedError, "text.jpg"},
        {[](Workbook& b) { b.writeRow(0, {}); }, ObjectDefinedError, "row 0"},
        {[](Workbook& b) { b.writeRow(1'048'577, {}); }, ObjectDefinedError, "row 1048577"},
        {[](Workbook& b) { b.writeRow(1, std::vector<Cell>(16'385)); }, ObjectDefinedError, "16385 cells"},
    };
    for (std::size_t i = 0; i < std::size(settings); ++i)
        expectRefused([&] { settings[i].call(*book); }, settings[i].number, settings[i].saying,
                      "setting " + std::to_string(i));

    // Each second cell of a row, after a good one.
    const std::string longText(32'768, 'x');
    const struct {
        Cell cell;
        int number;
        const char* saying;
    } cells[] = {
        {Cell::ofNumber(HUGE_VAL), InvalidProcedureCall, "finite number for B1"},
        {Cell::ofDate({2002, 2, 30}, "dd/mm/yyyy"), InvalidProcedureCall, "calendar date from 1900 to 9999 for B1"},
        {Cell::ofDate({1899, 12, 31}, "dd/mm/yyyy"), InvalidProcedureCall, "calendar date from 1900 to 9999 for B1"},
        {Cell::ofDate({2002, 12, 25}, ""), InvalidProcedureCall, "no date format for B1"},
        {Cell::ofText(longText), ObjectDefinedError, "32,767 characters"},
        {Cell::ofText(std::string_view("a\0b", 3)), InvalidProcedureCall, "NUL character in B1"},
    };
    for (const auto& c : cells) {
        const Cell row[] = {Cell::ofText("refused"), c.cell};
        expectRefused([&] { book->writeRow(1, row); }, c.number, c.saying, c.saying);
    }

    book->setColumnWidth(1, 20);
    book->freezePanes(3, 2);
    book->freezePanes(1, 1);  // the last one holds: nothing frozen
    const Cell row[] = {Cell::ofText("kept")};
    book->writeRow(1, row);
    book->close();
    const std::vector<std::string> expected = {
        "sheets STOCK",
        "column STOCK A width=20.7109375 format=General",
        "cell STOCK A1 str bold=0 format=General \"kept\"",
    };
    EXPECT_EQ(readWorkbook(folder / "refused.xlsx"), expected);
}

TEST(XlsxWorkbook, UnwritableDestinations)
{
    const struct {
        const char* where;  // in the test's folder, which holds "file" and "sub/"
        bool removeSubBeforeClose;
        int number;
        const char* saying;
    } cases[] = {
        {"missing/book.xlsx", false, FileNotFound, "missing/book.xlsx"},
        {"file/book.xlsx", false, PathNotFound, "file/book.xlsx"},
        {"sub", false, PathFileAccessError, "sub"},
        {"sub/book.xlsx", true, FileNotFound, "Error creating output xlsx file"},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        fs::create_directory(folder / "sub");
        std::fclose(std::fopen((folder / "file").c_str(), "w"));
        expectRefused(
            [&] {
                auto book = makeXlsxWorkbook(folder / c.where);
                book->addSheet("S");
                if (c.removeSubBeforeClose)
                    fs::remove_all(folder / "sub");
                book->close();
            },
            c.number, c.saying, c.where);
    }
}

TEST(XlsxWorkbook, DestroyedWithoutCloseWritesNothing)
{
    TempFolder folder;
    {
        auto book = makeXlsxWorkbook(folder / "dropped.xlsx");
        book->addSheet("S");
        const Cell row[] = {Cell::ofText("never written")};
        book->writeRow(1, row);
    }
    EXPECT_EQ(fs::file_size(folder / "dropped.xlsx"), 0u);
}

}  // namespace
