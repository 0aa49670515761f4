#pragma once
// A remembered worksheet written out: its settings first, then its rows,
// the imported data read again from its file and merged with the cells the
// program set, one row at a time.
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "engines/spreadsheet/excel/sheet_model.h"
#include "platform/file_system.h"
#include "engines/spreadsheet/workbook.h"

namespace zlt::excel {

// Reads the import once, for its extent and its columns' widths. Refuses
// (1004) data that would run past the sheet's last row or column.
ImportScan scanImport(FileSystem& files, const QueryTableModel& query);

// The number format the workbook gets for one the program set: a fraction
// format would show whole numbers of 2^32 and more as an error in
// LibreOffice, so such numbers get a plain whole-number section.
std::string workbookNumberFormat(const std::string& format);

class SheetWriter {
public:
    SheetWriter(Workbook& book, FileSystem& files, const CodePage& codePage)
        : book_(book), files_(files), codePage_(codePage)
    {
    }

    void write(const SheetModel& sheet);

private:
    void writeSettings(const SheetModel& sheet);
    void writeSetRow(int row, const std::map<int, SetCell>& set);
    void writeDataRow(int row, int left, const std::vector<std::string_view>& values,
                      const std::map<int, SetCell>* set);
    void appendText(std::string_view hostText);

    Workbook& book_;
    FileSystem& files_;
    const CodePage& codePage_;
    std::vector<bool> formatted_;  // columns with a format of their own, column 1 first
    std::vector<Cell> cells_;
    std::vector<std::pair<std::size_t, std::size_t>> texts_;  // cell index, offset into arena_
    std::string arena_;
};

}  // namespace zlt::excel
