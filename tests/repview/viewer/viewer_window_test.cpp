// The viewer window on an in-memory disk, the scripted dialog and the recording printer: its
// menu, each command in each situation as the status bar follows it, the text back as host bytes.
#include "repview/viewer/viewer_window.h"

#include "platform/testing/memory_file_system.h"
#include "platform/testing/recording_run_printer.h"
#include "platform/testing/scripted_dialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

using namespace zlt;
using namespace zlt::repview;
using zlt::testing::MemoryFileSystem;
using Panels = std::tuple<std::string, std::string, bool>;  // panel 1, panel 3, panel 2's picture shown

namespace {

const std::string ThreeLines = "0123456789\r\nabcdefghij\r\nKLMNOPQRST\r\n", Rpt = "/c/ZLT/RPT";
Panels loading(const std::string& path) { return {"Loading report      " + path, "", true}; }
Panels active(size_t size, const std::string& path = "C:\\ZLT\\RPT")
{
    return {"Active report      " + path, "File size      " + std::to_string(size) + " bytes", false};
}

class Viewer : public ::testing::Test {
protected:
    MemoryFileSystem disk;
    HostFiles files{disk, DriveMap::parse("C=/c", "/home")};
    zlt::testing::RecordingRunPrinter printer;
    PrintEngine engine{printer, files};
    zlt::testing::ScriptedDialog dialog;
    CodePage codePage{1252};
    ViewerWindow window{engine, dialog, codePage, files};
    Viewer() { disk.setCurrentDirectory("/c/ZLT"); }  // where a dialog's "RPT." finds the report

    QPlainTextEdit* box() { return window.textViewer(); }
    Panels panels()
    {
        const FileStatus* s = window.fileStatus();
        return {s->panelText(1).toStdString(), s->panelText(3).toStdString(), s->busyVisible()};
    }
    void open(const std::string& bytes, ViewerWindow* viewer = nullptr)
    {
        disk.addFile(Rpt, bytes);
        dialog.answerFile("c:\\zlt\\rpt");
        (viewer ? viewer : &window)->openReport();
    }
    std::string printed()  // what was printed since the last call
    {
        const std::string text = printer.printed();
        printer.jobs.clear();
        return text;
    }
    void selectFirst(int characters)
    {
        QTextCursor c(box()->document());
        c.setPosition(characters, QTextCursor::KeepAnchor);
        box()->setTextCursor(c);
    }
};

// The menu's keys work from the text box too: Ctrl+X exits there, not cuts.
TEST_F(Viewer, WindowMenuAndKeys)
{
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(window.windowTitle(), "DOS to Windows printing");
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "the window must not be resizable";
    EXPECT_EQ(window.size(), QSize(671, window.menuBar()->height() + 383));
    EXPECT_EQ(window.windowFlags() & (Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint), Qt::WindowCloseButtonHint);
    EXPECT_TRUE(!window.windowIcon().isNull() && QFontInfo(box()->font()).fixedPitch() && box()->font().pointSizeF() == 9.75);
    for (auto [x, width] : {std::pair(10, 300), std::pair(310, 34), std::pair(350, 180)})  // the status bar's panels
        EXPECT_EQ(window.fileStatus()->childAt(x, 8) ? window.fileStatus()->childAt(x, 8)->width() : 0, width);
    // Name, caption, shortcut, enabled, visible (Qt counts a hidden item disabled).
    const QStringList expected = {
        "Openreport &Open report... Ctrl+O 11", "Saveas &Save report as...  01", "seperate1   11",
        "Printreport &Print report... Ctrl+P 01", "Pagesetup Pa&ge setup  01", "seperate2   11",
        "Deletereport &Delete existing report Ctrl+D 11", "seperate3   11", "Favorite1 &1  11", "Favorite2 &2  00",
        "Favorite3 &3  00", "Favorite4 &4  00", "Favorite5 &5  00", "Seperate4   11",
        "Exittool E&xit DOS to Windows print tool Ctrl+X 11"};
    ASSERT_EQ(window.menuBar()->actions().size(), 1);
    const QMenu* menu = window.findChild<QMenu*>("Filemenu");
    EXPECT_EQ(menu->title(), "print &File");
    QStringList items;
    for (const QAction* a : menu->actions())
        items << QStringLiteral("%1 %2 %3 %4%5").arg(a->objectName(), a->isSeparator() ? QString() : a->text(),
                                                     a->shortcut().toString()).arg(a->isEnabled()).arg(a->isVisible());
    EXPECT_EQ(items, expected);
    window.findChild<QAction*>("Favorite1")->trigger();  // inert: no dialog, nothing changes
    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);  // Print report is disabled before a report
    EXPECT_TRUE(dialog.shown.empty());
    disk.addFile(Rpt, ThreeLines);
    dialog.answerFile("c:\\zlt\\rpt");
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    box()->setFocus();
    for (auto [key, title] : {std::pair(Qt::Key_P, "Print ZELTO report..."), std::pair(Qt::Key_D, "Delete a ZELTO Report...")}) {
        dialog.answerCancel();
        QTest::keyClick(box(), key, Qt::ControlModifier);
        EXPECT_EQ(dialog.shown.back().dialogTitle, title);
    }
    QApplication::clipboard()->setText("untouched");
    selectFirst(4);
    QTest::keyClick(box(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible()) << "Ctrl+X exits";
    EXPECT_EQ(window.shownText(), ThreeLines) << "nothing was cut";
    EXPECT_EQ(QApplication::clipboard()->text(), "untouched");
}

// Every byte but CR as its character in the code page, across the box's breaks; one repaint a frame at most.
TEST_F(Viewer, ShownTextMapsBackToHostBytes)
{
    std::string line, report;
    for (int b = 0x80; b < 0x180; ++b)
        line += b == 0x100 + '\r' ? "" : std::string(1, static_cast<char>(b));  // 0x80 to 0xFF, then 0x00 to 0x7F
    while (report.size() < 40 * (line.size() + 2))
        report += line + "\r\n";
    for (auto [number, byte1, shown1, byte2, shown2] :
         {std::tuple(1252, 0x80, u'\u20ac', 0xe9, u'\u00e9'), std::tuple(850, 0x82, u'\u00e9', 0xc9, u'\u2554')}) {
        const CodePage hostPage(number);
        ViewerWindow viewer(engine, dialog, hostPage, files);
        QElapsedTimer clock;
        clock.start();
        open(report, &viewer);
        EXPECT_GE(viewer.fileStatus()->repaints(), 2) << "the first progress and the last";
        EXPECT_LE(viewer.fileStatus()->repaints(), 2 + clock.elapsed() / 16) << "no more than one a frame";
        const std::u16string text = viewer.textViewer()->toPlainText().toStdU16String();  // the LF, 0x8A in, as its symbol
        EXPECT_EQ(std::tuple(text[byte1 - 0x80], text[byte2 - 0x80], text[0x8a]), std::tuple(shown1, shown2, u'\u240a'));
        EXPECT_EQ(viewer.shownText(), report) << number;
    }
}

enum Command { Open, SaveAs, Print, PageSetup, Delete };
const struct {
    void (ViewerWindow::*run)();
    const char* dialog;  // method, title, file name ("stale": left as it was)
    long flags;          // -1: a file dialog, with the report filter
} Commands[] = {
    {&ViewerWindow::openReport, "open|Open ZELTO Report...|RPT.", -1},
    {&ViewerWindow::saveReportAs, "save|Save ZELTO Report as...|", -1},
    // Print to file disabled and hidden; 0x1 (Selection) added with a selection.
    {&ViewerWindow::printReport, "printer|Print ZELTO report...|c:\\zlt\\rpt", 0x80000 | 0x100000},
    {&ViewerWindow::pageSetup, "printer|Printer Setup...|stale", 0x40},  // Print Setup
    {&ViewerWindow::deleteReport, "open|Delete a ZELTO Report...|RPT.", -1},
};

struct Situation {
    const char* name;
    Command cmd;
    bool fresh = false;  // no report opened first (else c:\zlt\rpt, holding file)
    std::string file = ThreeLines;
    std::function<void(MemoryFileSystem&)> change = [](MemoryFileSystem&) {};  // on the disk since
    int sel = 0;                   // characters selected from the top
    const char* answer = nullptr;  // a file name, "" OK, nullptr Cancel
    std::vector<int> loaded = {};  // panel 3's count after each line loaded
    Panels panels = active(36);    // afterwards
    std::string shown = ThreeLines;
    std::string printed = {};
    std::string removed = {};
    std::optional<std::string> printAll = {};  // what a print with nothing selected prints then
    const char* path = "c:\\zlt\\rpt";  // the active report
    bool box = true, items = true;      // the text box and the report items usable
};
void PrintTo(const Situation& s, std::ostream* os) { *os << s.name; }
auto write(std::string path, std::string bytes, bool rw = true) { return [=](auto& d) { d.addFile(path, bytes, rw); }; }
const char* const Chosen = "c:\\zlt\\rpt";

const Situation Situations[] = {
    {.name = "OpenThreeLinesOfTenAgain", .cmd = Open, .answer = Chosen, .loaded = {10, 20, 30}},
    {.name = "OpenLineEndsAndCodesAsTheyStand", .cmd = Open, .fresh = true, .file = ">[BO]<A\nBC\r\r\nDE", .answer = Chosen,
     .loaded = {10, 10, 12}, .panels = active(15), .shown = ">[BO]<A\nBC\r\n\r\nDE\r\n"},
    {.name = "OpenCancelled", .cmd = Open, .fresh = true, .panels = {}, .shown = "", .path = "", .box = false, .items = false},
    {.name = "OpenCancelledMeasuresAgain", .cmd = Open, .change = write(Rpt, ThreeLines + "\r\n"), .panels = active(38)},
    {.name = "OpenCancelledReportGone", .cmd = Open, .change = [](auto& d) { d.remove(Rpt); }, .panels = loading("C:\\ZLT\\RPT")},
    {.name = "OpenMissingFile", .cmd = Open, .fresh = true, .answer = "c:\\zlt\\nosuch", .panels = loading("C:\\ZLT\\NOSUCH"),
     .shown = "", .path = "c:\\zlt\\nosuch", .box = false},
    {.name = "OpenFolder", .cmd = Open, .fresh = true, .answer = "c:\\zlt", .panels = loading("C:\\ZLT"), .shown = "",
     .path = "c:\\zlt", .box = false},
    {.name = "OpenReadFails", .cmd = Open, .change = [](MemoryFileSystem& d) { d.failReadsWith = error_number::DeviceIoError; },
     .answer = Chosen, .panels = loading("C:\\ZLT\\RPT"), .shown = "", .box = false},
    {.name = "PrintTheFileAsItIsNow", .cmd = Print, .change = write(Rpt, "new\r\n"), .answer = "", .printed = "new"},
    {.name = "PrintSelectionOnly", .cmd = Print, .sel = 14, .answer = "", .shown = "defghij\r\nKLMNOPQRST\r\n",
     .printed = "0123456789\r\nabc", .printAll = "0123456789\r\nabcdefghij\r\nKLMNOPQRST"},
    {.name = "PrintCancelledKeepsTheSelection", .cmd = Print, .sel = 3},
    {.name = "PrintMissingFile", .cmd = Print, .change = [](auto& d) { d.remove(Rpt); }, .answer = ""},
    {.name = "PrintFailedKeepsTheSelection", .cmd = Print, .file = ">[BC1x3456789012]<\r\n", .sel = 19, .answer = "",
     .panels = active(20), .shown = ">[BC1x3456789012]<\r\n"},
    {.name = "PageSetupPrintsNothing", .cmd = PageSetup, .answer = ""},
    {.name = "SaveAsRepointsWithoutWriting", .cmd = SaveAs, .answer = "c:\\zlt\\new", .panels = active(36, "C:\\ZLT\\NEW"),
     .printAll = "", .path = "c:\\zlt\\new"},
    {.name = "SaveAsOntoAnotherReport", .cmd = SaveAs, .change = write("/c/ZLT/OTHER", "other\r\n"), .answer = "c:\\zlt\\other",
     .panels = active(36, "C:\\ZLT\\OTHER"), .printAll = "other", .path = "c:\\zlt\\other"},
    {.name = "SaveAsCancelled", .cmd = SaveAs},
    {.name = "DeleteTheActiveReport", .cmd = Delete, .answer = Chosen, .removed = Rpt, .printAll = ""},
    {.name = "DeleteRefusesReadOnly", .cmd = Delete, .change = write("/c/ZLT/LOCKED", "x", false), .answer = "c:\\zlt\\locked"},
    {.name = "DeleteRefusesAFolder", .cmd = Delete, .answer = "c:\\zlt"},
    {.name = "DeleteMissingFile", .cmd = Delete, .answer = "c:\\zlt\\gone"},
    {.name = "DeleteCancelled", .cmd = Delete},
};

class ViewerCommand : public Viewer, public ::testing::WithParamInterface<Situation> {};

// No command but Delete changes the disk; a failure ends its command silently; Open report works on.
TEST_P(ViewerCommand, ShowsItsDialogAndDoesItsWork)
{
    const Situation& s = GetParam();
    const auto& c = Commands[s.cmd];
    s.fresh ? disk.addFile(Rpt, s.file) : open(s.file);
    selectFirst(s.sel);
    s.change(disk);
    auto diskAfter = disk.files();
    diskAfter.erase(s.removed);
    s.answer == nullptr ? dialog.answerCancel() : *s.answer ? dialog.answerFile(s.answer) : dialog.answerOk();
    std::vector<std::string> progress, expected;  // the status bar as each line loads
    for (int chars : s.loaded)
        expected.push_back("Loading report      C:\\ZLT\\RPT busy, box hidden, File size      " + std::to_string(chars) +
                           "  of  " + std::to_string(s.file.size()) + " bytes");
    window.setLineLoadedHook([&] {
        auto [p1, p3, busy] = panels();
        progress.push_back(p1 + (busy ? " busy" : "") + (box()->isHidden() && !box()->isEnabled() ? ", box hidden, " : "") + p3);
    });
    dialog.fileName = dialog.filter = "stale";  // as another command left them
    std::tie(dialog.flags, dialog.printerDefault, dialog.copies) = std::tuple(0x7, false, 9);
    (window.*c.run)();

    ASSERT_EQ(dialog.shown.size(), s.fresh ? 1u : 2u);
    const auto& d = dialog.shown.back();
    EXPECT_EQ(d.method + "|" + d.dialogTitle + "|" + d.fileName, c.dialog);
    if (c.flags < 0)
        EXPECT_EQ(d.filter, "ZELTO report (RPT.)|RPT.|Text files (*.txt)|*.txt|Text files (*.doc)|*.doc|All files (*.*)|*.*");
    else
        EXPECT_TRUE(d.flags == (c.flags | (s.sel > 0 ? 0x1 : 0)) && d.printerDefault && d.copies == 1) << d.flags;
    EXPECT_EQ(progress, expected);
    EXPECT_EQ(printed(), s.printed);
    EXPECT_EQ(disk.files(), diskAfter);
    EXPECT_EQ(panels(), s.panels);
    const int items = window.findChild<QAction*>("Saveas")->isEnabled() + window.findChild<QAction*>("Printreport")->isEnabled() +
                      window.findChild<QAction*>("Pagesetup")->isEnabled();
    EXPECT_EQ(std::tuple(window.reportPath(), window.shownText(), box()->textCursor().selectedText().size(),
                         !box()->isHidden() && box()->isEnabled(), items),
              std::tuple(s.path, s.shown, s.printed.empty() ? s.sel : 0, s.box, s.items ? 3 : 0));
    if (s.printAll) {
        dialog.answerOk();
        window.printReport();
        EXPECT_EQ(printed(), *s.printAll);
    }
    disk.failReadsWith = 0;
    open(ThreeLines);
    EXPECT_EQ(panels(), active(36));
    EXPECT_TRUE(window.shownText() == ThreeLines && !box()->textCursor().hasSelection() && !box()->isHidden());
}

INSTANTIATE_TEST_SUITE_P(Viewer, ViewerCommand, ::testing::ValuesIn(Situations), [](const auto& row) { return row.param.name; });

}  // namespace
