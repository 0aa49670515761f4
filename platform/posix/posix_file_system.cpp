// The file system as the system gives it: descriptors rather than stdio, so
// that every failure arrives with its errno and becomes the host's number.
#include "platform/posix/posix_file_system.h"
#include "platform/run_time_error.h"
#include "platform/linux_path.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace zlt {

namespace {

class PosixInputFile : public InputFile {
public:
    PosixInputFile(int descriptor, std::int64_t size) : descriptor_(descriptor), size_(size) {}
    ~PosixInputFile() override { ::close(descriptor_); }
    std::int64_t size() const override { return size_; }
    size_t read(char* buffer, size_t size) override
    {
        for (;;) {
            const ssize_t got = ::read(descriptor_, buffer, size);
            if (got >= 0)
                return static_cast<size_t>(got);
            if (errno != EINTR)
                throw RunTimeError(error_number::DeviceIoError);
        }
    }

private:
    int descriptor_;
    std::int64_t size_;
};

class PosixOutputFile : public OutputFile {
public:
    PosixOutputFile(int descriptor, std::string path, WriteMode mode = WriteMode::Replace)
        : descriptor_(descriptor), path_(std::move(path)), appending_(mode == WriteMode::Append),
          overwriting_(mode == WriteMode::Overwrite)
    {
    }
    ~PosixOutputFile() override
    {
        if (descriptor_ >= 0) {
            if (overwriting_ && !wrote_)
                (void)::ftruncate(descriptor_, 0);
            ::close(descriptor_);
        }
    }
    // What is appended goes whole or not at all: the part a full disk let
    // through is cut off again, so the next writer never goes on from half
    // a line.
    void write(std::string_view bytes) override
    {
        const off_t start = appending_ ? ::lseek(descriptor_, 0, SEEK_END) : -1;
        while (!bytes.empty()) {
            const ssize_t done = ::write(descriptor_, bytes.data(), bytes.size());
            if (done < 0) {
                if (errno == EINTR)
                    continue;
                const int error = errno;
                if (start >= 0)
                    (void)::ftruncate(descriptor_, start);
                throw errorFromErrno(error, path_);
            }
            bytes.remove_prefix(static_cast<size_t>(done));
            written_ += done;
        }
        // The file ends where the writing got to. Cut to a length above
        // zero, it is not written out at its close.
        wrote_ = true;
        if (overwriting_ && ::ftruncate(descriptor_, written_) != 0)
            throw errorFromErrno(errno, path_);
    }
    void commit() override
    {
        if (overwriting_ && !wrote_ && ::ftruncate(descriptor_, 0) != 0)
            throw errorFromErrno(errno, path_);
        const int descriptor = descriptor_;
        descriptor_ = -1;
        const bool synced = ::fsync(descriptor) == 0 || errno == EINVAL;  // EINVAL: a device that cannot sync
        const int syncError = errno;
        if (::close(descriptor) != 0 && synced)
            throw errorFromErrno(errno, path_);
        if (!synced)
            throw errorFromErrno(syncError, path_);
    }

private:
    int descriptor_;
    std::string path_;
    bool appending_;
    bool overwriting_;
    bool wrote_ = false;
    off_t written_ = 0;
};

// ENOENT is both a missing file and a missing folder on the way to it; the
// host's tools tell the second as Path not found.
RunTimeError pathError(int error, const std::string& path)
{
    struct stat info {};
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (error == ENOENT && !folder.empty() && ::stat(folder.c_str(), &info) != 0)
        error = ENOTDIR;
    return errorFromErrno(error, path);
}

// A rename's ENOENT is the file's own, or, the file being there, the new
// name's folder's.
RunTimeError moveError(int error, const std::string& from, const std::string& to)
{
    struct stat info {};
    if (error == ENOENT && ::lstat(from.c_str(), &info) == 0)
        return errorFromErrno(ENOTDIR, to);
    return pathError(error, error == EEXIST ? to : from);
}

bool isRemovableDevice(dev_t device)
{
    // Partitions carry the flag on their whole disk, one folder up.
    const std::string base = "/sys/dev/block/" + std::to_string(major(device)) + ":" + std::to_string(minor(device));
    for (const std::string& flag : {base + "/removable", base + "/../removable"}) {
        std::ifstream in(flag);
        char value = '0';
        if (in >> value)
            return value == '1';
    }
    return false;
}

// A rename in the folder is on disk once this returns.
void syncFolder(const std::string& folder)
{
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// A new file beside `target`, named after it and this process, to be put in
// its place once whole; a name another run has taken is skipped, never
// overwritten.
struct FileBeside {
    int descriptor;
    std::string path;
};
FileBeside createBeside(const std::string& target, mode_t mode)
{
    const std::string folder = parentFolder(target);
    const std::string stem =
        joinPath(folder.empty() ? "." : folder, "." + fileNameOf(target) + "~" + std::to_string(::getpid()) + "-");
    for (int attempt = 1;; ++attempt) {
        std::string path = stem + std::to_string(attempt);
        const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor >= 0)
            return {descriptor, std::move(path)};
        if (errno != EEXIST || attempt == 100)
            throw pathError(errno, target);
    }
}

// Fills the new file, syncs it, renames it to `target` and syncs the
// folder: `target` is the old file or the new one whole, never a part. A
// failure removes the new file.
template <typename Fill>
void putInPlace(const FileBeside& beside, const std::string& target, Fill fill)
{
    PosixOutputFile out(beside.descriptor, target);
    try {
        fill(out);
        out.commit();
        if (::rename(beside.path.c_str(), target.c_str()) != 0)
            throw pathError(errno, target);
    } catch (...) {
        ::unlink(beside.path.c_str());
        throw;
    }
    const std::string folder = parentFolder(target);
    syncFolder(folder.empty() ? "." : folder);
}

// The file at `from` put at `to` on another file system as mv puts it
// there: copied with its permissions and times into a new file beside `to`,
// which then takes its place.
void copyToOtherFileSystem(const std::string& from, const std::string& to)
{
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0)
        throw pathError(errno, from);
    PosixInputFile in(source, 0);
    struct stat info {};
    if (::fstat(source, &info) != 0)
        throw errorFromErrno(errno, from);
    const FileBeside copy = createBeside(to, 0600);
    putInPlace(copy, to, [&](PosixOutputFile& out) {
        char buffer[65536];
        for (size_t got; (got = in.read(buffer, sizeof buffer)) > 0;)
            out.write({buffer, got});
        const timespec times[2] = {info.st_atim, info.st_mtim};
        if (::fchmod(copy.descriptor, info.st_mode & 07777) != 0 || ::futimens(copy.descriptor, times) != 0)
            throw errorFromErrno(errno, to);
    });
}

class PosixFileSystem : public FileSystem {
public:
    std::unique_ptr<InputFile> openRead(const std::string& path) override
    {
        refuseNulInPath(path);
        const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (descriptor < 0)
            throw pathError(errno, path);
        struct stat info {};
        if (::fstat(descriptor, &info) != 0 || S_ISDIR(info.st_mode)) {
            const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
            ::close(descriptor);
            throw errorFromErrno(error, path);
        }
        return std::make_unique<PosixInputFile>(descriptor, static_cast<std::int64_t>(info.st_size));
    }

    std::unique_ptr<OutputFile> openWrite(const std::string& path, WriteMode mode) override
    {
        refuseNulInPath(path);
        int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
        flags |= mode == WriteMode::CreateNew ? O_EXCL : mode == WriteMode::Replace ? O_TRUNC : mode == WriteMode::Append ? O_APPEND : 0;
        const int descriptor = ::open(path.c_str(), flags, 0666);
        if (descriptor < 0)
            throw pathError(errno, path);
        return std::make_unique<PosixOutputFile>(descriptor, path, mode);
    }

    EntryStatus status(const std::string& path) override
    {
        EntryStatus result;
        struct stat info {};
        if (path.find('\0') != std::string::npos || ::lstat(path.c_str(), &info) != 0)
            return result;
        result.symbolicLink = S_ISLNK(info.st_mode);
        if (result.symbolicLink && ::stat(path.c_str(), &info) != 0)
            return result;
        result.kind = S_ISREG(info.st_mode) ? EntryKind::File : S_ISDIR(info.st_mode) ? EntryKind::Folder : EntryKind::Other;
        result.writable = (info.st_mode & S_IWUSR) != 0;
        result.size = static_cast<std::int64_t>(info.st_size);
        result.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
        return result;
    }

    bool mayWrite(const std::string& path) override
    {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
               ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
    }

    std::vector<std::string> list(const std::string& folder) override
    {
        std::vector<std::string> names;
        DIR* dir = folder.find('\0') == std::string::npos ? ::opendir(folder.c_str()) : nullptr;
        if (dir == nullptr)
            return names;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name(entry->d_name);
            if (name != "." && name != "..")
                names.emplace_back(name);
        }
        ::closedir(dir);
        return names;
    }

    // Across file systems as mv moves: the copy is whole at the new name
    // before the original goes, so a failure never loses both.
    void move(const std::string& from, const std::string& to) override
    {
        refuseNulInPath(from);
        refuseNulInPath(to);
        if (::rename(from.c_str(), to.c_str()) == 0)
            return;
        const int error = errno;
        if (error != EXDEV)
            throw moveError(error, from, to);
        copyToOtherFileSystem(from, to);
        if (::unlink(from.c_str()) != 0)
            throw pathError(errno, from);
    }

    void moveToFreeName(const std::string& from, const std::string& to) override
    {
        refuseNulInPath(from);
        refuseNulInPath(to);
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return;
        if (errno != EINVAL && errno != ENOSYS)
            throw moveError(errno, from, to);
        // A file system without the no-replace rename: a hard link refuses
        // a taken name just the same.
        if (::link(from.c_str(), to.c_str()) != 0)
            throw moveError(errno, from, to);
        ::unlink(from.c_str());
    }

    void remove(const std::string& path) override
    {
        refuseNulInPath(path);
        if (::unlink(path.c_str()) != 0)
            throw pathError(errno, path);
    }

    // The old file's owner, group and mode go to the new one before it
    // takes the name, or it does not take it; a link is followed, so the
    // file it names is replaced, not the link. The folder is synced too: the
    // rename itself is on disk.
    void replaceContent(const std::string& path, std::string_view bytes) override
    {
        refuseNulInPath(path);
        std::string target = path;
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
        struct stat old {};
        const bool existed = ::stat(target.c_str(), &old) == 0;
        if (existed && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            throw errorFromErrno(errno, target);
        // A new file gets what the umask allows, as any file made here.
        const FileBeside beside = createBeside(target, 0666);
        putInPlace(beside, target, [&](PosixOutputFile& out) {
            // The owner first: a change of owner clears set-id bits.
            if (existed && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
                ::fchown(beside.descriptor, old.st_uid, old.st_gid) != 0)
                throw errorFromErrno(errno, target);
            if (existed && ::fchmod(beside.descriptor, old.st_mode & 07777) != 0)
                throw errorFromErrno(errno, target);
            out.write(bytes);
        });
    }

    void createFolders(const std::string& path) override
    {
        refuseNulInPath(path);
        std::error_code ec;
        std::filesystem::create_directories(path, ec);
        if (ec)
            throw errorFromErrno(ec.value(), path);
    }

    std::string currentDirectory() override
    {
        std::error_code ec;
        const auto here = std::filesystem::current_path(ec);
        return ec ? std::string("/") : here.string();
    }

    std::string canonical(const std::string& path) override
    {
        std::error_code ec;
        const auto result = std::filesystem::weakly_canonical(path, ec);
        return ec ? std::filesystem::path(path).lexically_normal().string() : result.string();
    }

    DriveType driveType(const std::string& path) override
    {
        struct statfs fs {};
        struct stat info {};
        if (::statfs(path.c_str(), &fs) != 0 || ::stat(path.c_str(), &info) != 0)
            return DriveType::Unknown;
        switch (static_cast<unsigned long>(fs.f_type)) {
        case 0x6969:      // NFS
        case 0x517B:      // SMB
        case 0xFF534D42:  // CIFS
        case 0xFE534D42:  // SMB2
        case 0x65735546:  // FUSE: sshfs and the like
            return DriveType::Network;
        case 0x9660:      // ISO 9660
        case 0x15013346:  // UDF
            return DriveType::CdRom;
        case 0x01021994:  // tmpfs
        case 0x858458F6:  // ramfs
            return DriveType::RamDisk;
        default:
            return isRemovableDevice(info.st_dev) ? DriveType::Removable : DriveType::Fixed;
        }
    }
};

}  // namespace

std::unique_ptr<FileSystem> makeFileSystem()
{
    return std::make_unique<PosixFileSystem>();
}

}  // namespace zlt
