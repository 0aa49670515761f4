// Open report: pick a report, make it the active one, load its text into
// the text box while the status bar follows the load.
#include "repview/viewer/viewer_window.h"

#include "repview/viewer/report_file.h"
#include "repview/viewer/report_lines.h"
#include "repview/viewer/report_text.h"

#include <QAction>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

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
    TextViewer->hide();
    TextViewer->setEnabled(false);
    TextViewer->clear();
    std::int32_t charsLoaded = 0;
    QCoreApplication::processEvents();

    QTextDocument* document = TextViewer->document();
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);  // a load is not an edit to take back
    QTextCursor end(document);
    // The text read since the last paint of the status bar goes into the box
    // at each paint: the box fills while the status bar keeps moving, and the
    // report is never held twice.
    QString pending;
    auto flush = [&] {
        end.insertText(pending);
        pending.resize(0);
    };
    std::int64_t reportSize = 0;
    try {
        ReportFile file(resolveHostPath(drives_, state_.ReportPath));
        reportSize = file.size();
        ReportLineReader reader([&file](char* buffer, size_t size) { return file.read(buffer, size); });
        ReportTextBuilder builder(codePage_);
        const QString ofSize = QStringLiteral("  of  ") + QString::number(reportSize) + QStringLiteral(" bytes");
        while (!reader.atEnd()) {
            if (FileStatus_->repaintThrottled() && !pending.isEmpty())
                flush();
            std::string_view line = reader.nextLine();
            addLoadedChars(charsLoaded, line.size());
            FileStatus_->setPanelText(3, QStringLiteral("File size      ") + QString::number(charsLoaded) + ofSize);
            builder.appendLine(pending, line);
            if (lineLoaded_)
                lineLoaded_();
        }
        builder.finish(pending);
        FileStatus_->repaintThrottled(true);
        flush();
    } catch (...) {
        // A load that fails leaves the box hidden and empty, the file closed;
        // the next Open report fills and shows it as usual.
        TextViewer->clear();
        document->setUndoRedoEnabled(undo);
        throw;
    }
    document->setUndoRedoEnabled(undo);
    TextViewer->setTextCursor(QTextCursor(document));  // at the top of the report
    TextViewer->setEnabled(true);
    TextViewer->show();
    return reportSize;
}

}  // namespace zlt::repview
