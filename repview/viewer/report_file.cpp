#include "repview/viewer/report_file.h"

#include "platform/run_time_error.h"

#include <cerrno>
#include <sys/stat.h>

namespace zlt::repview {

namespace {

[[noreturn]] void fail(int error, const std::filesystem::path& path)
{
    using namespace error_number;
    int number = error == ENOENT || error == ENOTDIR ? FileNotFound
                 : error == EACCES || error == EPERM ? PermissionDenied
                                                     : PathFileAccessError;
    const char* what = number == FileNotFound ? "File not found" : number == PermissionDenied ? "Permission denied"
                                                                                               : "Path/File access error";
    throw RunTimeError(number, std::string(what) + ": " + path.string());
}

}  // namespace

ReportFile::ReportFile(const std::filesystem::path& path)
{
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr)
        fail(errno, path);
    struct stat info {};
    if (fstat(fileno(file_), &info) != 0 || S_ISDIR(info.st_mode)) {
        int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        std::fclose(file_);
        file_ = nullptr;
        fail(error, path);
    }
    size_ = static_cast<std::int64_t>(info.st_size);
}

ReportFile::~ReportFile()
{
    if (file_ != nullptr)
        std::fclose(file_);
}

size_t ReportFile::read(char* buffer, size_t size)
{
    size_t n = std::fread(buffer, 1, size, file_);
    if (n == 0 && std::ferror(file_))
        throw RunTimeError(57, "Device I/O error");
    return n;
}

}  // namespace zlt::repview
