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
#include "platform/drive_map.h"
#include "repview/print_engine.h"
#include "repview/repview_state.h"
#include "repview/viewer/file_status.h"

class QAction;
class QMenu;
class QPlainTextEdit;

namespace zlt::repview {

class ViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    ViewerWindow(RepviewState& state, PrintEngine& engine, CommonDialog& Filesystem, const CodePage& codePage,
                 const DriveMap& drives, QWidget* parent = nullptr);

    // The commands, as the menu items run them.
    void Openreport_Click();
    void Saveas_Click();
    void Printreport_Click();
    void Pagesetup_Click();
    void Deletereport_Click();
    void Exittool_Click();

    QPlainTextEdit* textViewer() const { return TextViewer; }
    FileStatus* fileStatus() const { return FileStatus_; }
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
    // Shows the dialog; its cancel sets DialogCancelled and the command
    // goes on, so that its remaining steps see the flag.
    void showDialog(void (CommonDialog::*show)());
    // "Active report      C:\ZLT\RPT" and the like.
    QString withPath(const char* words) const;
    // Loads ReportPath into the text box; returns its size in bytes.
    std::int64_t loadReport();
    std::string selectedHostText() const;

    RepviewState& state_;
    PrintEngine& engine_;
    CommonDialog& Filesystem;
    const CodePage& codePage_;
    const DriveMap& drives_;
    std::function<void()> lineLoaded_;

    QMenu* Filemenu;
    QAction *Openreport, *Saveas, *Printreport, *Pagesetup, *Deletereport, *Exittool;
    QAction* Favorite[5];
    QPlainTextEdit* TextViewer;
    FileStatus* FileStatus_;
};

// Any failure but a cancelled dialog ends a command where it happens,
// silently; what was done up to there stays done.
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
