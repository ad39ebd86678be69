#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>

#include <span>
#include <vector>

namespace quilo {

// LED level meter: rows (or columns) of cells in three zones, bars that fall on a decay
// timer and a held peak. The timer runs only while something is still falling.
class CPeakMeterCtrl : public QWidget {
    Q_OBJECT

public:
    enum Style { Vertical = 0, Horizontal = 1 };
    enum Option { PeakLine = 1 };

    struct BandLevel {
        int level = 0;
        int peak = 0;
        int hold = 0;
    };

    explicit CPeakMeterCtrl(QWidget* parent = nullptr);

    void setStyle(int styleFlags);
    bool isHorizontal() const { return (m_style & Horizontal) != 0; }
    void setOptions(int options);
    void setBackgroundColor(QColor colour);
    void setZoneColors(QColor low, QColor medium, QColor high);
    void setUnlitColors(QColor low, QColor medium, QColor high);
    // Zone limits and range in level units.
    void setZones(int lowLimit, int mediumLimit, int range);
    void setPeakHoldTicks(int ticks) { m_peakHoldTicks = std::max(ticks, 0); }

    // Both re-initialise every band to a full bar with a fresh hold.
    void setBandCount(int bands);
    void setLedCount(int leds);
    int bandCount() const { return static_cast<int>(m_bands.size()); }
    int ledCount() const { return m_leds; }
    int range() const { return m_range; }

    // Values for the bands first, first + 1, ...; each is clamped to 0...range. Restarts the
    // decay timer when it had stopped at rest.
    void setData(std::span<const int> values, int first = 0);
    // Runs the decay every `periodMs`.
    void startDecayTimer(int periodMs);
    void stopDecayTimer();
    bool isDecayRunning() const { return m_timer.isActive(); }

    // One decay step, as the timer does it.
    void decayTick();
    BandLevel band(int b) const;
    bool atRest() const;
    // Cells lit for a band, and the zone (0 low, 1 medium, 2 high) of a cell.
    int litCells(int b) const;
    int zoneOfCell(int cell) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void resetBands();
    int levelStep() const;
    int peakStep() const;

    int m_style = Horizontal;
    QColor m_background;
    QColor m_lit[3] = {QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 0, 0)};
    QColor m_unlit[3] = {QColor(2, 60, 2), QColor(60, 60, 2), QColor(60, 2, 2)};
    int m_lowLimit = 40;
    int m_mediumLimit = 50;
    int m_range = 60;
    int m_leds = 8;
    int m_peakHoldTicks = 10;
    int m_options = PeakLine;
    bool m_decayEnabled = false;
    int m_decayPeriod = 10;
    QTimer m_timer;
    std::vector<BandLevel> m_bands;
};

} // namespace quilo
