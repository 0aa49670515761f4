#pragma once
// Test double of the file system: files and folders in memory, so tests of
// the host's paths need no temporary tree, no chdir and no clean-up. It
// answers as the system's does (tests/platform/contract_test.cpp holds both
// to one contract).
#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "platform/file_system.h"
#include "platform/linux_path.h"
#include "platform/run_time_error.h"

namespace zlt::testing {

class MemoryFileSystem : public FileSystem {
public:
    MemoryFileSystem() { folders_.insert("/"); }

    // Adds a file (and the folders above it).
    void addFile(const std::string& path, std::string content, bool writable = true)
    {
        addFolder(parentFolder(path));
        files_[path] = std::move(content);
        stamps_[path] = {++writes_, writable};
    }
    void addFolder(const std::string& path)
    {
        for (std::string p = path; folders_.insert(p).second && p != "/";)
            p = parentFolder(p);
    }
    void setCurrentDirectory(std::string path) { current_ = std::move(path); }
    void setDriveType(const std::string& root, DriveType type) { driveTypes_[root] = type; }
    // Every later read, or commit of a written file, fails with this number.
    int failReadsWith = 0;
    int failCommitsWith = 0;

    const std::map<std::string, std::string>& files() const { return files_; }
    std::string content(const std::string& path) const { return files_.count(path) ? files_.at(path) : std::string(); }

    std::unique_ptr<InputFile> openRead(const std::string& path) override
    {
        return std::make_unique<Input>(existingFile(path)->second, failReadsWith);
    }

    std::unique_ptr<OutputFile> openWrite(const std::string& path, WriteMode mode) override
    {
        refuseNulInPath(path);
        const bool exists = files_.count(path) > 0;
        if (!exists)
            checkFreeName(path);
        if (exists && (mode == WriteMode::CreateNew || !stamps_[path].writable))
            throw error(mode == WriteMode::CreateNew ? error_number::FileAlreadyExists : error_number::PermissionDenied, path);
        std::string& file = files_[path];
        stamps_[path] = {++writes_, true};
        if (mode != WriteMode::Append)
            file.clear();
        return std::make_unique<Output>(file, failCommitsWith);
    }

    EntryStatus status(const std::string& path) override
    {
        EntryStatus s;
        if (folders_.count(path)) {
            s.kind = EntryKind::Folder;
        } else if (files_.count(path) && path.find('\0') == std::string::npos) {
            s.kind = EntryKind::File;
            s.size = static_cast<std::int64_t>(files_[path].size());
            s.modified = stamps_[path].modified;
            s.writable = stamps_[path].writable;
        }
        return s;
    }

    bool mayWrite(const std::string& path) override { return files_.count(path) && stamps_[path].writable; }

    std::vector<std::string> list(const std::string& folder) override
    {
        std::vector<std::string> names;
        const std::string prefix = folder == "/" ? folder : folder + "/";
        auto add = [&](const std::string& path) {
            if (path != folder && path.starts_with(prefix) && path.find('/', prefix.size()) == std::string::npos)
                names.push_back(path.substr(prefix.size()));
        };
        for (const auto& [path, content] : files_)
            add(path);
        std::ranges::for_each(folders_, add);
        return names;
    }

    void move(const std::string& from, const std::string& to) override
    {
        refuseNulInPath(to);
        auto it = existingFile(from);
        if (from == to)
            return;
        if (!files_.count(to))
            checkFreeName(to);
        files_[to] = std::move(it->second);
        stamps_[to] = stamps_[from];
        files_.erase(from);
        stamps_.erase(from);
    }

    void moveToFreeName(const std::string& from, const std::string& to) override
    {
        if (files_.count(to) || folders_.count(to))
            throw error(error_number::FileAlreadyExists, to);
        move(from, to);
    }

    void remove(const std::string& path) override
    {
        files_.erase(existingFile(path));
        stamps_.erase(path);
    }

    void createFolders(const std::string& path) override
    {
        refuseNulInPath(path);
        for (std::string p = path; p != "/" && !p.empty(); p = parentFolder(p))
            if (files_.count(p))
                throw error(error_number::PathNotFound, path);  // a file in the way
        addFolder(path);
    }
    std::string currentDirectory() override { return current_; }
    std::string canonical(const std::string& path) override { return path; }
    DriveType driveType(const std::string& path) override
    {
        return driveTypes_.count(path) ? driveTypes_[path] : DriveType::Fixed;
    }

private:
    static RunTimeError error(int number, const std::string& path)
    {
        return RunTimeError(number, std::string(standardDescription(number)) + " (" + path + ")");
    }
    // A folder where a file is wanted is no file; a missing folder on the way is Path not found.
    std::map<std::string, std::string>::iterator existingFile(const std::string& path)
    {
        refuseNulInPath(path);
        const auto it = files_.find(path);
        if (it != files_.end())
            return it;
        checkFreeName(path);
        throw error(error_number::FileNotFound, path);
    }
    // A name a new file may take: not a folder's, in a folder that is there.
    void checkFreeName(const std::string& path) const
    {
        if (folders_.count(path))
            throw error(error_number::PathFileAccessError, path);
        if (!folders_.count(parentFolder(path)))
            throw error(error_number::PathNotFound, path);
    }
    class Input : public InputFile {
    public:
        Input(std::string content, int failWith) : content_(std::move(content)), failWith_(failWith) {}
        std::int64_t size() const override { return static_cast<std::int64_t>(content_.size()); }
        size_t read(char* buffer, size_t size) override
        {
            if (failWith_)
                throw RunTimeError(failWith_);
            const size_t n = std::min(size, content_.size() - position_);
            std::memcpy(buffer, content_.data() + position_, n);
            position_ += n;
            return n;
        }

    private:
        std::string content_;
        size_t position_ = 0;
        int failWith_;
    };

    class Output : public OutputFile {
    public:
        Output(std::string& file, int failWith) : file_(file), failWith_(failWith) {}
        void write(std::string_view bytes) override { file_.append(bytes); }
        void commit() override
        {
            if (failWith_)
                throw RunTimeError(failWith_);
        }

    private:
        std::string& file_;
        int failWith_;
    };

    struct Stamp {
        std::int64_t modified;  // each write one tick later than the one before: a file's time
        bool writable;          // the host's read-only attribute cleared
    };
    std::map<std::string, std::string> files_;
    std::map<std::string, Stamp> stamps_;
    std::int64_t writes_ = 0;
    std::set<std::string> folders_;
    std::map<std::string, DriveType> driveTypes_;
    std::string current_ = "/";
};

}  // namespace zlt::testing
