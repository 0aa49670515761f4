#include "engines/spreadsheet/xlsx/xlsx_workbook.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include <xlsxwriter.h>

#include "engines/spreadsheet/xlsx/c_locale.h"
#include "engines/spreadsheet/xlsx/library_messages.h"
#include "engines/spreadsheet/xlsx/xlsx_error.h"
#include "engines/spreadsheet/xlsx/xlsx_formats.h"
#include "platform/utf8.h"

namespace zlt {

namespace {

using namespace error_number;
using xlsx::CLocale;

constexpr std::size_t MaxTextLength = 32'767;  // characters in one cell

[[noreturn]] void refuse(int number, const std::string& what)
{
    throw RunTimeError(number, std::string(standardDescription(number)) + " (" + what + ")");
}

std::string cellName(int row, int column)
{
    char name[LXW_MAX_CELL_NAME_LENGTH];
    lxw_rowcol_to_cell(name, static_cast<lxw_row_t>(row - 1), static_cast<lxw_col_t>(column - 1));
    return name;
}

void checkColumn(int column)
{
    if (column < 1 || column > Workbook::MaxColumns)
        refuse(ObjectDefinedError, "column " + std::to_string(column) + " outside 1 to 16384");
}

bool isCalendarDate(const CalendarDate& d)
{
    static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.year < 1900 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1)
        return false;
    const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    return d.day <= Days[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
}

// Every call into the library: under the C locale, its own messages held back.
class LibraryCall {
public:
    LibraryCall(const CLocale& locale, xlsx::LibraryMessages& messages) : locale_(locale), messages_(messages) {}

private:
    CLocale::Scope locale_;
    xlsx::LibraryMessages::Scope messages_;
};

// A column's settings; its formats are made when they are applied.
struct Column {
    bool hasWidth = false;
    double width = LXW_DEF_COL_WIDTH;
    std::string numberFormat;
    lxw_format* plain = nullptr;
    lxw_format* bold = nullptr;
};

class XlsxWorkbook final : public Workbook {
public:
    explicit XlsxWorkbook(const std::string& path) : path_(path)
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        LibraryCall call(locale_, messages_);
        book_ = workbook_new_opt(path_.c_str(), &options);
        if (book_ == nullptr)
            throw xlsx::errorOf(LXW_ERROR_MEMORY_MALLOC_FAILED, 0, "workbook " + path_);
        formats_ = std::make_unique<xlsx::Formats>(book_);
    }

    ~XlsxWorkbook() override
    {
        if (book_ != nullptr) {
            LibraryCall call(locale_, messages_);
            lxw_workbook_free(book_);
        }
    }

    void addSheet(const std::string& name) override
    {
        order_.checkOpen("addSheet");
        if (name.empty())
            refuse(ObjectDefinedError, "empty sheet name");
        const std::string subject = "sheet name \"" + name + "\"";
        LibraryCall call(locale_, messages_);
        xlsx::check(workbook_validate_sheet_name(book_, name.c_str()), 0, subject);
        errno = 0;
        lxw_worksheet* sheet = workbook_add_worksheet(book_, name.c_str());
        if (sheet == nullptr) {
            // Constant-memory sheets open a temporary file: errno tells.
            const int error = errno;
            throw xlsx::errorOf(error != 0 ? LXW_ERROR_CREATING_TMPFILE : LXW_ERROR_MEMORY_MALLOC_FAILED, error,
                                subject);
        }
        applySettings();
        order_.sheetAdded();
        sheet_ = sheet;
        columns_.clear();
        frozenRow_ = 1;
        frozenColumn_ = 1;
        settingsApplied_ = false;
    }

    void setColumnWidth(int column, double width) override
    {
        order_.checkSetting("setColumnWidth");
        checkColumn(column);
        if (!(width >= 0 && width <= MaxColumnWidth))
            refuse(ObjectDefinedError, "column width " + std::to_string(width) + " outside 0 to 255");
        Column& settings = columnSettings(column);
        settings.hasWidth = true;
        settings.width = width;
    }

    void setColumnFormat(int column, const std::string& numberFormat) override
    {
        order_.checkSetting("setColumnFormat");
        checkColumn(column);
        checkNumberFormat(numberFormat);
        columnSettings(column).numberFormat = numberFormat;
    }

    void freezePanes(int row, int column) override
    {
        order_.checkSetting("freezePanes");
        if (row < 1 || row > MaxRows || column < 1 || column > MaxColumns)
            refuse(ObjectDefinedError,
                   "frozen panes at row " + std::to_string(row) + ", column " + std::to_string(column));
        frozenRow_ = row;
        frozenColumn_ = column;
    }

    void setBackgroundPicture(const std::string& path) override
    {
        order_.checkSetting("setBackgroundPicture");
        const std::vector<unsigned char> picture = readFile(path);
        LibraryCall call(locale_, messages_);
        errno = 0;
        const lxw_error result = worksheet_set_background_buffer(sheet_, picture.data(), picture.size());
        xlsx::check(result, errno, "background picture " + path);
    }

    void writeRow(int row, std::span<const Cell> cells) override
    {
        order_.checkOpen("writeRow");
        if (row < 1 || row > MaxRows)
            refuse(ObjectDefinedError, "row " + std::to_string(row) + " outside 1 to 1048576");
        checkCells(row, cells);
        order_.row(row);
        LibraryCall call(locale_, messages_);
        applySettings();
        for (std::size_t i = 0; i < cells.size(); ++i)
            writeCell(row, static_cast<int>(i) + 1, cells[i]);
    }

    void close() override
    {
        order_.close();
        LibraryCall call(locale_, messages_);
        applySettings();
        errno = 0;
        const lxw_error result = workbook_close(book_);  // frees the workbook, whatever the result
        const int error = errno;
        book_ = nullptr;
        sheet_ = nullptr;
        xlsx::check(result, error, "writing " + path_);
    }

private:
    Column& columnSettings(int column)
    {
        if (columns_.size() < static_cast<std::size_t>(column))
            columns_.resize(static_cast<std::size_t>(column));
        return columns_[static_cast<std::size_t>(column) - 1];
    }

    static void checkNumberFormat(std::string_view numberFormat)
    {
        if (numberFormat.size() > xlsx::Formats::MaxNumberFormatLength)
            throw xlsx::errorOf(LXW_ERROR_128_STRING_LENGTH_EXCEEDED, 0,
                                "number format " + std::string(numberFormat));
    }

    static std::vector<unsigned char> readFile(const std::string& path)
    {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            throw errorFromErrno(errno, path);
        std::vector<unsigned char> bytes;
        unsigned char block[65536];
        for (;;) {
            const ssize_t n = ::read(fd, block, sizeof block);
            if (n < 0) {
                const int error = errno;
                ::close(fd);
                throw errorFromErrno(error, path);
            }
            if (n == 0)
                break;
            bytes.insert(bytes.end(), block, block + n);
        }
        ::close(fd);
        return bytes;
    }

    // Everything the library could refuse half-way through the row.
    void checkCells(int row, std::span<const Cell> cells) const
    {
        if (cells.size() > static_cast<std::size_t>(MaxColumns))
            refuse(ObjectDefinedError, "row " + std::to_string(row) + " has " + std::to_string(cells.size()) +
                                           " cells, more than 16384 columns");
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const Cell& cell = cells[i];
            const int column = static_cast<int>(i) + 1;
            checkNumberFormat(cell.numberFormat);
            switch (cell.kind) {
            case Cell::Kind::Empty:
                break;
            case Cell::Kind::Number:
                if (!std::isfinite(cell.number))
                    refuse(InvalidProcedureCall, "no finite number for " + cellName(row, column));
                break;
            case Cell::Kind::Text:
                if (std::memchr(cell.text.data(), '\0', cell.text.size()) != nullptr)
                    refuse(InvalidProcedureCall, "a NUL character in " + cellName(row, column));
                if (cell.text.size() > MaxTextLength && utf8CharacterCount(cell.text) > MaxTextLength)
                    throw xlsx::errorOf(LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED, 0, cellName(row, column));
                break;
            case Cell::Kind::Date:
                if (!isCalendarDate(cell.date))
                    refuse(InvalidProcedureCall, "no calendar date from 1900 to 9999 for " + cellName(row, column));
                if (cell.numberFormat.empty() && columnFormat(column).empty())
                    refuse(InvalidProcedureCall, "no date format for " + cellName(row, column));
                break;
            }
        }
    }

    std::string_view columnFormat(int column) const
    {
        return static_cast<std::size_t>(column) <= columns_.size()
                   ? std::string_view(columns_[static_cast<std::size_t>(column) - 1].numberFormat)
                   : std::string_view();
    }

    void applySettings()
    {
        if (sheet_ == nullptr || settingsApplied_)
            return;
        settingsApplied_ = true;
        // The library writes a pane even for A1, which freezes nothing.
        if (frozenRow_ > 1 || frozenColumn_ > 1)
            worksheet_freeze_panes(sheet_, static_cast<lxw_row_t>(frozenRow_ - 1),
                                   static_cast<lxw_col_t>(frozenColumn_ - 1));
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            Column& column = columns_[i];
            if (!column.hasWidth && column.numberFormat.empty())
                continue;
            column.plain = formats_->get(false, column.numberFormat);
            const auto index = static_cast<lxw_col_t>(i);
            xlsx::check(worksheet_set_column(sheet_, index, index, column.width, column.plain), 0,
                        "column " + std::to_string(i + 1));
        }
    }

    // The cell's own format, else its column's, bold when the cell is.
    lxw_format* formatOf(const Cell& cell, int column)
    {
        if (!cell.numberFormat.empty())
            return formats_->get(cell.bold, cell.numberFormat);
        if (static_cast<std::size_t>(column) > columns_.size())
            return cell.bold ? formats_->get(true, {}) : nullptr;
        Column& settings = columns_[static_cast<std::size_t>(column) - 1];
        if (!cell.bold)
            return settings.plain;
        if (settings.bold == nullptr)
            settings.bold = formats_->get(true, settings.numberFormat);
        return settings.bold;
    }

    void writeCell(int row, int column, const Cell& cell)
    {
        const auto r = static_cast<lxw_row_t>(row - 1);
        const auto c = static_cast<lxw_col_t>(column - 1);
        lxw_error result = LXW_NO_ERROR;
        switch (cell.kind) {
        case Cell::Kind::Empty:
            if (cell.bold || !cell.numberFormat.empty())
                result = worksheet_write_blank(sheet_, r, c, formatOf(cell, column));
            break;
        case Cell::Kind::Number:
            result = worksheet_write_number(sheet_, r, c, cell.number, formatOf(cell, column));
            break;
        case Cell::Kind::Text:
            text_.assign(cell.text);
            result = worksheet_write_string(sheet_, r, c, text_.c_str(), formatOf(cell, column));
            break;
        case Cell::Kind::Date: {
            lxw_datetime date{cell.date.year, cell.date.month, cell.date.day, 0, 0, 0};
            result = worksheet_write_datetime(sheet_, r, c, &date, formatOf(cell, column));
            break;
        }
        }
        if (result != LXW_NO_ERROR)
            throw xlsx::errorOf(result, 0, cellName(row, column));
    }

    std::string path_;
    CLocale locale_;
    xlsx::LibraryMessages messages_;
    lxw_workbook* book_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    WriteOrder order_;
    std::unique_ptr<xlsx::Formats> formats_;
    // The current sheet's settings, applied at its first row or its end.
    std::vector<Column> columns_;  // column 1 first
    int frozenRow_ = 1;
    int frozenColumn_ = 1;
    bool settingsApplied_ = false;
    std::string text_;  // the cell's text with the NUL the library wants
};

}  // namespace

std::unique_ptr<Workbook> makeXlsxWorkbook(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        throw errorFromErrno(errno, path);
    ::close(fd);
    return std::make_unique<XlsxWorkbook>(path);
}

}  // namespace zlt
