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

std::string HostFiles::matchName(const std::string& folder, const std::string& name)
{
    const std::string exact = joinPath(folder, name);
    if (files_.status(exact).kind != EntryKind::Missing)
        return exact;
    // The name in the host's code page, or (from a Linux file dialog) UTF-8.
    const std::u32string key = hostNameKey(name, codePage_);
    const std::u32string utf8Key = diskNameKey(name);
    if (key.empty())
        return exact;
    std::string found;
    for (const std::string& entry : files_.list(folder)) {
        const std::u32string entryKey = diskNameKey(entry);
        if (entryKey != key && (utf8Key.empty() || entryKey != utf8Key) && hostNameKey(entry, codePage_) != key)
            continue;
        // Prefer the entry spelt like the DOS name without its dots.
        if (name.compare(0, entry.size(), entry) == 0 && name.find_first_not_of(". ", entry.size()) == std::string::npos)
            return joinPath(folder, entry);
        if (found.empty() || entry < found)
            found = entry;
    }
    return found.empty() ? exact : joinPath(folder, found);
}

// floor: how far ".." may climb; a drive's root is its top, as on DOS.
std::string HostFiles::matchNames(std::string result, const std::vector<std::string>& names, size_t floor)
{
    for (const std::string& name : names) {
        if (name == ".")
            continue;
        if (name == "..") {
            if (result.size() > floor)
                result = parentFolder(result);
            continue;
        }
        result = matchName(result, name);
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
