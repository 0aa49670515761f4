#include "jotwell/notes_command.h"

#include "platform/run_time_error.h"

namespace zlt::jotwell {

namespace {

struct NumberParts {
    bool negative = false;
    std::string whole, fraction;  // digits, as written
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

NumberParts numberParts(std::string_view text)
{
    NumberParts parts;
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        parts.negative = text[i++] == '-';
    std::string* digits = &parts.whole;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i]))
            *digits += text[i];
        else if (text[i] == '.' && digits == &parts.whole)
            digits = &parts.fraction;
        else if (!isBlank(text[i]))
            break;
    }
    return parts;
}

}  // namespace

NotesCommand splitNotesCommand(std::string_view line)
{
    const std::size_t first = line.find(',');
    const std::size_t second = first == std::string_view::npos ? first : line.find(',', first + 1);
    if (second == std::string_view::npos)
        throw RunTimeError(error_number::InvalidProcedureCall);
    NotesCommand command;
    command.notesPath = line.substr(0, first);
    command.notesFile = line.substr(first + 1, second - first - 1);
    command.notesName = line.substr(second + 1);
    command.typeCode = command.notesFile.substr(0, 2);
    command.recordNumber = leadingNumberText(command.notesFile.size() > 2 ? command.notesFile.substr(2, 6) : "");
    return command;
}

std::string leadingNumberText(std::string_view text)
{
    NumberParts parts = numberParts(text);
    parts.whole.erase(0, parts.whole.find_first_not_of('0'));
    parts.fraction.erase(parts.fraction.find_last_not_of('0') + 1);
    std::string out = parts.whole.empty() ? "0" : parts.whole;
    if (!parts.fraction.empty())
        out += "." + parts.fraction;
    return parts.negative && out != "0" ? "-" + out : out;
}

std::string headingText(const NotesCommand& command)
{
    static constexpr std::pair<std::string_view, std::string_view> Headings[] = {
        {"CS", "Customer Account ("}, {"LY", "Layby Account ("},   {"SB", "Subagent Account ("},
        {"ST", "Stock item ("},        {"CR", "Creditor Account ("},
    };
    for (const auto& [code, heading] : Headings)
        if (command.typeCode == code)
            return std::string(heading) + command.recordNumber + ") - " + command.notesName;
    return {};
}

}  // namespace zlt::jotwell
