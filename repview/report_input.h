#pragma once
// The characters of one print run: a report file read as bytes, or a text
// handed over by the viewer. Each byte is one character.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace zlt::repview {

class ReportInput {
public:
    virtual ~ReportInput() = default;
    // Up to n next characters; fewer near the end, none once used up. The
    // view holds until the next read.
    virtual std::string_view read(size_t n) = 0;
    virtual bool usedUp() = 0;
};

class TextReportInput : public ReportInput {
public:
    explicit TextReportInput(std::string_view text) : text_(text) {}
    std::string_view read(size_t n) override;
    bool usedUp() override { return pos_ >= text_.size(); }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

// Streams an open report file through a fixed buffer, so memory does not
// grow with the report; read(n) gives n characters until the file ends,
// however the file's reads split it. A failed read raises DeviceIoError.
class FileReportInput : public ReportInput {
public:
    explicit FileReportInput(std::unique_ptr<InputFile> file);

    std::string_view read(size_t n) override;
    bool usedUp() override;

private:
    void refill();

    std::unique_ptr<InputFile> file_;
    std::vector<char> buffer_;
    size_t begin_ = 0;
    size_t end_ = 0;
    bool eof_ = false;
};

}  // namespace zlt::repview
