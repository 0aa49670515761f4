// The viewer's commands besides Open report: print all or the selection,
// set up the printer, re-point the active report, delete a report file.
#include "repview/viewer/viewer_window.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include <filesystem>
#include <sys/stat.h>

namespace zlt::repview {

void ViewerWindow::Printreport_Click()
{
    viewerCommand([this] {
        using namespace print_dialog_flags;
        state_.DialogCancelled = false;
        Filesystem.CancelError = true;
        Filesystem.PrinterDefault = true;
        Filesystem.Copies = 1;
        Filesystem.DialogTitle = "Print ZELTO report...";
        Filesystem.Flags = DisablePrintToFile | HidePrintToFile;
        if (TextViewer->textCursor().hasSelection())
            Filesystem.Flags |= Selection;
        Filesystem.FileName = state_.ReportPath;
        showDialog(&CommonDialog::ShowPrinter);

        if (Filesystem.FileName.empty() || state_.DialogCancelled)
            return;
        // The text box's selection decides, whatever range the dialog chose.
        QTextCursor selection = TextViewer->textCursor();
        if (!selection.hasSelection()) {
            engine_.PrintReportFile();  // the file as it is now on disk
        } else {
            state_.SelectedText = selectedHostText();
            engine_.PrintReportText(state_.SelectedText);
            // The printed part leaves the shown report; the file keeps it.
            selection.removeSelectedText();
            TextViewer->setTextCursor(selection);
        }
    });
}

void ViewerWindow::Pagesetup_Click()
{
    viewerCommand([this] {
        state_.DialogCancelled = false;
        Filesystem.CancelError = true;
        Filesystem.PrinterDefault = true;
        Filesystem.Copies = 1;
        Filesystem.DialogTitle = "Printer Setup...";
        Filesystem.Flags = print_dialog_flags::PrintSetup;
        // What the user chooses holds for the following prints by itself.
        showDialog(&CommonDialog::ShowPrinter);
    });
}

void ViewerWindow::Saveas_Click()
{
    viewerCommand([this] {
        state_.DialogCancelled = false;
        Filesystem.DialogTitle = "Save ZELTO Report as...";
        Filesystem.FileName.clear();
        Filesystem.Filter = ReportFilter;
        Filesystem.CancelError = true;
        showDialog(&CommonDialog::ShowSave);
        if (Filesystem.FileName.empty() || state_.DialogCancelled)
            return;
        // Only the name moves: nothing is written, the size in panel 3 stays.
        state_.ReportPath = Filesystem.FileName;
        FileStatus_->setPanelText(1, withPath("Active report      "));
    });
}

void ViewerWindow::Deletereport_Click()
{
    viewerCommand([this] {
        state_.DialogCancelled = false;
        Filesystem.DialogTitle = "Delete a ZELTO Report...";
        Filesystem.FileName = "RPT.";
        Filesystem.Filter = ReportFilter;
        Filesystem.CancelError = true;
        showDialog(&CommonDialog::ShowOpen);
        if (Filesystem.FileName.empty() || state_.DialogCancelled)
            return;
        const std::filesystem::path path = resolveHostPath(drives_, Filesystem.FileName);
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
            throw RunTimeError(error_number::FileNotFound, "File not found");
        // A file its owner may not write is read-only to the host, which
        // does not delete read-only files.
        if (!S_ISLNK(info.st_mode) && !(info.st_mode & S_IWUSR))
            throw RunTimeError(error_number::PathFileAccessError, "Path/File access error");
        std::filesystem::remove(path);  // at once, unasked
    });
}

}  // namespace zlt::repview
