#include "widgets/CPeakMeterCtrl.h"

#include <QPainter>

#include <algorithm>

namespace quilo {

namespace {
constexpr int kDefaultBands = 8;
}

CPeakMeterCtrl::CPeakMeterCtrl(QWidget* parent)
    : QWidget(parent), m_background(palette().color(QPalette::Button)) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CPeakMeterCtrl::decayTick);
    m_bands.resize(kDefaultBands);
    resetBands();
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CPeakMeterCtrl::setStyle(int styleFlags) {
    m_style = styleFlags;
    update();
}

void CPeakMeterCtrl::setOptions(int options) {
    m_options = options;
    update();
}

void CPeakMeterCtrl::setBackgroundColor(QColor colour) {
    m_background = colour;
    update();
}

void CPeakMeterCtrl::setZoneColors(QColor low, QColor medium, QColor high) {
    m_lit[0] = low;
    m_lit[1] = medium;
    m_lit[2] = high;
    update();
}

void CPeakMeterCtrl::setUnlitColors(QColor low, QColor medium, QColor high) {
    m_unlit[0] = low;
    m_unlit[1] = medium;
    m_unlit[2] = high;
    update();
}

void CPeakMeterCtrl::setZones(int lowLimit, int mediumLimit, int range) {
    m_range = std::max(range, 1);
    m_lowLimit = std::clamp(lowLimit, 0, m_range);
    m_mediumLimit = std::clamp(mediumLimit, m_lowLimit, m_range);
    for (BandLevel& b : m_bands) {
        b.level = std::min(b.level, m_range);
        b.peak = std::min(b.peak, m_range);
    }
    update();
}

void CPeakMeterCtrl::resetBands() {
    for (BandLevel& b : m_bands)
        b = BandLevel{m_range, m_range, m_peakHoldTicks};
    // The fresh full bars fall like any data would.
    if (m_decayEnabled && !m_timer.isActive())
        m_timer.start(m_decayPeriod);
    update();
}

void CPeakMeterCtrl::setBandCount(int bands) {
    m_bands.resize(static_cast<std::size_t>(std::clamp(bands, 1, 1024)));
    resetBands();
}

void CPeakMeterCtrl::setLedCount(int leds) {
    m_leds = std::clamp(leds, 1, 1024);
    resetBands();
}

void CPeakMeterCtrl::setData(std::span<const int> values, int first) {
    if (first < 0)
        return;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t b = static_cast<std::size_t>(first) + i;
        if (b >= m_bands.size())
            break;
        BandLevel& band = m_bands[b];
        band.level = std::clamp(values[i], 0, m_range);
        if (band.level > band.peak) {
            band.peak = band.level;
            band.hold = m_peakHoldTicks;
        }
    }
    if (m_decayEnabled && !m_timer.isActive() && !atRest())
        m_timer.start(m_decayPeriod);
    update();
}

void CPeakMeterCtrl::startDecayTimer(int periodMs) {
    m_decayPeriod = std::max(periodMs, 1);
    m_decayEnabled = true;
    m_timer.start(m_decayPeriod);
}

void CPeakMeterCtrl::stopDecayTimer() {
    m_decayEnabled = false;
    m_timer.stop();
}

int CPeakMeterCtrl::levelStep() const {
    const int step = m_leds < 2 ? m_range * 10 / 100 : m_range / m_leds;
    // With more cells than level units the step would round to nothing and the bar would
    // never fall.
    return std::max(step, 1);
}

int CPeakMeterCtrl::peakStep() const {
    return m_leds < 2 ? 5 : std::max(levelStep() / 2, 1);
}

void CPeakMeterCtrl::decayTick() {
    const int step = levelStep();
    const int peakFall = peakStep();
    for (BandLevel& b : m_bands) {
        b.level = std::max(b.level - step, 0);
        if (b.hold <= 1 && b.peak > 0)
            b.peak = std::max(b.peak - peakFall, 0);
        if (b.hold > 0)
            --b.hold;
    }
    if (atRest())
        m_timer.stop();
    update();
}

CPeakMeterCtrl::BandLevel CPeakMeterCtrl::band(int b) const {
    if (b < 0 || b >= bandCount())
        return {};
    return m_bands[static_cast<std::size_t>(b)];
}

bool CPeakMeterCtrl::atRest() const {
    return std::all_of(m_bands.begin(), m_bands.end(), [](const BandLevel& b) {
        return b.level == 0 && b.peak == 0 && b.hold == 0;
    });
}

int CPeakMeterCtrl::litCells(int b) const {
    return m_leds * band(b).level / m_range;
}

int CPeakMeterCtrl::zoneOfCell(int cell) const {
    if (cell < m_leds * m_lowLimit / m_range)
        return 0;
    if (cell < m_leds * m_mediumLimit / m_range)
        return 1;
    return 2;
}

QSize CPeakMeterCtrl::sizeHint() const {
    return isHorizontal() ? QSize(150, 10 * bandCount()) : QSize(10 * bandCount(), 150);
}

void CPeakMeterCtrl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_background);
    const bool horizontal = isHorizontal();
    const int along = horizontal ? width() : height();
    const int across = horizontal ? height() : width();
    const int cell = along / m_leds;
    const int bands = bandCount();
    const int row = across / bands;
    const int insetAlong = m_leds > 1 ? 1 : 0;
    const int insetAcross = bands > 1 ? 1 : 0;
    for (int b = 0; b < bands; ++b) {
        const int lit = litCells(b);
        // The held peak is drawn on vertical meters only; the horizontal rows show the bar
        // alone, so a silent row goes dark as soon as its bar has fallen.
        const bool peakLine = !horizontal && (m_options & PeakLine) != 0;
        const int peakCell = peakLine ? m_leds * band(b).peak / m_range - 1 : -1;
        for (int i = 0; i < m_leds; ++i) {
            const int zone = zoneOfCell(i);
            const bool on = i < lit || (i == peakCell && band(b).peak > 0);
            QRect r;
            if (horizontal)
                r = QRect(i * cell + insetAlong, b * row + insetAcross, cell - insetAlong,
                          row - 2 * insetAcross);
            else // cells rise from the bottom
                r = QRect(b * row + insetAcross, along - (i + 1) * cell, row - 2 * insetAcross,
                          cell - insetAlong);
            p.fillRect(r, on ? m_lit[zone] : m_unlit[zone]);
        }
    }
}

} // namespace quilo
