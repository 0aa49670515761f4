#pragma once
// The lines of host text. The host ends its lines with CR LF, but copies made
// on Linux or by old tools end them with LF or CR alone: each of the three
// ends a line, and a last line without its end counts. An empty text has no
// line.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace zlt {

std::vector<std::string_view> textLines(std::string_view text);

// The same lines read from a file in pieces into one buffer that grows only
// for a line longer than itself, so a long file never sits in memory whole.
class LineReader {
public:
    // dropEndOfFileMark: a DOS end-of-file mark (Ctrl-Z) as the file's very
    // last byte is no text. The file must outlive the reader.
    explicit LineReader(InputFile& file, bool dropEndOfFileMark = false);

    // The next line without its end, valid until the next call; false at
    // the end of the file. Read failures are the file's RunTimeErrors.
    bool next(std::string_view& line);

private:
    bool fill();

    InputFile& file_;
    const bool dropEndOfFileMark_;
    std::string buffer_;
    std::size_t begin_ = 0, end_ = 0;  // the unread bytes
    bool ended_ = false;
    bool skipLineFeed_ = false;  // a CR ended the last line: an LF right after it belongs to it
};

}  // namespace zlt
