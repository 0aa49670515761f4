#pragma once
// A report read line by line as text: a line ends at a CR LF pair or at a
// lone CR, and the terminator is not part of it; a lone LF stays inside the
// line; the last line needs no terminator. The end is tested before each
// line, so an empty file has no line and a final CR LF adds no empty line.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zlt::repview {

class ReportLineReader {
public:
    // Fills the buffer with up to size bytes; 0 at the end. Throws on a
    // failed read.
    using ReadBytes = std::function<size_t(char* buffer, size_t size)>;

    explicit ReportLineReader(ReadBytes read, size_t bufferSize = 1 << 16);

    bool atEnd();
    // The next line, without its terminator. The view holds until the next
    // call. Only after atEnd() said false.
    std::string_view nextLine();

private:
    bool refill();

    ReadBytes read_;
    std::vector<char> buffer_;
    size_t begin_ = 0, end_ = 0;
    std::string line_;  // a line that spans refills
};

// The lines of a whole text, by the same rule (bufferSize only changes
// where refills fall).
std::vector<std::string> reportLines(std::string_view bytes, size_t bufferSize = 1 << 16);

// CharsLoaded is a 32-bit count, as the host's tools keep it: a report
// beyond its range ends the load with RunTimeError 6 ("Overflow").
void addLoadedChars(std::int32_t& charsLoaded, size_t lineLength);

}  // namespace zlt::repview
