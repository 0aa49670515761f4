#include "platform/print/pdf/pdf_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace zlt::pdf {

namespace {

// Fixed object numbers; pages and their contents follow.
constexpr int CatalogObject = 1;
constexpr int PagesObject = 2;
constexpr int FirstFontObject = 3;
constexpr const char* FontNames[4] = {"Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique"};
constexpr int FirstFreeObject = FirstFontObject + 4;

std::string escapeText(const std::string& text)
{
    std::string out;
    appendLiteral(out, text, [](char c) { return c; });
    return out;
}

}  // namespace

void appendDecimal(std::string& out, double value)
{
    if (!(std::fabs(value) < 1e15)) {  // beyond whole hundredths; no page holds such a number
        char text[400];
        out.append(text, std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr);
        return;
    }
    long long hundredths = std::llround(value * 100);
    char text[24];
    char* const end = text + sizeof text;
    char* at = end;
    const long long magnitude = hundredths < 0 ? -hundredths : hundredths;
    *--at = static_cast<char>('0' + magnitude % 10);
    *--at = static_cast<char>('0' + magnitude / 10 % 10);
    *--at = '.';
    long long whole = magnitude / 100;
    do
        *--at = static_cast<char>('0' + whole % 10);
    while ((whole /= 10) != 0);
    if (hundredths < 0)
        *--at = '-';
    out.append(at, end);
}

PdfWriter::PdfWriter(std::unique_ptr<PdfJobOutput> output, StreamCompressor& compressor)
    : output_(std::move(output)), compressor_(compressor), offsets_(FirstFreeObject, 0)
{
    write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

PdfWriter::~PdfWriter() { abandon(); }

void PdfWriter::write(std::string_view text)
{
    output_->write(text);
    offset_ += static_cast<long>(text.size());
}

int PdfWriter::beginObject(int id)
{
    if (id == 0) {
        id = static_cast<int>(offsets_.size());
        offsets_.push_back(0);
    }
    offsets_[id] = offset_;
    write(std::to_string(id) + " 0 obj\n");
    return id;
}

void PdfWriter::addPage(double width, double height, std::string_view content)
{
    const std::string_view packed = compressor_.compress(content);
    int contents = beginObject();
    write("<< /Length " + std::to_string(packed.size()) + " /Filter /FlateDecode >>\nstream\n");
    write(packed);
    write("\nendstream\nendobj\n");

    std::string box = "[0 0 ";
    appendDecimal(box, width);
    box += ' ';
    appendDecimal(box, height);
    box += ']';
    int page = beginObject();
    write("<< /Type /Page /Parent 2 0 R /MediaBox " + box + " /Contents " + std::to_string(contents) +
          " 0 R /Resources << /Font << /F1 3 0 R /F2 4 0 R /F3 5 0 R /F4 6 0 R >> >> >>\nendobj\n");
    pages_.push_back(page);
}

void PdfWriter::finish(const std::string& title)
{
    for (int i = 0; i < 4; ++i) {
        beginObject(FirstFontObject + i);
        write(std::string("<< /Type /Font /Subtype /Type1 /BaseFont /") + FontNames[i] +
              " /Encoding /WinAnsiEncoding >>\nendobj\n");
    }
    beginObject(PagesObject);
    std::string kids;
    for (int page : pages_)
        kids += std::to_string(page) + " 0 R ";
    write("<< /Type /Pages /Count " + std::to_string(pages_.size()) + " /Kids [" + kids + "] >>\nendobj\n");
    beginObject(CatalogObject);
    write("<< /Type /Catalog /Pages 2 0 R >>\nendobj\n");
    int info = beginObject();
    write("<< /Title (" + escapeText(title) + ") /Producer (repview) >>\nendobj\n");

    long xref = offset_;
    write("xref\n0 " + std::to_string(offsets_.size()) + "\n0000000000 65535 f \n");
    for (size_t id = 1; id < offsets_.size(); ++id) {
        std::string entry = std::to_string(offsets_[id]);
        entry.insert(0, 10 - std::min<size_t>(10, entry.size()), '0');
        write(entry + " 00000 n \n");
    }
    write("trailer\n<< /Size " + std::to_string(offsets_.size()) + " /Root 1 0 R /Info " + std::to_string(info) +
          " 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n");
    // A job whose finish failed is abandoned by the destructor.
    output_->finish();
    output_.reset();
}

void PdfWriter::abandon() noexcept
{
    if (output_) {
        output_->abandon();
        output_.reset();
    }
}

}  // namespace zlt::pdf
