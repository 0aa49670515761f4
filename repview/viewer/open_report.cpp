// Open report: pick a report, make it the active one, load its text into
// the text box while the status bar follows the load.
#include "repview/viewer/viewer_window.h"

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

void ViewerWindow::openReport()
{
    viewerCommand([this] {
        dialog_.dialogTitle = "Open ZELTO Report...";
        dialog_.fileName = "RPT.";
        dialog_.filter = ReportFilter;
        // A cancel goes on with the active report: its size is shown again.
        const bool chosen = dialog_.showOpen();

        if (!dialog_.fileName.empty() && chosen) {
            saveAsItem_->setEnabled(true);
            printItem_->setEnabled(true);
            pageSetupItem_->setEnabled(true);
            // Taken as typed: whether it exists shows when it is opened.
            reportPath_ = dialog_.fileName;
        }

        fileStatus_->setPanelText(1, withPath("Loading report      "));
        fileStatus_->setBusyVisible(true);
        fileStatus_->setPanelText(3, QString());

        std::int64_t reportSize = 0;
        if (!chosen) {
            // The shown text stays; only the active report's size is taken again.
            if (!reportPath_.empty())
                reportSize = files_.openRead(reportPath_)->size();
        } else {
            reportSize = loadReport();
        }

        if (reportPath_.empty()) {
            fileStatus_->setPanelText(1, QString());
            fileStatus_->setBusyVisible(false);
            fileStatus_->setPanelText(3, QString());
        } else {
            fileStatus_->setPanelText(1, withPath("Active report      "));
            fileStatus_->setBusyVisible(false);
            fileStatus_->setPanelText(3, sizeText(reportSize));
        }
    });
}

std::int64_t ViewerWindow::loadReport()
{
    // Hidden and disabled for the whole load, so only the status bar paints.
    textViewer_->hide();
    textViewer_->setEnabled(false);
    textViewer_->clear();
    std::int32_t charsLoaded = 0;
    QCoreApplication::processEvents();

    QTextDocument* document = textViewer_->document();
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);  // a load is not an edit to take back
    QTextCursor end(document);
    // The text read goes into the box in pieces small enough to insert well
    // within a frame: the box fills while the status bar keeps moving, and
    // the report is never held twice.
    constexpr qsizetype PieceChars = 256 * 1024;
    QString pending;
    auto flush = [&] {
        end.insertText(pending);
        pending.resize(0);
    };
    std::int64_t reportSize = 0;
    try {
        const std::unique_ptr<InputFile> file = files_.openRead(reportPath_);
        reportSize = file->size();
        ReportLineReader reader([&file](char* buffer, size_t size) { return file->read(buffer, size); });
        ReportTextBuilder builder(codePage_);
        const QString fileSize = QStringLiteral("File size      ");
        const QString ofSize = QStringLiteral("  of  ") + QString::number(reportSize) + QStringLiteral(" bytes");
        while (!reader.atEnd()) {
            fileStatus_->repaintThrottled();
            std::string_view line = reader.nextLine();
            addLoadedChars(charsLoaded, line.size());
            fileStatus_->setPanel3Count(fileSize, charsLoaded, ofSize);
            builder.appendLine(pending, line);
            if (pending.size() >= PieceChars)
                flush();
            if (lineLoaded_)
                lineLoaded_();
        }
        builder.finish(pending);
        fileStatus_->repaintThrottled(true);
        flush();
    } catch (...) {
        // A load that fails leaves the box hidden and empty, the file closed;
        // the next Open report fills and shows it as usual.
        textViewer_->clear();
        document->setUndoRedoEnabled(undo);
        throw;
    }
    document->setUndoRedoEnabled(undo);
    textViewer_->setTextCursor(QTextCursor(document));  // at the top of the report
    textViewer_->setEnabled(true);
    textViewer_->show();
    return reportSize;
}

}  // namespace zlt::repview
