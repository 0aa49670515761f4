#include "engines/spreadsheet/excel/text_import.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "platform/ascii.h"

namespace zlt::excel {

const char* const importedDateFormat = "dd/mm/yyyy";

DelimitedTextReader::DelimitedTextReader(InputFile& file, const TextImportOptions& options)
    : lines_(file, true), options_(options), linesToSkip_(std::max(options.startRow, 1) - 1)
{
}

bool DelimitedTextReader::next(std::vector<std::string_view>& values)
{
    std::string_view line;
    for (; linesToSkip_ > 0; --linesToSkip_)
        if (!lines_.next(line))
            return false;
    if (!lines_.next(line))
        return false;
    splitLine(line, values);
    return true;
}

void DelimitedTextReader::splitLine(std::string_view line, std::vector<std::string_view>& values)
{
    values.clear();
    unquoted_.clear();
    unquoted_.reserve(line.size());  // views into it must not move
    const auto& isDelimiter = options_.delimiters;
    auto delimiterAt = [&](std::size_t at) { return isDelimiter[static_cast<unsigned char>(line[at])]; };
    std::size_t at = 0;
    for (;;) {
        if (options_.consecutiveDelimiters)
            while (at < line.size() && delimiterAt(at) && !values.empty())
                ++at;
        if (at < line.size() && line[at] == '"') {
            // Quoted: up to the closing quote, then whatever stands before the next delimiter.
            const std::size_t start = unquoted_.size();
            for (++at; at < line.size();) {
                if (line[at] != '"') {
                    unquoted_ += line[at++];
                } else if (at + 1 < line.size() && line[at + 1] == '"') {
                    unquoted_ += '"';
                    at += 2;
                } else {
                    ++at;
                    break;
                }
            }
            for (; at < line.size() && !delimiterAt(at); ++at)
                unquoted_ += line[at];
            values.push_back(std::string_view(unquoted_).substr(start));
        } else {
            const std::size_t start = at;
            while (at < line.size() && !delimiterAt(at))
                ++at;
            values.push_back(line.substr(start, at - start));
        }
        if (at >= line.size())
            return;
        ++at;  // the delimiter
        if (at == line.size()) {
            values.emplace_back();
            return;
        }
    }
}

namespace {

// Spaces around a number are no part of it; tabs are.
std::string_view withoutSpacesAround(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// Digits with thousands separators in groups of three; the plain digits go
// to `out`. Returns how many characters it read (0: no digits).
std::size_t integerPart(std::string_view text, std::string& out)
{
    std::size_t at = 0, group = 0;
    bool separators = false;
    while (at < text.size()) {
        if (isAsciiDigit(text[at])) {
            out += text[at++];
            ++group;
        } else if (text[at] == ',' && group > 0 && (separators ? group == 3 : group <= 3) && at + 1 < text.size() &&
                   isAsciiDigit(text[at + 1])) {
            separators = true;
            group = 0;
            ++at;
        } else {
            break;
        }
    }
    if (separators && group != 3)
        return 0;
    return at;
}

bool parseNumber(std::string_view text, double& value)
{
    text = withoutSpacesAround(text);
    bool negative = false;
    if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        negative = true;
        text = withoutSpacesAround(text.substr(1, text.size() - 2));
    } else if (!text.empty() && text.back() == '-' && (text.size() < 2 || text[text.size() - 2] != 'e')) {
        negative = true;
        text = withoutSpacesAround(text.substr(0, text.size() - 1));
    }
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        if (negative)
            return false;
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 400)
        return false;
    std::string plain;
    std::size_t at = integerPart(text, plain);
    bool digits = at > 0;
    if (at < text.size() && text[at] == '.') {
        plain += text[at++];
        for (; at < text.size() && isAsciiDigit(text[at]); ++at, digits = true)
            plain += text[at];
    }
    if (!digits)
        return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        plain += 'e';
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            plain += text[at++];
        const std::size_t first = at;
        for (; at < text.size() && isAsciiDigit(text[at]); ++at)
            plain += text[at];
        if (at == first)
            return false;
    }
    if (at != text.size())
        return false;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec != std::errc() || !(value < 1e308 && value > -1e308))
        return false;
    if (negative)
        value = -value;
    return true;
}

// One to `most` digits; how many were read.
std::size_t digitsAt(std::string_view text, std::size_t at, std::size_t most, int& value)
{
    std::size_t n = 0;
    value = 0;
    for (; at + n < text.size() && n < most && isAsciiDigit(text[at + n]); ++n)
        value = value * 10 + (text[at + n] - '0');
    return n;
}

bool isCalendarDate(int year, int month, int day)
{
    static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= Days[month - 1] + (month == 2 && leap ? 1 : 0);
}

bool parseDate(std::string_view text, CalendarDate& date)
{
    text = withoutSpacesAround(text);
    int day = 0, month = 0, year = 0;
    std::size_t at = digitsAt(text, 0, 2, day);
    if (at == 0 || at >= text.size() || (text[at] != '/' && text[at] != '-'))
        return false;
    const char separator = text[at++];
    const std::size_t monthDigits = digitsAt(text, at, 2, month);
    at += monthDigits;
    if (monthDigits == 0 || at >= text.size() || text[at] != separator)
        return false;
    const std::size_t yearDigits = digitsAt(text, ++at, 4, year);
    if ((yearDigits != 2 && yearDigits != 4) || at + yearDigits != text.size())
        return false;
    if (yearDigits == 2)
        year += year < 30 ? 2000 : 1900;
    if (!isCalendarDate(year, month, day))
        return false;
    date = {year, month, day};
    return true;
}

}  // namespace

ImportedValue importedValue(std::string_view value)
{
    ImportedValue imported;
    if (value.empty())
        return imported;
    if (parseNumber(value, imported.number))
        imported.kind = ImportedValue::Kind::Number;
    else if (parseDate(value, imported.date))
        imported.kind = ImportedValue::Kind::Date;
    else
        imported.kind = ImportedValue::Kind::Text;
    return imported;
}

int shownLength(std::string_view value, const ImportedValue& imported)
{
    switch (imported.kind) {
    case ImportedValue::Kind::Empty: return 0;
    case ImportedValue::Kind::Date: return 10;
    case ImportedValue::Kind::Text: return static_cast<int>(value.size());
    case ImportedValue::Kind::Number: {
        // General shows at most eleven characters, rounding or switching to an exponent.
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, imported.number).ptr;
        return std::min(static_cast<int>(end - text), 11);
    }
    }
    return 0;
}

}  // namespace zlt::excel
