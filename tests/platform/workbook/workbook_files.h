#pragma once
// Files for the workbook tests: a private folder, a picture, and what the
// independent readers (openpyxl, LibreOffice) find in a written workbook.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zlt::testing {

// A fresh folder under the temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Writes a small light JPEG picture; returns its size in bytes.
std::uintmax_t writeJpeg(const std::filesystem::path& path);

// The lines read_workbook.py prints for the workbook.
std::vector<std::string> readWorkbook(const std::filesystem::path& workbook);

// The first sheet as LibreOffice shows it (en-US), as comma-separated lines.
std::vector<std::string> renderFirstSheet(const std::filesystem::path& workbook, const TempFolder& scratch);

}  // namespace zlt::testing
