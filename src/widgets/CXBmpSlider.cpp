#include "widgets/CXBmpSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace quilo {

namespace {
constexpr int kDefaultLength = 150;
constexpr int kPageThickness = 23; // thumb 18 plus the page pads of 3 and 2
} // namespace

CXBmpSlider::CXBmpSlider(QWidget* parent, bool vertical) : QWidget(parent), m_vertical(vertical) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CXBmpSlider::setRange(int maximum, int minimum) {
    m_max = std::max(maximum, minimum);
    m_min = std::min(maximum, minimum);
    m_pos = std::clamp(m_pos, m_min, m_max);
    update();
}

void CXBmpSlider::setPosition(int position) {
    m_pos = std::clamp(position, m_min, m_max);
    update();
}

void CXBmpSlider::setPads(int left, int right, int top, int bottom) {
    m_padLeft = std::max(left, 0);
    m_padRight = std::max(right, 0);
    m_padTop = std::max(top, 0);
    m_padBottom = std::max(bottom, 0);
    m_drawnFor = QSize();
    update();
}

void CXBmpSlider::setBackgroundColor(QColor colour) {
    m_background = colour;
    update();
}

void CXBmpSlider::setImages(const SliderImages& images) {
    m_images = images;
    m_drawnImages = false;
    setFixedSize(images.track.deviceIndependentSize().toSize());
    update();
}

void CXBmpSlider::useDrawnImages() {
    m_drawnImages = true;
    m_drawnFor = QSize();
    update();
}

void CXBmpSlider::usePageStyle() {
    setPads(7, 7, 3, 2);
    setBackgroundColor(QColor::fromRgba(0xFFF0FAFF));
    useDrawnImages();
}

int CXBmpSlider::controlId() const {
    return property("ctrlId").toInt();
}

QSize CXBmpSlider::sizeHint() const {
    if (!m_drawnImages)
        return m_images.track.deviceIndependentSize().toSize();
    return m_vertical ? QSize(kPageThickness, kDefaultLength)
                      : QSize(kDefaultLength, kPageThickness);
}

QSize CXBmpSlider::thumbSize() const {
    if (!m_drawnImages && !m_images.thumb.isNull())
        return m_images.thumb.deviceIndependentSize().toSize();
    return m_vertical ? QSize(kSliderThumbLong, kSliderThumbShort)
                      : QSize(kSliderThumbShort, kSliderThumbLong);
}

int CXBmpSlider::travel() const {
    const QSize t = thumbSize();
    return m_vertical ? height() - t.height() - m_padTop - m_padBottom
                      : width() - t.width() - m_padLeft - m_padRight;
}

int CXBmpSlider::thumbOffsetFor(int value) const {
    const long long span = static_cast<long long>(m_max) - m_min;
    const int length = std::max(travel(), 0);
    if (span <= 0)
        return m_vertical ? m_padTop + length : m_padLeft;
    if (m_vertical)
        return m_padTop + static_cast<int>(length * (static_cast<long long>(m_max) - value) / span);
    return m_padLeft + static_cast<int>(length * (static_cast<long long>(value) - m_min) / span);
}

int CXBmpSlider::valueAtOffset(int offset) const {
    const long long span = static_cast<long long>(m_max) - m_min;
    const int length = travel();
    if (length <= 0 || span <= 0)
        return m_min;
    // Integer division truncates toward zero, as the thumb mapping does.
    if (m_vertical)
        return static_cast<int>(m_max -
                                (static_cast<long long>(offset) - m_padTop) * span / length);
    return static_cast<int>(m_min + (static_cast<long long>(offset) - m_padLeft) * span / length);
}

QRect CXBmpSlider::thumbRect() const {
    const QSize t = thumbSize();
    const int along = thumbOffsetFor(m_pos);
    return m_vertical ? QRect(QPoint(m_padLeft, along), t) : QRect(QPoint(along, m_padTop), t);
}

void CXBmpSlider::ensureDrawnImages(qreal dpr) {
    if (!m_drawnImages)
        return;
    if (m_drawnFor == size() && m_drawnDpr == dpr)
        return;
    m_images = sliderImages(size(), m_vertical, m_padLeft, m_padRight, m_padTop, m_padBottom, dpr);
    m_drawnFor = size();
    m_drawnDpr = dpr;
}

void CXBmpSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    ensureDrawnImages(p.device()->devicePixelRatioF());
    p.fillRect(rect(), m_background);
    p.drawPixmap(0, 0, m_images.track);
    const QRect thumb = thumbRect();
    // The filled track runs from the minimum end up to the thumb's centre.
    p.save();
    if (m_vertical)
        p.setClipRect(QRect(0, thumb.center().y(), width(), height() - thumb.center().y()));
    else
        p.setClipRect(QRect(0, 0, thumb.center().x() + 1, height()));
    // A disabled slider keeps its fill, faded, so the value still shows.
    if (!isEnabled())
        p.setOpacity(0.35);
    p.drawPixmap(0, 0, m_images.filledTrack);
    p.restore();
    const QPixmap& image = !isEnabled() ? m_images.thumbDisabled
                           : hasFocus() ? m_images.thumbFocused
                                        : m_images.thumb;
    p.drawPixmap(thumb.topLeft(), image);
}

void CXBmpSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint pt = event->position().toPoint();
    const QRect thumb = thumbRect();
    if (thumb.contains(pt)) {
        m_dragging = true;
        return;
    }
    // A press on the track moves one step toward it, not to the press point.
    const bool down = m_vertical ? pt.y() > thumb.center().y() : pt.x() <= thumb.center().x();
    m_pos = std::clamp(m_pos + (down ? -1 : 1), m_min, m_max);
    update();
    emit sliderChanged(controlId(), m_pos);
}

void CXBmpSlider::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void CXBmpSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging)
        return;
    const QSize t = thumbSize();
    const QPoint pt = event->position().toPoint();
    const int offset = m_vertical ? pt.y() - t.height() / 2 : pt.x() - t.width() / 2;
    m_pos = std::clamp(valueAtOffset(offset), m_min, m_max);
    update();
    emit sliderChanged(controlId(), m_pos);
}

void CXBmpSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        event->ignore();
        return;
    }
    m_dragging = false;
    emit sliderReleased(controlId(), m_pos);
}

void CXBmpSlider::stepBy(int delta) {
    m_pos = std::clamp(m_pos + delta, m_min, m_max);
    update();
    emit sliderChanged(controlId(), m_pos);
    emit sliderReleased(controlId(), m_pos);
}

void CXBmpSlider::keyPressEvent(QKeyEvent* event) {
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        stepBy(1);
        break;
    case Qt::Key_Left:
    case Qt::Key_Down:
        stepBy(-1);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CXBmpSlider::wheelEvent(QWheelEvent* event) {
    const QPoint d = event->angleDelta();
    const int delta = d.y() != 0 ? d.y() : d.x();
    if (!isEnabled() || delta == 0) {
        event->ignore();
        return;
    }
    stepBy(delta > 0 ? 1 : -1);
}

void CXBmpSlider::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
    emit sliderFocused(controlId());
}

void CXBmpSlider::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    m_dragging = false;
    update();
}

void CXBmpSlider::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    update();
}

void CXBmpSlider::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        m_dragging = false;
        update();
    }
}

} // namespace quilo
