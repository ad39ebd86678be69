#pragma once

#include <QAbstractButton>
#include <QPixmap>

#include <array>

namespace quilo {

// Image push button of the navigation rows and channel buttons. It clicks like any push
// button; besides it has a "checked" look (the page shown, the channel edited) that the
// page sets, or that flips on every press in toggle mode.
class CGdipButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CGdipButton(QWidget* parent = nullptr);
    CGdipButton(const QString& text, QWidget* parent = nullptr);

    // Face images, scaled to the button; a null image means the drawn face.
    void setImages(const QPixmap& normal, const QPixmap& checked = QPixmap());
    void setTextColor(QColor colour);
    QColor textColor() const { return m_textColor; }

    void setToggleMode(bool on) { m_toggle = on; }
    bool toggleMode() const { return m_toggle; }
    void setCheckedState(bool checked);
    bool checkedState() const { return m_checked; }
    bool isHovered() const { return m_hover; }

    enum class Look {
        Normal,
        Pressed,
        Hover,
        Disabled,
        CheckedNormal,
        CheckedPressed,
        CheckedHover
    };
    // The look the button shows now.
    Look currentLook() const;

    QSize sizeHint() const override;

signals:
    void checkedStateChanged(bool checked);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Renderings for the pixel ratio of the device painted on.
    void ensureRenderings(qreal dpr);

    QPixmap m_normalImage;
    QPixmap m_checkedImage;
    QColor m_textColor = Qt::white;
    bool m_toggle = false;
    bool m_checked = false;
    bool m_hover = false;
    std::array<QPixmap, 7> m_renderings;
    QSize m_renderedFor;
    qreal m_renderedDpr = 0.0;
};

} // namespace quilo
