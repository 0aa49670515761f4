#include "platform/drive_map.h"

#include "platform/ascii.h"
#include "platform/settings.h"

#include <stdexcept>

namespace zlt {

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

}  // namespace

DriveMap DriveMap::parse(std::string_view setting, const std::string& home)
{
    if (trim(setting).empty())
        setting = "C=~/.dosemu/drive_c";
    DriveMap map;
    size_t start = 0;
    while (start <= setting.size()) {
        size_t end = setting.find(';', start);
        if (end == std::string_view::npos)
            end = setting.size();
        const std::string_view pair = trim(setting.substr(start, end - start));
        start = end + 1;
        if (pair.empty())
            continue;
        const size_t eq = pair.find('=');
        std::string_view letter = trim(pair.substr(0, eq));
        if (letter.size() == 2 && letter[1] == ':')
            letter.remove_suffix(1);
        if (eq == std::string_view::npos || letter.size() != 1 || !isAsciiLetter(letter[0]))
            throw std::invalid_argument("ZLT_DRIVES: \"" + std::string(pair) + "\" is not of the form LETTER=DIRECTORY");
        const std::string dir(trim(pair.substr(eq + 1)));
        if (dir.empty())
            throw std::invalid_argument("ZLT_DRIVES: drive " + std::string(letter) + " has no directory");
        map.drives_[upperAscii(letter[0])] = expandHome(dir, home);
    }
    return map;
}

std::optional<std::string> DriveMap::root(char letter) const
{
    const auto it = drives_.find(upperAscii(letter));
    if (it == drives_.end())
        return std::nullopt;
    return it->second;
}

}  // namespace zlt
