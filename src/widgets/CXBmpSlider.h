#pragma once

#include "widgets/WidgetArt.h"

#include <QColor>
#include <QWidget>

namespace quilo {

// Image slider of the pages. Every position change made by the user is reported with the
// slider's control id (its "ctrlId" property), and so are focus and release. Moves made by
// the program through setPosition are silent.
class CXBmpSlider : public QWidget {
    Q_OBJECT

public:
    explicit CXBmpSlider(QWidget* parent = nullptr, bool vertical = false);

    // Range as (maximum, minimum); a reversed pair is put in order.
    void setRange(int maximum, int minimum);
    int maximum() const { return m_max; }
    int minimum() const { return m_min; }
    // Clamped to the range; no notification.
    void setPosition(int position);
    int position() const { return m_pos; }

    // For a horizontal slider the top pad is the thumb's y, for a vertical one the left
    // pad is its x.
    void setPads(int left, int right, int top, int bottom);
    void setBackgroundColor(QColor colour);
    QColor backgroundColor() const { return m_background; }
    bool isVertical() const { return m_vertical; }

    // Fixed images; the control takes the size of the track image.
    void setImages(const SliderImages& images);
    // Images drawn to the control's own size (the default), redrawn when it changes.
    void useDrawnImages();
    // The look the pages give their horizontal sliders.
    void usePageStyle();

    int controlId() const;

    // Geometry: the thumb's offset along the slider for a value, and the value under an
    // offset (not clamped).
    int thumbOffsetFor(int value) const;
    int valueAtOffset(int offset) const;
    QRect thumbRect() const;

    QSize sizeHint() const override;

signals:
    void sliderChanged(int controlId, int position);
    void sliderFocused(int controlId);
    void sliderReleased(int controlId, int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int travel() const;
    QSize thumbSize() const;
    void ensureDrawnImages(qreal dpr);
    void stepBy(int delta);

    int m_max = 127;
    int m_min = 0;
    int m_pos = 0;
    int m_padLeft = 0;
    int m_padRight = 0;
    int m_padTop = 0;
    int m_padBottom = 0;
    bool m_dragging = false;
    bool m_vertical = false;
    QColor m_background = QColor::fromRgba(0xFFC7C7C7);
    SliderImages m_images;
    bool m_drawnImages = true;
    QSize m_drawnFor;
    qreal m_drawnDpr = 0.0;
};

} // namespace quilo
