#pragma once

#include "widgets/DelayLanes.h"

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace quilo {

// The eight output delays as draggable markers on a common millisecond scale. A drag
// reports every move with delayLaneMoved; values set by the page are silent.
class CDelayPanel : public QWidget {
    Q_OBJECT

public:
    explicit CDelayPanel(QWidget* parent = nullptr);

    // Held within 1.5-100 ms; returns the value the lane shows.
    float setLaneValue(int lane, float ms);
    const DelayLanes& lanes() const { return m_lanes; }

    static QColor laneColor(int lane);

    QSize sizeHint() const override { return QSize(460, 380); }

signals:
    void delayLaneMoved(int lane, float ms);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const QPixmap& background(qreal dpr);
    void relayout();

    DelayLanes m_lanes;
    QPixmap m_background;
};

} // namespace quilo
