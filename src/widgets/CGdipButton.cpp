#include "widgets/CGdipButton.h"

#include "widgets/WidgetArt.h"
#include "widgets/WidgetFonts.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

namespace quilo {

namespace {

constexpr int kButtonFontPx = 12;

QPixmap scaledTo(const QPixmap& image, QSize size, qreal dpr) {
    QPixmap pm = image.scaled(size * dpr, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    pm.setDevicePixelRatio(dpr);
    return pm;
}

} // namespace

CGdipButton::CGdipButton(QWidget* parent) : QAbstractButton(parent) {
    setFont(songFont(kButtonFontPx));
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::TabFocus);
}

CGdipButton::CGdipButton(const QString& text, QWidget* parent) : CGdipButton(parent) {
    setText(text);
}

void CGdipButton::setImages(const QPixmap& normal, const QPixmap& checked) {
    m_normalImage = normal;
    m_checkedImage = checked;
    m_renderedFor = QSize();
    update();
}

void CGdipButton::setTextColor(QColor colour) {
    m_textColor = colour;
    update();
}

void CGdipButton::setCheckedState(bool checked) {
    if (m_checked == checked)
        return;
    m_checked = checked;
    update();
    emit checkedStateChanged(checked);
}

QSize CGdipButton::sizeHint() const {
    if (!m_normalImage.isNull())
        return m_normalImage.deviceIndependentSize().toSize();
    const QSize text = fontMetrics().size(Qt::TextSingleLine, this->text());
    return QSize(qMax(72, text.width() + 20), qMax(26, text.height() + 10));
}

CGdipButton::Look CGdipButton::currentLook() const {
    if (!isEnabled())
        return Look::Disabled;
    if (isDown())
        return m_checked ? Look::CheckedPressed : Look::Pressed;
    if (m_hover)
        return m_checked ? Look::CheckedHover : Look::Hover;
    return m_checked ? Look::CheckedNormal : Look::Normal;
}

void CGdipButton::ensureRenderings(qreal dpr) {
    if (m_renderedFor == size() && m_renderedDpr == dpr)
        return;
    const QPixmap normal = m_normalImage.isNull() ? buttonFace(size(), ButtonFace::Normal, dpr)
                                                  : scaledTo(m_normalImage, size(), dpr);
    const QPixmap checked = m_checkedImage.isNull() ? buttonFace(size(), ButtonFace::Checked, dpr)
                                                    : scaledTo(m_checkedImage, size(), dpr);
    m_renderings[static_cast<int>(Look::Normal)] = normal;
    m_renderings[static_cast<int>(Look::Pressed)] = pressedLook(normal);
    m_renderings[static_cast<int>(Look::Hover)] = hoverLook(normal);
    m_renderings[static_cast<int>(Look::Disabled)] = disabledLook(normal);
    m_renderings[static_cast<int>(Look::CheckedNormal)] = checked;
    m_renderings[static_cast<int>(Look::CheckedPressed)] = pressedLook(checked);
    m_renderings[static_cast<int>(Look::CheckedHover)] = hoverLook(checked);
    m_renderedFor = size();
    m_renderedDpr = dpr;
}

void CGdipButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    ensureRenderings(p.device()->devicePixelRatioF());
    const Look look = currentLook();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.drawPixmap(0, 0, m_renderings[static_cast<int>(look)]);
    if (text().isEmpty())
        return;
    p.setFont(font());
    QColor colour = m_textColor;
    if (look == Look::Disabled)
        colour = QColor(0x80, 0x80, 0x80);
    p.setPen(colour);
    // The text sits one pixel right of centre, and follows the face when pressed.
    QRect r = rect().translated(1, 0);
    if (look == Look::Pressed || look == Look::CheckedPressed)
        r.translate(0, 1);
    p.drawText(r, Qt::AlignCenter, text());
}

void CGdipButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_toggle && isEnabled())
        setCheckedState(!m_checked);
    QAbstractButton::mousePressEvent(event);
}

void CGdipButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    m_hover = true;
    update();
}

void CGdipButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    m_hover = false;
    update();
}

void CGdipButton::resizeEvent(QResizeEvent* event) {
    QAbstractButton::resizeEvent(event);
    m_renderedFor = QSize();
}

void CGdipButton::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
}

} // namespace quilo
