#pragma once
// The host's files: DOS paths ("C:\ZLT\RPT.", "\ZLT\EMAIL.TAG") resolved
// through the drive map onto a file system, and the drive questions the
// host's tools ask. Every program reaches its files through this.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"
#include "platform/drive_map.h"
#include "platform/file_system.h"

namespace zlt {

class HostFiles {
public:
    // codePage: the host's, in which names are matched case-blind as DOS
    // matched them; none: ASCII letters only.
    HostFiles(FileSystem& files, DriveMap drives, const CodePage* codePage = nullptr)
        : files_(files), drives_(std::move(drives)), codePage_(codePage)
    {
    }

    // The Linux path of what a path the host gave names. "C:\ZLT\RPT." goes
    // through the drive map; "\ZLT\RPT." is on the current directory's drive
    // (C: when the current directory is on no mapped drive); a Linux absolute
    // path that exists is used as it is, one that does not has its names
    // matched too; anything else is relative to the current directory. '\'
    // and '/' both separate names. Each name that exists is matched
    // case-blind in the host's code page (whether the name on disk is UTF-8
    // or the path is), trailing dots and blanks ignored as DOS ignores them;
    // names that do not exist are kept as given, so the result may name a
    // file still to be created. An unmapped drive letter is DeviceUnavailable.
    std::string resolve(std::string_view hostPath);

    std::unique_ptr<InputFile> openRead(std::string_view hostPath) { return files_.openRead(resolve(hostPath)); }
    std::unique_ptr<OutputFile> openWrite(std::string_view hostPath, WriteMode mode)
    {
        return files_.openWrite(resolve(hostPath), mode);
    }
    EntryStatus status(std::string_view hostPath) { return files_.status(resolve(hostPath)); }
    bool fileExists(std::string_view hostPath) { return status(hostPath).kind == EntryKind::File; }
    bool folderExists(std::string_view hostPath) { return status(hostPath).kind == EntryKind::Folder; }
    std::vector<std::string> list(std::string_view hostFolder) { return files_.list(resolve(hostFolder)); }
    void move(std::string_view from, std::string_view to) { files_.move(resolve(from), resolve(to)); }
    void remove(std::string_view hostPath) { files_.remove(resolve(hostPath)); }

    // The mapped drives, A to Z.
    std::vector<char> driveLetters() const;
    // Unknown for a drive that is not mapped.
    DriveType driveType(char letter);
    // A mapped drive whose folder is there.
    bool isReady(char letter);
    // The drive whose mapped folder holds the current directory (the
    // longest one that does); 0 when none does.
    char currentDrive();

    FileSystem& fileSystem() { return files_; }

private:
    std::string matchNames(std::string base, const std::vector<std::string>& names, size_t floor);
    // Whether the last name of path (from nameAt) is on disk, as given or
    // case-blind; a case-blind match takes the disk's spelling in place.
    bool matchName(std::string& path, std::size_t nameAt);

    FileSystem& files_;
    DriveMap drives_;
    const CodePage* codePage_;
};

}  // namespace zlt
