#pragma once
// What the application remembers of one worksheet until the sheet is
// written: the text import that fills it, and everything said about it.
// The data itself stays in its file and is read again when the sheet is
// written, so a sheet of any length takes the same memory.
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engines/spreadsheet/excel/text_import.h"

namespace zlt::excel {

// A cell the program set itself (a heading).
struct SetCell {
    bool bold = false;
    std::optional<std::string> value;  // UTF-8 text
};

// What the import found on its first reading.
struct ImportScan {
    int records = 0;
    std::vector<int> shownLengths;  // the longest value of each column, column 1 first
};

struct QueryTableModel {
    std::string name;
    std::string source;  // the data file's Linux path, found at Refresh
    TextImportOptions options;
    bool adjustColumnWidth = false;
    int top = 1, left = 1;  // where the first value goes
    std::optional<ImportScan> scan;  // after Refresh
};

// The width of a column nobody set or fitted.
constexpr double DefaultColumnWidth = 8.43;

struct SheetModel {
    std::string name;
    std::unique_ptr<QueryTableModel> queryTable;  // one text import a sheet
    std::map<int, double> widths;              // column -> width set
    std::map<int, std::string> numberFormats;  // column -> format set on the whole column
    std::map<int, std::map<int, SetCell>> cells;  // row -> column -> cell
    int frozenRow = 1, frozenColumn = 1;       // (1, 1): nothing frozen
    std::string backgroundPicture;             // a Linux path; empty: none
    int selectedRow = 1, selectedColumn = 1;
    bool written = false;

    // The query table whose data the sheet holds; none before a Refresh.
    const QueryTableModel* imported() const { return queryTable && queryTable->scan ? queryTable.get() : nullptr; }
};

// The column's width: as set, else fitted to its imported values (their
// longest shown length plus one), else the default.
inline double columnWidthOf(const SheetModel& sheet, int column)
{
    if (const auto set = sheet.widths.find(column); set != sheet.widths.end())
        return set->second;
    const QueryTableModel* query = sheet.imported();
    if (query && query->adjustColumnWidth) {
        const int index = column - query->left;
        const auto& lengths = query->scan->shownLengths;
        if (index >= 0 && static_cast<std::size_t>(index) < lengths.size() && lengths[static_cast<std::size_t>(index)] > 0)
            return std::min(lengths[static_cast<std::size_t>(index)] + 1, 255);
    }
    return DefaultColumnWidth;
}

}  // namespace zlt::excel
