#pragma once
// FileStatus, the viewer's status bar: panel 1 the active report, panel 2
// a picture shown while a report loads, panel 3 the load progress or size.
#include <cstdint>

#include <QElapsedTimer>
#include <QFrame>
#include <QStatusBar>
#include <QString>

class QLabel;

namespace zlt::repview {

// One panel: a sunken frame with a line of text. Setting the text only
// marks the panel for painting, so a text set per loaded line costs little.
class StatusPanel : public QFrame {
    Q_OBJECT
public:
    explicit StatusPanel(int width, QWidget* parent = nullptr);
    QString text() const;
    void setText(QString text);
    // The text before + count + after. The count's digits are only written
    // out when the panel is painted or its text asked for: a load counts
    // every line, a screen shows sixty a second.
    void setCountedText(const QString& before, std::int64_t count, const QString& after);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void markForPainting();

    QString text_;  // or, counting, the text before the count
    QString after_;
    std::int64_t count_ = 0;
    bool counting_ = false;
    bool painting_ = false;  // an update is pending
};

class FileStatus : public QStatusBar {
    Q_OBJECT
public:
    explicit FileStatus(QWidget* parent = nullptr);

    // Panels 1 and 3, the two that hold text.
    QString panelText(int panel) const;
    void setPanelText(int panel, QString text);
    // before + count + after as panel 3's text (see StatusPanel).
    void setPanel3Count(const QString& before, std::int64_t count, const QString& after);
    // Panel 2's picture.
    void setBusyVisible(bool visible);
    bool busyVisible() const;

    // Paints the bar now, at most once per frame interval: a load sets the
    // progress per line, far more often than a screen shows. force paints
    // regardless (the last progress of a load). Says whether it painted.
    bool repaintThrottled(bool force = false);
    int repaints() const { return repaints_; }

private:
    StatusPanel* textPanel(int panel) const;

    StatusPanel* panel1_;
    QFrame* panel2_;
    QLabel* busy_;
    StatusPanel* panel3_;
    QElapsedTimer sinceRepaint_;
    int repaints_ = 0;
};

}  // namespace zlt::repview
