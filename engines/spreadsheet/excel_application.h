#pragma once
// The spreadsheet application as its automation object model shows it: the
// application, its worksheets and their text query tables, reached by the
// member names the object model uses. Only the members an export needs are
// here. Texts are UTF-8; rows and columns count from 1 (Cells(1, 1) is A1).
// A call the application refuses is a RunTimeError: 1004 for a refused value
// or operation, 9 for a sheet that is not there, 438 for a member the
// object lacks, 13 for a value of the wrong type.
#include <memory>
#include <string>
#include <variant>

namespace zlt {

// A property value as automation passes it: Boolean, Long or String.
using ExcelValue = std::variant<bool, int, std::string>;

// A cell of a worksheet as its Range property names it: Worksheets(2).Range("A1").
struct ExcelRange {
    int sheet = 1;
    std::string address;
};

// A query table: set its properties by name, then Refresh imports.
class ExcelQueryTable {
public:
    virtual ~ExcelQueryTable() = default;
    // QueryTable.<name> = value ("Name", "AdjustColumnWidth", "TextFileStartRow" ...).
    virtual void setProperty(const std::string& name, const ExcelValue& value) = 0;
    // QueryTable.Refresh BackgroundQuery:=...
    virtual void refresh(bool backgroundQuery) = 0;
};

// One of the workbook's worksheets, Worksheets(n).
class ExcelWorksheet {
public:
    virtual ~ExcelWorksheet() = default;
    virtual void activate() = 0;
    // Range(address): the cell, for a Destination argument.
    virtual ExcelRange range(const std::string& address) = 0;
    // QueryTables.Add Connection:=..., Destination:=...; the table lives as
    // long as the application.
    virtual ExcelQueryTable& addQueryTable(const std::string& connection, const ExcelRange& destination) = 0;
    // Range(address).Select: the active cell moves there.
    virtual void selectRange(const std::string& address) = 0;
    // Columns(n).ColumnWidth, in characters of the standard font.
    virtual double columnWidth(int column) = 0;
    virtual void setColumnWidth(int column, double width) = 0;
    // Cells(row, column).Font.Bold and Cells(row, column).Value (a text).
    virtual void setCellBold(int row, int column, bool bold) = 0;
    virtual void setCellValue(int row, int column, const std::string& value) = 0;
    virtual void setBackgroundPicture(const std::string& path) = 0;
};

// Excel.Application.
class ExcelApplication {
public:
    virtual ~ExcelApplication() = default;
    // Version: "9.0" for Excel 2000.
    virtual std::string version() = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void setSheetsInNewWorkbook(int count) = 0;
    // Workbooks.Add: a new workbook of SheetsInNewWorkbook worksheets.
    virtual void addWorkbook() = 0;
    // Worksheets(n) of the workbook; lives as long as the application.
    virtual ExcelWorksheet& worksheets(int index) = 0;
    // Sheets(n).Name = name.
    virtual void setSheetName(int index, const std::string& name) = 0;
    // ActiveCell.EntireRow.Insert: a row opens above the active cell's.
    virtual void insertActiveCellEntireRow() = 0;
    // ActiveWindow.FreezePanes: rows above and columns left of the active cell stay in view.
    virtual void setActiveWindowFreezePanes(bool frozen) = 0;
    // ActiveCell.EntireColumn.NumberFormat = format.
    virtual void setActiveCellEntireColumnNumberFormat(const std::string& format) = 0;
    // The program lets go of the application. A visible workbook stays with
    // the user: where the application does not outlive the program, this is
    // where the workbook is kept and shown.
    virtual void release() = 0;
};

}  // namespace zlt
