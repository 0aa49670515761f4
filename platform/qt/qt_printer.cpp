#include "platform/qt/qt_printer.h"

#include "platform/qt/ean13_symbol.h"
#include "platform/run_time_error.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <filesystem>

namespace zlt::qt {

namespace {

const QString BarcodeFamily = QStringLiteral("EAN-13");

// "Nimbus Mono PS [urw]": fontconfig lists a family once per foundry.
QString withoutFoundry(const QString& family)
{
    int bracket = family.indexOf(QLatin1String(" ["));
    return bracket > 0 && family.endsWith(QLatin1Char(']')) ? family.left(bracket) : family;
}

}  // namespace

QtPrinter::QtPrinter(PrinterDestination destination, const CodePage& codePage)
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)), painter_(std::make_unique<QPainter>())
{
    for (int b = 0; b < 256; ++b) {
        char32_t c = codePage.toUnicode(static_cast<unsigned char>(b));
        // Controls have no glyph; they take the room of a blank.
        bool control = c < 32 || c == 127 || (c >= 0x80 && c < 0xA0);
        characters_[b] = control ? QChar(u' ') : QChar(static_cast<char16_t>(c));
    }
    printer_->setDocName(QStringLiteral("Report"));
    setDestination(std::move(destination));
    runStamp_ = makeRunStamp();
}

QtPrinter::~QtPrinter()
{
    if (painter_->isActive())
        abandonDocument();
}

void QtPrinter::setDestination(PrinterDestination destination)
{
    destination_ = std::move(destination);
    if (destination_.kind == PrinterDestination::Kind::Cups) {
        printer_->setOutputFormat(QPrinter::NativeFormat);
        printer_->setPrinterName(QString::fromStdString(destination_.printerName));
    } else {
        printer_->setOutputFormat(QPrinter::PdfFormat);
    }
}

void QtPrinter::loadFonts()
{
    if (fontsLoaded_)
        return;
    fontsLoaded_ = true;
    QStringList seen;
    for (const QString& family : QFontDatabase::families()) {
        QString name = withoutFoundry(family);
        if (seen.contains(name))
            continue;
        seen << name;
        fonts_.push_back(name.toStdString());
        if (name.compare(BarcodeFamily, Qt::CaseInsensitive) == 0)
            barcodeFontInstalled_ = true;
    }
}

int QtPrinter::fontCount()
{
    loadFonts();
    return static_cast<int>(fonts_.size());
}

std::string QtPrinter::fontName(int index)
{
    loadFonts();
    return fonts_.at(static_cast<size_t>(index));
}

void QtPrinter::styleChanging()
{
    flush();
    fontDirty_ = true;
}

void QtPrinter::setFontName(const std::string& name)
{
    QString family = QString::fromStdString(name);
    if (family != family_) {
        styleChanging();
        family_ = family;
    }
}

void QtPrinter::setFontSize(double points)
{
    if (points != points_) {
        styleChanging();
        points_ = points;
    }
}

#define ZLT_SET_FLAG(member, value) \
    if ((value) != member) {        \
        styleChanging();            \
        member = (value);           \
    }

void QtPrinter::setBold(bool on) { ZLT_SET_FLAG(bold_, on) }
void QtPrinter::setItalic(bool on) { ZLT_SET_FLAG(italic_, on) }
void QtPrinter::setUnderline(bool on) { ZLT_SET_FLAG(underline_, on) }
void QtPrinter::setStrikethrough(bool on) { ZLT_SET_FLAG(strikethrough_, on) }
#undef ZLT_SET_FLAG

void QtPrinter::setColour(HostColour colour)
{
    QColor c(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    if (c != colour_) {
        flush();
        colour_ = c;
    }
}

const QFontMetricsF& QtPrinter::metrics()
{
    if (fontDirty_ || !metrics_) {
        font_ = QFont(family_);
        font_.setPointSizeF(points_);
        font_.setBold(bold_);
        font_.setItalic(italic_);
        font_.setUnderline(underline_);
        font_.setStrikeOut(strikethrough_);
        font_.setKerning(false);
        metrics_.emplace(font_, printer_.get());
        fontDirty_ = false;
    }
    return *metrics_;
}

void QtPrinter::printText(std::string_view text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        if (b == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            lineBreak();
            ++i;
            continue;
        }
        run_ += characters_[b];
    }
}

void QtPrinter::printLine(std::string_view text)
{
    printText(text);
    lineBreak();
}

void QtPrinter::lineBreak()
{
    flush();
    x_ = 0;
    y_ += metrics().lineSpacing();
}

void QtPrinter::beginDocument()
{
    // The job starts with its first drawing, so an empty document wastes no sheet.
    flush();
    documentOpen_ = true;
    x_ = 0;
    y_ = 0;
}

void QtPrinter::startJob()
{
    if (destination_.kind == PrinterDestination::Kind::PdfFolder) {
        currentFile_ = reservePdfFile(destination_.pdfFolder, runStamp_, ++jobs_).string();
        printer_->setOutputFileName(QString::fromStdString(currentFile_));
    } else {
        ++jobs_;
    }
    if (!painter_->begin(printer_.get())) {
        std::string where = destination_.kind == PrinterDestination::Kind::PdfFolder ? currentFile_ : destination_.printerName;
        if (!currentFile_.empty())
            std::filesystem::remove(currentFile_);
        currentFile_.clear();
        throw RunTimeError(error_number::PrinterError, "Printer error: cannot start a print job on " + where);
    }
    QRectF page(0, 0, printer_->width(), printer_->height());
    painter_->setClipRect(page);
    forceDrawingState();
}

// The PDF engine keeps its pen from the previous job and page, and the
// painter skips a pen equal to its own default; passing through another pen
// makes both write the current colour again.
void QtPrinter::forceDrawingState()
{
    painter_->setPen(Qt::NoPen);
    painter_->setPen(colour_);
    metrics();
    painter_->setFont(font_);
}

void QtPrinter::newPageIfBelowBottom(double height)
{
    if (y_ > 0 && y_ + height > printer_->height()) {
        printer_->newPage();
        forceDrawingState();
        y_ = 0;
    }
}

void QtPrinter::flush()
{
    if (run_.isEmpty())
        return;
    QString text;
    text.swap(run_);
    if (!documentOpen_)
        beginDocument();
    if (!painter_->isActive())
        startJob();
    const QFontMetricsF& m = metrics();
    double pageWidth = printer_->width();
    double unitsPerPoint = printer_->logicalDpiY() / 72.0;

    if (!barcodeFontInstalled_ && family_.compare(BarcodeFamily, Qt::CaseInsensitive) == 0) {
        newPageIfBelowBottom(m.height());
        BarcodeLayout layout = layoutEan13Text(text.toStdString());
        x_ += drawBarcode(*painter_, layout, barcodeMetrics(points_, unitsPerPoint), x_, y_, colour_, unitsPerPoint);
        return;
    }

    double width = m.horizontalAdvance(text);
    if (x_ < pageWidth) {
        newPageIfBelowBottom(m.height());
        QString visible = text;
        if (x_ + width > pageWidth) {
            // Only what starts left of the edge is drawn; the clip cuts the rest.
            double x = x_;
            int count = 0;
            while (count < text.size() && x < pageWidth)
                x += m.horizontalAdvance(text.at(count++));
            visible = text.left(count);
        }
        if (painter_->font() != font_)
            painter_->setFont(font_);
        if (painter_->pen().color() != colour_)
            painter_->setPen(colour_);
        painter_->drawText(QPointF(x_, y_ + m.ascent()), visible);
    }
    x_ += width;
}

void QtPrinter::endDocument()
{
    flush();
    if (painter_->isActive()) {
        if (!painter_->end())
            throw RunTimeError(error_number::PrinterError, "Printer error: the print job could not be finished");
        if (!currentFile_.empty())
            written_.push_back(currentFile_);
        currentFile_.clear();
    }
    documentOpen_ = false;
}

void QtPrinter::abandonDocument()
{
    run_.clear();
    if (painter_->isActive()) {
        printer_->abort();
        painter_->end();
    }
    if (!currentFile_.empty()) {
        std::error_code ec;
        std::filesystem::remove(currentFile_, ec);
        currentFile_.clear();
    }
    documentOpen_ = false;
}

}  // namespace zlt::qt
