#pragma once

#include "dsp/SmallEqCurve.h"

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace quilo {

// Display-only preview of a seven-band equaliser's total response. The host pushes the
// band values; the pointer only lights a frame while it is over the panel.
class CSmallEqPanel : public QWidget {
    Q_OBJECT

public:
    explicit CSmallEqPanel(QWidget* parent = nullptr);

    void setSmallBandFrequency(int b, float freqHz);
    void setSmallBandGain(int b, float gainDb);
    // After the host wrote a band's type or Q directly.
    void computeSmallBandCurve(int b);
    // Precondition: SmallEqCurve::isBand(b).
    SmallEqBand& band(int b) { return m_curve.band(b); }
    const SmallEqCurve& curve() const { return m_curve; }

    // "PASS" over the curve while the equaliser is switched off.
    void setPass(bool on);
    bool pass() const { return m_pass; }
    void setDimmed(bool on);
    bool dimmed() const { return m_dimmed; }
    void setCurveColor(QColor colour);
    QColor curveColor() const { return m_curveColor; }
    bool hoverFrameShown() const { return m_hover; }

    QSize sizeHint() const override { return QSize(220, 90); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const QPixmap& background(qreal dpr);

    SmallEqCurve m_curve;
    QPixmap m_background;
    bool m_pass = false;
    bool m_dimmed = false;
    bool m_hover = false;
    QColor m_curveColor = QColor::fromRgba(0xFF00C8FF);
};

} // namespace quilo
