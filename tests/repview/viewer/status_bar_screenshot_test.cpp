// The viewer's status bar on a real X server, read back from the screen as a user
// sees it: panel frames whole, texts cut neither at the right nor below, picture whole.
#include "repview/viewer/file_status.h"
#include "repview/viewer/pictures.h"
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <algorithm>

namespace zlt::repview {
namespace {

// The box around the ink: pixels well darker than the background.
QRect inkBox(const QImage& image, const QRect& area, QColor background)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < qGray(background.rgb()) - 80)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

TEST(StatusBarShot, FramesTextsAndPictureShowWhole)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "needs a real X server";
    // Panel 1's "py" has the descenders a short panel cuts first; panel 3's
    // text is its longest, a report of 100 MB, nine digits twice.
    const QString texts[] = {QStringLiteral("py"), QStringLiteral("File size      104857600  of  104857600 bytes")};
    QMainWindow window;
    window.resize(671, 60);  // the viewer's width
    auto* bar = new FileStatus;
    window.setStatusBar(bar);
    bar->setPanelText(1, texts[0]);
    bar->setPanelText(3, texts[1]);
    bar->setBusyVisible(true);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    bar->repaint();
    QTest::qWait(100);
    QPoint at = bar->mapTo(&window, QPoint());
    QImage image = window.screen()->grabWindow(window.winId(), at.x(), at.y(), bar->width(), bar->height()).toImage();
    QList<QFrame*> panels = bar->findChildren<QFrame*>(Qt::FindDirectChildrenOnly);
    panels.removeIf([](QFrame* frame) { return frame->frameShape() != QFrame::Panel; });
    std::ranges::sort(panels, {}, &QWidget::x);
    ASSERT_EQ(panels.size(), 3);
    const QColor light = bar->palette().color(QPalette::Light), background = bar->palette().color(QPalette::Window);
    ASSERT_NE(light, background);  // else the edge check below could not fail
    for (QFrame* panel : panels) {
        // A sunken frame's lower edge is its light line, on the panel's last row.
        QRect frame = panel->geometry();
        ASSERT_TRUE(image.rect().contains(frame)) << "panel at x " << frame.x() << " is cut by the bar";
        int lit = 0;
        for (int x = frame.left() + 1; x < frame.right(); ++x)
            lit += image.pixelColor(x, frame.bottom()) == light;
        EXPECT_EQ(lit, frame.width() - 2) << "bottom edge of the panel at x " << frame.x();
    }
    // All the picture's rows show, its top and bottom lines included.
    EXPECT_EQ(inkBox(image, panels[1]->geometry().adjusted(1, 1, -1, -1), background).height(),
              loadingPicture().height());
    for (auto [panel, text] : {std::pair(panels[0], texts[0]), std::pair(panels[2], texts[1])}) {
        SCOPED_TRACE(text.toStdString());
        QFontMetrics metrics(panel->font());
        QRect contents = panel->contentsRect().translated(panel->pos());
        EXPECT_LE(metrics.horizontalAdvance(text), contents.width());
        // The ink spans the whole text, letter tops to descender bottoms, and
        // stays off the frame; a clipped text loses its end or its descenders.
        QRect ink = inkBox(image, contents, background), tight = metrics.tightBoundingRect(text);
        EXPECT_GE(ink.width(), tight.width() - 2);
        EXPECT_GE(ink.height(), tight.height() - 1);
        EXPECT_LT(ink.right(), contents.right());
        EXPECT_LT(ink.bottom(), contents.bottom());
    }
}

}  // namespace
}  // namespace zlt::repview
