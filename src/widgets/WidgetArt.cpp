#include "widgets/WidgetArt.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quilo {

namespace {

// One palette for every control.
const QColor kGroove(0xb4, 0xc3, 0xd0);
const QColor kGrooveEdge(0x8a, 0x9d, 0xae);
const QColor kAccent(0x21, 0x8c, 0xe0);
const QColor kAccentDark(0x15, 0x62, 0xa8);
const QColor kThumbTop(0xff, 0xff, 0xff);
const QColor kThumbBottom(0xd9, 0xe3, 0xec);
const QColor kThumbEdge(0x5f, 0x74, 0x87);
const QColor kDisabledFace(0xd4, 0xd8, 0xdc);
const QColor kDisabledEdge(0xa6, 0xab, 0xb0);
const QColor kFaceTop(0x4d, 0x6c, 0x8a);
const QColor kFaceBottom(0x2c, 0x45, 0x5e);
const QColor kFaceEdge(0x1d, 0x30, 0x43);
const QColor kCheckedTop(0x35, 0xa2, 0xf2);
const QColor kCheckedBottom(0x16, 0x69, 0xb6);
const QColor kCheckedEdge(0x0d, 0x4a, 0x85);

QPixmap blank(QSize size, qreal dpr) {
    QPixmap pm(QSize(qMax(1, qRound(size.width() * dpr)), qMax(1, qRound(size.height() * dpr))));
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}

// Rounded groove between the pads, centred across the slider.
QPixmap drawTrack(QSize size, bool vertical, QRectF area, bool filled, qreal dpr) {
    QPixmap pm = blank(size, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    constexpr qreal kThickness = 5.0;
    QRectF groove;
    if (vertical)
        groove = QRectF(area.center().x() - kThickness / 2, area.top(), kThickness, area.height());
    else
        groove = QRectF(area.left(), area.center().y() - kThickness / 2, area.width(), kThickness);
    groove.adjust(0.5, 0.5, -0.5, -0.5);
    QLinearGradient g(groove.topLeft(), vertical ? groove.topRight() : groove.bottomLeft());
    if (filled) {
        g.setColorAt(0, kAccent.lighter(115));
        g.setColorAt(1, kAccentDark);
        p.setPen(QPen(kAccentDark, 1));
    } else {
        g.setColorAt(0, kGroove.darker(110));
        g.setColorAt(1, kGroove.lighter(110));
        p.setPen(QPen(kGrooveEdge, 1));
    }
    p.setBrush(g);
    p.drawRoundedRect(groove, kThickness / 2, kThickness / 2);
    return pm;
}

enum class ThumbLook { Normal, Focused, Disabled };

QPixmap drawThumb(QSize size, bool vertical, ThumbLook look, qreal dpr) {
    QPixmap pm = blank(size, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 1, -1, -1);
    QLinearGradient g(r.topLeft(), vertical ? r.topRight() : r.bottomLeft());
    QColor edge = kThumbEdge;
    if (look == ThumbLook::Disabled) {
        g.setColorAt(0, kDisabledFace.lighter(106));
        g.setColorAt(1, kDisabledFace);
        edge = kDisabledEdge;
    } else {
        g.setColorAt(0, kThumbTop);
        g.setColorAt(1, kThumbBottom);
        if (look == ThumbLook::Focused)
            edge = kAccentDark;
    }
    p.setBrush(g);
    p.setPen(QPen(edge, look == ThumbLook::Focused ? 1.6 : 1.0));
    p.drawRoundedRect(r, 3, 3);
    // A centre grip line shows the exact position; the focused thumb lights it.
    const QColor grip = look == ThumbLook::Focused    ? kAccent
                        : look == ThumbLook::Disabled ? kDisabledEdge
                                                      : kThumbEdge;
    p.setPen(QPen(grip, 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = r.center();
    if (vertical)
        p.drawLine(QPointF(r.left() + 3, c.y()), QPointF(r.right() - 3, c.y()));
    else
        p.drawLine(QPointF(c.x(), r.top() + 3), QPointF(c.x(), r.bottom() - 3));
    return pm;
}

QPixmap withOverlay(const QPixmap& source, const QColor& colour, QPoint shift) {
    QPixmap pm(source.size());
    pm.setDevicePixelRatio(source.devicePixelRatio());
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.drawPixmap(shift, source);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.fillRect(QRectF(QPointF(0, 0), pm.deviceIndependentSize()), colour);
    return pm;
}

} // namespace

SliderImages sliderImages(QSize size, bool vertical, int padLeft, int padRight, int padTop,
                          int padBottom, qreal dpr) {
    SliderImages images;
    const QSize thumb = vertical ? QSize(kSliderThumbLong, kSliderThumbShort)
                                 : QSize(kSliderThumbShort, kSliderThumbLong);
    // The groove runs between the thumb centres at the two ends of the travel.
    QRectF area;
    if (vertical) {
        const qreal top = padTop + thumb.height() / 2.0;
        const qreal bottom = size.height() - padBottom - thumb.height() / 2.0;
        area = QRectF(padLeft, top, thumb.width(), qMax<qreal>(0, bottom - top));
    } else {
        const qreal left = padLeft + thumb.width() / 2.0;
        const qreal right = size.width() - padRight - thumb.width() / 2.0;
        area = QRectF(left, padTop, qMax<qreal>(0, right - left), thumb.height());
    }
    images.track = drawTrack(size, vertical, area, false, dpr);
    images.filledTrack = drawTrack(size, vertical, area, true, dpr);
    images.thumb = drawThumb(thumb, vertical, ThumbLook::Normal, dpr);
    images.thumbFocused = drawThumb(thumb, vertical, ThumbLook::Focused, dpr);
    images.thumbDisabled = drawThumb(thumb, vertical, ThumbLook::Disabled, dpr);
    return images;
}

QPixmap buttonFace(QSize size, ButtonFace face, qreal dpr) {
    QPixmap pm = blank(size, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    const bool checked = face == ButtonFace::Checked;
    g.setColorAt(0, checked ? kCheckedTop : kFaceTop);
    g.setColorAt(1, checked ? kCheckedBottom : kFaceBottom);
    p.setBrush(g);
    p.setPen(QPen(checked ? kCheckedEdge : kFaceEdge, 1));
    p.drawRoundedRect(r, 4, 4);
    // Thin highlight under the top edge gives the face some depth.
    p.setPen(QPen(QColor(255, 255, 255, checked ? 90 : 50), 1));
    p.drawLine(QPointF(r.left() + 4, r.top() + 1.5), QPointF(r.right() - 4, r.top() + 1.5));
    return pm;
}

QPixmap hoverLook(const QPixmap& source) {
    return withOverlay(source, QColor(255, 255, 255, 40), QPoint(0, 0));
}

QPixmap pressedLook(const QPixmap& source) {
    return withOverlay(source, QColor(0, 0, 0, 50), QPoint(0, 1));
}

QPixmap disabledLook(const QPixmap& source) {
    QImage img = source.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb px = line[x];
            const int grey = (qGray(px) + 2 * 200) / 3; // washed out towards light grey
            line[x] = qRgba(grey, grey, grey, qAlpha(px) * 3 / 4);
        }
    }
    QPixmap pm = QPixmap::fromImage(img);
    pm.setDevicePixelRatio(source.devicePixelRatio());
    return pm;
}

} // namespace quilo
