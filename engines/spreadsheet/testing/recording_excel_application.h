#pragma once
// Test double of the spreadsheet application: writes each call, in order,
// into a log that other doubles may share, as the object model spells it:
//   CreateObject Excel.Application          Version
//   Visible = True                          SheetsInNewWorkbook = 2
//   Workbooks.Add                           Worksheets(1).Activate
//   Worksheets(1).QueryTables.Add Connection:="TEXT;C:\ZLT\STOCK.PHD", Destination:=Worksheets(1).Range("A1")
//   QueryTable.Name = "STOCK"               QueryTable.Refresh BackgroundQuery:=False
//   Worksheets(1).Range("A1").Select        ActiveCell.EntireRow.Insert
//   ActiveWindow.FreezePanes = True         Sheets(1).Name = "STOCK"
//   Worksheets(1).SetBackgroundPicture "/opt/zlt/Kelvane.jpg"
//   Worksheets(1).Columns(3).ColumnWidth = 12   (a read logs without " = ")
//   Worksheets(1).Cells(1, 3).Font.Bold = True  Worksheets(1).Cells(1, 3).Value = "Qty"
//   ActiveCell.EntireColumn.NumberFormat = "# ?/?"   Release
// Column widths read back as set (8.43 before). A call whose line starts
// with `failAt` is logged and then fails with `failure`.
#include <charconv>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engines/spreadsheet/excel_application.h"
#include "platform/run_time_error.h"

namespace zlt::testing {

class RecordingExcel {
public:
    explicit RecordingExcel(std::vector<std::string>& log) : log_(log) {}

    std::string versionText = "9.0";
    std::optional<RunTimeError> creationFailure, versionFailure;
    std::string failAt;  // empty: nothing fails
    RunTimeError failure{error_number::ObjectDefinedError};

    // CreateObject("Excel.Application").
    std::unique_ptr<ExcelApplication> create()
    {
        log_.push_back("CreateObject Excel.Application");
        if (creationFailure)
            throw *creationFailure;
        return std::make_unique<Application>(*this);
    }

    static std::string quoted(const std::string& text) { return "\"" + text + "\""; }
    static std::string value(const ExcelValue& v)
    {
        if (const bool* b = std::get_if<bool>(&v))
            return *b ? "True" : "False";
        if (const int* n = std::get_if<int>(&v))
            return std::to_string(*n);
        return quoted(std::get<std::string>(v));
    }
    static std::string number(double value)
    {
        char text[64];
        return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    }

private:
    void call(const std::string& line)
    {
        log_.push_back(line);
        if (!failAt.empty() && line.rfind(failAt, 0) == 0)
            throw failure;
    }

    class QueryTable : public ExcelQueryTable {
    public:
        explicit QueryTable(RecordingExcel& excel) : excel_(excel) {}
        void setProperty(const std::string& name, const ExcelValue& v) override
        {
            excel_.call("QueryTable." + name + " = " + value(v));
        }
        void refresh(bool background) override
        {
            excel_.call(std::string("QueryTable.Refresh BackgroundQuery:=") + (background ? "True" : "False"));
        }

    private:
        RecordingExcel& excel_;
    };

    class Worksheet : public ExcelWorksheet {
    public:
        Worksheet(RecordingExcel& excel, int index)
            : excel_(excel), index_(index), name_("Worksheets(" + std::to_string(index) + ")")
        {
        }
        void activate() override { excel_.call(name_ + ".Activate"); }
        ExcelRange range(const std::string& address) override { return {index_, address}; }
        ExcelQueryTable& addQueryTable(const std::string& connection, const ExcelRange& destination) override
        {
            excel_.call(name_ + ".QueryTables.Add Connection:=" + quoted(connection) + ", Destination:=Worksheets(" +
                        std::to_string(destination.sheet) + ").Range(" + quoted(destination.address) + ")");
            tables_.push_back(std::make_unique<QueryTable>(excel_));
            return *tables_.back();
        }
        void selectRange(const std::string& address) override
        {
            excel_.call(name_ + ".Range(" + quoted(address) + ").Select");
        }
        double columnWidth(int column) override
        {
            excel_.call(columnName(column) + ".ColumnWidth");
            const auto found = widths_.find(column);
            return found == widths_.end() ? 8.43 : found->second;
        }
        void setColumnWidth(int column, double width) override
        {
            excel_.call(columnName(column) + ".ColumnWidth = " + number(width));
            widths_[column] = width;
        }
        void setCellBold(int row, int column, bool bold) override
        {
            excel_.call(cellName(row, column) + ".Font.Bold = " + value(bold));
        }
        void setCellValue(int row, int column, const std::string& text) override
        {
            excel_.call(cellName(row, column) + ".Value = " + quoted(text));
        }
        void setBackgroundPicture(const std::string& path) override
        {
            excel_.call(name_ + ".SetBackgroundPicture " + quoted(path));
        }

    private:
        std::string columnName(int column) const { return name_ + ".Columns(" + std::to_string(column) + ")"; }
        std::string cellName(int row, int column) const
        {
            return name_ + ".Cells(" + std::to_string(row) + ", " + std::to_string(column) + ")";
        }

        RecordingExcel& excel_;
        int index_;
        std::string name_;
        std::map<int, double> widths_;
        std::vector<std::unique_ptr<QueryTable>> tables_;
    };

    class Application : public ExcelApplication {
    public:
        explicit Application(RecordingExcel& excel) : excel_(excel) {}
        std::string version() override
        {
            excel_.call("Version");
            if (excel_.versionFailure)
                throw *excel_.versionFailure;
            return excel_.versionText;
        }
        void setVisible(bool visible) override { excel_.call("Visible = " + value(visible)); }
        void setSheetsInNewWorkbook(int count) override { excel_.call("SheetsInNewWorkbook = " + value(count)); }
        void addWorkbook() override { excel_.call("Workbooks.Add"); }
        ExcelWorksheet& worksheets(int index) override
        {
            auto& sheet = sheets_[index];
            if (!sheet)
                sheet = std::make_unique<Worksheet>(excel_, index);
            return *sheet;
        }
        void setSheetName(int index, const std::string& name) override
        {
            excel_.call("Sheets(" + std::to_string(index) + ").Name = " + quoted(name));
        }
        void insertActiveCellEntireRow() override { excel_.call("ActiveCell.EntireRow.Insert"); }
        void setActiveWindowFreezePanes(bool frozen) override { excel_.call("ActiveWindow.FreezePanes = " + value(frozen)); }
        void setActiveCellEntireColumnNumberFormat(const std::string& format) override
        {
            excel_.call("ActiveCell.EntireColumn.NumberFormat = " + quoted(format));
        }
        void release() override { excel_.call("Release"); }

    private:
        RecordingExcel& excel_;
        std::map<int, std::unique_ptr<Worksheet>> sheets_;
    };

    std::vector<std::string>& log_;
};

}  // namespace zlt::testing
