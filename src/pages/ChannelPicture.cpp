#include "pages/ChannelPicture.h"

#include "ui/BiText.h"
#include "widgets/WidgetFonts.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

namespace quilo {

namespace {

constexpr BiText kChannelName{"通道%1", "CH %1"};
const QColor kBackTop(0x3b, 0x55, 0x70);
const QColor kBackBottom(0x1f, 0x31, 0x44);
const QColor kCabinet(0x2a, 0x2e, 0x33);
const QColor kCabinetEdge(0x9a, 0xa8, 0xb6);
const QColor kCone(0x55, 0x5d, 0x66);
const QColor kConeCentre(0x0e, 0x10, 0x12);
const QColor kAccent(0x35, 0xa2, 0xf2);

void drawDriver(QPainter& p, QPointF centre, qreal radius) {
    QRadialGradient cone(centre, radius);
    cone.setColorAt(0.0, kConeCentre);
    cone.setColorAt(0.35, kCone);
    cone.setColorAt(0.8, kConeCentre);
    cone.setColorAt(1.0, kCabinetEdge);
    p.setPen(QPen(kCabinetEdge, 1.2));
    p.setBrush(cone);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(kConeCentre);
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, radius * 0.22, radius * 0.22);
}

} // namespace

ChannelPicture::ChannelPicture(QWidget* parent) : QWidget(parent) {
    setProperty("ctrlId", 1258);
    setObjectName(QStringLiteral("ctrl1258"));
}

void ChannelPicture::setChannel(int channel, int language) {
    m_channel = std::clamp(channel, 0, 7);
    m_language = language;
    update();
}

QString ChannelPicture::caption() const {
    return kChannelName.pick(m_language).arg(m_channel + 1);
}

void ChannelPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient back(area.topLeft(), area.bottomLeft());
    back.setColorAt(0.0, kBackTop);
    back.setColorAt(1.0, kBackBottom);
    p.setPen(QPen(kBackBottom.darker(130), 1.0));
    p.setBrush(back);
    p.drawRoundedRect(area, 6, 6);

    // The cabinet stands left of the name in a wide picture, above it in a tall one.
    const bool wide = area.width() > area.height() * 1.6;
    const qreal captionHeight = std::max<qreal>(26.0, area.height() * 0.2);
    const QRectF room =
        wide ? QRectF(area.left() + 10, area.top() + 8, area.height() * 0.75, area.height() - 16)
             : area.adjusted(10, 10, -10, -captionHeight - 6);
    const qreal cabinetHeight = std::min(room.height(), room.width() * 1.5);
    const qreal cabinetWidth = cabinetHeight / 1.5;
    const QRectF cabinet(room.center().x() - cabinetWidth / 2,
                         room.center().y() - cabinetHeight / 2, cabinetWidth, cabinetHeight);
    p.setPen(QPen(kCabinetEdge, 1.5));
    p.setBrush(kCabinet);
    p.drawRoundedRect(cabinet, 4, 4);
    drawDriver(p, QPointF(cabinet.center().x(), cabinet.top() + cabinetHeight * 0.22),
               cabinetWidth * 0.16);
    drawDriver(p, QPointF(cabinet.center().x(), cabinet.top() + cabinetHeight * 0.63),
               cabinetWidth * 0.36);

    // Sound waves to the right of the cabinet.
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 2; ++i) {
        const qreal r = cabinetWidth * (0.35 + 0.22 * i);
        const QPointF c(cabinet.right() - cabinetWidth * 0.25, cabinet.center().y());
        p.setPen(QPen(kAccent, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), -40 * 16, 80 * 16);
    }

    const QRectF label =
        wide ? QRectF(room.right() + cabinetWidth * 0.8, area.top(),
                      area.right() - room.right() - cabinetWidth * 0.8, area.height())
             : QRectF(area.left(), area.bottom() - captionHeight - 4, area.width(), captionHeight);
    QFont font = m_language == kEnglish ? arialFont(wide ? 26 : 20) : heiFont(wide ? 26 : 20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(label, Qt::AlignCenter, caption());
}

} // namespace quilo
