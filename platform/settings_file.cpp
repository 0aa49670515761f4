#include "platform/settings_file.h"

#include "platform/ascii.h"
#include "platform/text_lines.h"

namespace zlt {

namespace {

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool isName(std::string_view name)
{
    if (name.empty() || isAsciiDigit(name.front()))
        return false;
    for (const char c : name)
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != '_')
            return false;
    return true;
}

// What is wrong with one line, or "" when it was taken.
std::string applyLine(std::string_view line, Settings& settings)
{
    const auto equals = line.find('=');
    const std::string_view name = trimmed(line.substr(0, equals));
    if (equals == std::string_view::npos || !isName(name))
        return "not a NAME=value line";
    std::string_view value = trimmed(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    for (const SettingName& setting : settingNames())
        if (setting.name == name) {
            if (!setting.inFiles)
                return std::string(name) + " is taken from the environment only";
            settings.*setting.field = std::string(value);
            return {};
        }
    return "unknown setting " + std::string(name);
}

}  // namespace

void readSettingsFile(std::string_view text, const std::string& fileName, Settings& settings,
                      std::vector<std::string>& problems)
{
    int number = 0;
    for (const std::string_view whole : textLines(text)) {
        const std::string_view line = trimmed(whole);
        ++number;
        if (line.empty() || line.front() == '#')
            continue;
        const std::string problem = applyLine(line, settings);
        if (!problem.empty())
            problems.push_back(fileName + ":" + std::to_string(number) + ": " + problem + "; the line is ignored");
    }
}

}  // namespace zlt
