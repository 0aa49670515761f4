// The viewer with Qt's own dialogs answered by timers as a person would, and the printer wired for
// REPVIEW_PRINTER=pdf:<folder>: what each dialog shows, and the prints read back from their PDF files.
#include "platform/testing/fixed_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/qt_common_dialog.h"
#include "repview/viewer/viewer_window.h"
#include "tests/support/program_run.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

using namespace zlt;

namespace {

// Runs the command; acts on its dialog once that is open (exec() blocks).
void answer(const std::function<void()>& command, std::function<void(QDialog*)> act)
{
    auto* timer = new QTimer(QApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()); dialog && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start(5);
    command();
}

TEST(QtDialogs, NoPrinterTheDialogCannotPrintToReplacesThePdfFolder)
{
    const qt::PrinterDestination pdf{qt::PrinterDestination::Kind::PdfFolder, "", "/tmp/reports"};
    for (auto [native, name] : {std::pair(true, ""), std::pair(true, "no-such-printer"), std::pair(false, "Office")})
        EXPECT_EQ(qt::destinationAfterDialog(pdf, native, name).pdfFolder, pdf.pdfFolder) << name;
}

TEST(QtDialogs, ViewerCommandsThroughQtsOwnDialogs)
{
    const zlt::testing::TempDir dir;
    const std::string report = dir.write("RPT", "FIRST LINE OF REPORT\r\nSECOND LINE CHOSEN\r\nTHIRD LINE LEFT\r\n");
    const Settings settings = [&] { Settings s; s.printer = "pdf:" + dir / "pdf"; return s; }();  // REPVIEW_PRINTER
    const CodePage codePage(1252);
    zlt::testing::FixedClock clock({2026, 12, 7, 9, 5, 30, 42});
    PrinterWithDialog viewerPrinter = makeSystemPrinterWithDialog(codePage, settings, clock);
    qt::QtPrinter& qtPrinter = dynamic_cast<qt::QtPrinter&>(*viewerPrinter.printer);
    const std::unique_ptr<FileSystem> disk = makeFileSystem();
    HostFiles files(*disk, DriveMap::parse("C=" + dir.path().string(), "/home"));
    repview::PrintEngine engine(*viewerPrinter.printer, files);
    repview::ViewerWindow window(engine, *viewerPrinter.dialog, codePage, files);
    auto pdf = [&](const std::string& tool, size_t jobs) {  // what pdftotext or pdfinfo says of the last job
        EXPECT_EQ(qtPrinter.writtenFiles().size(), jobs);
        const std::string last = qtPrinter.writtenFiles().empty() ? "" : qtPrinter.writtenFiles().back();
        EXPECT_EQ(std::filesystem::path(last).parent_path(), dir.path() / "pdf");
        EXPECT_TRUE(std::filesystem::path(last).filename().string().starts_with("repview-20261207-090530.042-")) << last;
        std::vector<std::string> arguments = {last};
        if (tool == "pdftotext")
            arguments.push_back("-");  // the text to standard output
        const std::string said = zlt::testing::runProgram("/usr/bin/" + tool, arguments, {}, dir.path()).standardOutput;
        return QString::fromStdString(said).simplified().toStdString();
    };
    std::string seen;

    answer([&] { window.openReport(); }, [&](QDialog* d) {
        auto* fileDialog = qobject_cast<QFileDialog*>(d);
        seen = (d->windowTitle() + "|" + fileDialog->findChild<QLineEdit*>("fileNameEdit")->text() + "|" +
                fileDialog->selectedNameFilter() + "|" + fileDialog->nameFilters().join(',')).toStdString() +
               (fileDialog->testOption(QFileDialog::DontUseNativeDialog) ? "|own" : "");
        fileDialog->selectFile(QString::fromStdString(report));
        d->accept();
    });
    // Qt's own dialog; the filter as the user reads it, its DOS patterns made to match the same Linux files.
    EXPECT_EQ(seen, "Open ZELTO Report...|RPT.|ZELTO report (RPT.)|ZELTO report (RPT.) (RPT),Text files (*.txt) (*.txt),"
                    "Text files (*.doc) (*.doc),All files (*.*) (*)|own");

    // The second line selected: Selection offered, no print to file; a cancel prints nothing, copies are not passed on.
    QTextCursor line(window.textViewer()->document());
    line.setPosition(21);
    line.setPosition(21 + 18, QTextCursor::KeepAnchor);
    window.textViewer()->setTextCursor(line);
    for (bool confirm : {false, true}) {
        answer([&] { window.printReport(); }, [&](QDialog* d) {
            auto* print = qobject_cast<QPrintDialog*>(d);
            seen = d->windowTitle().toStdString() + (print->testOption(QAbstractPrintDialog::PrintToFile) ? " file" : "") +
                   (print->testOption(QAbstractPrintDialog::PrintSelection) ? " selection" : "") +
                   (print->printer()->printRange() == QPrinter::Selection ? " chosen" : "");
            d->findChild<QSpinBox*>("copies")->setValue(3);
            confirm ? d->accept() : d->reject();
        });
        EXPECT_EQ(seen, "Print ZELTO report... selection chosen");
    }
    EXPECT_EQ(pdf("pdftotext", 1), "SECOND LINE CHOSEN");
    EXPECT_TRUE(qtPrinter.device().copyCount() == 1 && qtPrinter.device().printRange() == QPrinter::AllPages);

    // A page turned in Page setup holds for the next print (of the whole file, nothing selected) once confirmed.
    for (bool confirm : {false, true}) {
        answer([&] { window.pageSetup(); }, [&](QDialog* d) {
            seen = d->windowTitle().toStdString();
            d->findChild<QRadioButton*>("landscape")->setChecked(true);
            confirm ? d->accept() : d->reject();
        });
        EXPECT_EQ(seen, "Printer Setup...");
        EXPECT_EQ(qtPrinter.device().pageLayout().orientation(), confirm ? QPageLayout::Landscape : QPageLayout::Portrait);
    }
    answer([&] { window.printReport(); }, [&](QDialog* d) {
        seen = qobject_cast<QPrintDialog*>(d)->testOption(QAbstractPrintDialog::PrintSelection) ? "selection" : "all";
        d->accept();
    });
    EXPECT_EQ(seen, "all");
    EXPECT_EQ(pdf("pdftotext", 2), "FIRST LINE OF REPORT SECOND LINE CHOSEN THIRD LINE LEFT");
    EXPECT_NE(pdf("pdfinfo", 2).find("842 x 595 pts"), std::string::npos) << "a landscape page";

    viewerPrinter.dialog->fileName = "RPT.";
    answer([&] { EXPECT_FALSE(viewerPrinter.dialog->showSave()); }, [](QDialog* d) { d->reject(); });
    EXPECT_EQ(viewerPrinter.dialog->fileName, "RPT.");

    // Enter in Delete takes the offered "RPT.": the report, in the folder the last dialog was left in.
    answer([&] { window.deleteReport(); }, [](QDialog* d) { d->accept(); });
    EXPECT_FALSE(std::filesystem::exists(report));
}

}  // namespace
