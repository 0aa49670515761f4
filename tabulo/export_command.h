#pragma once
// The export the host names on the command line:
// "ExportFilePath,ExportDictionary,ExportData[,ExportData...]".
#include <optional>
#include <string>
#include <vector>

namespace zlt::tabulo {

// Data files one export may name.
constexpr std::size_t MaxDataFiles = 200;

struct ExportCommand {
    std::string filePath;    // used exactly as given: names are appended to it
    std::string dictionary;  // empty when the line names none
    std::vector<std::string> dataFiles;  // ".PHD" appended to a name without a full stop
};

// The fields split at every comma, untrimmed. None (the operating
// instructions) for an empty line, an empty field anywhere, or more than
// MaxDataFiles data files.
std::optional<ExportCommand> exportCommandOf(const std::string& commandLine);

// The data file's name up to its first full stop: SALES.2002.PHD is SALES.
std::string sheetNameOf(const std::string& dataFile);

}  // namespace zlt::tabulo
