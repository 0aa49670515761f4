#include "sendwell/mail_setup.h"

#include <algorithm>

#include "platform/text_lines.h"

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

std::optional<std::vector<std::string>> loadMailList(HostFiles& files, const std::string& listPath)
{
    if (!files.fileExists(listPath))
        return std::nullopt;
    const std::string text = readAll(*files.openRead(listPath));
    const auto lines = textLines(text);
    return std::vector<std::string>(lines.begin(), lines.end());
}

bool isPlainFileName(const std::string& name)
{
    const bool control = std::any_of(name.begin(), name.end(), [](const char c) { return static_cast<unsigned char>(c) < ' '; });
    return !control && name.find_first_not_of(". ") != std::string::npos && name.find_first_of("\\/:") == std::string::npos;
}

std::string shownName(std::string name)
{
    std::replace_if(name.begin(), name.end(), [](const char c) { return static_cast<unsigned char>(c) < ' '; }, '?');
    return name;
}

}  // namespace zlt::sendwell
