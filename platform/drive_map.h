#pragma once
// DOS drive letters mapped to Linux folders, and DOS paths resolved through
// them. DOS names are case-blind, so each name of a path is matched
// case-insensitively against what exists.
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace zlt {

class DriveMap {
public:
    // The map in ZLT_DRIVES, or the default "C=~/.dosemu/drive_c" when the
    // variable is unset or empty. Throws std::invalid_argument on a bad value.
    static DriveMap fromEnvironment();

    // "C=/srv/dos/c;F=/mnt/shop": letter=directory pairs separated by ';'.
    // A leading "~/" in a directory means the home folder.
    static DriveMap parse(std::string_view spec);

    std::optional<std::filesystem::path> root(char letter) const;
    const std::map<char, std::filesystem::path>& drives() const { return drives_; }

    // The drive whose mapped root holds the folder (the longest root that
    // does); 0 when none does.
    char driveOf(const std::filesystem::path& folder) const;

private:
    std::map<char, std::filesystem::path> drives_;
};

// Resolves a path the host gave (DOS or Linux) to the Linux path of what it
// names. "C:\ZLT\RPT." goes through the drive map; "\ZLT\RPT." is on the
// drive of the current directory (C: when the current directory is on no
// mapped drive); a Linux absolute path that exists is used as it is, one
// that does not has its names matched too; anything else is relative to the
// current directory. '\' and '/' both separate names. Names
// that exist are matched case-insensitively, trailing dots and blanks ignored
// as DOS ignores them; names that do not exist are kept as given, so the
// result may name a file still to be created.
// Throws RunTimeError 68 ("Device unavailable") for an unmapped drive letter.
std::filesystem::path resolveHostPath(const DriveMap& drives, std::string_view hostPath);

}  // namespace zlt
