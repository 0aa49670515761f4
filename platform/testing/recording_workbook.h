#pragma once
// Test double of the workbook: writes each call, in order, into a log that
// other doubles may share, one line a call:
//   "create /home/u/Workbooks/book.xlsx" (the factory), "sheet STOCK",
//   "width 3 12.5", "format 3 #,##0.00", "freeze 2 1",
//   "background /opt/zlt/Kelvane.jpg",
//   "row 1: bold text \"Qty\" | empty | number 1234.5 | date 2002-12-25 [dd/mm/yyyy]",
//   "close".
// Texts are quoted with inner quotes doubled; a cell's own number format
// follows in brackets. Calls out of order are refused as the real workbook
// refuses them (WriteOrder), before they are logged. A failure set for a
// call, found by the start of its line ("sheet STOCK", "close"), is thrown
// after the call is logged.
#include <charconv>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/run_time_error.h"
#include "platform/workbook.h"

namespace zlt::testing {

using WorkbookFailures = std::vector<std::pair<std::string, RunTimeError>>;

class RecordingWorkbook : public Workbook {
public:
    explicit RecordingWorkbook(std::vector<std::string>& log, WorkbookFailures failures = {})
        : log_(log), failures_(std::move(failures))
    {
    }

    void addSheet(const std::string& name) override
    {
        order_.checkOpen("addSheet");
        record("sheet " + name);
        order_.sheetAdded();
    }
    void setColumnWidth(int column, double width) override
    {
        order_.checkSetting("setColumnWidth");
        record("width " + std::to_string(column) + " " + number(width));
    }
    void setColumnFormat(int column, const std::string& numberFormat) override
    {
        order_.checkSetting("setColumnFormat");
        record("format " + std::to_string(column) + " " + numberFormat);
    }
    void freezePanes(int row, int column) override
    {
        order_.checkSetting("freezePanes");
        record("freeze " + std::to_string(row) + " " + std::to_string(column));
    }
    void setBackgroundPicture(const std::string& path) override
    {
        order_.checkSetting("setBackgroundPicture");
        record("background " + path);
    }
    void writeRow(int row, std::span<const Cell> cells) override
    {
        order_.row(row);
        std::string line = "row " + std::to_string(row) + ":";
        for (std::size_t i = 0; i < cells.size(); ++i)
            line += (i == 0 ? " " : " | ") + describe(cells[i]);
        record(line);
    }
    void close() override
    {
        order_.close();
        record("close");
    }

    // The log line of one cell, as in a "row" line.
    static std::string describe(const Cell& cell)
    {
        std::string text = cell.bold ? "bold " : "";
        switch (cell.kind) {
        case Cell::Kind::Empty:
            text += "empty";
            break;
        case Cell::Kind::Number:
            text += "number " + number(cell.number);
            break;
        case Cell::Kind::Text:
            text += "text " + quoted(cell.text);
            break;
        case Cell::Kind::Date: {
            char date[32];
            std::snprintf(date, sizeof date, "date %04d-%02d-%02d", cell.date.year, cell.date.month, cell.date.day);
            text += date;
            break;
        }
        }
        if (!cell.numberFormat.empty())
            text += " [" + std::string(cell.numberFormat) + "]";
        return text;
    }

private:
    void record(std::string line)
    {
        log_.push_back(line);
        for (const auto& [start, error] : failures_)
            if (line.compare(0, start.size(), start) == 0)
                throw error;
    }
    // Shortest text that reads back as the same double, in any locale.
    static std::string number(double value)
    {
        char text[64];
        const auto result = std::to_chars(text, text + sizeof text, value);
        return std::string(text, result.ptr);
    }
    static std::string quoted(std::string_view text)
    {
        std::string out = "\"";
        for (char c : text) {
            out += c;
            if (c == '"')
                out += c;
        }
        return out + "\"";
    }

    std::vector<std::string>& log_;
    WorkbookFailures failures_;
    WriteOrder order_;
};

// Creates recording workbooks; logs "create <path>" for each attempt and
// throws the creation failure when one is set. Workbooks it makes share the
// log and the failures.
class RecordingWorkbookFactory {
public:
    explicit RecordingWorkbookFactory(std::vector<std::string>& log) : log_(log) {}

    std::optional<RunTimeError> creationFailure;
    WorkbookFailures failures;

    std::unique_ptr<Workbook> create(const std::string& path)
    {
        log_.push_back("create " + path);
        if (creationFailure)
            throw *creationFailure;
        return std::make_unique<RecordingWorkbook>(log_, failures);
    }

private:
    std::vector<std::string>& log_;
};

}  // namespace zlt::testing
