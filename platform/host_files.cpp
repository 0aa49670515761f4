#include "platform/host_files.h"

#include "platform/ascii.h"
#include "platform/name_folding.h"
#include "platform/run_time_error.h"
#include "platform/linux_path.h"

namespace zlt {

namespace {

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

bool isInside(const std::string& path, const std::string& root)
{
    if (root == "/")
        return true;
    return path.compare(0, root.size(), root) == 0 && (path.size() == root.size() || path[root.size()] == '/');
}

}  // namespace

bool HostFiles::matchName(std::string& path, std::size_t nameAt)
{
    if (files_.status(path).kind != EntryKind::Missing)
        return true;
    const std::string_view name = std::string_view(path).substr(nameAt);
    // The name in the host's code page, or (from a Linux file dialog) UTF-8.
    const std::u32string key = hostNameKey(name, codePage_);
    const std::u32string utf8Key = diskNameKey(name);
    if (key.empty())
        return false;
    std::string found;
    for (const std::string& entry : files_.list(path.substr(0, nameAt <= 1 ? nameAt : nameAt - 1))) {
        const std::u32string entryKey = diskNameKey(entry);
        if (entryKey != key && (utf8Key.empty() || entryKey != utf8Key) && hostNameKey(entry, codePage_) != key)
            continue;
        // Prefer the entry spelt like the DOS name without its dots.
        if (name.substr(0, entry.size()) == entry && name.find_first_not_of(". ", entry.size()) == std::string::npos) {
            found = entry;
            break;
        }
        if (found.empty() || entry < found)
            found = entry;
    }
    if (found.empty())
        return false;
    path.replace(nameAt, std::string::npos, found);
    return true;
}

// floor: how far ".." may climb; a drive's root is its top, as on DOS. The
// path grows in place, and once a name is missing nothing below it can be on
// disk: the names after it are taken as given, unasked, until ".." climbs
// back above it. So a long path costs time in proportion to its length.
std::string HostFiles::matchNames(std::string result, const std::vector<std::string>& names, size_t floor)
{
    std::size_t missingAt = std::string::npos;  // the length of the path above the first missing name
    for (const std::string& name : names) {
        if (name == ".")
            continue;
        if (name == "..") {
            if (result.size() > floor)
                cutToParentFolder(result);
            if (missingAt != std::string::npos && result.size() <= missingAt)
                missingAt = std::string::npos;
            continue;
        }
        const std::size_t above = result.size();
        appendName(result, name);
        const std::size_t nameAt = result.size() - name.size();
        if (missingAt == std::string::npos && !matchName(result, nameAt))
            missingAt = above;
    }
    return result;
}

std::string HostFiles::resolve(std::string_view hostPath)
{
    if (!hostPath.empty() && hostPath.front() == '/') {
        // A Linux path that exists is taken as it is; one that does not may
        // still name its file the DOS way ("RPT." from a file dialog).
        const std::string linux(hostPath);
        if (files_.status(linux).kind != EntryKind::Missing)
            return linux;
        return matchNames("/", splitNames(hostPath), 1);
    }
    const bool hasDrive = hostPath.size() >= 2 && hostPath[1] == ':' && isAsciiLetter(hostPath[0]);
    if (!hasDrive && (hostPath.empty() || hostPath.front() != '\\')) {
        const std::string here = files_.currentDirectory();
        return matchNames(here, splitNames(hostPath), 1);
    }
    char letter = 'C';
    if (hasDrive) {
        letter = upperAscii(hostPath[0]);
        hostPath.remove_prefix(2);
    } else if (const char current = currentDrive()) {
        letter = current;
    }
    const auto root = drives_.root(letter);
    if (!root)
        throw RunTimeError(error_number::DeviceUnavailable,
                           std::string("Device unavailable: drive ") + letter + ": is not in ZLT_DRIVES");
    // "C:ZLT\RPT" (no root) is relative to the drive's current folder, which
    // for a mapped drive is its root.
    return matchNames(*root, splitNames(hostPath), root->size());
}

std::vector<char> HostFiles::driveLetters() const
{
    std::vector<char> letters;
    for (const auto& [letter, root] : drives_.drives())
        letters.push_back(letter);
    return letters;
}

DriveType HostFiles::driveType(char letter)
{
    const auto root = drives_.root(letter);
    return root ? files_.driveType(*root) : DriveType::Unknown;
}

bool HostFiles::isReady(char letter)
{
    const auto root = drives_.root(letter);
    return root && files_.status(*root).kind == EntryKind::Folder;
}

char HostFiles::currentDrive()
{
    const std::string here = files_.canonical(files_.currentDirectory());
    char best = 0;
    size_t bestLength = 0;
    for (const auto& [letter, root] : drives_.drives()) {
        const std::string top = files_.canonical(root);
        if (isInside(here, top) && (best == 0 || top.size() > bestLength)) {
            best = letter;
            bestLength = top.size();
        }
    }
    return best;
}

}  // namespace zlt
