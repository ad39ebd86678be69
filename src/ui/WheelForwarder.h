#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace quilo {

// A wheel turned anywhere over an area goes to the focused control when that control is one
// of the registered ones (the curve editor, the sliders), so a focused slider keeps
// stepping while the pointer rests elsewhere on the page.
class WheelForwarder : public QObject {
public:
    explicit WheelForwarder(QWidget& area);
    ~WheelForwarder() override;

    void addTarget(QWidget* target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isTarget(const QWidget* w) const;

    QWidget& m_area;
    std::vector<QPointer<QWidget>> m_targets;
};

} // namespace quilo
