// Opens one report in the real viewer window and says how long the load
// took and how often the status bar was painted while it ran. Offscreen
// unless QT_QPA_PLATFORM says otherwise (xcb: a real X display, where the
// window is first mapped and exposed, as a user's is before any command).
//   viewer_open_bench [--qt-dialog] REPORT
// The file dialog is the scripted one, answered at once; with --qt-dialog
// it is Qt's own file dialog, shown and left to list the report's folder as
// a user's is, then accepted with the report's path typed in: the clock then
// starts at the accept, the user's Enter.
// Prints one line: bytes, lines, seconds until the command returned,
// status-bar paints, paints per second, the longest time the status bar
// went unpainted, when the loaded report was on the screen (painted, and on
// X every drawing request carried out by the server), and when its first
// line was read (the way out of the dialog).
#include "platform/posix/system_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/qt_common_dialog.h"
#include "platform/testing/recording_run_printer.h"
#include "platform/testing/scripted_dialog.h"
#include "repview/viewer/viewer_window.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace zlt;
using namespace zlt::repview;

namespace {

// Notes the time of every paint of the status bar.
class PaintClock : public QObject {
public:
    explicit PaintClock(const QElapsedTimer& clock) : clock_(clock) {}
    std::vector<qint64> paints;  // ns since the load began

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && clock_.isValid())
            paints.push_back(clock_.nsecsElapsed());
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer& clock_;
};

bool exposed(QWidget* widget)
{
    return widget->windowHandle() && widget->windowHandle()->isExposed();
}

// Waits for Qt's file dialog to be on the screen, gives it the time a user
// takes to type (its folder listed, its completer settled), types the path
// and accepts it, starting the clock at the accept.
void acceptFileDialogWhenShown(const QString& path, QElapsedTimer& clock)
{
    auto* poll = new QTimer(QApplication::instance());
    QObject::connect(poll, &QTimer::timeout, [poll, path, &clock] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || !exposed(dialog))
            return;
        poll->stop();
        poll->deleteLater();
        // Typed into the name box, which has the focus (selectFile leaves a
        // focused box alone).
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name) {
            std::fprintf(stderr, "the file dialog has no name box\n");
            std::exit(1);
        }
        name->setText(path);
        QTimer::singleShot(1000, dialog, [dialog, &clock] {
            clock.start();
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own accept, as Enter runs it
        });
    });
    poll->start(5);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool qtDialog = argc == 3 && std::strcmp(argv[1], "--qt-dialog") == 0;
    if (argc != 2 && !qtDialog) {
        std::fprintf(stderr, "usage: viewer_open_bench [--qt-dialog] REPORT\n");
        return 2;
    }
    const char* report = argv[argc - 1];
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    CodePage codePage(1252);
    // The Qt dialog comes with the Qt printer its printer dialogs set up;
    // nothing is printed here, the PDF folder is never written.
    Settings settings;
    settings.printer = "pdf:/nonexistent";
    const auto wallClock = makeSystemClock();
    PrinterWithDialog qtPrinter = qtDialog ? makeSystemPrinterWithDialog(codePage, settings, *wallClock) : PrinterWithDialog{};
    testing::RecordingRunPrinter recordingPrinter;
    testing::ScriptedDialog scriptedDialog;
    Printer& printer = qtDialog ? *qtPrinter.printer : recordingPrinter;
    CommonDialog& dialog = qtDialog ? *qtPrinter.dialog : scriptedDialog;
    const auto fileSystem = makeFileSystem();
    HostFiles files(*fileSystem, DriveMap::parse("C=/", "/"));
    PrintEngine engine(printer, files);
    ViewerWindow window(engine, dialog, codePage, files);
    window.show();
    QDeadlineTimer shown(10000);
    while (!exposed(&window) && !shown.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    PaintClock paints(clock);
    window.fileStatus()->installEventFilter(&paints);
    qint64 lines = 0;  // counted only: a clock read per line would weigh on the load
    qint64 firstLine = 0;
    window.setLineLoadedHook([&] {
        if (lines++ == 0)
            firstLine = clock.nsecsElapsed();
    });

    if (qtDialog) {
        acceptFileDialogWhenShown(QString::fromLocal8Bit(report), clock);
    } else {
        scriptedDialog.answerFile(report);
        clock.start();
    }
    window.openReport();
    const qint64 total = clock.nsecsElapsed();
    // Until the window has painted the shown report.
    QCoreApplication::processEvents();
    window.repaint();
    QGuiApplication::sync();
    const qint64 painted = clock.nsecsElapsed();

    const QString done = window.fileStatus()->panelText(3);
    if (!done.endsWith(QLatin1String(" bytes")) || done.contains(QLatin1String("  of  ")) || window.textViewer()->isHidden()) {
        std::fprintf(stderr, "the report did not load: \"%s\"\n", done.toUtf8().constData());
        return 1;
    }
    qint64 longestGap = 0, last = 0;
    for (qint64 t : paints.paints) {
        longestGap = std::max(longestGap, t - last);
        last = t;
    }
    longestGap = std::max(longestGap, painted - last);
    const double seconds = total / 1e9;
    std::printf("bytes=%s lines=%lld seconds=%.3f paints=%zu paints_per_second=%.1f longest_unpainted_ms=%.1f "
                "shown_s=%.3f first_line_s=%.3f\n",
                done.mid(15, done.size() - 21).toUtf8().constData(), static_cast<long long>(lines), seconds,
                paints.paints.size(), paints.paints.size() / (painted / 1e9), longestGap / 1e6, painted / 1e9,
                firstLine / 1e9);
    return 0;
}
