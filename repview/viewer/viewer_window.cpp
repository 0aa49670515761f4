#include "repview/viewer/viewer_window.h"

#include "repview/viewer/pictures.h"
#include "repview/viewer/report_text.h"

#include <QAction>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace zlt::repview {

namespace {
// The client area below the menu bar, in pixels (10065 x 5745 twips).
constexpr int ClientWidth = 671;
constexpr int ClientHeight = 383;
constexpr int StatusHeight = 17;
}  // namespace

const char* const ViewerWindow::ReportFilter =
    "ZELTO report (RPT.)|RPT.|Text files (*.txt)|*.txt|Text files (*.doc)|*.doc|All files (*.*)|*.*";

ViewerWindow::ViewerWindow(RepviewState& state, PrintEngine& engine, CommonDialog& filesystem,
                           const CodePage& codePage, const DriveMap& drives, QWidget* parent)
    : QMainWindow(parent), state_(state), engine_(engine), Filesystem(filesystem), codePage_(codePage), drives_(drives)
{
    setObjectName(QStringLiteral("Repview"));
    setWindowTitle(QStringLiteral("DOS to Windows printing"));
    // A fixed dialog border: a close box, no minimise or maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(programIcon());

    Filemenu = menuBar()->addMenu(QStringLiteral("print &File"));
    Filemenu->setObjectName(QStringLiteral("Filemenu"));
    Openreport = addItem(Filemenu, "Openreport", "&Open report...", Qt::Key_O);
    Saveas = addItem(Filemenu, "Saveas", "&Save report as...");
    addSeparator(Filemenu, "seperate1");
    Printreport = addItem(Filemenu, "Printreport", "&Print report...", Qt::Key_P);
    Pagesetup = addItem(Filemenu, "Pagesetup", "Pa&ge setup");
    addSeparator(Filemenu, "seperate2");
    Deletereport = addItem(Filemenu, "Deletereport", "&Delete existing report", Qt::Key_D);
    addSeparator(Filemenu, "seperate3");
    for (int i = 0; i < 5; ++i) {
        std::string name = "Favorite" + std::to_string(i + 1);
        std::string caption = "&" + std::to_string(i + 1);
        // Placeholders: nothing is connected to them, and only the first shows.
        Favorite[i] = addItem(Filemenu, name.c_str(), caption.c_str());
        Favorite[i]->setVisible(i == 0);
    }
    addSeparator(Filemenu, "Seperate4");
    Exittool = addItem(Filemenu, "Exittool", "E&xit DOS to Windows print tool", Qt::Key_X);
    for (QAction* item : {Saveas, Printreport, Pagesetup})
        item->setEnabled(false);

    connect(Openreport, &QAction::triggered, this, &ViewerWindow::Openreport_Click);
    connect(Saveas, &QAction::triggered, this, &ViewerWindow::Saveas_Click);
    connect(Printreport, &QAction::triggered, this, &ViewerWindow::Printreport_Click);
    connect(Pagesetup, &QAction::triggered, this, &ViewerWindow::Pagesetup_Click);
    connect(Deletereport, &QAction::triggered, this, &ViewerWindow::Deletereport_Click);
    connect(Exittool, &QAction::triggered, this, &ViewerWindow::Exittool_Click);

    auto* client = new QWidget(this);
    client->setFixedSize(ClientWidth, ClientHeight - StatusHeight);
    setCentralWidget(client);

    TextViewer = new QPlainTextEdit(client);
    TextViewer->setObjectName(QStringLiteral("TextViewer"));
    // 8 pixels below the menu, a little past the right edge and into the
    // status bar (0, 120, 10095, 5415 twips).
    TextViewer->setGeometry(0, 8, 673, 361);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::Monospace);
    courier.setFixedPitch(true);
    courier.setPointSizeF(9.75);
    TextViewer->setFont(courier);
    // Reports are laid out in fixed columns: long lines scroll, not wrap.
    TextViewer->setLineWrapMode(QPlainTextEdit::NoWrap);
    TextViewer->hide();
    TextViewer->installEventFilter(this);

    FileStatus_ = new FileStatus(this);
    setStatusBar(FileStatus_);
    // The window takes the size its parts ask for, and keeps it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QAction* ViewerWindow::addItem(QMenu* menu, const char* name, const char* caption, int key)
{
    QAction* item = menu->addAction(QString::fromLatin1(caption));
    item->setObjectName(QString::fromLatin1(name));
    if (key != 0) {
        item->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(key)));
        // The menu's keys work wherever the focus is in the program.
        item->setShortcutContext(Qt::ApplicationShortcut);
    }
    return item;
}

QAction* ViewerWindow::addSeparator(QMenu* menu, const char* name)
{
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    return separator;
}

bool ViewerWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The text box claims Ctrl+X (cut) and other editing keys before the
    // menu sees them; the menu's shortcuts come first, as in the host's
    // window, so Ctrl+X exits instead of cutting.
    if (watched == TextViewer && event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        QKeySequence pressed(key->keyCombination());
        for (QAction* item : {Openreport, Printreport, Deletereport, Exittool}) {
            if (item->isEnabled() && item->shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void ViewerWindow::showDialog(void (CommonDialog::*show)())
{
    try {
        (Filesystem.*show)();
    } catch (const RunTimeError& e) {
        if (e.number() != error_number::DialogCancelled)
            throw;
        state_.DialogCancelled = true;
    }
}

QString ViewerWindow::withPath(const char* words) const
{
    return QString::fromLatin1(words) + QString::fromStdString(state_.ReportPath).toUpper();
}

std::string ViewerWindow::shownText() const
{
    QTextCursor all(TextViewer->document());
    all.select(QTextCursor::Document);
    return hostBytesOf(all.selectedText(), codePage_);
}

std::string ViewerWindow::selectedHostText() const
{
    return hostBytesOf(TextViewer->textCursor().selectedText(), codePage_);
}

void ViewerWindow::Exittool_Click()
{
    // Nothing to save and nothing to ask: the window goes, and with the last
    // window the program.
    close();
}

}  // namespace zlt::repview
