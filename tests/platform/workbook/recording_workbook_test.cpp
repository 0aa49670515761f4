// The recording double's log and failures, and the order rules that it and
// the .xlsx backend both enforce.
#include "platform/testing/recording_workbook.h"
#include "platform/workbook/xlsx_workbook.h"

#include "workbook_files.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zlt;
using Log = std::vector<std::string>;

namespace {

TEST(RecordingWorkbook, LogsEveryCallAndValueInOrder)
{
    Log log;
    zlt::testing::RecordingWorkbookFactory factory(log);
    factory.failures = {{"sheet B", RunTimeError(error_number::ObjectDefinedError)}};
    auto book = factory.create("/w/book.xlsx");
    book->addSheet("STOCK");
    book->setColumnWidth(3, 12.5);
    book->setColumnFormat(3, "#,##0.00");
    book->freezePanes(2, 1);
    book->setBackgroundPicture("/opt/zlt/Kelvane.jpg");
    const Cell headings[] = {Cell::ofText("Qty ").bolded(), Cell{}, Cell::ofText("Say \"hi\", ok")};
    const Cell data[] = {Cell::ofNumber(9300000000012), Cell::ofNumber(0.1),
                         Cell::ofDate({2002, 12, 5}, "dd/mm/yyyy").bolded(), Cell{}.bolded()};
    book->writeRow(1, headings);
    book->writeRow(3, data);
    EXPECT_THROW(book->addSheet("B"), RunTimeError);
    book->writeRow(4, {});  // still sheet STOCK: B was refused
    book->close();

    const Log expected = {
        "create /w/book.xlsx",
        "sheet STOCK",
        "width 3 12.5",
        "format 3 #,##0.00",
        "freeze 2 1",
        "background /opt/zlt/Kelvane.jpg",
        "row 1: bold text \"Qty \" | empty | text \"Say \"\"hi\"\", ok\"",
        "row 3: number 9300000000012 | number 0.1 | bold date 2002-12-05 [dd/mm/yyyy] | bold empty",
        "sheet B",
        "row 4:",
        "close",
    };
    EXPECT_EQ(log, expected);
}

class OrderRules : public ::testing::TestWithParam<std::string> {};  // "Recording" or "Xlsx"

TEST_P(OrderRules, RefuseCallsOutOfOrder)
{
    const Cell one[] = {Cell::ofNumber(1)};
    const auto nothing = [](Workbook&) {};
    const auto sheetAtRow7 = [&](Workbook& b) {
        b.addSheet("A");
        b.writeRow(7, one);
    };
    const auto secondSheetAtRow1 = [&](Workbook& b) {
        sheetAtRow7(b);
        b.addSheet("B");
        b.setColumnWidth(1, 5);
        b.writeRow(1, one);
    };
    const struct {
        std::function<void(Workbook&)> before;
        std::function<void(Workbook&)> refused;
        const char* saying;
    } cases[] = {
        {nothing, [](Workbook& b) { b.setColumnWidth(1, 5); }, "setColumnWidth before any sheet"},
        {nothing, [&](Workbook& b) { b.writeRow(1, one); }, "writeRow before any sheet"},
        {sheetAtRow7, [](Workbook& b) { b.setColumnFormat(1, "0"); }, "setColumnFormat after the sheet's rows"},
        {sheetAtRow7, [](Workbook& b) { b.setBackgroundPicture("/none.jpg"); }, "after the sheet's rows"},
        {sheetAtRow7, [&](Workbook& b) { b.writeRow(7, one); }, "row 7 after row 7"},
        {secondSheetAtRow1, [](Workbook& b) { b.freezePanes(2, 1); }, "freezePanes after the sheet's rows"},
        {[](Workbook& b) { b.close(); }, [](Workbook& b) { b.addSheet("B"); }, "addSheet after close"},
        {[](Workbook& b) { b.close(); }, [](Workbook& b) { b.close(); }, "close after close"},
    };
    for (const auto& c : cases) {
        zlt::testing::TempFolder folder;
        Log log;
        std::unique_ptr<Workbook> book;
        if (GetParam() == "Recording")
            book = std::make_unique<zlt::testing::RecordingWorkbook>(log);
        else
            book = makeXlsxWorkbook(folder / "order.xlsx");
        c.before(*book);
        try {
            c.refused(*book);
            ADD_FAILURE() << c.saying << ": not refused";
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.number(), error_number::InvalidProcedureCall) << c.saying;
            EXPECT_NE(error.description().find(c.saying), std::string::npos) << error.description();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Workbooks, OrderRules, ::testing::Values("Recording", "Xlsx"),
                         [](const auto& info) { return info.param; });

}  // namespace
