#pragma once
// Test double of the file system: files and folders in memory, so tests of
// the host's paths need no temporary tree, no chdir and no clean-up.
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
        modified_[path] = ++writes_;
        if (!writable)
            readOnly_.insert(path);
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
    std::string content(const std::string& path) const
    {
        auto it = files_.find(path);
        return it == files_.end() ? std::string() : it->second;
    }

    std::unique_ptr<InputFile> openRead(const std::string& path) override
    {
        if (folders_.count(path))
            throw RunTimeError(error_number::PathFileAccessError, "Path/File access error (" + path + ")");
        auto it = files_.find(path);
        if (it == files_.end())
            throw RunTimeError(error_number::FileNotFound, "File not found (" + path + ")");
        return std::make_unique<Input>(it->second, failReadsWith);
    }

    std::unique_ptr<OutputFile> openWrite(const std::string& path, WriteMode mode) override
    {
        if (!folders_.count(parentFolder(path)))
            throw RunTimeError(error_number::PathNotFound, "Path not found (" + path + ")");
        const bool exists = files_.count(path) > 0;
        if (mode == WriteMode::CreateNew && exists)
            throw RunTimeError(error_number::FileAlreadyExists, "File already exists (" + path + ")");
        if (readOnly_.count(path))
            throw RunTimeError(error_number::PermissionDenied, "Permission denied (" + path + ")");
        std::string& file = files_[path];
        modified_[path] = ++writes_;
        if (mode != WriteMode::Append)
            file.clear();
        return std::make_unique<Output>(file, failCommitsWith);
    }

    EntryStatus status(const std::string& path) override
    {
        EntryStatus s;
        if (folders_.count(path)) {
            s.kind = EntryKind::Folder;
        } else if (auto it = files_.find(path); it != files_.end()) {
            s.kind = EntryKind::File;
            s.size = static_cast<std::int64_t>(it->second.size());
            s.writable = !readOnly_.count(path);
            s.modified = modified_.count(path) ? modified_.at(path) : 0;
        }
        return s;
    }

    bool mayWrite(const std::string& path) override { return files_.count(path) && !readOnly_.count(path); }

    std::vector<std::string> list(const std::string& folder) override
    {
        std::vector<std::string> names;
        const std::string prefix = folder == "/" ? folder : folder + "/";
        auto add = [&](const std::string& path) {
            if (path != folder && path.rfind(prefix, 0) == 0 && path.find('/', prefix.size()) == std::string::npos)
                names.push_back(path.substr(prefix.size()));
        };
        for (const auto& [path, content] : files_)
            add(path);
        for (const auto& path : folders_)
            add(path);
        return names;
    }

    void move(const std::string& from, const std::string& to) override
    {
        auto it = files_.find(from);
        if (it == files_.end())
            throw RunTimeError(error_number::FileNotFound, "File not found (" + from + ")");
        if (!folders_.count(parentFolder(to)))
            throw RunTimeError(error_number::PathNotFound, "Path not found (" + to + ")");
        files_[to] = std::move(it->second);
        files_.erase(from);
        modified_[to] = modified_[from];
        modified_.erase(from);
    }

    void moveToFreeName(const std::string& from, const std::string& to) override
    {
        if (files_.count(to) || folders_.count(to))
            throw RunTimeError(error_number::FileAlreadyExists, "File already exists (" + to + ")");
        move(from, to);
    }

    void remove(const std::string& path) override
    {
        if (!files_.erase(path))
            throw RunTimeError(error_number::FileNotFound, "File not found (" + path + ")");
        modified_.erase(path);
    }

    void createFolders(const std::string& path) override { addFolder(path); }
    std::string currentDirectory() override { return current_; }
    std::string canonical(const std::string& path) override { return path; }
    DriveType driveType(const std::string& path) override
    {
        auto it = driveTypes_.find(path);
        return it == driveTypes_.end() ? DriveType::Fixed : it->second;
    }

private:
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

    std::map<std::string, std::string> files_;
    std::set<std::string> folders_;
    std::set<std::string> readOnly_;
    // Each write is one tick later than the one before: a file's time.
    std::map<std::string, std::int64_t> modified_;
    std::int64_t writes_ = 0;
    std::map<std::string, DriveType> driveTypes_;
    std::string current_ = "/";
};

}  // namespace zlt::testing
