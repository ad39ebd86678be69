#pragma once

#include <QWidget>

class QToolButton;

namespace quilo {

// An up-down pair beside an edit box: it keeps a position within a range and tells
// its page of every click, which then decides the new value. Positions set by the
// page are silent.
class SpinButtons : public QWidget {
    Q_OBJECT

public:
    explicit SpinButtons(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    // Clamped to the range.
    void setPosition(int position);
    int position() const { return m_pos; }

    // The edit box the buttons belong to: a wheel turned over it (or passed to it while it
    // has the focus) steps like the buttons.
    void setBuddy(QWidget* edit);

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

    QSize sizeHint() const override { return QSize(16, 24); }

signals:
    // +1 for the upper button, -1 for the lower one.
    void stepped(int delta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // +1 or -1 by the wheel's direction, nothing for a sideways turn.
    void stepByWheel(const QWheelEvent& event);

    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    int m_min = 0;
    int m_max = 100;
    int m_pos = 0;
};

} // namespace quilo
