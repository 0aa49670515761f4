#include "platform/qt/qt_common_dialog.h"

#include "platform/backends.h"

#include <QApplication>
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace zlt::qt {

namespace {

QString linuxPattern(QString pattern)
{
    pattern = pattern.trimmed();
    if (pattern == QLatin1String("*.*"))
        return QStringLiteral("*");
    // "RPT." is DOS for the name RPT with no extension.
    if (pattern.endsWith(QLatin1Char('.')) && !pattern.contains(QLatin1Char('*')) && !pattern.contains(QLatin1Char('?')))
        pattern.chop(1);
    return pattern;
}

}  // namespace

QStringList qtNameFilters(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns << linuxPattern(p);
        // Qt takes the patterns from the last parentheses; the description
        // keeps its own, as the user knows it.
        filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

PrinterDestination destinationAfterDialog(const PrinterDestination& before, bool nativeFormat,
                                          const QString& printerName)
{
    if (nativeFormat && !printerName.isEmpty() && !QPrinterInfo::printerInfo(printerName).isNull()) {
        PrinterDestination chosen;
        chosen.kind = PrinterDestination::Kind::Cups;
        chosen.printerName = printerName.toStdString();
        return chosen;
    }
    return before;
}

void QtCommonDialog::ShowOpen() { showFile(false); }
void QtCommonDialog::ShowSave() { showFile(true); }

void QtCommonDialog::showFile(bool save)
{
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(DialogTitle), directory_);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // A name that does not exist yet may be typed in either dialog.
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = qtNameFilters(Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.first());
    }
    if (!FileName.empty())
        dialog.selectFile(QString::fromStdString(FileName));
    int result = dialog.exec();
    directory_ = dialog.directory().absolutePath();
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return cancelled();
    FileName = dialog.selectedFiles().first().toStdString();
}

void QtCommonDialog::ShowPrinter()
{
    using namespace print_dialog_flags;
    QPrinter& device = printer_.device();
    const PrinterDestination before = printer_.destination();
    const QPageLayout layoutBefore = device.pageLayout();
    device.setCopyCount(Copies);

    int result;
    if (Flags & PrintSetup) {
        QPageSetupDialog dialog(&device, QApplication::activeWindow());
        dialog.setWindowTitle(QString::fromStdString(DialogTitle));
        result = dialog.exec();
    } else {
        QPrintDialog dialog(&device, QApplication::activeWindow());
        dialog.setWindowTitle(QString::fromStdString(DialogTitle));
        // Qt has no disabled-but-shown print-to-file box: either flag leaves it out.
        dialog.setOption(QAbstractPrintDialog::PrintToFile, !(Flags & (HidePrintToFile | DisablePrintToFile)));
        dialog.setOption(QAbstractPrintDialog::PrintSelection, (Flags & Selection) != 0);
        device.setPrintRange((Flags & Selection) ? QPrinter::Selection : QPrinter::AllPages);
        result = dialog.exec();
    }

    PrinterDestination after = destinationAfterDialog(before, device.outputFormat() == QPrinter::NativeFormat,
                                                      device.printerName());
    if (result != QDialog::Accepted || !PrinterDefault) {
        // What was chosen is dropped: the following prints go where they went.
        printer_.setDestination(before);
        device.setPageLayout(layoutBefore);
        if (result != QDialog::Accepted)
            return cancelled();
        return;
    }
    // The dialog may have switched a PDF printer to the native format with
    // no printer behind it; setDestination puts back what holds.
    printer_.setDestination(after);
}

}  // namespace zlt::qt

namespace zlt {

PrinterWithDialog makeSystemPrinterWithDialog(const CodePage& codePage)
{
    auto printer = std::make_unique<qt::QtPrinter>(qt::destinationFromEnvironment(), codePage);
    auto dialog = std::make_unique<qt::QtCommonDialog>(*printer);
    return {std::move(printer), std::move(dialog)};
}

}  // namespace zlt
