#include "repview/report_input.h"

#include <algorithm>
#include <cstring>

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

FileReportInput::FileReportInput(std::unique_ptr<InputFile> file) : file_(std::move(file)), buffer_(BufferSize)
{
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
    const size_t got = file_->read(buffer_.data() + end_, buffer_.size() - end_);
    end_ += got;
    if (got == 0)
        eof_ = true;
}

std::string_view FileReportInput::read(size_t n)
{
    // A pipe, or a file still being written, may give fewer bytes than asked:
    // a code must not be cut where a read happened to end.
    while (end_ - begin_ < n && !eof_)
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
