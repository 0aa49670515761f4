// The viewer's commands besides Open report: print all or the selection,
// set up the printer, re-point the active report, delete a report file.
#include "repview/viewer/viewer_window.h"

#include "platform/run_time_error.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace zlt::repview {

void ViewerWindow::printReport()
{
    viewerCommand([this] {
        using namespace print_dialog_flags;
        dialog_.printerDefault = true;
        dialog_.copies = 1;
        dialog_.dialogTitle = "Print ZELTO report...";
        dialog_.flags = DisablePrintToFile | HidePrintToFile;
        if (textViewer_->textCursor().hasSelection())
            dialog_.flags |= Selection;
        dialog_.fileName = reportPath_;
        if (!dialog_.showPrinter() || dialog_.fileName.empty())
            return;
        // The text box's selection decides, whatever range the dialog chose.
        QTextCursor selection = textViewer_->textCursor();
        if (!selection.hasSelection()) {
            engine_.printReportFile(reportPath_);  // the file as it is now on disk
        } else {
            engine_.printReportText(selectedHostText());
            // The printed part leaves the shown report; the file keeps it.
            selection.removeSelectedText();
            textViewer_->setTextCursor(selection);
        }
    });
}

void ViewerWindow::pageSetup()
{
    viewerCommand([this] {
        dialog_.printerDefault = true;
        dialog_.copies = 1;
        dialog_.dialogTitle = "Printer Setup...";
        dialog_.flags = print_dialog_flags::PrintSetup;
        // What the user chooses holds for the following prints by itself.
        dialog_.showPrinter();
    });
}

void ViewerWindow::saveReportAs()
{
    viewerCommand([this] {
        dialog_.dialogTitle = "Save ZELTO Report as...";
        dialog_.fileName.clear();
        dialog_.filter = ReportFilter;
        if (!dialog_.showSave() || dialog_.fileName.empty())
            return;
        // Only the name moves: nothing is written, the size in panel 3 stays.
        reportPath_ = dialog_.fileName;
        fileStatus_->setPanelText(1, withPath("Active report      "));
    });
}

void ViewerWindow::deleteReport()
{
    viewerCommand([this] {
        dialog_.dialogTitle = "Delete a ZELTO Report...";
        dialog_.fileName = "RPT.";
        dialog_.filter = ReportFilter;
        if (!dialog_.showOpen() || dialog_.fileName.empty())
            return;
        const EntryStatus entry = files_.status(dialog_.fileName);
        if (entry.kind == EntryKind::Missing || entry.kind == EntryKind::Folder)
            throw RunTimeError(error_number::FileNotFound);
        // A file its owner may not write is read-only to the host, which
        // does not delete read-only files.
        if (!entry.symbolicLink && !entry.writable)
            throw RunTimeError(error_number::PathFileAccessError);
        files_.remove(dialog_.fileName);  // at once, unasked
    });
}

}  // namespace zlt::repview
