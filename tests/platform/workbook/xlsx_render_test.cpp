// What a user sees: the workbook opened by LibreOffice, its first sheet's
// cells written out as they are shown.
#include "platform/workbook/xlsx_workbook.h"

#include "workbook_files.h"

#include <gtest/gtest.h>

using namespace zlt;

TEST(XlsxWorkbookRender, LibreOfficeShowsFormattedCells)
{
    zlt::testing::TempFolder folder;
    const auto file = folder / "shown.xlsx";
    auto book = makeXlsxWorkbook(file);
    book->addSheet("STOCK");
    book->setColumnFormat(2, "###,###,##0.00");
    book->setColumnFormat(3, "###,###,##0.0000");
    book->setColumnFormat(4, "0");
    const Cell headings[] = {Cell::ofText("Code").bolded(), Cell::ofText("Price").bolded()};
    book->writeRow(1, headings);
    const Cell first[] = {Cell::ofText("He said \"hi\", café"), Cell::ofNumber(1234.5), Cell::ofNumber(1234.5),
                          Cell::ofNumber(9300000000012), Cell::ofDate({2002, 12, 25}, "dd/mm/yyyy")};
    book->writeRow(2, first);
    const Cell second[] = {Cell::ofNumber(7), Cell::ofNumber(12), Cell::ofNumber(-0.5), {}, Cell::ofText("n/a")};
    book->writeRow(3, second);
    book->addSheet("OTHER");
    book->close();

    const std::vector<std::string> expected = {
        "Code,Price,,,",
        "\"He said \"\"hi\"\", café\",\"1,234.50\",\"1,234.5000\",9300000000012,25/12/2002",
        "7,12.00,-0.5000,,n/a",
    };
    EXPECT_EQ(zlt::testing::renderFirstSheet(file, folder), expected);
}
