#pragma once

#include "room/FloorPlan.h"

#include <QWidget>

namespace quilo {

// The floor plan of the room page: the listener and the eight loudspeakers, dragged
// with the left button. It reports the pressed entry (entryPicked) and every move of it
// (entryDragged); what the page sets is silent.
class CSSVolumePanel : public QWidget {
    Q_OBJECT

public:
    explicit CSSVolumePanel(QWidget* parent = nullptr);

    void setRoomSize(int widthM, int lengthM);
    void setPosition(int entry, RoomPoint metres);
    void setLayout(const RoomLayout& layout);
    const FloorPlan& plan() const { return m_plan; }

    QSize sizeHint() const override { return QSize(420, 420); }

signals:
    void entryPicked(int entry, RoomPoint metres);
    void entryDragged(int entry, RoomPoint metres);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    FloorPlan m_plan;
};

} // namespace quilo
