#pragma once
// Writes one PDF file page by page, so memory holds one page at most. Text
// is set in the standard Courier fonts (/F1 regular, /F2 bold, /F3 oblique,
// /F4 bold oblique) in WinAnsiEncoding, which every PDF reader has.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zlt::pdf {

// Appends a character to a PDF literal string "(...)", escaped where the
// string's syntax needs it.
inline void appendLiteralCharacter(std::string& out, char c)
{
    if (c == '(' || c == ')' || c == '\\')
        out += '\\';
    out += c;
}

class PdfWriter {
public:
    // Writes to the file open on the descriptor, which it takes over.
    // Throws RunTimeError PrinterError when the file cannot be written.
    PdfWriter(std::filesystem::path path, int descriptor);
    ~PdfWriter();
    PdfWriter(const PdfWriter&) = delete;
    PdfWriter& operator=(const PdfWriter&) = delete;

    // One page of the given size (points) drawn by the content stream.
    void addPage(double width, double height, std::string_view content);
    // Writes what ties the pages together and closes the file.
    void finish(const std::string& title);
    // Closes and removes the file.
    void abandon();

    const std::filesystem::path& path() const { return path_; }

private:
    int beginObject(int id = 0);
    void write(std::string_view text);
    // reason: the system's word on it, when it gave one.
    [[noreturn]] void fail(const char* what, const std::string& reason);

    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    long offset_ = 0;
    std::vector<long> offsets_;  // by object number; 0 for not yet written
    std::vector<int> pages_;
};

}  // namespace zlt::pdf
