#include "app/RibbonPanel.h"

#include "ui/DialogLook.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace quilo {

namespace ribbonlook {
QColor background() {
    return {223, 234, 247};
}
QColor border() {
    return {160, 186, 218};
}
QColor titleBand() {
    return {198, 216, 238};
}
QColor text() {
    return {21, 66, 139};
}
} // namespace ribbonlook

RibbonPanel::RibbonPanel(const QString& title, QWidget* parent) : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(5, 4, 5, 0);
    outer->setSpacing(0);
    m_content = new QVBoxLayout;
    m_content->setContentsMargins(0, 0, 0, 0);
    m_content->setSpacing(3);
    outer->addLayout(m_content, 1);
    m_title = new QLabel(title, this);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setFixedHeight(ribbonlook::kTitleHeight);
    m_title->setFont(cjkFont(12));
    QPalette pal = m_title->palette();
    pal.setColor(QPalette::WindowText, ribbonlook::text());
    m_title->setPalette(pal);
    outer->addWidget(m_title);
}

void RibbonPanel::setTitle(const QString& title) {
    m_title->setText(title);
}

QString RibbonPanel::title() const {
    return m_title->text();
}

void RibbonPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(242, 247, 253));
    g.setColorAt(1, QColor(221, 233, 247));
    p.setPen(QPen(ribbonlook::border(), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 4, 4);
    const QRectF band(r.left(), r.bottom() - ribbonlook::kTitleHeight, r.width(),
                      ribbonlook::kTitleHeight);
    p.setPen(Qt::NoPen);
    p.setBrush(ribbonlook::titleBand());
    p.setClipRect(band);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

} // namespace quilo
