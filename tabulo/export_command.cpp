#include "tabulo/export_command.h"

namespace zlt::tabulo {

std::optional<ExportCommand> exportCommandOf(const std::string& commandLine)
{
    ExportCommand command;
    std::size_t start = 0;
    for (int field = 0;; ++field) {
        const std::size_t comma = commandLine.find(',', start);
        std::string text = commandLine.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (text.empty())
            return std::nullopt;
        if (field == 0) {
            command.filePath = std::move(text);
        } else if (field == 1) {
            command.dictionary = std::move(text);
        } else {
            if (command.dataFiles.size() == MaxDataFiles)
                return std::nullopt;
            if (text.find('.') == std::string::npos)
                text += ".PHD";
            command.dataFiles.push_back(std::move(text));
        }
        if (comma == std::string::npos)
            return command;
        start = comma + 1;
    }
}

std::string sheetNameOf(const std::string& dataFile) { return dataFile.substr(0, dataFile.find('.')); }

}  // namespace zlt::tabulo
