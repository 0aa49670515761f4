#include "common/registry/key_path.h"

#include <array>
#include <utility>

#include "platform/ascii.h"

namespace zlt::registry {

namespace {

// (short form, full name); the full name also stands for itself.
constexpr std::array<std::pair<std::string_view, std::string_view>, 6> Roots = {{
    {"HKCR", "HKEY_CLASSES_ROOT"},
    {"HKCU", "HKEY_CURRENT_USER"},
    {"HKLM", "HKEY_LOCAL_MACHINE"},
    {"HKU", "HKEY_USERS"},
    {"HKCC", "HKEY_CURRENT_CONFIG"},
    {"HKDD", "HKEY_DYN_DATA"},
}};

std::optional<std::string> fullRootName(std::string_view name)
{
    const std::string folded = foldName(name);
    for (const auto& [shortForm, fullName] : Roots) {
        if (folded == foldName(shortForm) || folded == foldName(fullName))
            return std::string(fullName);
    }
    return std::nullopt;
}

}  // namespace

std::string foldName(std::string_view name)
{
    return upperAscii(name);
}

std::optional<std::vector<std::string>> splitKeyPath(std::string_view path)
{
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            names.emplace_back(path.substr(start, end - start));
        if (names.size() > MaxKeyDepth)
            return std::nullopt;
        start = end + 1;
    }
    if (names.empty())
        return std::nullopt;
    std::optional<std::string> root = fullRootName(names.front());
    if (!root)
        return std::nullopt;
    names.front() = std::move(*root);
    return names;
}

std::string joinKeyPath(const std::vector<std::string>& names)
{
    std::string path;
    for (const std::string& name : names) {
        if (!path.empty())
            path += '\\';
        path += name;
    }
    return path;
}

}  // namespace zlt::registry
