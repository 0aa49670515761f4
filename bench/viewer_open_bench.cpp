// Opens one report in the real viewer window and says how long the load
// took and how often the status bar was painted while it ran. Offscreen
// unless QT_QPA_PLATFORM says otherwise (xcb: a real X display, where the
// window is first mapped and exposed, as a user's is before any command).
//   viewer_open_bench REPORT
// Prints one line: bytes, lines, seconds until the command returned,
// status-bar paints, paints per second, the longest time the status bar
// went unpainted, and when the loaded report was on the screen (painted,
// and on X every drawing request carried out by the server).
#include "platform/backends.h"
#include "platform/testing/recording_printer.h"
#include "platform/testing/scripted_dialog.h"
#include "repview/viewer/viewer_window.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QWindow>
#include <QPlainTextEdit>

#include <cstdio>
#include <cstdlib>
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

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: viewer_open_bench REPORT\n");
        return 2;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    testing::RecordingPrinter printer;
    CodePage codePage(1252);
    const auto fileSystem = makeFileSystem();
    HostFiles files(*fileSystem, DriveMap::parse("C=/", "/"));
    PrintEngine engine(printer, files);
    testing::ScriptedDialog dialog;
    ViewerWindow window(engine, dialog, codePage, files);
    window.show();
    QDeadlineTimer exposed(10000);
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && !exposed.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    PaintClock paints(clock);
    window.fileStatus()->installEventFilter(&paints);
    qint64 lines = 0;  // counted only: a clock read per line would weigh on the load
    window.setLineLoadedHook([&] { ++lines; });

    dialog.answerFile(argv[1]);
    clock.start();
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
    std::printf("bytes=%s lines=%lld seconds=%.3f paints=%zu paints_per_second=%.1f longest_unpainted_ms=%.1f shown_s=%.3f\n",
                done.mid(15, done.size() - 21).toUtf8().constData(), static_cast<long long>(lines), seconds,
                paints.paints.size(), paints.paints.size() / (painted / 1e9), longestGap / 1e6, painted / 1e9);
    return 0;
}
