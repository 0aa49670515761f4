// The common dialog on Qt's real dialogs, answered the way a person would,
// and a selection printed through the real printer into a PDF read back
// with pdftotext.
#include "platform/qt/qt_common_dialog.h"

#include "platform/backends.h"
#include "platform/run_time_error.h"
#include "repview/viewer/viewer_window.h"
#include "temp_dir.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextCursor>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>

using namespace zlt;
using namespace zlt::qt;
using zlt::testing::TempDir;

namespace {

// Acts on the next modal dialog once it is open (exec() blocks the test).
void whenDialogOpens(std::function<void(QDialog*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(dialog);
    });
    timer->start();
}

PrinterDestination pdfFolder(const std::filesystem::path& folder)
{
    PrinterDestination d;
    d.kind = PrinterDestination::Kind::PdfFolder;
    d.pdfFolder = folder;
    return d;
}

std::string toolOutput(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        out.append(buffer.data(), n);
    return out;
}

std::string pdfText(const std::string& file)
{
    return toolOutput("pdftotext -layout '" + file + "' -");
}

int cancelNumber(const std::function<void()>& show)
{
    try {
        show();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(QtNameFilters, DosPatternsMatchTheSameLinuxFiles)
{
    EXPECT_EQ(qtNameFilters(std::string(repview::ViewerWindow::ReportFilter)), (QStringList{"ZELTO report (RPT.) (RPT)", "Text files (*.txt) (*.txt)",
                                                          "Text files (*.doc) (*.doc)", "All files (*.*) (*)"}));
    EXPECT_EQ(qtNameFilters("Reports|RPT.;*.rpt"), QStringList{"Reports (RPT *.rpt)"});
    EXPECT_TRUE(qtNameFilters("").isEmpty());
}

TEST(DestinationAfterDialog, OnlyAPrinterCupsKnowsReplacesTheDestination)
{
    const PrinterDestination pdf = pdfFolder("/tmp/reports");
    struct Case {
        bool native;
        const char* name;
    };
    // The print dialog with no printers leaves the name empty, or keeps a
    // name it cannot print to.
    for (Case c : {Case{false, ""}, Case{true, ""}, Case{true, "no-such-printer-here"}, Case{false, "Office"}}) {
        PrinterDestination after = destinationAfterDialog(pdf, c.native, QString::fromLatin1(c.name));
        EXPECT_EQ(after.kind, PrinterDestination::Kind::PdfFolder) << c.name;
        EXPECT_EQ(after.pdfFolder, pdf.pdfFolder);
    }
}

class QtDialog : public ::testing::Test {
protected:
    TempDir dir;
    CodePage codePage{1252};
    QtPrinter printer{pdfFolder(dir.path() / "pdf"), codePage};
    QtCommonDialog dialog{printer};
};

TEST_F(QtDialog, OpenShowsTitleFilterAndNameAndReturnsTheChosenPath)
{
    std::string report = dir.write("RPT", "x");
    dialog.DialogTitle = "Open ZELTO Report...";
    dialog.FileName = "RPT.";
    dialog.Filter = std::string(repview::ViewerWindow::ReportFilter);
    dialog.CancelError = true;
    std::string title, filter, nameBox;
    bool ownDialog = false;
    whenDialogOpens([&](QDialog* d) {
        auto* files = qobject_cast<QFileDialog*>(d);
        ASSERT_NE(files, nullptr);
        title = files->windowTitle().toStdString();
        filter = files->selectedNameFilter().toStdString();
        if (auto* edit = files->findChild<QLineEdit*>("fileNameEdit"))
            nameBox = edit->text().toStdString();
        ownDialog = files->testOption(QFileDialog::DontUseNativeDialog);
        files->selectFile(QString::fromStdString(report));
        static_cast<QDialog*>(files)->accept();
    });
    dialog.ShowOpen();
    EXPECT_EQ(title, "Open ZELTO Report...");
    EXPECT_EQ(filter, "ZELTO report (RPT.)") << "as the user reads it";
    EXPECT_EQ(nameBox, "RPT.");
    EXPECT_TRUE(ownDialog) << "Qt's own dialog, the same on every desktop";
    EXPECT_EQ(dialog.FileName, report);
}

TEST_F(QtDialog, CancelRaisesTheCancelErrorOnlyWhenAsked)
{
    for (bool cancelError : {true, false}) {
        dialog.CancelError = cancelError;
        dialog.FileName = "RPT.";
        whenDialogOpens([](QDialog* d) { d->reject(); });
        EXPECT_EQ(cancelNumber([&] { dialog.ShowSave(); }), cancelError ? 32755 : 0);
        EXPECT_EQ(dialog.FileName, "RPT.");
        whenDialogOpens([](QDialog* d) { d->reject(); });
        dialog.Flags = print_dialog_flags::PrintSetup;
        EXPECT_EQ(cancelNumber([&] { dialog.ShowPrinter(); }), cancelError ? 32755 : 0);
    }
}

TEST_F(QtDialog, PrintDialogTakesItsOptionsFromTheFlags)
{
    struct Case {
        long flags;
        bool printToFile, selection;
    };
    for (Case c : {Case{0x180000, false, false}, Case{0x180001, false, true}, Case{0x80000, false, false},
                   Case{0, true, false}}) {
        dialog.Flags = c.flags;
        dialog.PrinterDefault = true;
        dialog.CancelError = true;
        dialog.DialogTitle = "Print ZELTO report...";
        bool printToFile = !c.printToFile, selection = !c.selection;
        QPrinter::PrintRange range = QPrinter::PageRange;
        QString title;
        whenDialogOpens([&](QDialog* d) {
            auto* print = qobject_cast<QPrintDialog*>(d);
            ASSERT_NE(print, nullptr);
            title = print->windowTitle();
            printToFile = print->testOption(QAbstractPrintDialog::PrintToFile);
            selection = print->testOption(QAbstractPrintDialog::PrintSelection);
            range = print->printer()->printRange();
            // A person asks for three copies.
            if (auto* copies = print->findChild<QSpinBox*>("copies"))
                copies->setValue(3);
            else
                ADD_FAILURE() << "no copies box in the print dialog";
            print->accept();
        });
        dialog.ShowPrinter();
        SCOPED_TRACE(c.flags);
        EXPECT_EQ(title, "Print ZELTO report...");
        EXPECT_EQ(printToFile, c.printToFile);
        EXPECT_EQ(selection, c.selection);
        EXPECT_EQ(range, c.selection ? QPrinter::Selection : QPrinter::AllPages);
        // No CUPS printer was chosen: the jobs still go to the PDF folder.
        EXPECT_EQ(printer.destination().kind, PrinterDestination::Kind::PdfFolder);
        EXPECT_EQ(printer.device().outputFormat(), QPrinter::PdfFormat);
        // Copies and range of the dialog do not reach the prints.
        EXPECT_EQ(printer.device().copyCount(), 1);
        EXPECT_EQ(printer.device().printRange(), QPrinter::AllPages);
    }
}

TEST_F(QtDialog, PageSetupChoiceHoldsForTheNextPrintsOnlyWithPrinterDefault)
{
    printer.device().setPageOrientation(QPageLayout::Portrait);
    for (bool keep : {false, true}) {
        dialog.Flags = print_dialog_flags::PrintSetup;
        dialog.PrinterDefault = keep;
        dialog.DialogTitle = "Printer Setup...";
        std::string title;
        whenDialogOpens([&](QDialog* d) {
            title = d->windowTitle().toStdString();
            // What a person does in the dialog: turn the page.
            auto* landscape = d->findChild<QRadioButton*>("landscape");
            ASSERT_NE(landscape, nullptr);
            landscape->setChecked(true);
            d->accept();
        });
        dialog.ShowPrinter();
        EXPECT_EQ(title, "Printer Setup...");
        EXPECT_EQ(printer.device().pageLayout().orientation(), keep ? QPageLayout::Landscape : QPageLayout::Portrait);
        EXPECT_EQ(printer.destination().kind, PrinterDestination::Kind::PdfFolder);
    }
    // The next print comes out on turned pages.
    printer.beginDocument();
    printer.printText("turned");
    printer.endDocument();
    ASSERT_EQ(printer.writtenFiles().size(), 1u);
    std::string info = toolOutput("pdfinfo '" + printer.writtenFiles()[0] + "'");
    EXPECT_NE(info.find("842 x 595 pts"), std::string::npos) << info;
}

// The whole road with the real dialogs: open, select, print the selection.
TEST_F(QtDialog, SelectionPrintedThroughTheRealPrinterReachesThePdf)
{
    std::string report = dir.write("RPT", "FIRST LINE OF REPORT\r\nSECOND LINE CHOSEN\r\nTHIRD LINE LEFT\r\n");
    repview::RepviewState state;
    DriveMap drives = DriveMap::parse("C=" + dir.path().string());
    repview::PrintEngine engine(state, printer, drives);
    repview::ViewerWindow window(state, engine, dialog, codePage, drives);
    window.show();

    whenDialogOpens([&](QDialog* d) {
        auto* files = qobject_cast<QFileDialog*>(d);
        files->selectFile(QString::fromStdString(report));
        static_cast<QDialog*>(files)->accept();
    });
    window.Openreport_Click();
    ASSERT_EQ(state.ReportPath, report);

    QTextCursor c(window.textViewer()->document());
    c.setPosition(21);  // the second line, without its break
    c.setPosition(21 + 18, QTextCursor::KeepAnchor);
    ASSERT_EQ(c.selectedText(), "SECOND LINE CHOSEN");
    window.textViewer()->setTextCursor(c);

    whenDialogOpens([](QDialog* d) { d->accept(); });
    window.Printreport_Click();
    ASSERT_EQ(printer.writtenFiles().size(), 1u);
    std::string text = pdfText(printer.writtenFiles()[0]);
    EXPECT_NE(text.find("SECOND LINE CHOSEN"), std::string::npos) << text;
    EXPECT_EQ(text.find("FIRST"), std::string::npos) << text;
    EXPECT_EQ(text.find("THIRD"), std::string::npos) << text;

    // Nothing selected now: the whole file is printed.
    whenDialogOpens([](QDialog* d) { d->accept(); });
    window.Printreport_Click();
    ASSERT_EQ(printer.writtenFiles().size(), 2u);
    text = pdfText(printer.writtenFiles()[1]);
    EXPECT_NE(text.find("FIRST LINE OF REPORT"), std::string::npos) << text;
    EXPECT_NE(text.find("THIRD LINE LEFT"), std::string::npos) << text;
}

// A person who just presses Enter in the Open and Delete dialogs takes the
// name they offer, "RPT.", which is the report RPT in the current folder.
TEST_F(QtDialog, OfferedNameOpensAndDeletesTheReport)
{
    std::string report = dir.write("RPT", "OFFERED REPORT\r\n");
    std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    repview::RepviewState state;
    DriveMap drives = DriveMap::parse("C=" + dir.path().string());
    repview::PrintEngine engine(state, printer, drives);
    repview::ViewerWindow window(state, engine, dialog, codePage, drives);
    window.show();

    whenDialogOpens([](QDialog* d) { d->accept(); });
    window.Openreport_Click();
    EXPECT_TRUE(window.textViewer()->isVisible());
    EXPECT_EQ(window.textViewer()->toPlainText().toStdString(), "OFFERED REPORT\n");

    whenDialogOpens([](QDialog* d) { d->accept(); });
    window.Deletereport_Click();
    EXPECT_FALSE(std::filesystem::exists(report));
    std::filesystem::current_path(before);
}

// The pair the program wires: REPVIEW_PRINTER=pdf:<folder>, a print
// dialog accepted with no printer on the machine, then a job in the folder.
TEST(SystemPrinterWithDialog, PdfSettingPrintsThroughTheDialogsPrinter)
{
    TempDir dir;
    const std::string folder = dir / "out";
    setenv("REPVIEW_PRINTER", ("pdf:" + folder).c_str(), 1);
    CodePage codePage(1252);
    auto [printer, dialog] = makeSystemPrinterWithDialog(codePage);
    unsetenv("REPVIEW_PRINTER");
    dialog->Flags = print_dialog_flags::DisablePrintToFile | print_dialog_flags::HidePrintToFile;
    dialog->PrinterDefault = true;
    whenDialogOpens([](QDialog* d) { d->accept(); });
    dialog->ShowPrinter();
    printer->beginDocument();
    printer->printText("through the dialog's printer");
    printer->endDocument();
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files.push_back(entry.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_NE(pdfText(files[0].string()).find("through the dialog's printer"), std::string::npos);
}

}  // namespace
