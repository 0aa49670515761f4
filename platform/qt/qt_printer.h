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
#include "platform/print/run_printer.h"
#include "platform/qt/printer_destination.h"

class QPainter;
class QPrinter;

namespace zlt::qt {

class QtPrinter : public RunPrinter {
public:
    // runStamp names its PDF files (see makeRunStamp).
    QtPrinter(PrinterDestination destination, const CodePage& codePage, std::string runStamp);
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
    void endDocument() override;
    void abandonDocument() override;

private:
    void drawRun(std::string_view hostText) override;
    double lineHeight() override;

    void startJob();
    const QFontMetricsF& metrics();
    QColor colour() const;
    void newPageIfBelowBottom(double height);
    void forceDrawingState();
    void loadFonts();

    std::string runStamp_;
    PrinterDestination destination_;
    std::array<QChar, 256> characters_{};
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    std::vector<std::string> fonts_;
    bool fontsLoaded_ = false;
    bool barcodeFontInstalled_ = false;
    int jobs_ = 0;
    std::vector<std::string> written_;
    std::string currentFile_;

    // The font the style makes, built again when it has changed.
    TextStyle fontStyle_;
    QFont font_;
    std::optional<QFontMetricsF> metrics_;
};

}  // namespace zlt::qt
