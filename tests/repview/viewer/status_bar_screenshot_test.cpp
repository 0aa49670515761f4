// The viewer's status bar on a real X server, read back from the screen as a
// user sees it: every panel's frame whole, and the panel texts cut neither
// at the right nor below.
#include "repview/viewer/file_status.h"
#include "repview/viewer/pictures.h"

#include <QDebug>
#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QMainWindow>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace zlt::repview {
namespace {

constexpr int ViewerWidth = 671;
// Panel 3 at its longest: a report of 100 MB, nine digits twice.
const char* const LongestProgress = "File size      104857600  of  104857600 bytes";

struct Shot {
    const char* name;
    const char* panel1;
    const char* panel3;
    bool busy;
};
const Shot Shots[] = {
    {"active_report", "Active report      C:\\ZLT\\RPT", LongestProgress, false},
    {"descenders", "py", "File size      104857600 bytes", true},
};
void PrintTo(const Shot& shot, std::ostream* os) { *os << shot.name; }

// The box around the text's ink: pixels well darker than the background.
QRect inkBox(const QImage& image, const QRect& area, QColor background)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < qGray(background.rgb()) - 80)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

class StatusBarShot : public ::testing::TestWithParam<Shot> {};

TEST_P(StatusBarShot, FramesAndTextsShowWhole)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "needs a real X server";
    const Shot& shot = GetParam();
    QMainWindow window;
    auto* client = new QWidget(&window);
    client->setFixedSize(ViewerWidth, 40);
    window.setCentralWidget(client);
    auto* bar = new FileStatus(&window);
    window.setStatusBar(bar);
    bar->setPanelText(1, QString::fromLatin1(shot.panel1));
    bar->setPanelText(3, QString::fromLatin1(shot.panel3));
    bar->setBusyVisible(shot.busy);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    bar->repaint();
    QTest::qWait(100);

    QPoint origin = bar->mapTo(&window, QPoint(0, 0));
    QImage image = window.screen()
                       ->grabWindow(window.winId(), origin.x(), origin.y(), bar->width(), bar->height())
                       .toImage();
    QString file = QDir::temp().filePath(QStringLiteral("repview_status_bar_%1.png").arg(shot.name));
    ASSERT_TRUE(image.save(file));
    SCOPED_TRACE("screenshot " + file.toStdString());
    ASSERT_EQ(image.size(), bar->size());

    QList<QFrame*> panels;
    for (QFrame* frame : bar->findChildren<QFrame*>(Qt::FindDirectChildrenOnly))
        if (frame->frameShape() == QFrame::Panel)
            panels << frame;
    std::sort(panels.begin(), panels.end(), [](QFrame* a, QFrame* b) { return a->x() < b->x(); });
    ASSERT_EQ(panels.size(), 3);

    const QPalette& palette = bar->palette();
    ASSERT_NE(palette.color(QPalette::Light), palette.color(QPalette::Window));
    for (QFrame* panel : panels) {
        // A sunken frame's lower edge is its light line, on the panel's last row.
        QRect frame = panel->geometry();
        ASSERT_TRUE(image.rect().contains(frame)) << "panel at x " << frame.x() << " is cut by the bar";
        int light = 0;
        for (int x = frame.left() + 1; x < frame.right(); ++x)
            light += image.pixelColor(x, frame.bottom()) == palette.color(QPalette::Light);
        EXPECT_EQ(light, frame.width() - 2) << "bottom edge of the panel at x " << frame.x();
    }

    // The load picture's top and bottom lines both show.
    QRect busyInk = inkBox(image, panels[1]->geometry().adjusted(1, 1, -1, -1), palette.color(QPalette::Window));
    EXPECT_EQ(busyInk.height(), shot.busy ? loadingPicture().height() : 0);

    for (int index : {0, 2}) {
        QFrame* panel = panels[index];
        QString text = index == 0 ? QString::fromLatin1(shot.panel1) : QString::fromLatin1(shot.panel3);
        SCOPED_TRACE(text.toStdString());
        QFontMetrics metrics(panel->font());
        QRect contents = panel->contentsRect().translated(panel->pos());
        EXPECT_LE(metrics.horizontalAdvance(text), contents.width());
        // The ink spans the whole text, letter tops to descender bottoms, and
        // stays off the frame; a clipped text loses its end or its descenders.
        QRect ink = inkBox(image, contents, palette.color(QPalette::Window));
        QRect tight = metrics.tightBoundingRect(text);
        ASSERT_FALSE(ink.isEmpty());
        SCOPED_TRACE((QDebug::toString(ink) + " in " + QDebug::toString(contents) + ", text " + QDebug::toString(tight)).toStdString());
        EXPECT_GE(ink.width(), tight.width() - 2);
        EXPECT_GE(ink.height(), tight.height() - 1);
        EXPECT_LT(ink.right(), contents.right());
        EXPECT_LT(ink.bottom(), contents.bottom());
    }
}

INSTANTIATE_TEST_SUITE_P(Viewer, StatusBarShot, ::testing::ValuesIn(Shots),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zlt::repview
