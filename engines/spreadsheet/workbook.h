#pragma once
// A spreadsheet workbook written as it is built, so that a backend can write
// a sheet of any length in constant memory. Rows and columns count from 1
// as the spreadsheet shows them: row 1, column 1 is cell A1.
//
// Order of calls (WriteOrder below enforces it):
//  1. addSheet starts a sheet after the ones before it; every other call but
//     close() needs a sheet and applies to the newest one. A sheet, once
//     another is added, is finished.
//  2. A sheet's settings (column widths and number formats, frozen panes,
//     background picture) come before its first row.
//  3. Rows come top to bottom, each at most once; rows may be skipped.
//  4. close() comes last, once; it writes the workbook. A workbook destroyed
//     without close() writes nothing more.
// Failures are RunTimeErrors. A call refused for its arguments or its order
// changes nothing, so close() still writes what was done before it.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/run_time_error.h"

namespace zlt {

// A day of the calendar, stored as a date and shown through a date format.
struct CalendarDate {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to the month's last day
};

// One cell of a row. Texts are UTF-8 and need to live only during the call
// that writes them.
struct Cell {
    enum class Kind : std::uint8_t { Empty, Number, Text, Date };

    Kind kind = Kind::Empty;
    bool bold = false;
    double number = 0;
    std::string_view text;
    CalendarDate date;
    // The cell's own number format ("dd/mm/yyyy"); empty: its column's, or
    // General when the column has none. A date needs one or the other.
    std::string_view numberFormat;

    static Cell ofNumber(double value)
    {
        Cell cell;
        cell.kind = Kind::Number;
        cell.number = value;
        return cell;
    }
    static Cell ofText(std::string_view value)
    {
        Cell cell;
        cell.kind = Kind::Text;
        cell.text = value;
        return cell;
    }
    static Cell ofDate(CalendarDate value, std::string_view format)
    {
        Cell cell;
        cell.kind = Kind::Date;
        cell.date = value;
        cell.numberFormat = format;
        return cell;
    }
    Cell bolded() const
    {
        Cell cell = *this;
        cell.bold = true;
        return cell;
    }
};

class Workbook {
public:
    static constexpr int MaxRows = 1'048'576;
    static constexpr int MaxColumns = 16'384;
    static constexpr double MaxColumnWidth = 255;

    virtual ~Workbook() = default;

    // A sheet named as given: 1 to 31 characters, none of [ ] : * ? / \,
    // not starting or ending with an apostrophe, no two alike in letter case.
    virtual void addSheet(const std::string& name) = 0;
    // Width in characters of the standard font, 0 to 255, fractions allowed.
    virtual void setColumnWidth(int column, double width) = 0;
    // A number format such as "#,##0.00" or "# ?/?" for the whole column.
    virtual void setColumnFormat(int column, const std::string& numberFormat) = 0;
    // Rows above `row` and columns left of `column` stay in view:
    // (2, 1) freezes the top row, (1, 1) freezes nothing.
    virtual void freezePanes(int row, int column) = 0;
    // A picture file (JPEG, PNG, GIF, BMP) tiled behind the cells.
    virtual void setBackgroundPicture(const std::string& path) = 0;
    // cells[0] is column 1 (A); empty cells that are not bold write nothing.
    virtual void writeRow(int row, std::span<const Cell> cells) = 0;
    // Writes the workbook to the path it was created for; the workbook is
    // finished even when this fails, and a half-written file may remain.
    virtual void close() = 0;
};

// The order rules above as a state machine; backends and test doubles call
// it before they act, so both refuse the same sequences.
class WriteOrder {
public:
    // Refuses any call after close().
    void checkOpen(std::string_view call) const
    {
        if (state_ == State::Closed)
            refuse(std::string(call) + " after close");
    }
    // A sheet was added: its settings may follow.
    void sheetAdded()
    {
        checkOpen("addSheet");
        state_ = State::Settings;
        lastRow_ = 0;
    }
    // Refuses a setting outside a sheet or after the sheet's rows.
    void checkSetting(std::string_view call) const
    {
        checkSheet(call);
        if (state_ != State::Settings)
            refuse(std::string(call) + " after the sheet's rows");
    }
    // Refuses a row that does not come below the previous one; takes it else.
    void row(int row)
    {
        checkSheet("writeRow");
        if (row <= lastRow_)
            refuse("row " + std::to_string(row) + " after row " + std::to_string(lastRow_));
        state_ = State::Rows;
        lastRow_ = row;
    }
    void close()
    {
        checkOpen("close");
        state_ = State::Closed;
    }

private:
    enum class State { NoSheet, Settings, Rows, Closed };

    void checkSheet(std::string_view call) const
    {
        checkOpen(call);
        if (state_ == State::NoSheet)
            refuse(std::string(call) + " before any sheet");
    }
    [[noreturn]] static void refuse(const std::string& what)
    {
        const int number = error_number::InvalidProcedureCall;
        throw RunTimeError(number, std::string(standardDescription(number)) + " (" + what + ")");
    }

    State state_ = State::NoSheet;
    int lastRow_ = 0;
};

}  // namespace zlt
