#include "platform/qt/qt_status_window.h"

#include <QApplication>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QWidget>

#include <chrono>

namespace zlt {

namespace {

// No window: the run and its log are the same without one.
class NoStatusWindow : public StatusWindow {
public:
    void show() override {}
    void hide() override {}
    void setCount(const std::string&) override {}
    void setProgress(const std::string&) override {}
    void setStatus(const std::string&) override {}
    void processEvents() override {}
};

QFont labelFont(const char* family, double points, bool bold)
{
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

class QtStatusWindow : public StatusWindow {
public:
    QtStatusWindow()
    {
        window_.setWindowTitle(QStringLiteral("Corvanta Mail status"));
        window_.setFont(labelFont("MS Sans Serif", 9.75, false));
        count_.setText(QStringLiteral("Processing email 9993 of 1000"));
        count_.setFont(labelFont("Comic Sans MS", 14.25, true));
        progress_.setFont(labelFont("Comic Sans MS", 14.25, true));
        progress_.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        status_.setWordWrap(true);
        status_.setAlignment(Qt::AlignLeft | Qt::AlignTop);
        status_.setMinimumHeight(3 * status_.fontMetrics().height());
        auto* layout = new QGridLayout(&window_);
        layout->addWidget(&count_, 0, 0);
        layout->addWidget(&progress_, 0, 1);
        layout->addWidget(&status_, 1, 0, 1, 2);
        layout->setColumnStretch(0, 4);
        layout->setColumnStretch(1, 1);
        window_.resize(480, 140);
    }
    void show() override
    {
        window_.show();
        turn(true);
    }
    void hide() override
    {
        window_.hide();
        turn(true);
    }
    void setCount(const std::string& text) override { count_.setText(QString::fromStdString(text)); }
    void setProgress(const std::string& text) override { progress_.setText(QString::fromStdString(text)); }
    void setStatus(const std::string& text) override { status_.setText(QString::fromStdString(text)); }
    void processEvents() override { turn(false); }

private:
    // A person sees no more than a few frames a second: most turns are
    // skipped so a long mail file is not slowed by repainting.
    void turn(bool always)
    {
        const auto now = std::chrono::steady_clock::now();
        if (!always && now - lastTurn_ < std::chrono::milliseconds(40))
            return;
        lastTurn_ = now;
        QCoreApplication::processEvents();
    }

    // Declared before the labels: they leave it before it goes.
    QWidget window_;
    QLabel count_, progress_, status_;
    std::chrono::steady_clock::time_point lastTurn_ {};
};

}  // namespace

std::unique_ptr<StatusWindow> makeQtStatusWindow(const DesktopSession& session)
{
    if (!session.hasDisplay())
        return std::make_unique<NoStatusWindow>();
    return std::make_unique<QtStatusWindow>();
}

}  // namespace zlt
