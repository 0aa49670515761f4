#include "platform/backends.h"

#include <QApplication>
#include <QMessageBox>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace zlt {

namespace {

bool displayPresent()
{
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
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
    QtDesktopSession(int& argc, char** argv) : display_(displayPresent())
    {
        const char* platform = std::getenv("QT_QPA_PLATFORM");
        if (!display_ && !(platform && *platform))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        qInstallMessageHandler(quietMessages);
        app_ = std::make_unique<QApplication>(argc, argv);
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

std::unique_ptr<DesktopSession> startDesktopSession(int& argc, char** argv)
{
    return std::make_unique<QtDesktopSession>(argc, argv);
}

std::unique_ptr<MessageBox> makeMessageBox(const DesktopSession& session)
{
    return std::make_unique<QtMessageBox>(session.hasDisplay());
}

}  // namespace zlt
