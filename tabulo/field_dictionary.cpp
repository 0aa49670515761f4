#include "tabulo/field_dictionary.h"

#include "common/leading_number.h"
#include "platform/text_lines.h"

namespace zlt::tabulo {

namespace {

// Positions `first` to `last` (from 1) of the line, as far as it reaches.
// Old DOS programs pad fixed-width fields with NULs, which are no text: the
// data reader drops them too.
std::string positions(std::string_view line, std::size_t first, std::size_t last)
{
    if (line.size() < first)
        return {};
    std::string text(line.substr(first - 1, last - first + 1));
    std::erase(text, '\0');
    return text;
}

// A fixed-length text field: cut or padded with spaces.
std::string padded(std::string_view text, std::size_t length)
{
    std::string out(text.substr(0, length));
    out.resize(length, ' ');
    return out;
}

FieldRecord fieldRecordOf(std::string_view line)
{
    FieldRecord record;
    record.name = padded(positions(line, 8, 37), 30);
    record.width = roundedToInteger(leadingNumber(positions(line, 46, 52)));
    record.type = padded(positions(line, 39, 45), 7);
    return record;
}

}  // namespace

FieldDictionary readFieldDictionary(std::string_view text)
{
    FieldDictionary dictionary;
    try {
        for (const std::string_view line : textLines(text)) {
            const int number = roundedToInteger(leadingNumber(positions(line, 1, 3)));
            if (number <= 0)
                continue;
            if (number > LastFieldNumber)
                throw RunTimeError(error_number::SubscriptOutOfRange);
            dictionary.fields.push_back({number, fieldRecordOf(line)});
        }
    } catch (const RunTimeError& error) {
        dictionary.stop = error;
    }
    return dictionary;
}

}  // namespace zlt::tabulo
