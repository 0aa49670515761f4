#pragma once
// The viewer window: a report file shown in a fixed-pitch text box, its
// load followed in the status bar, and one menu to open, print, set up the
// printer, re-point and delete reports.
#include <cstdint>
#include <functional>
#include <string>

#include <QMainWindow>

#include "platform/code_page.h"
#include "platform/common_dialog.h"
#include "platform/host_files.h"
#include "repview/print_engine.h"
#include "repview/viewer/file_status.h"

class QAction;
class QMenu;
class QPlainTextEdit;

namespace zlt::repview {

class ViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    ViewerWindow(PrintEngine& engine, CommonDialog& dialog, const CodePage& codePage, HostFiles& files,
                 QWidget* parent = nullptr);

    // The commands, as the menu items run them.
    void openReport();
    void saveReportAs();
    void printReport();
    void pageSetup();
    void deleteReport();
    void exitTool();

    QPlainTextEdit* textViewer() const { return textViewer_; }
    FileStatus* fileStatus() const { return fileStatus_; }
    // The active report, as the host or the dialog gave it.
    const std::string& reportPath() const { return reportPath_; }
    // The shown report as host bytes, CR LF after each line.
    std::string shownText() const;

    // Called after each loaded line, when panel 3 shows its progress.
    void setLineLoadedHook(std::function<void()> hook) { lineLoaded_ = std::move(hook); }

    static const char* const ReportFilter;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addItem(QMenu* menu, const char* name, const char* caption, int key = 0);
    QAction* addSeparator(QMenu* menu, const char* name);
    // "Active report      C:\ZLT\RPT" and the like.
    QString withPath(const char* words) const;
    // Loads the active report into the text box; returns its size in bytes.
    std::int64_t loadReport();
    std::string selectedHostText() const;

    PrintEngine& engine_;
    CommonDialog& dialog_;
    const CodePage& codePage_;
    HostFiles& files_;
    std::string reportPath_;
    std::function<void()> lineLoaded_;

    QMenu* fileMenu_;
    QAction *openItem_, *saveAsItem_, *printItem_, *pageSetupItem_, *deleteItem_, *exitItem_;
    QAction* favouriteItems_[5];
    QPlainTextEdit* textViewer_;
    FileStatus* fileStatus_;
};

// Any failure ends a command where it happens, silently; what was done up
// to there stays done. (A cancelled dialog is no failure: each command
// decides what a cancel means.)
template <class Body>
void viewerCommand(Body body)
{
    try {
        body();
    } catch (const std::runtime_error&) {  // RunTimeError and file-system failures
    } catch (const std::bad_alloc&) {
    }
}

}  // namespace zlt::repview
