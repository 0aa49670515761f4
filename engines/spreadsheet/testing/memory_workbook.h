#pragma once
// Test double of the workbook: keeps what was written, sheet by sheet, for
// a test to look at after the workbook is gone. It refuses what the real
// one refuses (calls out of order, a sheet name twice, a NUL in a cell),
// and one call a test names fails as on a full disk.
#include <charconv>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engines/spreadsheet/workbook.h"

namespace zlt::testing {

struct WrittenSheet {
    std::string name;
    std::map<int, double> widths;        // column -> width
    std::map<int, std::string> formats;  // column -> number format
    int frozenRow = 1, frozenColumn = 1;
    std::string picture;
    // row -> its cells: "bold text \"Qty\"", "empty", "number 12",
    // "date 2002-12-25 [dd/mm/yyyy]" (a cell's own number format in brackets)
    std::map<int, std::vector<std::string>> rows;
};

struct WrittenBook {
    std::vector<WrittenSheet> sheets;
    bool closed = false;
    std::string failAt;  // "row <n>", "close" ...: the first such call fails

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
        book_.sheets.emplace_back().name = name;
    }
    void setColumnWidth(int column, double width) override { setting("setColumnWidth").widths[column] = width; }
    void setColumnFormat(int column, const std::string& format) override { setting("setColumnFormat").formats[column] = format; }
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
        for (const Cell& cell : cells)
            book_.sheets.back().rows[row].push_back(describe(cell));
    }
    void close() override
    {
        call("close");
        order_.close();
        book_.closed = true;
    }

private:
    static std::string describe(const Cell& cell)
    {
        std::string text = cell.bold ? "bold " : "";
        char shown[64];
        switch (cell.kind) {
        case Cell::Kind::Empty: text += "empty"; break;
        case Cell::Kind::Number:  // the shortest text that reads back as the same number
            text += "number " + std::string(shown, std::to_chars(shown, shown + sizeof shown, cell.number).ptr);
            break;
        case Cell::Kind::Text: text += "text \"" + std::string(cell.text) + "\""; break;
        case Cell::Kind::Date:
            std::snprintf(shown, sizeof shown, "date %04d-%02d-%02d", cell.date.year, cell.date.month, cell.date.day);
            text += shown;
        }
        return cell.numberFormat.empty() ? text : text + " [" + std::string(cell.numberFormat) + "]";
    }
    void call(const std::string& what)
    {
        if (what == book_.failAt) {
            book_.failAt.clear();
            throw RunTimeError(error_number::DiskFull);
        }
    }
    WrittenSheet& setting(std::string_view call)
    {
        order_.checkSetting(call);
        return book_.sheets.back();
    }

    WrittenBook& book_;
    WriteOrder order_;
};

// A factory like makeXlsxWorkbook: each workbook made is kept in `books`,
// the call named in `failAt` failing.
struct MemoryWorkbooks {
    std::deque<WrittenBook> books;
    std::string failAt;

    std::unique_ptr<Workbook> make(const std::string&)
    {
        books.push_back({{}, false, failAt});
        return std::make_unique<MemoryWorkbook>(books.back());
    }
};

}  // namespace zlt::testing
