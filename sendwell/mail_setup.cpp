#include "sendwell/mail_setup.h"

namespace zlt::sendwell {

namespace {

const char* const QueueTail = "\\ZLT\\EMAIL\\";

}  // namespace

std::string findMailRoot(HostFiles& files)
{
    if (const char current = files.currentDrive()) {
        const std::string prefix = std::string(1, current) + ":";
        if (files.folderExists(prefix + QueueTail))
            return prefix;
    }
    for (const char letter : files.driveLetters()) {
        // Both are asked of every drive, as the drive scan always did.
        const DriveType type = files.driveType(letter);
        const bool ready = files.isReady(letter);
        const std::string prefix = std::string(1, letter) + ":";
        if ((type == DriveType::Fixed || type == DriveType::Network) && ready && files.folderExists(prefix + QueueTail))
            return prefix;
    }
    return {};
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

std::optional<std::vector<std::string>> loadMailList(HostFiles& files, const std::string& listPath)
{
    if (!files.fileExists(listPath))
        return std::nullopt;
    return splitLines(readAll(*files.openRead(listPath)));
}

bool isPlainFileName(const std::string& name)
{
    return name.find_first_not_of(". ") != std::string::npos && name.find_first_of("\\/:") == std::string::npos;
}

}  // namespace zlt::sendwell
