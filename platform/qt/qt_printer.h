#pragma once
// The printer through Qt PrintSupport: a CUPS print job, or a PDF file, per
// document. Runs of characters printed in one style are drawn together; the
// position moves exactly as if each character were drawn alone.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include "platform/code_page.h"
#include "platform/printer.h"
#include "platform/qt/printer_destination.h"

class QPainter;
class QPrinter;

namespace zlt::qt {

class QtPrinter : public Printer {
public:
    QtPrinter(PrinterDestination destination, const CodePage& codePage);
    ~QtPrinter() override;

    // The Qt printer behind this one, for the print and page set-up dialogs:
    // what they choose holds for the following jobs.
    QPrinter& device() { return *printer_; }
    const PrinterDestination& destination() const { return destination_; }
    // Points a later job at another destination (a printer chosen in a dialog).
    void setDestination(PrinterDestination destination);
    // The PDF files this printer has written, in order.
    const std::vector<std::string>& writtenFiles() const { return written_; }

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
    void startJob();
    void lineBreak();
    void styleChanging();
    const QFontMetricsF& metrics();
    void newPageIfBelowBottom(double height);
    void forceDrawingState();
    void loadFonts();

    PrinterDestination destination_;
    std::array<QChar, 256> characters_{};
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    std::vector<std::string> fonts_;
    bool fontsLoaded_ = false;
    bool barcodeFontInstalled_ = false;
    std::string runStamp_;
    int jobs_ = 0;
    std::vector<std::string> written_;
    std::string currentFile_;

    // Current settings.
    QString family_ = QStringLiteral("Courier New");
    double points_ = 10;
    bool bold_ = false, italic_ = false, underline_ = false, strikethrough_ = false;
    QColor colour_ = Qt::black;
    bool fontDirty_ = true;
    QFont font_;
    std::optional<QFontMetricsF> metrics_;

    // The document and the position in it (device units).
    bool documentOpen_ = false;
    double x_ = 0, y_ = 0;
    QString run_;
};

}  // namespace zlt::qt
