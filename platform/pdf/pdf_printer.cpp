#include "platform/pdf/pdf_printer.h"

#include "platform/ean13_layout.h"
#include "platform/pdf/pdf_job_files.h"

#include <charconv>
#include <cstdlib>
#include <fstream>

namespace zlt::pdf {

namespace {

// Courier's cell is 600 thousandths of the size; lines are spaced and set
// as the report font's TrueType twin sets them, so pages look the same
// whichever printer made them.
constexpr double Advance = 0.6;
constexpr double LineSpacing = 1.1328;
constexpr double Ascent = 0.8328;

bool isBarcodeFont(const std::string& name)
{
    static const std::string barcode = "EAN-13";
    if (name.size() != barcode.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != barcode[i])
            return false;
    return true;
}

}  // namespace

PaperSize paperSizeFromEnvironment()
{
    std::string name;
    if (const char* env = std::getenv("PAPERSIZE"))
        name = env;
    if (name.empty()) {
        std::ifstream file("/etc/papersize");
        std::getline(file, name);
    }
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    PaperSize paper;
    if (name == "letter")
        paper.width = 612, paper.height = 792;
    else if (name == "legal")
        paper.width = 612, paper.height = 1008;
    else if (name == "a5")
        paper.width = 419.53, paper.height = 595.28;
    return paper;
}

PdfPrinter::PdfPrinter(std::filesystem::path folder, const std::array<std::uint8_t, 256>& winAnsi, PaperSize paper)
    : folder_(std::move(folder)), winAnsi_(winAnsi), paper_(paper), runStamp_(makeRunStamp())
{
}

PdfPrinter::~PdfPrinter()
{
    if (writer_)
        writer_->abandon();
}

int PdfPrinter::fontCount() { return 2; }

std::string PdfPrinter::fontName(int index) { return index == 0 ? "Courier" : "EAN-13"; }

// Any font but the barcode prints in Courier, the one text face the file
// carries, as a printer substitutes a font it lacks.
void PdfPrinter::setFontName(const std::string& name)
{
    bool barcode = isBarcodeFont(name);
    if (barcode != barcode_) {
        flush();
        barcode_ = barcode;
    }
}

#define ZLT_SET(member, value) \
    if ((value) != member) {   \
        flush();               \
        member = (value);      \
    }

void PdfPrinter::setFontSize(double points) { ZLT_SET(points_, points) }
void PdfPrinter::setBold(bool on) { ZLT_SET(bold_, on) }
void PdfPrinter::setItalic(bool on) { ZLT_SET(italic_, on) }
void PdfPrinter::setUnderline(bool on) { ZLT_SET(underline_, on) }
void PdfPrinter::setStrikethrough(bool on) { ZLT_SET(strikethrough_, on) }
void PdfPrinter::setColour(HostColour colour) { ZLT_SET(colour_, colour) }
#undef ZLT_SET

double PdfPrinter::lineHeight() const { return points_ * LineSpacing; }

void PdfPrinter::printText(std::string_view text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            lineBreak();
            ++i;
            continue;
        }
        run_ += static_cast<char>(barcode_ ? text[i] : winAnsi_[static_cast<unsigned char>(text[i])]);
    }
}

void PdfPrinter::printLine(std::string_view text)
{
    printText(text);
    lineBreak();
}

void PdfPrinter::lineBreak()
{
    flush();
    x_ = 0;
    y_ += lineHeight();
}

void PdfPrinter::beginDocument()
{
    // The file starts with the first drawing, so an empty document makes none.
    flush();
    documentOpen_ = true;
    x_ = 0;
    y_ = 0;
}

void PdfPrinter::startPage()
{
    if (!writer_)
        writer_ = std::make_unique<PdfWriter>(reservePdfFile(folder_, runStamp_, ++jobs_));
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
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    content_.append(buffer, result.ptr);
    content_ += ' ';
}

void PdfPrinter::fillColour()
{
    if (colour_ == pageColour_)
        return;
    appendNumber((colour_ & 0xFF) / 255.0);
    appendNumber(((colour_ >> 8) & 0xFF) / 255.0);
    appendNumber(((colour_ >> 16) & 0xFF) / 255.0);
    content_ += "rg\n";
    pageColour_ = colour_;
}

void PdfPrinter::flush()
{
    if (run_.empty())
        return;
    std::string text;
    text.swap(run_);
    if (!documentOpen_)
        beginDocument();
    if (!pageOpen_)
        startPage();
    if (barcode_)
        drawBarcode(text);
    else
        drawText(text);
}

void PdfPrinter::drawText(const std::string& text)
{
    double width = text.size() * Advance * points_;
    double printable = paper_.width - 2 * paper_.margin;
    if (x_ < printable) {
        newPageIfBelowBottom(lineHeight());
        fillColour();
        // Only what starts left of the edge is set; the clip cuts the rest.
        size_t count = text.size();
        if (x_ + width > printable)
            count = std::min(count, static_cast<size_t>((printable - x_) / (Advance * points_)) + 1);
        double left = paper_.margin + x_;
        double baseline = paper_.height - paper_.margin - y_ - Ascent * points_;
        content_ += "BT /F";
        content_ += static_cast<char>('1' + (bold_ ? 1 : 0) + (italic_ ? 2 : 0));
        content_ += ' ';
        appendNumber(points_);
        content_ += "Tf ";
        appendNumber(left);
        appendNumber(baseline);
        content_ += "Td (";
        for (size_t i = 0; i < count; ++i) {
            char c = text[i];
            if (c == '(' || c == ')' || c == '\\')
                content_ += '\\';
            content_ += c;
        }
        content_ += ") Tj ET\n";
        double drawn = count * Advance * points_;
        if (underline_) {
            appendNumber(left);
            appendNumber(baseline - 0.10 * points_);
            appendNumber(drawn);
            appendNumber(0.05 * points_);
            content_ += "re f\n";
        }
        if (strikethrough_) {
            appendNumber(left);
            appendNumber(baseline + 0.25 * points_);
            appendNumber(drawn);
            appendNumber(0.05 * points_);
            content_ += "re f\n";
        }
    }
    x_ += width;
}

void PdfPrinter::drawBarcode(const std::string& text)
{
    newPageIfBelowBottom(lineHeight());
    fillColour();
    BarcodeLayout layout = layoutEan13Text(text);
    BarcodeMetrics m = barcodeMetrics(points_, 1.0);
    double left = paper_.margin + x_;
    double top = paper_.height - paper_.margin - y_;
    for (const auto& bar : layout.bars) {
        double height = bar.guard ? m.guardHeight : m.barHeight;
        appendNumber(left + bar.module * m.module);
        appendNumber(top - height);
        appendNumber(bar.width * m.module);
        appendNumber(height);
        content_ += "re f\n";
    }
    for (const auto& d : layout.digits) {
        content_ += "BT /F1 ";
        appendNumber(m.digitSize);
        content_ += "Tf ";
        appendNumber(left + d.centre * m.module - Advance * m.digitSize / 2);
        appendNumber(top - m.digitBaseline);
        content_ += "Td (";
        content_ += d.digit;
        content_ += ") Tj ET\n";
    }
    x_ += layout.modules * m.module;
}

void PdfPrinter::endDocument()
{
    flush();
    if (pageOpen_)
        finishPage();
    if (writer_) {
        std::unique_ptr<PdfWriter> writer = std::move(writer_);
        writer->finish("Report");
    }
    documentOpen_ = false;
}

void PdfPrinter::abandonDocument()
{
    run_.clear();
    content_.clear();
    pageOpen_ = false;
    if (writer_) {
        writer_->abandon();
        writer_.reset();
    }
    documentOpen_ = false;
}

}  // namespace zlt::pdf
