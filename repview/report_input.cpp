#include "repview/report_input.h"

#include "platform/run_time_error.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace zlt::repview {

std::string_view TextReportInput::read(size_t n)
{
    std::string_view part = text_.substr(std::min(pos_, text_.size()), n);
    pos_ += part.size();
    return part;
}

namespace {
constexpr size_t BufferSize = 1 << 16;
}

FileReportInput::FileReportInput(const std::filesystem::path& path) : buffer_(BufferSize)
{
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        int err = errno;
        std::string where = " (" + path.string() + ")";
        if (err == EACCES || err == EPERM)
            throw RunTimeError(error_number::PermissionDenied, "Permission denied" + where);
        if (err == ENOENT)
            throw RunTimeError(error_number::FileNotFound, "File not found" + where);
        throw RunTimeError(error_number::PathFileAccessError, "Path/File access error" + where + ": " + std::strerror(err));
    }
    struct stat info {};
    if (fstat(fileno(file_), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(file_);
        file_ = nullptr;
        throw RunTimeError(error_number::PathFileAccessError, "Path/File access error (" + path.string() + " is a folder)");
    }
}

FileReportInput::~FileReportInput()
{
    if (file_ != nullptr)
        std::fclose(file_);
}

void FileReportInput::refill()
{
    if (eof_)
        return;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
    end_ += got;
    if (got == 0) {
        if (std::ferror(file_))
            throw RunTimeError(57, "Device I/O error while reading the report");
        eof_ = true;
    }
}

std::string_view FileReportInput::read(size_t n)
{
    if (end_ - begin_ < n)
        refill();
    size_t count = std::min(n, end_ - begin_);
    std::string_view part(buffer_.data() + begin_, count);
    begin_ += count;
    return part;
}

bool FileReportInput::usedUp()
{
    if (begin_ < end_)
        return false;
    refill();
    return begin_ >= end_;
}

}  // namespace zlt::repview
