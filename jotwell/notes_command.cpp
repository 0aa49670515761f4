#include "jotwell/notes_command.h"

#include <charconv>

#include "common/leading_number.h"
#include "platform/ascii.h"
#include "platform/run_time_error.h"

namespace zlt::jotwell {

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
    // Written as the host's tools write a number: its shortest digits, no "-0".
    const double value = leadingNumber(text);
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value == 0 ? 0.0 : value).ptr;
    return upperAscii(std::string_view(digits, static_cast<std::size_t>(end - digits)));
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
