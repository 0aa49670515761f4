#include "platform/drive_map.h"

#include "platform/run_time_error.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace zlt {

namespace {

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string trim(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return std::string(s.substr(b, e - b));
}

fs::path expandHome(const std::string& dir)
{
    if (dir == "~" || dir.rfind("~/", 0) == 0) {
        const char* home = std::getenv("HOME");
        return fs::path(home ? home : "/") / dir.substr(dir.size() > 1 ? 2 : 1);
    }
    return fs::path(dir);
}

// What DOS compares: letter case folded, trailing dots and blanks dropped.
std::string dosKey(std::string_view name)
{
    size_t end = name.size();
    while (end > 0 && (name[end - 1] == '.' || name[end - 1] == ' '))
        --end;
    std::string key(name.substr(0, end));
    for (char& c : key)
        c = upperAscii(c);
    return key;
}

// The entry of folder that the DOS name means, or the name as given.
fs::path matchName(const fs::path& folder, const std::string& name)
{
    std::error_code ec;
    if (fs::exists(folder / name, ec))
        return folder / name;
    std::string key = dosKey(name);
    if (!key.empty()) {
        fs::path exact;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::string entry = it->path().filename().string();
            if (dosKey(entry) != key)
                continue;
            // Prefer the entry spelt like the DOS name without its dots.
            if (entry == std::string(name.substr(0, key.size())))
                return it->path();
            if (exact.empty())
                exact = it->path();
        }
        if (!exact.empty())
            return exact;
    }
    return folder / name;
}

std::vector<std::string> splitNames(std::string_view rest)
{
    std::vector<std::string> names;
    std::string current;
    for (char c : rest) {
        if (c == '\\' || c == '/') {
            if (!current.empty())
                names.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        names.push_back(current);
    return names;
}

}  // namespace

DriveMap DriveMap::parse(std::string_view spec)
{
    DriveMap map;
    size_t start = 0;
    while (start <= spec.size()) {
        size_t end = spec.find(';', start);
        if (end == std::string_view::npos)
            end = spec.size();
        std::string pair = trim(spec.substr(start, end - start));
        start = end + 1;
        if (pair.empty())
            continue;
        size_t eq = pair.find('=');
        std::string letter = eq == std::string::npos ? pair : trim(std::string_view(pair).substr(0, eq));
        if (letter.size() == 2 && letter[1] == ':')
            letter.pop_back();
        if (eq == std::string::npos || letter.size() != 1 || !std::isalpha(static_cast<unsigned char>(letter[0])))
            throw std::invalid_argument("ZLT_DRIVES: \"" + pair + "\" is not of the form LETTER=DIRECTORY");
        std::string dir = trim(std::string_view(pair).substr(eq + 1));
        if (dir.empty())
            throw std::invalid_argument("ZLT_DRIVES: drive " + letter + " has no directory");
        map.drives_[upperAscii(letter[0])] = expandHome(dir);
    }
    return map;
}

DriveMap DriveMap::fromEnvironment()
{
    const char* value = std::getenv("ZLT_DRIVES");
    if (value == nullptr || *value == '\0')
        return parse("C=~/.dosemu/drive_c");
    return parse(value);
}

std::optional<fs::path> DriveMap::root(char letter) const
{
    auto it = drives_.find(upperAscii(letter));
    if (it == drives_.end())
        return std::nullopt;
    return it->second;
}

char DriveMap::driveOf(const fs::path& folder) const
{
    fs::path target = fs::weakly_canonical(folder);
    char best = 0;
    size_t bestLength = 0;
    for (const auto& [letter, root] : drives_) {
        std::error_code ec;
        fs::path r = fs::weakly_canonical(root, ec);
        if (ec)
            continue;
        auto rel = target.lexically_relative(r);
        if (rel.empty() || *rel.begin() == "..")
            continue;
        size_t length = r.native().size();
        if (best == 0 || length > bestLength) {
            best = letter;
            bestLength = length;
        }
    }
    return best;
}

namespace {

fs::path matchNames(fs::path result, const std::vector<std::string>& names)
{
    for (const std::string& name : names) {
        if (name == ".")
            continue;
        if (name == "..") {
            result = result.parent_path();
            continue;
        }
        result = matchName(result, name);
    }
    return result;
}

}  // namespace

fs::path resolveHostPath(const DriveMap& drives, std::string_view hostPath)
{
    if (!hostPath.empty() && hostPath[0] == '/') {
        // A Linux path that exists is taken as it is; one that does not may
        // still name its file the DOS way ("RPT." from a file dialog).
        fs::path linux{std::string(hostPath)};
        std::error_code ec;
        if (fs::exists(linux, ec))
            return linux;
        std::vector<std::string> names;
        for (const auto& part : linux.relative_path())
            names.push_back(part.string());
        return matchNames("/", names);
    }

    fs::path base;
    std::string_view rest = hostPath;
    bool hasDrive = hostPath.size() >= 2 && hostPath[1] == ':' && std::isalpha(static_cast<unsigned char>(hostPath[0]));
    if (hasDrive || (!hostPath.empty() && hostPath[0] == '\\')) {
        char letter = 'C';
        if (hasDrive) {
            letter = upperAscii(hostPath[0]);
            rest.remove_prefix(2);
        } else {
            std::error_code ec;
            char current = drives.driveOf(fs::current_path(ec));
            if (current != 0)
                letter = current;
        }
        auto root = drives.root(letter);
        if (!root)
            throw RunTimeError(error_number::DeviceUnavailable, std::string("Device unavailable: drive ") + letter + ": is not in ZLT_DRIVES");
        // "C:ZLT\RPT" (no root) is relative to the drive's current folder,
        // which for a mapped drive is its root.
        base = *root;
    } else {
        std::error_code ec;
        base = fs::current_path(ec);
    }
    return matchNames(base, splitNames(rest));
}

}  // namespace zlt
