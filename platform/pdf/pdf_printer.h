#pragma once
// A printer whose print jobs are PDF files written directly, one per
// document, in the standard Courier fonts. It draws EAN-13 symbols itself.
// Host text must be in a code page the standard fonts' encoding holds.
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/pdf/pdf_writer.h"
#include "platform/printer.h"

namespace zlt::pdf {

struct PaperSize {
    double width = 595.28;  // points; A4
    double height = 841.89;
    double margin = 18;     // the printable area's inset on every side
};

// PAPERSIZE, else /etc/papersize ("a4", "letter", "legal", "a5"); A4 when
// neither names a size.
PaperSize paperSizeFromEnvironment();

class PdfPrinter : public Printer {
public:
    // winAnsi: the WinAnsi byte of each host byte (see winAnsiTable).
    PdfPrinter(std::filesystem::path folder, const std::array<std::uint8_t, 256>& winAnsi, PaperSize paper = {});
    ~PdfPrinter() override;

    int fontCount() override;
    std::string fontName(int index) override;
    void setFontName(const std::string& name) override;
    void setFontSize(double points) override;
    void setBold(bool on) override;
    void setItalic(bool on) override;
    void setUnderline(bool on) override;
    void setStrikethrough(bool on) override;
    void setColour(HostColour colour) override;
    void printText(std::string_view text) override;
    void printLine(std::string_view text) override;
    void beginDocument() override;
    void endDocument() override;
    void abandonDocument() override;

private:
    void flush();
    void drawText(const std::string& text);
    void drawBarcode(const std::string& text);
    void lineBreak();
    void startPage();
    void finishPage();
    void newPageIfBelowBottom(double height);
    void fillColour();
    void appendNumber(double value);
    double lineHeight() const;

    std::filesystem::path folder_;
    std::array<std::uint8_t, 256> winAnsi_;
    PaperSize paper_;
    std::string runStamp_;
    int jobs_ = 0;

    // Current settings.
    bool barcode_ = false;
    double points_ = 10;
    bool bold_ = false, italic_ = false, underline_ = false, strikethrough_ = false;
    HostColour colour_ = 0;

    // The document, its page and the position (points from the printable
    // area's top left).
    bool documentOpen_ = false;
    std::unique_ptr<PdfWriter> writer_;
    bool pageOpen_ = false;
    std::string content_;
    HostColour pageColour_ = 0;
    double x_ = 0, y_ = 0;
    std::string run_;
};

}  // namespace zlt::pdf
