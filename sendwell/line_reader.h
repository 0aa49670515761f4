#pragma once
// A host text file read line by line in chunks, so a long mail file never
// sits in memory whole. CR LF, CR or LF ends a line; a last line without
// its end counts.
#include <memory>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace zlt::sendwell {

class LineReader {
public:
    explicit LineReader(std::unique_ptr<InputFile> file) : file_(std::move(file)) {}

    std::int64_t size() const { return file_->size(); }
    // The next line without its end; nullopt at the end of the file.
    std::optional<std::string> next();

private:
    bool fill();

    std::unique_ptr<InputFile> file_;
    std::string buffer_;
    size_t start_ = 0;
    bool ended_ = false;
    bool skipLineFeed_ = false;  // a CR ended the last line: an LF after it belongs to it
};

}  // namespace zlt::sendwell
