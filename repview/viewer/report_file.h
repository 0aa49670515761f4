#pragma once
// A report file opened for reading, closed when the object goes. Failures
// are run-time errors as the host's tools know them: 53 the file is not
// there, 70 access is denied, 75 the name is a folder, 57 a read failed.
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace zlt::repview {

class ReportFile {
public:
    explicit ReportFile(const std::filesystem::path& path);
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    // The length in bytes, as the file was opened.
    std::int64_t size() const { return size_; }
    // Up to size bytes; 0 at the end.
    size_t read(char* buffer, size_t size);

private:
    std::FILE* file_ = nullptr;
    std::int64_t size_ = 0;
};

}  // namespace zlt::repview
