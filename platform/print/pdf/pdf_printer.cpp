#include "platform/print/pdf/pdf_printer.h"

#include "platform/paper.h"
#include "platform/print/ean13_layout.h"

namespace zlt::pdf {

namespace {

// Courier's cell is 600 thousandths of the size; lines are spaced and set
// as the report font's TrueType twin sets them, so pages look the same
// whichever printer made them.
constexpr double Advance = 0.6;
constexpr double LineSpacing = 1.1328;
constexpr double Ascent = 0.8328;
// What the printer's queue shows for every job.
const std::string DocumentTitle = "Report";

}  // namespace

PaperSize paperSizeOf(const std::string& setting)
{
    const Paper sheet = paperNamed(setting);
    PaperSize paper;
    paper.width = sheet.width, paper.height = sheet.height;
    return paper;
}

PdfPrinter::PdfPrinter(std::unique_ptr<PdfJobSink> jobs, const std::array<std::uint8_t, 256>& winAnsi, PaperSize paper)
    : jobs_(std::move(jobs)), winAnsi_(winAnsi), paper_(paper)
{
}

PdfPrinter::~PdfPrinter()
{
    if (writer_)
        writer_->abandon();
}

int PdfPrinter::fontCount() { return 2; }

std::string PdfPrinter::fontName(int index) { return index == 0 ? "Courier" : std::string(BarcodeFont); }

double PdfPrinter::lineHeight() { return style().points * LineSpacing; }

void PdfPrinter::startPage()
{
    if (!writer_)
        writer_ = std::make_unique<PdfWriter>(jobs_->startJob(DocumentTitle), compressor_);
    content_.clear();
    // Text past the printable area's edges is cut off.
    content_ += "q ";
    appendNumber(paper_.margin);
    appendNumber(paper_.margin);
    appendNumber(paper_.width - 2 * paper_.margin);
    appendNumber(paper_.height - 2 * paper_.margin);
    content_ += "re W n\n";
    pageColour_ = 0;  // a page starts in black
    pageOpen_ = true;
}

void PdfPrinter::finishPage()
{
    content_ += "Q\n";
    writer_->addPage(paper_.width, paper_.height, content_);
    content_.clear();
    pageOpen_ = false;
}

void PdfPrinter::newPageIfBelowBottom(double height)
{
    if (y_ > 0 && y_ + height > paper_.height - 2 * paper_.margin) {
        finishPage();
        startPage();
        y_ = 0;
    }
}

void PdfPrinter::appendNumber(double value)
{
    appendDecimal(content_, value);
    content_ += ' ';
}

void PdfPrinter::fillColour()
{
    HostColour colour = style().colour;
    if (colour == pageColour_)
        return;
    appendNumber((colour & 0xFF) / 255.0);
    appendNumber(((colour >> 8) & 0xFF) / 255.0);
    appendNumber(((colour >> 16) & 0xFF) / 255.0);
    content_ += "rg\n";
    pageColour_ = colour;
}

// Any font but the barcode prints in Courier, the one text face the file
// carries, as a printer substitutes a font it lacks.
void PdfPrinter::drawRun(std::string_view hostText)
{
    if (!pageOpen_)
        startPage();
    if (fontIs(BarcodeFont))
        drawBarcode(hostText);
    else
        drawText(hostText);
}

void PdfPrinter::drawText(std::string_view text)
{
    const TextStyle& set = style();
    const double points = set.points;
    double width = text.size() * Advance * points;
    double printable = paper_.width - 2 * paper_.margin;
    if (x_ < printable) {
        newPageIfBelowBottom(lineHeight());
        fillColour();
        // Only what starts left of the edge is set; the clip cuts the rest.
        size_t count = text.size();
        if (x_ + width > printable)
            count = std::min(count, static_cast<size_t>((printable - x_) / (Advance * points)) + 1);
        double left = paper_.margin + x_;
        double baseline = paper_.height - paper_.margin - y_ - Ascent * points;
        showText(1 + (set.bold ? 1 : 0) + (set.italic ? 2 : 0), points, left, baseline, text.substr(0, count));
        double drawn = count * Advance * points;
        if (set.underline)
            fillRectangle(left, baseline - 0.10 * points, drawn, 0.05 * points);
        if (set.strikethrough)
            fillRectangle(left, baseline + 0.25 * points, drawn, 0.05 * points);
    }
    x_ += width;
}

void PdfPrinter::drawBarcode(std::string_view text)
{
    newPageIfBelowBottom(lineHeight());
    fillColour();
    const PlacedBarcode symbol = placeEan13Text(text, style().points, 1.0);
    double left = paper_.margin + x_;
    double top = paper_.height - paper_.margin - y_;
    for (const auto& bar : symbol.bars)
        fillRectangle(left + bar.x, top - bar.y - bar.height, bar.width, bar.height);
    for (const auto& d : symbol.digits)
        showText(1, symbol.digitPoints, left + d.x, top - d.baseline, std::string_view(&d.digit, 1));
    x_ += symbol.width;
}

// Sets host text in Courier font number font (1 to 4) with its baseline
// starting at (x, y), page coordinates.
void PdfPrinter::showText(int font, double size, double x, double y, std::string_view hostText)
{
    content_ += "BT /F";
    content_ += static_cast<char>('0' + font);
    content_ += ' ';
    appendNumber(size);
    content_ += "Tf ";
    appendNumber(x);
    appendNumber(y);
    content_ += "Td (";
    appendLiteral(content_, hostText, [this](char c) { return static_cast<char>(winAnsi_[static_cast<unsigned char>(c)]); });
    content_ += ") Tj ET\n";
}

void PdfPrinter::fillRectangle(double x, double y, double width, double height)
{
    appendNumber(x);
    appendNumber(y);
    appendNumber(width);
    appendNumber(height);
    content_ += "re f\n";
}

void PdfPrinter::endDocument()
{
    flush();
    if (pageOpen_)
        finishPage();
    if (writer_) {
        std::unique_ptr<PdfWriter> writer = std::move(writer_);
        writer->finish(DocumentTitle);
    }
    documentClosed();
}

void PdfPrinter::abandonDocument()
{
    discardRun();
    content_.clear();
    pageOpen_ = false;
    if (writer_) {
        writer_->abandon();
        writer_.reset();
    }
    documentClosed();
}

}  // namespace zlt::pdf
