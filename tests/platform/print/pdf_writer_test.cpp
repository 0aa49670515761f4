// Jobs of one run written through its one compressor: every page's stream inflates to that page's
// content, whatever came before it, and a job that fails halfway spoils none of the next.
#include "platform/print/pdf/pdf_writer.h"
#include <gtest/gtest.h>
#include <zlib.h>

namespace {
struct MemoryOutput : zlt::pdf::PdfJobOutput {
    std::string* pdf;
    size_t room;
    MemoryOutput(std::string* p, size_t r) : pdf(p), room(r) {}
    void write(std::string_view bytes) override { pdf->size() + bytes.size() > room ? throw std::runtime_error("full") : (void)pdf->append(bytes); }
    void finish() override {} void abandon() noexcept override {}
};
}  // namespace

TEST(PdfWriter, JobsShareOneCompressor)
{
    std::string noise, failed, pdf;
    for (unsigned x = 1; noise.size() < 200000; x = x * 1103515245 + 12345)
        noise += static_cast<char>(x >> 23);  // barely compressible: the largest stream
    const std::vector<std::string> pages = {"BT (a) Tj ET", noise, "", std::string(5000, 'x'), "BT (b) Tj ET"};
    zlt::pdf::StreamCompressor compressor;
    EXPECT_ANY_THROW(zlt::pdf::PdfWriter(std::make_unique<MemoryOutput>(&failed, 1000), compressor).addPage(1, 1, noise));
    for (const std::string& page : pages) {
        zlt::pdf::PdfWriter writer(std::make_unique<MemoryOutput>(&pdf, std::string::npos), compressor);
        writer.addPage(100, 100, page);
        writer.finish("t");
    }
    std::vector<std::string> inflated;
    for (size_t at = 0; (at = pdf.find("/Length ", at)) != std::string::npos;) {
        const size_t length = std::stoul(pdf.substr(at + 8)), start = pdf.find("stream\n", at) + 7;
        std::string content(300000, '\0');
        uLongf size = content.size();
        EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(content.data()), &size, reinterpret_cast<const Bytef*>(&pdf[start]), length), Z_OK);
        EXPECT_EQ(pdf.substr(start + length, 10), "\nendstream");
        inflated.push_back(content.substr(0, size)), at = start;
    }
    EXPECT_EQ(inflated, pages);
}
