#include "platform/qt/qt_common_dialog.h"

#include "platform/qt/qt_common_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QRadioButton>
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

// Qt's page set-up dialog serves CUPS printers only; a printer that writes
// PDF files gets this one: paper, orientation and margins.
class PdfPageSetupDialog : public QDialog {
public:
    PdfPageSetupDialog(QPrinter& printer, QWidget* parent) : QDialog(parent), printer_(printer)
    {
        setObjectName(QStringLiteral("PdfPageSetup"));
        const QPageLayout layout = printer.pageLayout();
        auto* form = new QFormLayout(this);

        paper_ = new QComboBox(this);
        paper_->setObjectName(QStringLiteral("paperSize"));
        for (QPageSize::PageSizeId id : {QPageSize::A4, QPageSize::Letter, QPageSize::Legal, QPageSize::A3,
                                         QPageSize::A5, QPageSize::B5, QPageSize::Executive})
            paper_->addItem(QPageSize::name(id), static_cast<int>(id));
        int current = paper_->findData(static_cast<int>(layout.pageSize().id()));
        if (current < 0) {
            paper_->addItem(layout.pageSize().name(), static_cast<int>(layout.pageSize().id()));
            current = paper_->count() - 1;
        }
        paper_->setCurrentIndex(current);
        form->addRow(QStringLiteral("&Paper size:"), paper_);

        auto* orientation = new QHBoxLayout;
        portrait_ = new QRadioButton(QStringLiteral("P&ortrait"), this);
        portrait_->setObjectName(QStringLiteral("portrait"));
        landscape_ = new QRadioButton(QStringLiteral("&Landscape"), this);
        landscape_->setObjectName(QStringLiteral("landscape"));
        (layout.orientation() == QPageLayout::Landscape ? landscape_ : portrait_)->setChecked(true);
        orientation->addWidget(portrait_);
        orientation->addWidget(landscape_);
        form->addRow(QStringLiteral("Orientation:"), orientation);

        const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
        const char* names[4] = {"&Left margin (mm):", "&Top margin (mm):", "&Right margin (mm):", "&Bottom margin (mm):"};
        const qreal values[4] = {margins.left(), margins.top(), margins.right(), margins.bottom()};
        for (int i = 0; i < 4; ++i) {
            margins_[i] = new QDoubleSpinBox(this);
            margins_[i]->setRange(0, 100);
            margins_[i]->setDecimals(1);
            margins_[i]->setValue(values[i]);
            form->addRow(QString::fromLatin1(names[i]), margins_[i]);
        }

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        form->addRow(buttons);
    }

    void accept() override
    {
        QPageLayout layout(QPageSize(static_cast<QPageSize::PageSizeId>(paper_->currentData().toInt())),
                           landscape_->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait,
                           QMarginsF(margins_[0]->value(), margins_[1]->value(), margins_[2]->value(),
                                     margins_[3]->value()),
                           QPageLayout::Millimeter);
        printer_.setPageLayout(layout);
        QDialog::accept();
    }

private:
    QPrinter& printer_;
    QComboBox* paper_;
    QRadioButton *portrait_, *landscape_;
    QDoubleSpinBox* margins_[4];
};

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

bool QtCommonDialog::showOpen() { return showFile(false); }
bool QtCommonDialog::showSave() { return showFile(true); }

bool QtCommonDialog::showFile(bool save)
{
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(dialogTitle), directory_);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // A name that does not exist yet may be typed in either dialog.
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = qtNameFilters(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.first());
    }
    if (!fileName.empty())
        dialog.selectFile(QString::fromStdString(fileName));
    int result = dialog.exec();
    directory_ = dialog.directory().absolutePath();
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().first().toStdString();
    return true;
}

bool QtCommonDialog::showPrinter()
{
    using namespace print_dialog_flags;
    QPrinter& device = printer_.device();
    const PrinterDestination before = printer_.destination();
    const QPageLayout layoutBefore = device.pageLayout();
    device.setCopyCount(copies);

    int result;
    if ((flags & PrintSetup) && device.outputFormat() == QPrinter::PdfFormat) {
        PdfPageSetupDialog dialog(device, QApplication::activeWindow());
        dialog.setWindowTitle(QString::fromStdString(dialogTitle));
        result = dialog.exec();
    } else if (flags & PrintSetup) {
        QPageSetupDialog dialog(&device, QApplication::activeWindow());
        dialog.setWindowTitle(QString::fromStdString(dialogTitle));
        result = dialog.exec();
    } else {
        QPrintDialog dialog(&device, QApplication::activeWindow());
        dialog.setWindowTitle(QString::fromStdString(dialogTitle));
        // Qt has no disabled-but-shown print-to-file box: either flag leaves it out.
        dialog.setOption(QAbstractPrintDialog::PrintToFile, !(flags & (HidePrintToFile | DisablePrintToFile)));
        dialog.setOption(QAbstractPrintDialog::PrintSelection, (flags & Selection) != 0);
        device.setPrintRange((flags & Selection) ? QPrinter::Selection : QPrinter::AllPages);
        result = dialog.exec();
    }

    PrinterDestination after = destinationAfterDialog(before, device.outputFormat() == QPrinter::NativeFormat,
                                                      device.printerName());
    if (result != QDialog::Accepted || !printerDefault) {
        // What was chosen is dropped: the following prints go where they went.
        printer_.setDestination(before);
        device.setPageLayout(layoutBefore);
        return result == QDialog::Accepted;
    }
    // The dialog may have switched a PDF printer to the native format with
    // no printer behind it; setDestination puts back what holds.
    printer_.setDestination(after);
    // The printer and its paper hold; the copies and the range chosen do not
    // reach the prints, which always print what they were given once.
    device.setCopyCount(copies);
    device.setPrintRange(QPrinter::AllPages);
    device.setPageRanges(QPageRanges());
    return true;
}

}  // namespace zlt::qt

namespace zlt {

PrinterWithDialog makeSystemPrinterWithDialog(const CodePage& codePage, const Settings& settings, Clock& clock)
{
    auto printer = std::make_unique<qt::QtPrinter>(qt::destinationFromSettings(settings), codePage,
                                                   pdf::makeRunStamp(clock.now()));
    auto dialog = std::make_unique<qt::QtCommonDialog>(*printer);
    return {std::move(printer), std::move(dialog)};
}

}  // namespace zlt
