#include "platform/text_lines.h"

#include <cstring>

namespace zlt {

namespace {

constexpr std::size_t Block = 1 << 16;
constexpr char EndOfFileMark = '\x1A';

// The first CR or LF in [begin, end); most lines hold no CR.
const char* lineEnd(const char* begin, const char* end)
{
    const auto size = static_cast<std::size_t>(end - begin);
    const char* lf = static_cast<const char*>(std::memchr(begin, '\n', size));
    const char* cr = static_cast<const char*>(std::memchr(begin, '\r', lf ? static_cast<std::size_t>(lf - begin) : size));
    return cr ? cr : lf;
}

}  // namespace

std::vector<std::string_view> textLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    const char* at = text.data();
    const char* const stop = text.data() + text.size();
    while (at < stop) {
        const char* end = lineEnd(at, stop);
        if (end == nullptr) {
            lines.emplace_back(at, static_cast<std::size_t>(stop - at));
            break;
        }
        lines.emplace_back(at, static_cast<std::size_t>(end - at));
        at = end + (*end == '\r' && end + 1 < stop && end[1] == '\n' ? 2 : 1);
    }
    return lines;
}

LineReader::LineReader(InputFile& file, bool dropEndOfFileMark)
    : file_(file), dropEndOfFileMark_(dropEndOfFileMark), buffer_(Block, '\0')
{
}

bool LineReader::fill()
{
    if (ended_)
        return false;
    // The unread bytes move to the front; a line longer than the buffer grows it.
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    if (end_ == buffer_.size())
        buffer_.resize(buffer_.size() * 2);
    const std::size_t got = file_.read(buffer_.data() + end_, buffer_.size() - end_);
    end_ += got;
    if (got == 0) {
        ended_ = true;
        if (dropEndOfFileMark_ && end_ > begin_ && buffer_[end_ - 1] == EndOfFileMark)
            --end_;
    }
    return got > 0;
}

bool LineReader::next(std::string_view& line)
{
    for (std::size_t searched = begin_;;) {
        if (skipLineFeed_ && begin_ < end_) {
            skipLineFeed_ = false;
            if (buffer_[begin_] == '\n')
                searched = ++begin_;
        }
        const char* data = buffer_.data();
        if (const char* end = lineEnd(data + searched, data + end_)) {
            line = std::string_view(data + begin_, static_cast<std::size_t>(end - (data + begin_)));
            begin_ = static_cast<std::size_t>(end - data) + 1;
            skipLineFeed_ = *end == '\r';
            return true;
        }
        const std::size_t seen = end_ - begin_;
        if (!fill()) {
            if (begin_ == end_)
                return false;
            line = std::string_view(buffer_.data() + begin_, end_ - begin_);
            begin_ = end_;
            return true;
        }
        searched = begin_ + seen;  // a fill moves the unread bytes to the front
    }
}

}  // namespace zlt
