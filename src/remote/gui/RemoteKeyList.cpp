#include "remote/gui/RemoteKeyList.h"

#include "remote/RemoteKeys.h"
#include "remote/gui/RemoteTexts.h"
#include "ui/DialogLook.h"

#include <QPainter>

namespace quilo {

namespace {
constexpr int kWidth = 250;
constexpr int kRowHeight = 26;
constexpr int kTop = 14;
} // namespace

RemoteKeyList::RemoteKeyList(QWidget* parent) : QWidget(parent) {
    setFixedSize(sizeHint());
}

void RemoteKeyList::setLanguage(int language) {
    m_language = language;
    update();
}

QSize RemoteKeyList::sizeHint() const {
    return {kWidth, kTop * 2 + kRowHeight * kLastRemoteKey};
}

void RemoteKeyList::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(170, 190, 210), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);

    for (int key = kFirstRemoteKey; key <= kLastRemoteKey; ++key) {
        const QRectF row(10, kTop + (key - 1) * kRowHeight, kWidth - 20, kRowHeight);
        // The number as the remote shows it.
        const QRectF badge(row.left(), row.center().y() - 9, 26, 18);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 76, 86));
        p.drawRoundedRect(badge, 5, 5);
        p.setPen(QColor(255, 214, 64));
        p.setFont(latinFont(11, 700));
        p.drawText(badge, Qt::AlignCenter, QString::number(key));
        p.setPen(QColor(30, 34, 40));
        p.setFont(cjkFont(13));
        p.drawText(row.adjusted(36, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   remote_text::keyName(key, m_language));
    }
}

} // namespace quilo
