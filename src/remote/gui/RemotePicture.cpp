#include "remote/gui/RemotePicture.h"

#include "ui/DialogLook.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace quilo {

namespace {

constexpr int kWidth = 230;
constexpr int kHeight = 480;

enum class Face { Rect, Round, Power };

struct Spot {
    int ctrlId;
    QRect rect;
    Face face;
    const char* symbol;
};

// The layout of the drawn remote: source, HDMI and power at the top, the
// direction pad with OK, the menu row, then the three volume rockers.
const Spot kSpots[] = {
    {1587, {148, 34, 44, 44}, Face::Power, ""},
    {1600, {36, 38, 50, 34}, Face::Rect, "SRC"},
    {1601, {91, 38, 50, 34}, Face::Rect, "HDMI"},
    {1602, {90, 102, 50, 36}, Face::Rect, "\u25B2"},
    {1603, {90, 194, 50, 36}, Face::Rect, "\u25BC"},
    {1604, {38, 141, 36, 50}, Face::Rect, "\u25C0"},
    {1605, {156, 141, 36, 50}, Face::Rect, "\u25B6"},
    {1606, {89, 140, 52, 52}, Face::Round, "OK"},
    {1607, {36, 258, 50, 34}, Face::Rect, "MENU"},
    {1608, {91, 258, 50, 34}, Face::Rect, "MUTE"},
    {1609, {146, 258, 50, 34}, Face::Rect, "EXIT"},
    {1610, {36, 318, 50, 40}, Face::Rect, "+"},
    {1611, {36, 362, 50, 40}, Face::Rect, "\u2212"},
    {1612, {91, 318, 50, 40}, Face::Rect, "+"},
    {1613, {91, 362, 50, 40}, Face::Rect, "\u2212"},
    {1614, {146, 318, 50, 40}, Face::Rect, "+"},
    {1615, {146, 362, 50, 40}, Face::Rect, "\u2212"},
    {1616, {91, 434, 50, 24}, Face::Rect, ""},
};

// One key of the picture; the whole of it reacts to the mouse.
class HotSpot : public QWidget {
public:
    HotSpot(const Spot& spot, std::function<void(int)> clicked, QWidget* parent)
        : QWidget(parent), m_spot(spot), m_clicked(std::move(clicked)) {
        setProperty("ctrlId", spot.ctrlId);
        setGeometry(spot.rect);
        setCursor(Qt::PointingHandCursor);
        setMouseTracking(true);
        setToolTip(QString::number(RemotePicture::keyOfSpot(spot.ctrlId)));
    }

protected:
    void enterEvent(QEnterEvent*) override { setHover(true); }
    void leaveEvent(QEvent*) override { setHover(false); }
    void mousePressEvent(QMouseEvent* event) override {
        m_pressed = event->button() == Qt::LeftButton;
        update();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        const bool click = m_pressed && event->button() == Qt::LeftButton &&
                           rect().contains(event->position().toPoint());
        m_pressed = false;
        update();
        if (click && m_clicked) {
            m_clicked(m_spot.ctrlId);
        }
    }
    void paintEvent(QPaintEvent*) override;

private:
    void setHover(bool on) {
        m_hover = on;
        update();
    }

    Spot m_spot;
    std::function<void(int)> m_clicked;
    bool m_hover = false;
    bool m_pressed = false;
};

void HotSpot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    QColor top = m_spot.face == Face::Power ? QColor(214, 48, 40) : QColor(88, 94, 104);
    if (m_hover) {
        top = top.lighter(130);
    }
    if (m_pressed) {
        top = top.darker(125);
    }
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, top.darker(140));
    p.setBrush(fill);
    p.setPen(QPen(QColor(20, 22, 26), 1.2));
    if (m_spot.face == Face::Rect) {
        p.drawRoundedRect(face, 7, 7);
    } else {
        p.drawEllipse(face);
    }

    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    if (m_spot.face == Face::Power) {
        const QRectF ring(face.center() - QPointF(9, 8), QSizeF(18, 18));
        p.drawArc(ring, 120 * 16, 300 * 16);
        p.drawLine(QPointF(face.center().x(), face.center().y() - 11),
                   QPointF(face.center().x(), face.center().y() - 1));
    } else {
        const QString symbol = QString::fromUtf8(m_spot.symbol);
        const bool word = symbol.size() > 1;
        p.setFont(latinFont(word ? 11 : 17, word ? 600 : 700));
        p.drawText(face.adjusted(0, 3, 0, 0), Qt::AlignCenter, symbol);
    }

    // The key number, as the key list names it.
    const int key = RemotePicture::keyOfSpot(m_spot.ctrlId);
    p.setFont(latinFont(10, 700));
    p.setPen(QColor(255, 214, 64));
    const QRectF corner = m_spot.face == Face::Rect ? face.adjusted(4, 1, 0, 0)
                                                    : face.adjusted(0, 0, 0, -face.height() / 2);
    p.drawText(corner,
               m_spot.face == Face::Rect ? Qt::AlignLeft | Qt::AlignTop
                                         : Qt::AlignHCenter | Qt::AlignTop,
               QString::number(key));
}

} // namespace

int RemotePicture::keyOfSpot(int ctrlId) {
    if (ctrlId == kPowerSpot) {
        return 1;
    }
    if (ctrlId >= kFirstSpot && ctrlId < kHiddenSpot) {
        return ctrlId - kFirstSpot + 2;
    }
    return 0;
}

RemotePicture::RemotePicture(std::function<void(int)> clicked, QWidget* parent)
    : QWidget(parent), m_clicked(std::move(clicked)) {
    setFixedSize(kWidth, kHeight);
    for (const Spot& spot : kSpots) {
        auto* hotSpot = new HotSpot(spot, m_clicked, this);
        hotSpot->setVisible(spot.ctrlId != kHiddenSpot);
    }
}

QSize RemotePicture::sizeHint() const {
    return {kWidth, kHeight};
}

void RemotePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(16, 6, kWidth - 32, kHeight - 12);
    QLinearGradient shell(body.topLeft(), body.topRight());
    shell.setColorAt(0, QColor(44, 48, 56));
    shell.setColorAt(0.5, QColor(64, 70, 80));
    shell.setColorAt(1, QColor(40, 44, 52));
    p.setPen(QPen(QColor(24, 26, 30), 2));
    p.setBrush(shell);
    p.drawRoundedRect(body, 34, 34);

    // The ring around the direction pad.
    p.setPen(QPen(QColor(30, 32, 38), 1.5));
    p.setBrush(QColor(54, 58, 66));
    p.drawEllipse(QPointF(115, 166), 84, 72);

    // What the three rockers change.
    p.setPen(QColor(200, 206, 214));
    p.setFont(latinFont(10, 600));
    const char* const rockers[] = {"MIC", "EFFECT", "MUSIC"};
    for (int i = 0; i < 3; ++i) {
        p.drawText(QRectF(31 + 55 * i, 404, 60, 16), Qt::AlignCenter,
                   QString::fromLatin1(rockers[i]));
    }
    // The infrared window at the top.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 20, 28));
    p.drawRoundedRect(QRectF(95, 12, 40, 10), 4, 4);
}

} // namespace quilo
