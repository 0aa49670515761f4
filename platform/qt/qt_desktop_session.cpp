#include "platform/qt/qt_desktop_session.h"

#include <QApplication>
#include <QMessageBox>

#include <X11/Xlib.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <string_view>

namespace zlt {

namespace {

// A display counts only when it answers: a DISPLAY left over from a closed
// session must not stop a print run.
bool displayPresent(const Settings& settings)
{
    if (!settings.waylandDisplay.empty())
        return true;
    if (settings.display.empty())
        return false;
    Display* display = XOpenDisplay(settings.display.c_str());
    if (display == nullptr)
        return false;
    XCloseDisplay(display);
    return true;
}

// Qt's chatter about the session (a missing runtime folder, say) is not
// the program's to report; real warnings still reach standard error.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    if (message.startsWith(QLatin1String("QStandardPaths:")) ||
        message.contains(QLatin1String("propagateSizeHints")))
        return;
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

class QtDesktopSession : public DesktopSession {
public:
    // Qt sees the program's name only: the host's arguments are report
    // paths and web addresses, never Qt options such as -platform.
    QtDesktopSession(std::string_view programName, const Settings& settings)
        : display_(displayPresent(settings)), programName_(programName), argv_{programName_.data(), nullptr}
    {
        if (!display_ && settings.qtPlatform.empty())
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        qInstallMessageHandler(quietMessages);
        app_ = std::make_unique<QApplication>(argc_, argv_);
        // Numbers written into files must not take the user's decimal comma.
        std::setlocale(LC_NUMERIC, "C");
    }
    void processEvents() override { QCoreApplication::processEvents(); }
    int exec() override { return QApplication::exec(); }
    bool hasDisplay() const override
    {
        return display_ && QGuiApplication::platformName() != QLatin1String("offscreen") &&
               QGuiApplication::platformName() != QLatin1String("minimal");
    }

private:
    bool display_;
    std::string programName_;  // argv_ points into it for the application's life
    int argc_ = 1;
    char* argv_[2];
    std::unique_ptr<QApplication> app_;
};

class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(bool display) : display_(display) {}
    void show(const std::string& title, const std::string& text) override
    {
        if (!display_) {
            std::fprintf(stderr, "%s\n%s\n", title.c_str(), text.c_str());
            return;
        }
        QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                        QMessageBox::Ok);
        box.exec();
    }

private:
    bool display_;
};

}  // namespace

std::unique_ptr<DesktopSession> startDesktopSession(std::string_view programName, const Settings& settings)
{
    return std::make_unique<QtDesktopSession>(programName, settings);
}

std::unique_ptr<MessageBox> makeMessageBox(const DesktopSession& session)
{
    return std::make_unique<QtMessageBox>(session.hasDisplay());
}

namespace {

// The toolkit starts with the first box: most runs show none.
class MessageBoxOnDemand : public MessageBox {
public:
    MessageBoxOnDemand(std::string programName, const Settings& settings)
        : programName_(std::move(programName)), settings_(settings)
    {
    }
    void show(const std::string& title, const std::string& text) override
    {
        if (!box_) {
            session_ = startDesktopSession(programName_, settings_);
            box_ = makeMessageBox(*session_);
        }
        box_->show(title, text);
    }

private:
    std::string programName_;
    Settings settings_;
    std::unique_ptr<DesktopSession> session_;
    std::unique_ptr<MessageBox> box_;
};

}  // namespace

std::unique_ptr<MessageBox> makeMessageBoxOnDemand(std::string_view programName, const Settings& settings)
{
    return std::make_unique<MessageBoxOnDemand>(std::string(programName), settings);
}

}  // namespace zlt
