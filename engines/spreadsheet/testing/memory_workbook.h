#pragma once
// Test double of the workbook: keeps what was written, sheet by sheet, for
// a test to look at after the workbook is gone. Calls out of order are
// refused as the real workbook refuses them (WriteOrder); a test may make
// one call fail as a full disk would.
#include <charconv>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engines/spreadsheet/workbook.h"

namespace zlt::testing {

struct WrittenSheet {
    std::string name;
    std::map<int, double> widths;          // column -> width
    std::map<int, std::string> formats;    // column -> number format
    int frozenRow = 1, frozenColumn = 1;
    std::string picture;
    // row -> its cells: "bold text \"Qty\"", "empty", "number 12",
    // "date 2002-12-25 [dd/mm/yyyy]" (a cell's own number format in brackets)
    std::map<int, std::vector<std::string>> rows;
};

struct WrittenBook {
    std::string path;
    std::vector<WrittenSheet> sheets;
    bool closed = false;
    // "row <n>", "close" ...: the first such call fails with `failure`.
    std::string failAt;
    RunTimeError failure{error_number::DiskFull};

    const WrittenSheet& sheet(const std::string& name) const
    {
        for (const WrittenSheet& s : sheets)
            if (s.name == name)
                return s;
        throw std::out_of_range("no sheet " + name);
    }
};

class MemoryWorkbook : public Workbook {
public:
    explicit MemoryWorkbook(WrittenBook& book) : book_(book) {}

    void addSheet(const std::string& name) override
    {
        call("sheet");
        for (const WrittenSheet& sheet : book_.sheets)
            if (sheet.name == name)
                throw RunTimeError(error_number::ObjectDefinedError, "Sheet name is already in use");
        order_.sheetAdded();
        book_.sheets.emplace_back();
        book_.sheets.back().name = name;
    }
    void setColumnWidth(int column, double width) override { setting("setColumnWidth").widths[column] = width; }
    void setColumnFormat(int column, const std::string& format) override
    {
        setting("setColumnFormat").formats[column] = format;
    }
    void freezePanes(int row, int column) override
    {
        WrittenSheet& sheet = setting("freezePanes");
        sheet.frozenRow = row, sheet.frozenColumn = column;
    }
    void setBackgroundPicture(const std::string& path) override { setting("setBackgroundPicture").picture = path; }
    void writeRow(int row, std::span<const Cell> cells) override
    {
        call("row " + std::to_string(row));
        for (const Cell& cell : cells)
            if (cell.text.find('\0') != std::string_view::npos)
                throw RunTimeError(error_number::InvalidProcedureCall, "a NUL character in a cell");
        order_.row(row);
        auto& written = book_.sheets.back().rows[row];
        for (const Cell& cell : cells)
            written.push_back(describe(cell));
    }
    void close() override
    {
        call("close");
        order_.close();
        book_.closed = true;
    }

    static std::string describe(const Cell& cell)
    {
        std::string text = cell.bold ? "bold " : "";
        char date[32];
        switch (cell.kind) {
        case Cell::Kind::Empty: text += "empty"; break;
        case Cell::Kind::Number: text += "number " + number(cell.number); break;
        case Cell::Kind::Text: text += "text \"" + std::string(cell.text) + "\""; break;
        case Cell::Kind::Date:
            std::snprintf(date, sizeof date, "date %04d-%02d-%02d", cell.date.year, cell.date.month, cell.date.day);
            text += date;
        }
        return cell.numberFormat.empty() ? text : text + " [" + std::string(cell.numberFormat) + "]";
    }

private:
    void call(const std::string& what)
    {
        if (!book_.failAt.empty() && what == book_.failAt) {
            book_.failAt.clear();
            throw book_.failure;
        }
    }
    WrittenSheet& setting(std::string_view call)
    {
        order_.checkSetting(call);
        return book_.sheets.back();
    }
    // Shortest text that reads back as the same double, in any locale.
    static std::string number(double value)
    {
        char text[64];
        return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    }

    WrittenBook& book_;
    WriteOrder order_;
};

// A factory like makeXlsxWorkbook; each workbook made is kept in `books`,
// with the failure the test set on `next`.
struct MemoryWorkbooks {
    std::deque<WrittenBook> books;
    WrittenBook next;

    std::unique_ptr<Workbook> make(const std::string& path)
    {
        books.push_back(next);
        books.back().path = path;
        return std::make_unique<MemoryWorkbook>(books.back());
    }
};

}  // namespace zlt::testing
