#include "engines/spreadsheet/excel/linux_excel.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/ascii.h"
#include "engines/spreadsheet/excel/sheet_model.h"
#include "engines/spreadsheet/excel/sheet_writer.h"
#include "engines/spreadsheet/excel/workbook_file.h"
#include "platform/run_time_error.h"
#include "platform/utf8.h"

namespace zlt {

const char* const linuxExcelVersion = "12.0";

std::string workbooksFolderOf(const Settings& settings)
{
    return expandHome(settings.workbooks.empty() ? std::string("~/Documents/Workbooks") : settings.workbooks,
                      settings.home);
}

namespace excel {

namespace {

using namespace error_number;

constexpr int MaxSheets = 255;
constexpr std::size_t MaxNumberFormatLength = 127;  // what the workbook writer keeps whole
constexpr std::size_t MaxSheetNameLength = 31;

[[noreturn]] void refuse(int number, const std::string& what)
{
    throw RunTimeError(number, std::string(standardDescription(number)) + " (" + what + ")");
}

[[noreturn]] void unsupported(const std::string& what)
{
    refuse(ObjectDefinedError, what + " is not supported here: the workbook keeps values, not a live query");
}

struct CellAddress {
    int row = 1, column = 1;
};

// "A1", "$AZ$17", "aa3": one cell in A1 notation.
CellAddress cellAddressOf(const std::string& address)
{
    CellAddress cell{0, 0};
    std::size_t at = address.size() > 0 && address[0] == '$' ? 1 : 0;
    const std::size_t letters = at;
    for (; at < address.size() && isAsciiLetter(address[at]) && cell.column <= Workbook::MaxColumns; ++at)
        cell.column = cell.column * 26 + (upperAscii(address[at]) - 'A' + 1);
    const bool hasLetters = at > letters;
    if (at < address.size() && address[at] == '$')
        ++at;
    const std::size_t digits = at;
    for (; at < address.size() && isAsciiDigit(address[at]) && cell.row <= Workbook::MaxRows; ++at)
        cell.row = cell.row * 10 + (address[at] - '0');
    if (!hasLetters || at == digits || at != address.size() || cell.row < 1 || cell.row > Workbook::MaxRows ||
        cell.column > Workbook::MaxColumns)
        refuse(ObjectDefinedError, "no cell \"" + address + "\"");
    return cell;
}

void checkCell(int row, int column)
{
    if (row < 1 || row > Workbook::MaxRows || column < 1 || column > Workbook::MaxColumns)
        refuse(ObjectDefinedError, "no cell at row " + std::to_string(row) + ", column " + std::to_string(column));
}

void checkColumn(int column)
{
    if (column < 1 || column > Workbook::MaxColumns)
        refuse(ObjectDefinedError, "no column " + std::to_string(column));
}

void checkSheetName(const std::string& name)
{
    const auto why = [&]() -> std::string {
        if (name.empty() || utf8CharacterCount(name) > MaxSheetNameLength)
            return "a sheet name has 1 to 31 characters";
        if (name.find_first_of("[]:*?/\\") != std::string::npos)
            return "a sheet name holds none of [ ] : * ? / \\";
        if (name.front() == '\'' || name.back() == '\'')
            return "a sheet name neither starts nor ends with an apostrophe";
        return {};
    }();
    if (!why.empty())
        refuse(ObjectDefinedError, "sheet name \"" + name + "\": " + why);
}

bool isPicture(const std::string& head)
{
    const auto startsWith = [&](std::string_view magic) { return head.compare(0, magic.size(), magic) == 0; };
    return startsWith("\xFF\xD8\xFF") || startsWith("\x89PNG") || startsWith("GIF8") || startsWith("BM");
}

bool booleanOf(const std::string& property, const ExcelValue& value)
{
    if (const bool* b = std::get_if<bool>(&value))
        return *b;
    refuse(TypeMismatch, property + " takes True or False");
}

int integerOf(const std::string& property, const ExcelValue& value)
{
    if (const int* n = std::get_if<int>(&value))
        return *n;
    refuse(TypeMismatch, property + " takes a number");
}

class Application;

class QueryTable final : public ExcelQueryTable {
public:
    QueryTable(Application& application, int sheet, QueryTableModel& model)
        : application_(application), sheet_(sheet), model_(model)
    {
    }
    void setProperty(const std::string& name, const ExcelValue& value) override;
    void refresh(bool backgroundQuery) override;

    std::string connectionPath;  // the path after "TEXT;"

private:
    Application& application_;
    int sheet_;
    QueryTableModel& model_;
};

class Worksheet final : public ExcelWorksheet {
public:
    Worksheet(Application& application, int index) : application_(application), index_(index) {}
    void activate() override;
    ExcelRange range(const std::string& address) override
    {
        cellAddressOf(address);
        return {index_, address};
    }
    ExcelQueryTable& addQueryTable(const std::string& connection, const ExcelRange& destination) override;
    void selectRange(const std::string& address) override;
    double columnWidth(int column) override;
    void setColumnWidth(int column, double width) override;
    void setCellBold(int row, int column, bool bold) override;
    void setCellValue(int row, int column, const std::string& value) override;
    void setBackgroundPicture(const std::string& path) override;

private:
    Application& application_;
    int index_;
    std::unique_ptr<QueryTable> queryTable_;
};

class Application final : public ExcelApplication {
public:
    explicit Application(ExcelHost& host) : host_(host) {}

    std::string version() override { return linuxExcelVersion; }
    void setVisible(bool visible) override { visible_ = visible; }
    void setSheetsInNewWorkbook(int count) override
    {
        if (count < 1 || count > MaxSheets)
            refuse(ObjectDefinedError, "SheetsInNewWorkbook " + std::to_string(count) + " outside 1 to 255");
        sheetsInNewWorkbook_ = count;
    }
    void addWorkbook() override
    {
        if (file_)
            refuse(ObjectDefinedError, "this application holds one workbook");
        file_ = std::make_unique<WorkbookFile>(host_);
        writer_ = std::make_unique<SheetWriter>(file_->workbook(), host_.files.fileSystem(), host_.codePage);
        for (int index = 1; index <= sheetsInNewWorkbook_; ++index) {
            sheets_.push_back(std::make_unique<SheetModel>());
            sheets_.back()->name = "Sheet" + std::to_string(index);
            worksheets_.push_back(std::make_unique<Worksheet>(*this, index));
        }
        active_ = 1;
    }
    ExcelWorksheet& worksheets(int index) override
    {
        sheet(index);
        return *worksheets_[static_cast<std::size_t>(index) - 1];
    }
    void setSheetName(int index, const std::string& name) override
    {
        SheetModel& named = sheet(index);
        checkSheetName(name);
        for (const auto& other : sheets_)
            if (other.get() != &named && lowerAscii(other->name) == lowerAscii(name))
                refuse(ObjectDefinedError, "sheet name \"" + name + "\" is taken by another sheet");
        named.name = name;
    }
    void insertActiveCellEntireRow() override
    {
        SheetModel& at = activeSheet();
        const int row = at.selectedRow;
        QueryTableModel* query = at.queryTable.get();
        int lastUsed = at.cells.empty() ? 0 : at.cells.rbegin()->first;
        if (query && query->scan) {
            const int dataEnd = query->top + query->scan->records;  // the row after the data
            if (row > query->top && row < dataEnd)
                refuse(ObjectDefinedError, "rows cannot be inserted inside imported data here");
            lastUsed = std::max(lastUsed, dataEnd - 1);
        }
        if (lastUsed >= Workbook::MaxRows)
            refuse(ObjectDefinedError, "the sheet's last row is in use");
        if (query && row <= query->top)
            ++query->top;
        std::map<int, std::map<int, SetCell>> shifted;
        for (auto& [r, cells] : at.cells)
            shifted.emplace(r >= row ? r + 1 : r, std::move(cells));
        at.cells = std::move(shifted);
    }
    void setActiveWindowFreezePanes(bool frozen) override
    {
        SheetModel& at = activeSheet();
        at.frozenRow = frozen ? at.selectedRow : 1;
        at.frozenColumn = frozen ? at.selectedColumn : 1;
    }
    void setActiveCellEntireColumnNumberFormat(const std::string& format) override
    {
        SheetModel& at = activeSheet();
        if (format.size() > MaxNumberFormatLength)
            refuse(ObjectDefinedError, "number format longer than 127 characters");
        at.numberFormats[at.selectedColumn] = format;
    }
    void release() override
    {
        if (!file_)
            return;
        // A workbook that cannot be kept leaves nothing behind: the file goes
        // with the application. One with a sheet the workbook refused
        // part-way is kept and shown all the same, and the refusal told after.
        const auto file = std::move(file_);
        writeSheetsBefore(static_cast<int>(sheets_.size()) + 1);
        const std::string path = file->keep(sheets_.front()->name);
        if (visible_ && host_.opener)
            host_.opener->open(path);
        else if (host_.notes)
            *host_.notes << "The workbook is kept as " << path << "\n" << std::flush;
        if (sheetFailure_)
            throw *sheetFailure_;
    }

    // The sheet, after writing every sheet before it: sheets are written in
    // order, so one written already takes no more calls.
    SheetModel& sheet(int index)
    {
        if (!file_)
            refuse(ObjectDefinedError, "no workbook is open");
        if (index < 1 || static_cast<std::size_t>(index) > sheets_.size())
            refuse(SubscriptOutOfRange, "no sheet " + std::to_string(index));
        writeSheetsBefore(index);
        SheetModel& found = *sheets_[static_cast<std::size_t>(index) - 1];
        if (found.written)
            refuse(ObjectDefinedError, "sheet " + std::to_string(index) +
                                           " is written already: sheets take their calls in order");
        return found;
    }
    SheetModel& activeSheet() { return sheet(active_); }
    void activate(int index)
    {
        sheet(index);
        active_ = index;
    }
    bool isActive(int index) const { return active_ == index; }
    ExcelHost& host() { return host_; }

private:
    // A sheet is written once, when the program has moved on: one the
    // workbook refuses keeps what it got, and the export goes on.
    void writeSheetsBefore(int index)
    {
        for (; written_ + 1 < index; ++written_) {
            SheetModel& next = *sheets_[static_cast<std::size_t>(written_)];
            next.written = true;
            try {
                writer_->write(next);
            } catch (const RunTimeError& error) {
                if (!sheetFailure_)
                    sheetFailure_ = error;
            }
        }
    }

    ExcelHost& host_;
    bool visible_ = false;
    int sheetsInNewWorkbook_ = 3;
    std::unique_ptr<WorkbookFile> file_;
    std::unique_ptr<SheetWriter> writer_;
    std::vector<std::unique_ptr<SheetModel>> sheets_;
    std::vector<std::unique_ptr<Worksheet>> worksheets_;
    int active_ = 1;
    int written_ = 0;
    std::optional<RunTimeError> sheetFailure_;  // the first sheet the workbook refused
};

void QueryTable::setProperty(const std::string& name, const ExcelValue& value)
{
    application_.sheet(sheet_);
    const std::string property = lowerAscii(name);
    auto& delimiters = model_.options.delimiters;
    const std::pair<const char*, unsigned char> delimiterProperties[] = {
        {"textfiletabdelimiter", '\t'},
        {"textfilesemicolondelimiter", ';'},
        {"textfilecommadelimiter", ','},
        {"textfilespacedelimiter", ' '},
    };
    for (const auto& [known, delimiter] : delimiterProperties)
        if (property == known) {
            delimiters[delimiter] = booleanOf(name, value);
            return;
        }
    if (property == "name") {
        const std::string* text = std::get_if<std::string>(&value);
        if (!text)
            refuse(TypeMismatch, "Name takes a text");
        model_.name = *text;
    } else if (property == "fieldnames" || property == "filladjacentformulas" || property == "preserveformatting" ||
               property == "savepassword") {
        booleanOf(name, value);  // nothing to do for a text file's values
    } else if (property == "rownumbers" || property == "refreshonfileopen" || property == "textfilepromptonrefresh") {
        if (booleanOf(name, value))
            unsupported(name + " = True");
    } else if (property == "savedata") {
        if (!booleanOf(name, value))
            unsupported(name + " = False");
    } else if (property == "adjustcolumnwidth") {
        model_.adjustColumnWidth = booleanOf(name, value);
    } else if (property == "refreshperiod") {
        if (integerOf(name, value) != 0)
            unsupported("a RefreshPeriod");
    } else if (property == "textfilestartrow") {
        const int row = integerOf(name, value);
        if (row < 1 || row > Workbook::MaxRows)
            refuse(ObjectDefinedError, "TextFileStartRow " + std::to_string(row));
        model_.options.startRow = row;
    } else if (property == "textfileconsecutivedelimiter") {
        model_.options.consecutiveDelimiters = booleanOf(name, value);
    } else {
        refuse(NoSuchMember, "QueryTable." + name);
    }
}

void QueryTable::refresh(bool)
{
    // Always in the foreground: the call returns with the import done.
    application_.sheet(sheet_);
    model_.scan.reset();
    model_.source = application_.host().files.resolve(connectionPath);
    model_.scan = scanImport(application_.host().files.fileSystem(), model_);
}

void Worksheet::activate() { application_.activate(index_); }

ExcelQueryTable& Worksheet::addQueryTable(const std::string& connection, const ExcelRange& destination)
{
    SheetModel& sheet = application_.sheet(index_);
    if (upperAscii(connection.substr(0, 5)) != "TEXT;")
        refuse(ObjectDefinedError, "only text files are imported: \"" + connection + "\"");
    if (destination.sheet != index_)
        refuse(ObjectDefinedError, "the destination is on another sheet");
    if (sheet.queryTable)
        refuse(ObjectDefinedError, "one text import a sheet");
    const CellAddress at = cellAddressOf(destination.address);
    sheet.queryTable = std::make_unique<QueryTableModel>();
    sheet.queryTable->top = at.row;
    sheet.queryTable->left = at.column;
    sheet.queryTable->options.delimiters['\t'] = true;  // a new text query's own setting
    queryTable_ = std::make_unique<QueryTable>(application_, index_, *sheet.queryTable);
    queryTable_->connectionPath = connection.substr(5);
    return *queryTable_;
}

void Worksheet::selectRange(const std::string& address)
{
    SheetModel& sheet = application_.sheet(index_);
    const CellAddress cell = cellAddressOf(address);
    if (!application_.isActive(index_))
        refuse(ObjectDefinedError, "Select needs the sheet active");
    sheet.selectedRow = cell.row;
    sheet.selectedColumn = cell.column;
}

double Worksheet::columnWidth(int column)
{
    const SheetModel& sheet = application_.sheet(index_);
    checkColumn(column);
    return columnWidthOf(sheet, column);
}

void Worksheet::setColumnWidth(int column, double width)
{
    SheetModel& sheet = application_.sheet(index_);
    checkColumn(column);
    if (!(width >= 0 && width <= Workbook::MaxColumnWidth))
        refuse(ObjectDefinedError, "column width " + std::to_string(width) + " outside 0 to 255");
    sheet.widths[column] = width;
}

void Worksheet::setCellBold(int row, int column, bool bold)
{
    SheetModel& sheet = application_.sheet(index_);
    checkCell(row, column);
    sheet.cells[row][column].bold = bold;
}

void Worksheet::setCellValue(int row, int column, const std::string& value)
{
    SheetModel& sheet = application_.sheet(index_);
    checkCell(row, column);
    sheet.cells[row][column].value = value;
}

void Worksheet::setBackgroundPicture(const std::string& path)
{
    SheetModel& sheet = application_.sheet(index_);
    HostFiles& files = application_.host().files;
    const std::string resolved = files.resolve(path);
    const auto file = files.fileSystem().openRead(resolved);
    std::string head(8, '\0');
    head.resize(file->read(head.data(), head.size()));
    if (!isPicture(head))
        refuse(ObjectDefinedError, resolved + " is no JPEG, PNG, GIF or BMP picture");
    sheet.backgroundPicture = resolved;
}

}  // namespace

}  // namespace excel

std::unique_ptr<ExcelApplication> makeLinuxExcel(ExcelHost& host) { return std::make_unique<excel::Application>(host); }

}  // namespace zlt
