// Open report: pick a report, make it the active one, load its text into
// the text box while the status bar follows the load.
#include "repview/viewer/viewer_window.h"

#include "repview/viewer/report_file.h"
#include "repview/viewer/report_lines.h"
#include "repview/viewer/report_text.h"

#include <QAction>
#include <QCoreApplication>
#include <QPlainTextEdit>

namespace zlt::repview {

namespace {

QString sizeText(std::int64_t size)
{
    return QStringLiteral("File size      ") + QString::number(size) + QStringLiteral(" bytes");
}

}  // namespace

void ViewerWindow::Openreport_Click()
{
    viewerCommand([this] {
        state_.DialogCancelled = false;
        Filesystem.DialogTitle = "Open ZELTO Report...";
        Filesystem.FileName = "RPT.";
        Filesystem.Filter = ReportFilter;
        Filesystem.CancelError = true;
        showDialog(&CommonDialog::ShowOpen);

        if (!Filesystem.FileName.empty() && !state_.DialogCancelled) {
            Saveas->setEnabled(true);
            Printreport->setEnabled(true);
            Pagesetup->setEnabled(true);
            // Taken as typed: whether it exists shows when it is opened.
            state_.ReportPath = Filesystem.FileName;
        }

        FileStatus_->setPanelText(1, withPath("Loading report      "));
        FileStatus_->setBusyVisible(true);
        FileStatus_->setPanelText(3, QString());

        std::int64_t reportSize = 0;
        if (state_.DialogCancelled) {
            // The shown text stays; only the active report's size is taken again.
            if (!state_.ReportPath.empty())
                reportSize = ReportFile(resolveHostPath(drives_, state_.ReportPath)).size();
        } else {
            reportSize = loadReport();
        }

        if (state_.ReportPath.empty()) {
            FileStatus_->setPanelText(1, QString());
            FileStatus_->setBusyVisible(false);
            FileStatus_->setPanelText(3, QString());
        } else {
            FileStatus_->setPanelText(1, withPath("Active report      "));
            FileStatus_->setBusyVisible(false);
            FileStatus_->setPanelText(3, sizeText(reportSize));
        }
    });
}

std::int64_t ViewerWindow::loadReport()
{
    // Hidden and disabled for the whole load, so only the status bar paints.
    // A load that fails leaves the box so, hidden and empty: the next Open
    // report fills and shows it again.
    TextViewer->hide();
    TextViewer->setEnabled(false);
    TextViewer->clear();
    std::int32_t charsLoaded = 0;
    QCoreApplication::processEvents();

    QString text;
    std::int64_t reportSize = 0;
    {
    ReportFile file(resolveHostPath(drives_, state_.ReportPath));
    reportSize = file.size();
    ReportLineReader reader([&file](char* buffer, size_t size) { return file.read(buffer, size); });
    const ReportTextDecoder decoder(codePage_);
    const QString ofSize = QStringLiteral("  of  ") + QString::number(reportSize) + QStringLiteral(" bytes");
    // Each byte gives at most one character (a CR LF pair gives one break),
    // so the text never outgrows this.
    text.reserve(static_cast<qsizetype>(reportSize) + 1);
    while (!reader.atEnd()) {
        FileStatus_->repaintThrottled();
        std::string_view line = reader.nextLine();
        addLoadedChars(charsLoaded, line.size());
        FileStatus_->setPanelText(3, QStringLiteral("File size      ") + QString::number(charsLoaded) + ofSize);
        decoder.appendLine(text, line);
        if (lineLoaded_)
            lineLoaded_();
    }
    FileStatus_->repaintThrottled(true);
    }  // the file is closed here
    // One update for the whole text: the box is hidden, nothing is lost.
    TextViewer->setPlainText(text);
    TextViewer->setEnabled(true);
    TextViewer->show();
    return reportSize;
}

}  // namespace zlt::repview
