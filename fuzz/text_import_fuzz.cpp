// Any bytes as an export's data file, imported as tabulo imports it (commas,
// quotes, the DOS end-of-file mark): the records are the same however the
// file's reads split it, every value becomes an empty cell, a finite
// number, a calendar date or text, and shows in a width of its own.
#include <cmath>
#include <string>
#include <vector>

#include "engines/spreadsheet/excel/text_import.h"
#include "fuzz/fuzz_input.h"

using zlt::excel::ImportedValue;

namespace {

std::vector<std::vector<std::string>> records(std::string_view bytes, std::size_t longestRead, bool consecutive)
{
    zlt::excel::TextImportOptions options;
    options.delimiters[','] = true;
    options.consecutiveDelimiters = consecutive;
    zlt::fuzz::ChunkedFile file(bytes, longestRead);
    zlt::excel::DelimitedTextReader reader(file, options);
    std::vector<std::vector<std::string>> out;
    for (std::vector<std::string_view> values; reader.next(values);)
        out.emplace_back(values.begin(), values.end());
    return out;
}

bool isCalendarDate(const zlt::CalendarDate& date)
{
    constexpr int Days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
    return date.year >= 1900 && date.year <= 9999 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= (date.month == 2 && !leap ? 28 : Days[date.month - 1]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = zlt::fuzz::textOf(data, size);
    const bool consecutive = size % 2 == 1;
    const auto whole = records(bytes, 0, consecutive);
    FUZZ_CHECK(records(bytes, 5, consecutive) == whole);
    for (const auto& record : whole) {
        for (const std::string& value : record) {
            const ImportedValue imported = zlt::excel::importedValue(value);
            FUZZ_CHECK(imported.kind != ImportedValue::Kind::Number || std::isfinite(imported.number));
            FUZZ_CHECK(imported.kind != ImportedValue::Kind::Date || isCalendarDate(imported.date));
            FUZZ_CHECK(imported.kind != ImportedValue::Kind::Empty || value.empty());
            FUZZ_CHECK(zlt::excel::shownLength(value, imported) >= 0);
        }
    }
    return 0;
}
