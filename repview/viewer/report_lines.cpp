#include "repview/viewer/report_lines.h"

#include "platform/run_time_error.h"

#include <cstring>
#include <limits>

namespace zlt::repview {

ReportLineReader::ReportLineReader(ReadBytes read, size_t bufferSize)
    : read_(std::move(read)), buffer_(bufferSize == 0 ? 1 : bufferSize)
{
}

bool ReportLineReader::refill()
{
    begin_ = 0;
    end_ = read_(buffer_.data(), buffer_.size());
    return end_ > 0;
}

bool ReportLineReader::atEnd()
{
    return begin_ == end_ && !refill();
}

std::string_view ReportLineReader::nextLine()
{
    line_.clear();
    bool spanning = false;
    for (;;) {
        if (begin_ == end_ && !refill())
            return line_;  // the last line, without a terminator
        const char* start = buffer_.data() + begin_;
        const char* stop = buffer_.data() + end_;
        const char* cr = static_cast<const char*>(std::memchr(start, '\r', static_cast<size_t>(stop - start)));
        if (cr == nullptr) {
            line_.append(start, stop);
            begin_ = end_;
            spanning = true;
            continue;
        }
        std::string_view piece(start, static_cast<size_t>(cr - start));
        begin_ = static_cast<size_t>(cr - buffer_.data()) + 1;
        if (begin_ == end_) {
            // The LF of a CR LF pair may be in the next buffer; the piece
            // must outlive the refill that looks for it.
            if (!spanning)
                line_.assign(piece);
            else
                line_.append(piece);
            if (refill() && buffer_[begin_] == '\n')
                ++begin_;
            return line_;
        }
        if (buffer_[begin_] == '\n')
            ++begin_;
        if (!spanning)
            return piece;
        line_.append(piece);
        return line_;
    }
}

std::vector<std::string> reportLines(std::string_view bytes, size_t bufferSize)
{
    size_t pos = 0;
    ReportLineReader reader(
        [&](char* buffer, size_t size) {
            size_t n = std::min(size, bytes.size() - pos);
            std::memcpy(buffer, bytes.data() + pos, n);
            pos += n;
            return n;
        },
        bufferSize);
    std::vector<std::string> lines;
    while (!reader.atEnd())
        lines.emplace_back(reader.nextLine());
    return lines;
}

void addLoadedChars(std::int32_t& charsLoaded, size_t lineLength)
{
    constexpr auto most = static_cast<size_t>(std::numeric_limits<std::int32_t>::max());
    if (lineLength > most - static_cast<size_t>(charsLoaded))
        throw RunTimeError(error_number::Overflow);
    charsLoaded += static_cast<std::int32_t>(lineLength);
}

}  // namespace zlt::repview
