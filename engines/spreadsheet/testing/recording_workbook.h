#pragma once
// Test double of the workbook: logs each call with its values, in order, one
// line a call, into a log that other doubles may share: "create <path>" (the
// factory), "sheet STOCK", "width 3 12.5", "format 3 #,##0.00", "freeze 2 1",
// "background /opt/zlt/Kelvane.jpg", "close", and
//   "row 1: bold text \"Qty\" | empty | number 1234.5 | date 2002-12-25 [dd/mm/yyyy]"
// (texts quoted with inner quotes doubled, a cell's own number format in
// brackets). Calls out of order are refused, unlogged, as the real workbook
// refuses them (WriteOrder).
#include <charconv>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engines/spreadsheet/workbook.h"

namespace zlt::testing {

class RecordingWorkbook : public Workbook {
public:
    explicit RecordingWorkbook(std::vector<std::string>& log) : log_(log) {}

    void addSheet(const std::string& name) override { order_.sheetAdded(); log_.push_back("sheet " + name); }
    void setColumnWidth(int column, double width) override
    {
        setting("setColumnWidth", "width " + std::to_string(column) + " " + number(width));
    }
    void setColumnFormat(int column, const std::string& format) override
    {
        setting("setColumnFormat", "format " + std::to_string(column) + " " + format);
    }
    void freezePanes(int row, int column) override
    {
        setting("freezePanes", "freeze " + std::to_string(row) + " " + std::to_string(column));
    }
    void setBackgroundPicture(const std::string& path) override { setting("setBackgroundPicture", "background " + path); }
    void writeRow(int row, std::span<const Cell> cells) override
    {
        order_.row(row);
        std::string line = "row " + std::to_string(row) + ":";
        for (std::size_t i = 0; i < cells.size(); ++i)
            line += (i == 0 ? " " : " | ") + describe(cells[i]);
        log_.push_back(line);
    }
    void close() override { order_.close(); log_.push_back("close"); }

    // The log line of one cell, as in a "row" line.
    static std::string describe(const Cell& cell)
    {
        std::string text = cell.bold ? "bold " : "";
        char date[32];
        switch (cell.kind) {
        case Cell::Kind::Empty: text += "empty"; break;
        case Cell::Kind::Number: text += "number " + number(cell.number); break;
        case Cell::Kind::Text:
            text += "text \"";
            for (char c : cell.text)
                text += c == '"' ? std::string("\"\"") : std::string(1, c);
            text += '"';
            break;
        case Cell::Kind::Date:
            std::snprintf(date, sizeof date, "date %04d-%02d-%02d", cell.date.year, cell.date.month, cell.date.day);
            text += date;
        }
        return cell.numberFormat.empty() ? text : text + " [" + std::string(cell.numberFormat) + "]";
    }

private:
    void setting(std::string_view call, std::string line)
    {
        order_.checkSetting(call);  // first: refused calls are not logged
        log_.push_back(std::move(line));
    }
    // Shortest text that reads back as the same double, in any locale.
    static std::string number(double value)
    {
        char text[64];
        return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    }

    std::vector<std::string>& log_;
    WriteOrder order_;
};

// A factory like makeXlsxWorkbook: logs "create <path>", its workbooks share `log`.
inline auto recordingWorkbooks(std::vector<std::string>& log)
{
    return [&log](const std::string& path) -> std::unique_ptr<Workbook> {
        log.push_back("create " + path);
        return std::make_unique<RecordingWorkbook>(log);
    };
}

}  // namespace zlt::testing
