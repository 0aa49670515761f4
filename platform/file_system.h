#pragma once
// The file system under the drive map, on Linux paths. The real backend
// calls the system; tests use an in-memory one. Every failure is a
// RunTimeError numbered as the host's tools number it (platform/run_time_error.h).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zlt {

// A file opened for reading, closed when the object goes.
class InputFile {
public:
    virtual ~InputFile() = default;
    // The length in bytes, as the file was opened.
    virtual std::int64_t size() const = 0;
    // Up to size bytes; 0 at the end. A failed read is DeviceIoError.
    virtual size_t read(char* buffer, size_t size) = 0;
};

// The rest of the file, read to its end.
std::string readAll(InputFile& file);

// A Linux name ends at a NUL byte, so a path holding one names no file the
// host meant (the system would take "RPT\0X" as "RPT"): BadFileName, as
// DOS answered a name it could not take. Every backend refuses it so.
void refuseNulInPath(const std::string& path);

// A file opened for writing. Nothing is known to be on disk until commit()
// returns: it writes out, syncs and closes, and raises what went wrong (a
// full disk shows there). Dropping an uncommitted file closes it as it is.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual void write(std::string_view bytes) = 0;
    virtual void commit() = 0;
};

enum class WriteMode {
    CreateNew,  // fails with FileAlreadyExists when the name is taken
    Replace,    // creates or empties
    Append,     // creates or writes on at the end; each write whole or not at all
    // Creates, or writes over the file from its start, each write cutting
    // off what the file held beyond it: it ends holding what was written, as
    // with Replace, without being emptied first. ext4 writes a file emptied
    // and written again out to disk at its close (for programs that replace
    // a file without syncing it); a file written over in place waits for the
    // next writeback, so a scratch file rewritten often costs no disk write.
    Overwrite,
};

enum class EntryKind { Missing, File, Folder, Other };

struct EntryStatus {
    EntryKind kind = EntryKind::Missing;
    bool symbolicLink = false;  // the name itself is a link (to an existing entry or not)
    bool writable = true;       // the owner may write it: the host's read-only attribute
    std::int64_t size = 0;
    // When the content was last written, in nanoseconds since 1970; tells a
    // file from a later one of the same name and content.
    std::int64_t modified = 0;
};

// How the host's tools classify a drive.
enum class DriveType { Unknown, Removable, Fixed, Network, CdRom, RamDisk };

// Every operation that raises refuses a path holding a NUL byte
// (refuseNulInPath); status() sees nothing there.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual std::unique_ptr<InputFile> openRead(const std::string& path) = 0;
    virtual std::unique_ptr<OutputFile> openWrite(const std::string& path, WriteMode mode) = 0;

    // What is at the path, symbolic links followed (symbolicLink tells of
    // the name itself). Never raises: an unreadable entry is None.
    virtual EntryStatus status(const std::string& path) = 0;
    // Whether this user may write the existing file at path in place, as
    // the system decides it (permissions, owner, a read-only mount); false
    // when there is no such file.
    virtual bool mayWrite(const std::string& path) = 0;
    // The names in a folder, unsorted; none when it is no readable folder.
    virtual std::vector<std::string> list(const std::string& folder) = 0;

    // Moves a file, replacing one of the new name; to another file system
    // as mv does (a synced copy at the new name, then the original
    // removed), so that a failure never loses both.
    virtual void move(const std::string& from, const std::string& to) = 0;
    // Renames within one file system only when the new name is free:
    // FileAlreadyExists otherwise, the file keeping its old name. Two
    // programs choosing the same new name at once can never replace each
    // other's file.
    virtual void moveToFreeName(const std::string& from, const std::string& to) = 0;
    // Removes a file or a symbolic link (never a folder).
    virtual void remove(const std::string& path) = 0;
    // Creates the folder and any missing folders above it.
    virtual void createFolders(const std::string& path) = 0;

    // Makes bytes the whole content of the file at path, never leaving it
    // half written: they go to a new file in the same folder, which is
    // synced and then renamed over the old one. A failure leaves the old
    // file as it was and no new file behind. A file this user could not
    // write in place is not replaced (PermissionDenied): a rename needs only
    // the folder's permission. This one keeps no permissions; a backend that
    // can gives the new file the old one's owner, group and mode, or does
    // not replace it.
    virtual void replaceContent(const std::string& path, std::string_view bytes);

    // The current directory, without links.
    virtual std::string currentDirectory() = 0;
    // The path without links, "." or ".."; the part that does not exist is
    // taken as written.
    virtual std::string canonical(const std::string& path) = 0;
    virtual DriveType driveType(const std::string& path) = 0;
};

}  // namespace zlt
