#pragma once

#include <QWidget>

#include <functional>

namespace quilo {

// The picture of the processor's remote-control key layout. Every key is a hot
// spot of its own (a child widget with a hand cursor and the control id of the
// learning window's template) that shows its symbol and its key number 1-17;
// the hot spot 1616 exists but stays hidden.
class RemotePicture : public QWidget {
public:
    static constexpr int kPowerSpot = 1587;  // key 1
    static constexpr int kFirstSpot = 1600;  // key 2; 1600-1615 are keys 2-17
    static constexpr int kHiddenSpot = 1616; // no key: "No support!"

    // Key 1-17 of hot spot `ctrlId`, 0 for the hidden one and unknown ids.
    static int keyOfSpot(int ctrlId);

    // `clicked` gets the control id of the hot spot the user clicked.
    RemotePicture(std::function<void(int ctrlId)> clicked, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void(int)> m_clicked;
};

} // namespace quilo
