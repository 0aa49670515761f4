#pragma once
// The common dialog with Qt's own dialogs: QFileDialog for Open and Save As,
// QPrintDialog and QPageSetupDialog on the printer the print engine uses,
// so that a printer or page chosen there holds for the following prints.
#include <QString>
#include <QStringList>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/common_dialog.h"
#include "platform/settings.h"
#include "platform/qt/qt_printer.h"

namespace zlt::qt {

class QtCommonDialog : public CommonDialog {
public:
    explicit QtCommonDialog(QtPrinter& printer) : printer_(printer) {}

    bool showOpen() override;
    bool showSave() override;
    bool showPrinter() override;

private:
    bool showFile(bool save);
    QtPrinter& printer_;
    QString directory_;  // where the last file dialog was left, as the system's dialog remembers
};

// "ZELTO report (RPT.)|RPT.|All files (*.*)|*.*" as Qt name filters, with
// the DOS patterns made to match the same Linux files: "RPT." is the file
// RPT with no extension, "*.*" is every file.
QStringList qtNameFilters(const std::string& filter);

// After a print dialog: a CUPS printer the user chose becomes the
// destination; otherwise the destination stays as it was, and a PDF folder
// destination gets its PDF format back if the dialog switched it off.
PrinterDestination destinationAfterDialog(const PrinterDestination& before, bool nativeFormat,
                                          const QString& printerName);

}  // namespace zlt::qt

namespace zlt {

// A Qt printer for the reports' destination (see makeSystemPrinter) and the
// common dialog whose printer dialogs set it up: the viewer needs Qt's
// printer, its dialogs configure it.
PrinterWithDialog makeSystemPrinterWithDialog(const CodePage& codePage, const Settings& settings, Clock& clock);

}  // namespace zlt
