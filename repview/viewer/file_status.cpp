#include "repview/viewer/file_status.h"

#include "repview/viewer/pictures.h"

#include <cassert>

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace zlt::repview {

namespace {
constexpr qint64 FrameInterval = 16;  // ms: about 60 repaints a second
constexpr int BarHeight = 17;         // 255 twips
// The panels sit at fixed places inside the bar: QStatusBar's own layout
// keeps 3 pixels above its widgets and 2 below, more than a 17 pixel bar
// can spare, and would cut off the panels' lower edges.
constexpr int PanelTop = 1;
constexpr int PanelHeight = BarHeight - 2 * PanelTop;
constexpr int PanelLeft = 2;
constexpr int PanelGap = 2;
// The host's 8.25 pt "MS Serif" is not installed here, and the faces that
// stand in for it at that size run wider: the progress of a 100 MB report,
// "File size      104857600  of  104857600 bytes", would not fit panel 3's
// 180 pixels. Liberation Sans Narrow at 10 pixels sets it in about 165. The
// size is in pixels, as the panel widths are, so that it fits at any screen
// resolution.
const char* const PanelFontFamily = "Liberation Sans Narrow";
constexpr int PanelFontPixels = 10;
}  // namespace

StatusPanel::StatusPanel(int width, QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedSize(width, PanelHeight);
}

QString StatusPanel::text() const
{
    return counting_ ? text_ + QString::number(count_) + after_ : text_;
}

void StatusPanel::setText(QString text)
{
    if (!counting_ && text == text_)
        return;
    counting_ = false;
    text_ = std::move(text);
    after_.clear();
    markForPainting();
}

void StatusPanel::setCountedText(const QString& before, std::int64_t count, const QString& after)
{
    if (counting_ && count == count_ && before == text_ && after == after_)
        return;
    if (!counting_ || before != text_ || after != after_) {
        counting_ = true;
        text_ = before;
        after_ = after;
    }
    count_ = count;
    markForPainting();
}

void StatusPanel::markForPainting()
{
    // One pending update is enough, however often the text changes before it.
    if (painting_)
        return;
    painting_ = true;
    update();
}

void StatusPanel::paintEvent(QPaintEvent* event)
{
    painting_ = false;
    QFrame::paintEvent(event);
    QPainter painter(this);
    QRect area = contentsRect().adjusted(2, 0, -2, 0);
    painter.setClipRect(area);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
}

FileStatus::FileStatus(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("FileStatus"));
    setSizeGripEnabled(false);
    setFixedHeight(BarHeight);
    setContentsMargins(0, 0, 0, 0);
    QFont font(QString::fromLatin1(PanelFontFamily));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(PanelFontPixels);
    setFont(font);

    panel1_ = new StatusPanel(300, this);
    // Panel 2 keeps its room when the picture is hidden, so panel 3 stays put.
    panel2_ = new QFrame(this);
    panel2_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel2_->setFixedSize(34, PanelHeight);
    auto* layout = new QHBoxLayout(panel2_);
    layout->setContentsMargins(0, 0, 0, 0);  // the picture takes the whole 13 pixels inside the frame
    busy_ = new QLabel(panel2_);
    busy_->setObjectName(QStringLiteral("LoadingPicture"));
    busy_->setAlignment(Qt::AlignCenter);
    busy_->setPixmap(loadingPicture());
    busy_->hide();
    layout->addWidget(busy_);
    panel3_ = new StatusPanel(180, this);
    int left = PanelLeft;
    for (QWidget* panel : {static_cast<QWidget*>(panel1_), static_cast<QWidget*>(panel2_), static_cast<QWidget*>(panel3_)}) {
        panel->move(left, PanelTop);
        left += panel->width() + PanelGap;
    }
}

StatusPanel* FileStatus::textPanel(int panel) const
{
    // Panel 2 holds a picture, no text: any other number is a caller's mistake.
    assert(panel == 1 || panel == 3);
    return panel == 1 ? panel1_ : panel3_;
}

QString FileStatus::panelText(int panel) const
{
    return textPanel(panel)->text();
}

void FileStatus::setPanelText(int panel, QString text)
{
    textPanel(panel)->setText(std::move(text));
}

void FileStatus::setPanel3Count(const QString& before, std::int64_t count, const QString& after)
{
    panel3_->setCountedText(before, count, after);
}

void FileStatus::setBusyVisible(bool visible)
{
    busy_->setVisible(visible);
}

bool FileStatus::busyVisible() const
{
    return !busy_->isHidden();
}

bool FileStatus::repaintThrottled(bool force)
{
    if (!force && sinceRepaint_.isValid() && sinceRepaint_.elapsed() < FrameInterval)
        return false;
    repaint();
    ++repaints_;
    sinceRepaint_.start();
    return true;
}

}  // namespace zlt::repview
