#include "platform/qt/qt_printer.h"

#include <unistd.h>

#include "platform/qt/ean13_symbol.h"
#include "platform/run_time_error.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <filesystem>

namespace zlt::qt {

namespace {

// "Nimbus Mono PS [urw]": fontconfig lists a family once per foundry.
QString withoutFoundry(const QString& family)
{
    int bracket = family.indexOf(QLatin1String(" ["));
    return bracket > 0 && family.endsWith(QLatin1Char(']')) ? family.left(bracket) : family;
}

}  // namespace

QtPrinter::QtPrinter(PrinterDestination destination, const CodePage& codePage, std::string runStamp)
    : runStamp_(std::move(runStamp)), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)), painter_(std::make_unique<QPainter>())
{
    for (int b = 0; b < 256; ++b) {
        char32_t c = codePage.toUnicode(static_cast<unsigned char>(b));
        // Controls have no glyph; they take the room of a blank.
        bool control = c < 32 || c == 127 || (c >= 0x80 && c < 0xA0);
        characters_[b] = control ? QChar(u' ') : QChar(static_cast<char16_t>(c));
    }
    printer_->setDocName(QStringLiteral("Report"));
    setDestination(std::move(destination));
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
        if (name.compare(QLatin1String(BarcodeFont.data(), BarcodeFont.size()), Qt::CaseInsensitive) == 0)
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

QColor QtPrinter::colour() const
{
    HostColour c = style().colour;
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

const QFontMetricsF& QtPrinter::metrics()
{
    const TextStyle& set = style();
    bool same = metrics_ && fontStyle_.fontName == set.fontName && fontStyle_.points == set.points &&
                fontStyle_.bold == set.bold && fontStyle_.italic == set.italic &&
                fontStyle_.underline == set.underline && fontStyle_.strikethrough == set.strikethrough;
    if (!same) {
        font_ = QFont(QString::fromStdString(set.fontName));
        font_.setPointSizeF(set.points);
        font_.setBold(set.bold);
        font_.setItalic(set.italic);
        font_.setUnderline(set.underline);
        font_.setStrikeOut(set.strikethrough);
        font_.setKerning(false);
        metrics_.emplace(font_, printer_.get());
        fontStyle_ = set;
    }
    return *metrics_;
}

double QtPrinter::lineHeight() { return metrics().lineSpacing(); }

void QtPrinter::startJob()
{
    if (destination_.kind == PrinterDestination::Kind::PdfFolder) {
        // Qt's PDF engine opens the file by its name.
        const pdf::ReservedFile file = reservePdfFile(destination_.pdfFolder, runStamp_, ++jobs_);
        ::close(file.descriptor);
        currentFile_ = file.path.string();
        printer_->setOutputFileName(QString::fromStdString(currentFile_));
    } else {
        ++jobs_;
    }
    if (!painter_->begin(printer_.get())) {
        std::string where = destination_.kind == PrinterDestination::Kind::PdfFolder ? currentFile_ : destination_.printerName;
        if (!currentFile_.empty()) {
            std::error_code ignored;  // the job failed already; a leftover name is no news
            std::filesystem::remove(currentFile_, ignored);
        }
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
    painter_->setPen(colour());
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

void QtPrinter::drawRun(std::string_view hostText)
{
    if (!painter_->isActive())
        startJob();
    const QFontMetricsF& m = metrics();
    double pageWidth = printer_->width();
    double unitsPerPoint = printer_->logicalDpiY() / 72.0;

    loadFonts();
    if (!barcodeFontInstalled_ && fontIs(BarcodeFont)) {
        newPageIfBelowBottom(m.height());
        x_ += drawBarcode(*painter_, placeEan13Text(hostText, style().points, unitsPerPoint), x_, y_, colour());
        return;
    }

    QString text(static_cast<qsizetype>(hostText.size()), Qt::Uninitialized);
    for (size_t i = 0; i < hostText.size(); ++i)
        text[static_cast<qsizetype>(i)] = characters_[static_cast<unsigned char>(hostText[i])];
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
        if (painter_->pen().color() != colour())
            painter_->setPen(colour());
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
            written_.push_back(pdf::publishPdfFile(currentFile_).string());
        currentFile_.clear();
    }
    documentClosed();
}

void QtPrinter::abandonDocument()
{
    discardRun();
    if (painter_->isActive()) {
        printer_->abort();
        painter_->end();
    }
    if (!currentFile_.empty()) {
        std::error_code ec;
        std::filesystem::remove(currentFile_, ec);
        currentFile_.clear();
    }
    documentClosed();
}

}  // namespace zlt::qt
