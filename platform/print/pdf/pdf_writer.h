#pragma once
// Writes one PDF file page by page, so memory holds one page at most. Text
// is set in the standard Courier fonts (/F1 regular, /F2 bold, /F3 oblique,
// /F4 bold oblique) in WinAnsiEncoding, which every PDF reader has.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/print/pdf/pdf_job_sink.h"
#include "platform/print/pdf/stream_compressor.h"

namespace zlt::pdf {

// Appends text, each byte mapped through byteOf, as the inside of a PDF
// literal string "(...)", escaped where the string's syntax needs it. Text
// is most of a page, so it is written into room made once.
template <class ByteOf>
void appendLiteral(std::string& out, std::string_view text, ByteOf byteOf)
{
    size_t at = out.size();
    out.resize(at + 2 * text.size());  // every byte escaped at most
    for (char c : text) {
        const char b = byteOf(c);
        if (b == '(' || b == ')' || b == '\\')
            out[at++] = '\\';
        out[at++] = b;
    }
    out.resize(at);
}

// Appends a number with two decimals whatever the numeric locale (a decimal
// comma breaks the file). Numbers are much of a page, so they are written as
// whole hundredths rather than through a general formatter.
void appendDecimal(std::string& out, double value);

class PdfWriter {
public:
    // Writes the job's bytes to the output; the output's errors (RunTimeError
    // PrinterError) come through. A writer destroyed unfinished abandons the job.
    // The compressor is the run's, lent for the job.
    PdfWriter(std::unique_ptr<PdfJobOutput> output, StreamCompressor& compressor);
    ~PdfWriter();
    PdfWriter(const PdfWriter&) = delete;
    PdfWriter& operator=(const PdfWriter&) = delete;

    // One page of the given size (points) drawn by the content stream.
    void addPage(double width, double height, std::string_view content);
    // Writes what ties the pages together and finishes the job.
    void finish(const std::string& title);
    // Nothing of the job is printed.
    void abandon() noexcept;

private:
    int beginObject(int id = 0);
    void write(std::string_view text);

    std::unique_ptr<PdfJobOutput> output_;
    StreamCompressor& compressor_;
    long offset_ = 0;
    std::vector<long> offsets_;  // by object number; 0 for not yet written
    std::vector<int> pages_;
};

}  // namespace zlt::pdf
