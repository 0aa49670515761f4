#pragma once
// A printer whose print jobs are PDF documents written directly, one per
// document, in the standard Courier fonts, into files or a printer's queue.
// It draws EAN-13 symbols itself. Host text must be in a code page the
// standard fonts' encoding holds.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/print/pdf/pdf_job_sink.h"
#include "platform/print/pdf/pdf_writer.h"
#include "platform/print/run_printer.h"

namespace zlt::pdf {

struct PaperSize {
    double width = 595.28;  // points; A4
    double height = 841.89;
    double margin = 18;     // the printable area's inset on every side
};

// The paper a setting names (platform/paper.h), with the margin reports
// are printed within.
PaperSize paperSizeOf(const std::string& setting);

class PdfPrinter : public RunPrinter {
public:
    // winAnsi: the WinAnsi byte of each host byte (see winAnsiTable).
    PdfPrinter(std::unique_ptr<PdfJobSink> jobs, const std::array<std::uint8_t, 256>& winAnsi, PaperSize paper = {});
    ~PdfPrinter() override;

    int fontCount() override;
    std::string fontName(int index) override;
    void endDocument() override;
    void abandonDocument() override;

private:
    void drawRun(std::string_view hostText) override;
    double lineHeight() override;

    void drawText(std::string_view hostText);
    void drawBarcode(std::string_view text);
    void startPage();
    void finishPage();
    void newPageIfBelowBottom(double height);
    void fillColour();
    void showText(int font, double size, double x, double y, std::string_view hostText);
    void fillRectangle(double x, double y, double width, double height);
    void appendNumber(double value);

    std::unique_ptr<PdfJobSink> jobs_;
    std::array<std::uint8_t, 256> winAnsi_;
    PaperSize paper_;

    StreamCompressor compressor_;  // the run's, lent to each job's writer
    std::unique_ptr<PdfWriter> writer_;
    bool pageOpen_ = false;
    std::string content_;
    HostColour pageColour_ = 0;
};

}  // namespace zlt::pdf
