#pragma once
// A delimited text file read as a spreadsheet's text import reads it into
// General columns: each line a record, values split at the delimiters,
// double quotes around a value (a doubled quote inside is one quote), and
// each value turned into a number, a day-first date or text.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/text_lines.h"
#include "engines/spreadsheet/workbook.h"

namespace zlt::excel {

struct TextImportOptions {
    std::array<bool, 256> delimiters{};  // by byte value
    bool consecutiveDelimiters = false;  // a run of delimiters separates once
    int startRow = 1;                    // lines before it are skipped
};

// Records of a delimited text file, one a line: CR LF, CR or LF ends a line
// (inside quotes too), and a DOS end-of-file mark (Ctrl-Z) at the very end
// is no text.
class DelimitedTextReader {
public:
    DelimitedTextReader(InputFile& file, const TextImportOptions& options);

    // The next record's values, valid until the next call; false at the end.
    bool next(std::vector<std::string_view>& values);

private:
    void splitLine(std::string_view line, std::vector<std::string_view>& values);

    LineReader lines_;
    const TextImportOptions& options_;
    int linesToSkip_;
    std::string unquoted_;  // quoted values without their quotes
};

// What a value becomes in a General column.
struct ImportedValue {
    enum class Kind : std::uint8_t { Empty, Number, Date, Text };
    Kind kind = Kind::Empty;
    double number = 0;
    CalendarDate date;
};

// Numbers: an optional sign, digits (with thousands separators in groups of
// three), a decimal point, an exponent, a trailing minus or parentheses for
// a negative; blanks around them ignored. Dates: day/month/year or
// day-month-year, the year in two digits (00 to 29 is 2000 to 2029) or
// four, 1900 to 9999. Anything else is text, kept as it stands.
ImportedValue importedValue(std::string_view value);

// Characters the value takes shown in a General column (dates as
// dd/mm/yyyy); for fitting the column to its values.
int shownLength(std::string_view value, const ImportedValue& imported);

// The format imported dates are shown in.
extern const char* const importedDateFormat;

}  // namespace zlt::excel
