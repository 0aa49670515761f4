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

ViewerWindow::ViewerWindow(PrintEngine& engine, CommonDialog& dialog, const CodePage& codePage, HostFiles& files,
                           QWidget* parent)
    : QMainWindow(parent), engine_(engine), dialog_(dialog), codePage_(codePage), files_(files)
{
    setObjectName(QStringLiteral("Repview"));
    setWindowTitle(QStringLiteral("DOS to Windows printing"));
    // A fixed dialog border: a close box, no minimise or maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(programIcon());

    fileMenu_ = menuBar()->addMenu(QStringLiteral("print &File"));
    fileMenu_->setObjectName(QStringLiteral("Filemenu"));
    openItem_ = addItem(fileMenu_, "Openreport", "&Open report...", Qt::Key_O);
    saveAsItem_ = addItem(fileMenu_, "Saveas", "&Save report as...");
    addSeparator(fileMenu_, "seperate1");
    printItem_ = addItem(fileMenu_, "Printreport", "&Print report...", Qt::Key_P);
    pageSetupItem_ = addItem(fileMenu_, "Pagesetup", "Pa&ge setup");
    addSeparator(fileMenu_, "seperate2");
    deleteItem_ = addItem(fileMenu_, "Deletereport", "&Delete existing report", Qt::Key_D);
    addSeparator(fileMenu_, "seperate3");
    for (int i = 0; i < 5; ++i) {
        std::string name = "Favorite" + std::to_string(i + 1);
        std::string caption = "&" + std::to_string(i + 1);
        // Placeholders: nothing is connected to them, and only the first shows.
        favouriteItems_[i] = addItem(fileMenu_, name.c_str(), caption.c_str());
        favouriteItems_[i]->setVisible(i == 0);
    }
    addSeparator(fileMenu_, "Seperate4");
    exitItem_ = addItem(fileMenu_, "Exittool", "E&xit DOS to Windows print tool", Qt::Key_X);
    for (QAction* item : {saveAsItem_, printItem_, pageSetupItem_})
        item->setEnabled(false);

    connect(openItem_, &QAction::triggered, this, &ViewerWindow::openReport);
    connect(saveAsItem_, &QAction::triggered, this, &ViewerWindow::saveReportAs);
    connect(printItem_, &QAction::triggered, this, &ViewerWindow::printReport);
    connect(pageSetupItem_, &QAction::triggered, this, &ViewerWindow::pageSetup);
    connect(deleteItem_, &QAction::triggered, this, &ViewerWindow::deleteReport);
    connect(exitItem_, &QAction::triggered, this, &ViewerWindow::exitTool);

    auto* client = new QWidget(this);
    client->setFixedSize(ClientWidth, ClientHeight - StatusHeight);
    setCentralWidget(client);

    textViewer_ = new QPlainTextEdit(client);
    textViewer_->setObjectName(QStringLiteral("TextViewer"));
    // 8 pixels below the menu, a little past the right edge and into the
    // status bar (0, 120, 10095, 5415 twips).
    textViewer_->setGeometry(0, 8, 673, 361);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::Monospace);
    courier.setFixedPitch(true);
    courier.setPointSizeF(9.75);
    textViewer_->setFont(courier);
    // Reports are laid out in fixed columns: long lines scroll, not wrap.
    textViewer_->setLineWrapMode(QPlainTextEdit::NoWrap);
    textViewer_->hide();
    textViewer_->installEventFilter(this);

    fileStatus_ = new FileStatus(this);
    setStatusBar(fileStatus_);
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
    if (watched == textViewer_ && event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        QKeySequence pressed(key->keyCombination());
        for (QAction* item : {openItem_, printItem_, deleteItem_, exitItem_}) {
            if (item->isEnabled() && item->shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QString ViewerWindow::withPath(const char* words) const
{
    return QString::fromLatin1(words) + QString::fromStdString(reportPath_).toUpper();
}

std::string ViewerWindow::shownText() const
{
    QTextCursor all(textViewer_->document());
    all.select(QTextCursor::Document);
    return hostBytesOf(all.selectedText(), codePage_);
}

std::string ViewerWindow::selectedHostText() const
{
    return hostBytesOf(textViewer_->textCursor().selectedText(), codePage_);
}

void ViewerWindow::exitTool()
{
    // Nothing to save and nothing to ask: the window goes, and with the last
    // window the program.
    close();
}

}  // namespace zlt::repview
