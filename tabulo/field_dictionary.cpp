#include "tabulo/field_dictionary.h"

#include "common/leading_number.h"

namespace zlt::tabulo {

namespace {

// Positions `first` to `last` (from 1) of the line, as far as it reaches.
std::string_view positions(std::string_view line, std::size_t first, std::size_t last)
{
    if (line.size() < first)
        return {};
    return line.substr(first - 1, last - first + 1);
}

// A fixed-length text field: cut or padded with spaces.
std::string padded(std::string_view text, std::size_t length)
{
    std::string out(text.substr(0, length));
    out.resize(length, ' ');
    return out;
}

}  // namespace

int fieldNumberOf(std::string_view line) { return roundedToInteger(leadingNumber(positions(line, 1, 3))); }

FieldRecord fieldRecordOf(std::string_view line)
{
    FieldRecord record;
    record.name = padded(positions(line, 8, 37), 30);
    record.width = roundedToInteger(leadingNumber(positions(line, 46, 52)));
    record.type = padded(positions(line, 39, 45), 7);
    return record;
}

std::vector<std::string_view> textLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

}  // namespace zlt::tabulo
