#pragma once

#include "dsp/EqBandSet.h"
#include "widgets/EqEditController.h"

#include <QColor>
#include <QWidget>

class QMenu;

namespace quilo {

// Graphical editor of one parametric equaliser: a log-frequency / dB plot with a handle
// per band, the selected band's shaded response and the total response. It owns the band
// values while they are edited and reports every change; its host stores and sends them.
class CEqPanel : public QWidget, private EqEditListener {
    Q_OBJECT

public:
    explicit CEqPanel(QWidget* parent = nullptr);

    EqBandSet& bands() { return m_bands; }
    const EqBandSet& bands() const { return m_bands; }
    // Precondition: EqBandSet::isSlot(b).
    EqBandState& band(int b) { return m_bands.band(b); }
    const EqBandState& band(int b) const { return m_bands.band(b); }

    // Host operations; each recomputes the band's curve and repaints.
    void setBandCount(int n);
    int bandCount() const { return m_bands.bandCount(); }
    void setBandType(int b, int type);
    void setBandGain(int b, float gainDb);
    void setBandQ(int b, float q);
    void setBandFrequency(int b, float freqHz);
    void applyCrossoverFamily(int b, int family);
    // After the host wrote a band's fields directly.
    void computeBandCurve(int b);

    void setPanelId(int id);
    int panelId() const { return m_bands.panelId(); }
    void setLanguage(int language);
    int language() const { return m_language; }
    void setSelectedBand(int b);
    int selectedBand() const { return m_controller.selectedBand(); }
    int hoverBand() const { return m_controller.hoverBand(); }
    void setBypass(bool on);
    bool bypass() const { return m_bypass; }
    // While locked the mouse buttons do nothing.
    void setInputLocked(bool locked) { m_controller.setInputLocked(locked); }
    bool inputLocked() const { return m_controller.inputLocked(); }
    void setCurveColor(QColor colour);
    QColor curveColor() const { return m_curveColor; }

    QRect plotRect() const { return m_plot; }
    // Paints the editor as it looks now into any painter of the widget's size.
    void paintTo(QPainter& painter);

    QSize sizeHint() const override { return QSize(640, 300); }
    QSize minimumSizeHint() const override { return QSize(160, 80); }

signals:
    void eqBandChanged(const quilo::EqBandState& band, int index);
    void eqBackgroundClicked();
    // command 0 = copy, 1 = paste.
    void eqCopyPasteRequest(int command, int panelId);
    void eqBandPicked(const quilo::EqBandState& band, int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

    // Shows a menu and returns the command chosen, 0 for none.
    virtual int runMenu(QMenu& menu, const QPoint& globalPos);

private:
    void onBandChanged(int band) override;
    void onBackgroundClicked() override;
    void onCopyPasteRequest(int command, int panelId) override;
    void onBandPicked(int band) override;

    void showMenu(EqMenu which, const QPoint& globalPos);
    void relayout();

    EqBandSet m_bands;
    EqEditController m_controller{m_bands, *this};
    bool m_bypass = false;
    int m_language = 0;
    QColor m_curveColor = QColor::fromRgba(0xFF00C8FF);
    QRect m_plot;
};

} // namespace quilo
