#include "engines/spreadsheet/excel/sheet_writer.h"

#include <algorithm>
#include <cstring>

#include "platform/run_time_error.h"

namespace zlt::excel {

namespace {

constexpr std::size_t MaxTextLength = 32'767;  // characters a cell holds; the rest is cut as on import

[[noreturn]] void refuse(const std::string& what)
{
    throw RunTimeError(error_number::ObjectDefinedError,
                       std::string(standardDescription(error_number::ObjectDefinedError)) + " (" + what + ")");
}

bool isPlainAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\0')
            return false;
    return true;
}

}  // namespace

ImportScan scanImport(FileSystem& files, const QueryTableModel& query)
{
    const auto file = files.openRead(query.source);
    DelimitedTextReader reader(*file, query.options);
    std::vector<std::string_view> values;
    ImportScan scan;
    const long long lastRecord = static_cast<long long>(Workbook::MaxRows) - query.top + 1;
    const std::size_t lastValue = static_cast<std::size_t>(Workbook::MaxColumns - query.left + 1);
    while (reader.next(values)) {
        if (++scan.records > lastRecord)
            refuse(query.source + " has more lines than the sheet has rows below " + std::to_string(query.top));
        if (values.size() > lastValue)
            refuse(query.source + " line " + std::to_string(scan.records) + " has more values than the sheet has columns");
        if (values.size() > scan.shownLengths.size())
            scan.shownLengths.resize(values.size());
        for (std::size_t i = 0; i < values.size(); ++i)
            scan.shownLengths[i] = std::max(scan.shownLengths[i], shownLength(values[i], importedValue(values[i])));
    }
    return scan;
}

std::string workbookNumberFormat(const std::string& format)
{
    return format == "# ?/?" ? "[<4294967296]# ?/?;0" : format;
}

void SheetWriter::write(const SheetModel& sheet)
{
    book_.addSheet(sheet.name);
    writeSettings(sheet);
    const QueryTableModel* query = sheet.imported();
    auto set = sheet.cells.begin();
    for (; set != sheet.cells.end() && (!query || set->first < query->top); ++set)
        writeSetRow(set->first, set->second);
    if (query) {
        const auto file = files_.openRead(query->source);
        DelimitedTextReader reader(*file, query->options);
        std::vector<std::string_view> values;
        // The rows the import took, even if the file has grown since.
        const int end = query->top + query->scan->records;
        for (int row = query->top; row < end && reader.next(values); ++row) {
            const std::map<int, SetCell>* setHere = nullptr;
            if (set != sheet.cells.end() && set->first == row)
                setHere = &(set++)->second;
            writeDataRow(row, query->left, values, setHere);
        }
        for (; set != sheet.cells.end() && set->first < end; ++set)
            writeSetRow(set->first, set->second);
    }
    for (; set != sheet.cells.end(); ++set)
        writeSetRow(set->first, set->second);
}

void SheetWriter::writeSettings(const SheetModel& sheet)
{
    int lastColumn = sheet.widths.empty() ? 0 : sheet.widths.rbegin()->first;
    if (!sheet.numberFormats.empty())
        lastColumn = std::max(lastColumn, sheet.numberFormats.rbegin()->first);
    if (const QueryTableModel* query = sheet.imported())
        lastColumn = std::max(lastColumn, query->left - 1 + static_cast<int>(query->scan->shownLengths.size()));
    formatted_.assign(static_cast<std::size_t>(lastColumn) + 1, false);
    for (int column = 1; column <= lastColumn; ++column) {
        const double width = columnWidthOf(sheet, column);
        if (width != DefaultColumnWidth)
            book_.setColumnWidth(column, width);
    }
    for (const auto& [column, format] : sheet.numberFormats) {
        book_.setColumnFormat(column, workbookNumberFormat(format));
        formatted_[static_cast<std::size_t>(column)] = true;
    }
    if (sheet.frozenRow > 1 || sheet.frozenColumn > 1)
        book_.freezePanes(sheet.frozenRow, sheet.frozenColumn);
    if (!sheet.backgroundPicture.empty())
        book_.setBackgroundPicture(sheet.backgroundPicture);
}

void SheetWriter::writeSetRow(int row, const std::map<int, SetCell>& set)
{
    cells_.assign(static_cast<std::size_t>(set.rbegin()->first), Cell{});
    for (const auto& [column, cell] : set) {
        Cell& out = cells_[static_cast<std::size_t>(column) - 1];
        if (cell.value && !cell.value->empty())
            out = Cell::ofText(*cell.value);
        out.bold = cell.bold;
    }
    book_.writeRow(row, cells_);
}

void SheetWriter::appendText(std::string_view hostText)
{
    hostText = hostText.substr(0, MaxTextLength);
    if (isPlainAscii(hostText)) {
        arena_.append(hostText);
        return;
    }
    for (const char c : codePage_.toUtf8(hostText))
        if (c != '\0')  // no cell can hold one
            arena_ += c;
}

void SheetWriter::writeDataRow(int row, int left, const std::vector<std::string_view>& values,
                               const std::map<int, SetCell>* set)
{
    std::size_t width = static_cast<std::size_t>(left - 1) + values.size();
    if (set)
        width = std::max(width, static_cast<std::size_t>(set->rbegin()->first));
    cells_.assign(width, Cell{});
    texts_.clear();
    arena_.clear();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t index = static_cast<std::size_t>(left - 1) + i;
        const ImportedValue value = importedValue(values[i]);
        Cell& cell = cells_[index];
        switch (value.kind) {
        case ImportedValue::Kind::Empty: break;
        case ImportedValue::Kind::Number: cell = Cell::ofNumber(value.number); break;
        case ImportedValue::Kind::Date: {
            // A format set on the whole column covers the dates in it too.
            const bool columnFormat = index + 1 < formatted_.size() && formatted_[index + 1];
            cell = Cell::ofDate(value.date, columnFormat ? "" : importedDateFormat);
            break;
        }
        case ImportedValue::Kind::Text:
            cell.kind = Cell::Kind::Text;
            texts_.emplace_back(index, arena_.size());
            appendText(values[i]);
            break;
        }
    }
    // The arena is complete: its views hold from here.
    for (std::size_t t = 0; t < texts_.size(); ++t) {
        const std::size_t end = t + 1 < texts_.size() ? texts_[t + 1].second : arena_.size();
        cells_[texts_[t].first].text = std::string_view(arena_).substr(texts_[t].second, end - texts_[t].second);
    }
    if (set) {
        for (const auto& [column, setCell] : *set) {
            Cell& out = cells_[static_cast<std::size_t>(column) - 1];
            if (setCell.value)
                out = setCell.value->empty() ? Cell{} : Cell::ofText(*setCell.value);
            out.bold = out.bold || setCell.bold;
        }
    }
    book_.writeRow(row, cells_);
}

}  // namespace zlt::excel
