#pragma once

#include "widgets/CompressorCurve.h"

#include <QPixmap>
#include <QWidget>

namespace quilo {

// Display-only picture of a compressor's static transfer curve over a cached grid.
class CCompressPanelPlus : public QWidget {
    Q_OBJECT

public:
    explicit CCompressPanelPlus(QWidget* parent = nullptr);

    // 0 draws "OFF" over the curve.
    void setEnabledFlag(int enabled);
    int enabledFlag() const { return m_enabled; }
    void setThreshold(float db);
    void setLowerCorner(float db);
    void setHighSlope(float slope);
    void setLowSlope(float slope);
    const CompressorShape& shape() const { return m_shape; }

    // The grid cache, for tests: rebuilt at the panel's size on the next paint after a
    // resize.
    const QPixmap& gridCache() const { return m_grid; }

    QSize sizeHint() const override { return QSize(420, 320); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    const QPixmap& grid(qreal dpr);

    CompressorShape m_shape;
    int m_enabled = 1;
    QPixmap m_grid;
};

} // namespace quilo
