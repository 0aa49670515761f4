#include "sendwell/line_reader.h"

namespace zlt::sendwell {

bool LineReader::fill()
{
    if (ended_)
        return false;
    buffer_.erase(0, start_);
    start_ = 0;
    char chunk[65536];
    const size_t got = file_->read(chunk, sizeof chunk);
    if (got == 0) {
        ended_ = true;
        return false;
    }
    buffer_.append(chunk, got);
    return true;
}

std::optional<std::string> LineReader::next()
{
    if (skipLineFeed_) {
        skipLineFeed_ = false;
        if (start_ >= buffer_.size())
            fill();
        if (start_ < buffer_.size() && buffer_[start_] == '\n')
            ++start_;
    }
    for (size_t searched = start_;;) {
        const size_t end = buffer_.find_first_of("\r\n", searched);
        if (end != std::string::npos) {
            std::string line = buffer_.substr(start_, end - start_);
            start_ = end + 1;
            skipLineFeed_ = buffer_[end] == '\r';
            return line;
        }
        const size_t seen = buffer_.size() - start_;
        if (!fill()) {
            if (start_ >= buffer_.size())
                return std::nullopt;
            std::string line = buffer_.substr(start_);
            start_ = buffer_.size();
            return line;
        }
        searched = seen;  // a fill starts the buffer at the line
    }
}

}  // namespace zlt::sendwell
