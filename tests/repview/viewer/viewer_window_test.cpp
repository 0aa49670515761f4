// The viewer window with a scripted dialog and a recording printer: menu
// states, status texts, the text box, the shared state and what reaches the
// print engine, for each command and its edge cases.
#include "repview/viewer/viewer_window.h"

#include "platform/testing/recording_printer.h"
#include "platform/testing/scripted_dialog.h"
#include "temp_dir.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <filesystem>

using namespace zlt;
using namespace zlt::repview;
using zlt::testing::RecordingPrinter;
using zlt::testing::ScriptedDialog;
using zlt::testing::TempDir;

namespace {

const std::string Filter =
    "ZELTO report (RPT.)|RPT.|Text files (*.txt)|*.txt|Text files (*.doc)|*.doc|All files (*.*)|*.*";
const std::string ThreeLines = "0123456789\r\nabcdefghij\r\nKLMNOPQRST\r\n";

struct Panels {
    std::string p1, p3;
    bool busy;
    bool operator==(const Panels&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Panels& p)
{
    return os << "{\"" << p.p1 << "\", busy " << p.busy << ", \"" << p.p3 << "\"}";
}

class Viewer : public ::testing::Test {
protected:
    TempDir dir;
    RepviewState state;
    RecordingPrinter printer;
    CodePage codePage{1252};
    DriveMap drives = DriveMap::parse("C=" + dir.path().string());
    PrintEngine engine{state, printer, drives};
    ScriptedDialog dialog;
    ViewerWindow window{state, engine, dialog, codePage, drives};

    QAction* item(const char* name) { return window.findChild<QAction*>(QString::fromLatin1(name)); }
    QPlainTextEdit* box() { return window.textViewer(); }
    Panels panels()
    {
        FileStatus* s = window.fileStatus();
        return {s->panelText(1).toStdString(), s->panelText(3).toStdString(), s->busyVisible()};
    }
    bool reportItemsEnabled()
    {
        bool all = item("Saveas")->isEnabled() && item("Printreport")->isEnabled() && item("Pagesetup")->isEnabled();
        bool none = !item("Saveas")->isEnabled() && !item("Printreport")->isEnabled() && !item("Pagesetup")->isEnabled();
        EXPECT_TRUE(all || none) << "the three report items differ";
        return all;
    }
    // Opens the file through the dialog; returns its path.
    std::string open(const std::string& name, const std::string& bytes)
    {
        std::string path = dir.write(name, bytes);
        dialog.answerFile(path);
        window.Openreport_Click();
        return path;
    }
    // The documents the engine printed: the text of each, line breaks as CR LF.
    std::vector<std::string> printed()
    {
        std::vector<std::string> docs;
        bool inside = false;
        for (const std::string& call : printer.merged()) {
            if (call == "begin") {
                docs.emplace_back();
                inside = true;
            } else if (call == "end") {
                inside = false;
            } else if (inside && call.rfind("text ", 0) == 0) {
                docs.back() += call.substr(5);
            }
        }
        printer.calls.clear();
        return docs;
    }
    void select(int from, int to)
    {
        QTextCursor c(box()->document());
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        box()->setTextCursor(c);
    }
    void showActive()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

// ---- The window as it opens ----

TEST_F(Viewer, WindowIsFixedWithItsClientArea)
{
    window.show();
    EXPECT_EQ(window.windowTitle(), "DOS to Windows printing");
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "the window must not be resizable";
    EXPECT_EQ(window.centralWidget()->width(), 671);
    EXPECT_EQ(window.centralWidget()->height() + window.fileStatus()->height(), 383);
    EXPECT_EQ(window.height(), window.menuBar()->height() + 383);
    Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(window.windowIcon().isNull());
}

TEST_F(Viewer, MenuTableAsTheWindowOpens)
{
    struct Row {
        const char* name;
        const char* caption;
        const char* shortcut;
        bool enabled, visible;
    };
    // A hidden action counts as disabled in Qt: its key could not run it either.
    const Row rows[] = {
        {"Openreport", "&Open report...", "Ctrl+O", true, true},
        {"Saveas", "&Save report as...", "", false, true},
        {"seperate1", "", "", true, true},
        {"Printreport", "&Print report...", "Ctrl+P", false, true},
        {"Pagesetup", "Pa&ge setup", "", false, true},
        {"seperate2", "", "", true, true},
        {"Deletereport", "&Delete existing report", "Ctrl+D", true, true},
        {"seperate3", "", "", true, true},
        {"Favorite1", "&1", "", true, true},
        {"Favorite2", "&2", "", false, false},
        {"Favorite3", "&3", "", false, false},
        {"Favorite4", "&4", "", false, false},
        {"Favorite5", "&5", "", false, false},
        {"Seperate4", "", "", true, true},
        {"Exittool", "E&xit DOS to Windows print tool", "Ctrl+X", true, true},
    };
    QMenu* menu = window.findChild<QMenu*>("Filemenu");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "print &File");
    ASSERT_EQ(window.menuBar()->actions().size(), 1);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(rows)));
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        QAction* a = actions[static_cast<qsizetype>(i)];
        SCOPED_TRACE(r.name);
        EXPECT_EQ(a->objectName(), r.name);
        EXPECT_EQ(a->isSeparator(), *r.caption == '\0');
        if (!a->isSeparator()) {
            EXPECT_EQ(a->text(), r.caption);
        }
        EXPECT_EQ(a->shortcut().toString(), r.shortcut);
        EXPECT_EQ(a->isEnabled(), r.enabled);
        EXPECT_EQ(a->isVisible(), r.visible);
    }
}

TEST_F(Viewer, StatusBarAndTextBoxAsTheWindowOpens)
{
    window.show();
    EXPECT_EQ(panels(), (Panels{"", "", false}));
    EXPECT_TRUE(box()->isHidden());
    EXPECT_TRUE(box()->toPlainText().isEmpty());
    QFontInfo font(box()->font());
    EXPECT_TRUE(font.fixedPitch()) << font.family().toStdString();
    EXPECT_DOUBLE_EQ(box()->font().pointSizeF(), 9.75);
    // Panel widths 300, 34, 180 left to right, all on one row.
    QList<QWidget*> panelWidgets;
    for (QWidget* w : window.fileStatus()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isVisible() && w->width() > 20)
            panelWidgets << w;
    std::sort(panelWidgets.begin(), panelWidgets.end(), [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    ASSERT_EQ(panelWidgets.size(), 3);
    EXPECT_EQ(panelWidgets[0]->width(), 300);
    EXPECT_EQ(panelWidgets[1]->width(), 34);
    EXPECT_EQ(panelWidgets[2]->width(), 180);
}

TEST_F(Viewer, FavouriteItemDoesNothing)
{
    item("Favorite1")->trigger();
    EXPECT_TRUE(dialog.shown.empty());
    EXPECT_EQ(panels(), (Panels{"", "", false}));
    EXPECT_FALSE(reportItemsEnabled());
}

// ---- Open report ----

TEST_F(Viewer, OpenThreeLinesOfTenFollowsTheLoadInPanel3)
{
    std::vector<std::string> duringLoad;
    bool boxShownDuringLoad = false, busyThroughout = true;
    window.setLineLoadedHook([&] {
        duringLoad.push_back(panels().p3);
        boxShownDuringLoad |= !box()->isHidden() || box()->isEnabled();
        busyThroughout &= panels().busy && panels().p1 == "Loading report      " + QString::fromStdString(state.ReportPath).toUpper().toStdString();
    });
    std::string path = open("ZLT/rpt", ThreeLines);

    EXPECT_EQ(duringLoad, (std::vector<std::string>{"File size      10  of  36 bytes", "File size      20  of  36 bytes",
                                                    "File size      30  of  36 bytes"}));
    EXPECT_FALSE(boxShownDuringLoad);
    EXPECT_TRUE(busyThroughout);
    EXPECT_EQ(state.ReportPath, path);
    EXPECT_EQ(panels(), (Panels{"Active report      " + QString::fromStdString(path).toUpper().toStdString(),
                                "File size      36 bytes", false}));
    EXPECT_TRUE(reportItemsEnabled());
    EXPECT_FALSE(box()->isHidden());
    EXPECT_TRUE(box()->isEnabled());
    EXPECT_EQ(window.shownText(), ThreeLines);
    EXPECT_FALSE(state.DialogCancelled);

    ASSERT_EQ(dialog.shown.size(), 1u);
    const auto& d = dialog.shown[0];
    EXPECT_EQ(d.method, "open");
    EXPECT_EQ(d.DialogTitle, "Open ZELTO Report...");
    EXPECT_EQ(d.FileName, "RPT.");
    EXPECT_EQ(d.Filter, Filter);
    EXPECT_TRUE(d.CancelError);
}

struct LoadCase {
    const char* name;
    std::string bytes;
    std::string shown;                  // the text box, as host bytes
    std::vector<int> progress;          // CharsLoaded after each line
    std::string finalPanel3;
};

const LoadCase LoadCases[] = {
    {"EmptyFile", "", "", {}, "File size      0 bytes"},
    {"LastLineWithoutTerminator", "ABC\r\nDE", "ABC\r\nDE\r\n", {3, 5}, "File size      7 bytes"},
    {"LfOnlyIsOneLine", "AB\nCD\nEF\n", "AB\nCD\nEF\n\r\n", {9}, "File size      9 bytes"},
    {"LoneCrEndsLines", "AB\rCD\r", "AB\r\nCD\r\n", {2, 4}, "File size      6 bytes"},
    {"CodesShowAsTheyStand", ">[BO]<Bold>[NO]<\r\n", ">[BO]<Bold>[NO]<\r\n", {16}, "File size      18 bytes"},
    {"EmptyLinesKept", "\r\n\r\nA\r\n", "\r\n\r\nA\r\n", {0, 0, 1}, "File size      7 bytes"},
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

class ViewerLoad : public Viewer, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(ViewerLoad, ShowsTheLinesAndCounts)
{
    const LoadCase& c = GetParam();
    std::vector<int> progress;
    window.setLineLoadedHook([&] {
        std::string p3 = panels().p3;
        progress.push_back(std::stoi(p3.substr(std::string("File size      ").size())));
    });
    open("RPT", c.bytes);
    EXPECT_EQ(window.shownText(), c.shown);
    EXPECT_EQ(progress, c.progress);
    EXPECT_EQ(panels().p3, c.finalPanel3);
    EXPECT_FALSE(box()->isHidden());
}

INSTANTIATE_TEST_SUITE_P(Files, ViewerLoad, ::testing::ValuesIn(LoadCases),
                         [](const auto& info) { return std::string(info.param.name); });

std::string numberedLines(int count)
{
    std::string report;
    for (int i = 0; i < count; ++i)
        report += "line " + std::to_string(100 + i) + "\r\n";  // 10 bytes a line
    return report;
}

TEST_F(Viewer, ManyLinesShowAndPrintBackWithEveryBreak)
{
    const std::string report = numberedLines(100);
    open("RPT", report);
    EXPECT_EQ(window.shownText(), report);
    // Lines 30 to 34, across every kind of break the box keeps.
    select(30 * 9, 35 * 9);
    dialog.answerOk();
    window.Printreport_Click();
    EXPECT_EQ(printed(), (std::vector<std::string>{report.substr(30 * 10, 5 * 10)}));
    EXPECT_EQ(window.shownText(), report.substr(0, 300) + report.substr(350));
}

TEST_F(Viewer, EveryByteButCrShowsThroughTheCodePageAndPrintsBack)
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        if (b != '\r')
            bytes += static_cast<char>(b);
    open("RPT", bytes + "\r\n");
    EXPECT_EQ(box()->document()->firstBlock().text().at(0xE9 - 1), QChar(u'\u00e9')) << "1252 e-acute";
    EXPECT_EQ(box()->document()->firstBlock().text().at(0x80 - 1), QChar(u'\u20ac')) << "1252 euro";
    box()->selectAll();
    dialog.answerOk();
    window.Printreport_Click();
    EXPECT_EQ(state.SelectedText, bytes + "\r\n");
}

TEST_F(Viewer, DosPathShowsUpperCased)
{
    dir.write("ZLT/RPT", ThreeLines);
    dialog.answerFile("c:\\zlt\\rpt");
    window.Openreport_Click();
    EXPECT_EQ(state.ReportPath, "c:\\zlt\\rpt");
    EXPECT_EQ(panels().p1, "Active report      C:\\ZLT\\RPT");
    EXPECT_EQ(window.shownText(), ThreeLines);
}

TEST_F(Viewer, CancelBeforeAnyReportLeavesTheWindowAsItWas)
{
    dialog.answerCancel();
    window.Openreport_Click();
    EXPECT_TRUE(state.DialogCancelled);
    EXPECT_EQ(state.ReportPath, "");
    EXPECT_EQ(panels(), (Panels{"", "", false}));
    EXPECT_FALSE(reportItemsEnabled());
    EXPECT_TRUE(box()->isHidden());
}

TEST_F(Viewer, CancelWithAnActiveReportMeasuresItAgain)
{
    std::string path = open("RPT", ThreeLines);
    dir.write("RPT", ThreeLines + "more\r\n");
    dialog.answerCancel();
    window.Openreport_Click();
    EXPECT_TRUE(state.DialogCancelled);
    EXPECT_EQ(state.ReportPath, path);
    EXPECT_EQ(panels().p3, "File size      42 bytes");
    EXPECT_FALSE(panels().busy);
    EXPECT_EQ(window.shownText(), ThreeLines) << "the text is not reloaded";
    EXPECT_FALSE(box()->isHidden());
}

TEST_F(Viewer, CancelAfterTheActiveReportWentAwayStopsAtTheMeasure)
{
    std::string path = open("RPT", ThreeLines);
    std::filesystem::remove(path);
    dialog.answerCancel();
    window.Openreport_Click();
    EXPECT_EQ(panels(), (Panels{"Loading report      " + QString::fromStdString(path).toUpper().toStdString(), "", true}));
    EXPECT_EQ(window.shownText(), ThreeLines);
    EXPECT_FALSE(box()->isHidden());
}

TEST_F(Viewer, MissingFileEndsSilentlyAndALaterOpenWorks)
{
    std::string missing = dir / "NOSUCH";
    dialog.answerFile(missing);
    window.Openreport_Click();
    EXPECT_TRUE(reportItemsEnabled());
    EXPECT_EQ(state.ReportPath, missing);
    EXPECT_EQ(panels(), (Panels{"Loading report      " + QString::fromStdString(missing).toUpper().toStdString(), "", true}));
    EXPECT_TRUE(box()->isHidden());
    EXPECT_EQ(window.shownText(), "");

    // A folder cannot be opened as a report either.
    dialog.answerFile(dir.path().string());
    window.Openreport_Click();
    EXPECT_TRUE(box()->isHidden());
    EXPECT_TRUE(panels().busy);

    std::string path = open("RPT", ThreeLines);
    EXPECT_EQ(panels(), (Panels{"Active report      " + QString::fromStdString(path).toUpper().toStdString(),
                                "File size      36 bytes", false}));
    EXPECT_EQ(window.shownText(), ThreeLines);
    EXPECT_FALSE(box()->isHidden());
    EXPECT_TRUE(box()->isEnabled());
}

TEST_F(Viewer, NewReportReplacesTheWholeText)
{
    open("ONE", ThreeLines);
    select(0, 5);
    open("TWO", "second\r\n");
    EXPECT_EQ(window.shownText(), "second\r\n");
    EXPECT_FALSE(box()->textCursor().hasSelection());
}

TEST_F(Viewer, StatusBarRepaintsAreThrottledNotPerLine)
{
    std::string report;
    for (int i = 0; i < 200000; ++i)
        report += "line of a long report\r\n";
    QElapsedTimer clock;
    clock.start();
    window.show();
    int before = window.fileStatus()->repaints();
    open("RPT", report);
    int repaints = window.fileStatus()->repaints() - before;
    EXPECT_GE(repaints, 2) << "the first progress and the last";
    EXPECT_LE(repaints, 2 + clock.elapsed() / 16) << "no more than one a frame";
    EXPECT_EQ(panels().p3, "File size      " + std::to_string(report.size()) + " bytes");
}

// ---- Print report ----

TEST_F(Viewer, PrintWithoutSelectionPrintsTheFileAsItIsNow)
{
    std::string path = open("RPT", ThreeLines);
    dir.write("RPT", "changed\r\n");
    dialog.answerOk();
    window.Printreport_Click();
    EXPECT_EQ(printed(), (std::vector<std::string>{"changed\r\n"}));
    EXPECT_EQ(window.shownText(), ThreeLines);
    ASSERT_EQ(dialog.shown.size(), 2u);
    const auto& d = dialog.shown[1];
    EXPECT_EQ(d.method, "printer");
    EXPECT_EQ(d.DialogTitle, "Print ZELTO report...");
    EXPECT_EQ(d.Flags, 0x180000);
    EXPECT_TRUE(d.CancelError);
    EXPECT_TRUE(d.PrinterDefault);
    EXPECT_EQ(d.Copies, 1);
    EXPECT_EQ(d.FileName, path);
}

TEST_F(Viewer, PrintSelectionThenTheWholeFile)
{
    open("RPT", ThreeLines);
    select(5, 15);  // "56789", the break, "abcd"
    dialog.answerOk();
    window.Printreport_Click();
    EXPECT_EQ(dialog.shown.back().Flags, 0x180001);
    EXPECT_EQ(state.SelectedText, "56789\r\nabcd");
    EXPECT_EQ(printed(), (std::vector<std::string>{"56789\r\nabcd"}));
    EXPECT_EQ(window.shownText(), "01234efghij\r\nKLMNOPQRST\r\n") << "the printed part leaves the box";

    dialog.answerOk();
    window.Printreport_Click();
    EXPECT_EQ(dialog.shown.back().Flags, 0x180000);
    EXPECT_EQ(printed(), (std::vector<std::string>{ThreeLines}));
}

TEST_F(Viewer, CancelledPrintKeepsTheSelection)
{
    open("RPT", ThreeLines);
    select(0, 3);
    dialog.answerCancel();
    window.Printreport_Click();
    EXPECT_TRUE(state.DialogCancelled);
    EXPECT_TRUE(printed().empty());
    EXPECT_EQ(box()->textCursor().selectedText(), "012");
    EXPECT_EQ(window.shownText(), ThreeLines);
}

TEST_F(Viewer, FailedSelectionPrintKeepsTheSelection)
{
    const std::string report = ">[BC1x3456789012]<\r\n";  // a barcode whose second digit is no digit
    open("RPT", report);
    box()->selectAll();
    dialog.answerOk();
    window.Printreport_Click();
    EXPECT_EQ(dialog.shown.back().Flags, 0x180001);
    EXPECT_TRUE(box()->textCursor().hasSelection());
    EXPECT_EQ(window.shownText(), report);
}

TEST_F(Viewer, SaveAsRepointsTheActiveReportWithoutWriting)
{
    open("RPT", ThreeLines);
    std::string newName = dir / "NEW";
    dialog.answerFile(newName);
    window.Saveas_Click();
    const auto& d = dialog.shown.back();
    EXPECT_EQ(d.method, "save");
    EXPECT_EQ(d.DialogTitle, "Save ZELTO Report as...");
    EXPECT_EQ(d.FileName, "");
    EXPECT_EQ(d.Filter, Filter);
    EXPECT_TRUE(d.CancelError);
    EXPECT_EQ(state.ReportPath, newName);
    EXPECT_FALSE(std::filesystem::exists(newName));
    EXPECT_EQ(panels(), (Panels{"Active report      " + QString::fromStdString(newName).toUpper().toStdString(),
                                "File size      36 bytes", false}));
    EXPECT_EQ(window.shownText(), ThreeLines);

    // The new name names no file: the print ends silently, nothing printed.
    dialog.answerOk();
    window.Printreport_Click();
    EXPECT_TRUE(printed().empty());

    // Pointed at another existing file, that file is printed.
    std::string other = dir.write("OTHER", "other report\r\n");
    dialog.answerFile(other);
    window.Saveas_Click();
    dialog.answerOk();
    window.Printreport_Click();
    EXPECT_EQ(printed(), (std::vector<std::string>{"other report\r\n"}));
}

TEST_F(Viewer, SaveAsCancelledChangesNothing)
{
    std::string path = open("RPT", ThreeLines);
    Panels before = panels();
    dialog.answerCancel();
    window.Saveas_Click();
    EXPECT_TRUE(state.DialogCancelled);
    EXPECT_EQ(state.ReportPath, path);
    EXPECT_EQ(panels(), before);
}

TEST_F(Viewer, PageSetupShowsPrintSetupOnly)
{
    open("RPT", ThreeLines);
    dialog.answerOk();
    window.Pagesetup_Click();
    const auto& d = dialog.shown.back();
    EXPECT_EQ(d.method, "printer");
    EXPECT_EQ(d.DialogTitle, "Printer Setup...");
    EXPECT_EQ(d.Flags, 0x40);
    EXPECT_TRUE(d.PrinterDefault);
    EXPECT_TRUE(d.CancelError);
    EXPECT_EQ(d.Copies, 1);
    EXPECT_TRUE(printed().empty());
}

// ---- Delete existing report ----

TEST_F(Viewer, DeleteTheActiveReportLeavesEverythingElse)
{
    std::string path = open("RPT", ThreeLines);
    Panels before = panels();
    dialog.answerFile(path);
    window.Deletereport_Click();
    const auto& d = dialog.shown.back();
    EXPECT_EQ(d.method, "open");
    EXPECT_EQ(d.DialogTitle, "Delete a ZELTO Report...");
    EXPECT_EQ(d.FileName, "RPT.");
    EXPECT_EQ(d.Filter, Filter);
    EXPECT_TRUE(d.CancelError);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(state.ReportPath, path);
    EXPECT_EQ(panels(), before);
    EXPECT_TRUE(reportItemsEnabled());
    EXPECT_EQ(window.shownText(), ThreeLines);

    dialog.answerOk();
    window.Printreport_Click();
    EXPECT_TRUE(printed().empty()) << "the file is gone";

    select(0, 10);
    dialog.answerOk();
    window.Printreport_Click();
    EXPECT_EQ(printed(), (std::vector<std::string>{"0123456789"}));
}

TEST_F(Viewer, DeleteFailuresLeaveTheFile)
{
    std::string readOnly = dir.write("LOCKED", "x");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
    std::string folder = dir / "FOLDER";
    std::filesystem::create_directory(folder);
    for (const std::string& name : {readOnly, folder, dir / "GONE"}) {
        dialog.answerFile(name);
        window.Deletereport_Click();
    }
    EXPECT_TRUE(std::filesystem::exists(readOnly));
    EXPECT_TRUE(std::filesystem::exists(folder));
    dialog.answerCancel();
    std::string kept = dir.write("KEPT", "x");
    window.Deletereport_Click();
    EXPECT_TRUE(state.DialogCancelled);
    EXPECT_TRUE(std::filesystem::exists(kept));
    EXPECT_EQ(dialog.unanswered(), 0u);
}

// ---- Keys ----

TEST_F(Viewer, ShortcutsOfDisabledItemsDoNothing)
{
    showActive();
    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(dialog.shown.empty());
    EXPECT_TRUE(printed().empty());

    dialog.answerCancel();
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(dialog.shown.size(), 1u);
    EXPECT_EQ(dialog.shown[0].DialogTitle, "Open ZELTO Report...");
    dialog.answerCancel();
    QTest::keyClick(&window, Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(dialog.shown.size(), 2u);
    EXPECT_EQ(dialog.shown[1].DialogTitle, "Delete a ZELTO Report...");
}

TEST_F(Viewer, MenuKeysWinOverTheTextBox)
{
    showActive();
    open("RPT", ThreeLines);
    box()->setFocus();
    ASSERT_TRUE(box()->hasFocus());
    select(0, 4);
    dialog.answerCancel();
    QTest::keyClick(box(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(dialog.shown.back().DialogTitle, "Print ZELTO report...");

    QApplication::clipboard()->setText("untouched");
    select(0, 4);
    QTest::keyClick(box(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible()) << "Ctrl+X exits";
    EXPECT_EQ(window.shownText(), ThreeLines) << "nothing was cut";
    EXPECT_EQ(QApplication::clipboard()->text(), "untouched");
}

TEST_F(Viewer, TypingEditsWhatASelectionPrintSends)
{
    showActive();
    open("RPT", "AB\r\n");
    box()->setFocus();
    QTextCursor c = box()->textCursor();
    c.setPosition(2);
    box()->setTextCursor(c);
    QTest::keyClick(box(), Qt::Key_Return);
    QTest::keyClicks(box(), "C");
    EXPECT_EQ(window.shownText(), "AB\r\nC\r\n");
    box()->selectAll();
    dialog.answerOk();
    window.Printreport_Click();
    EXPECT_EQ(state.SelectedText, "AB\r\nC\r\n");
}

}  // namespace
