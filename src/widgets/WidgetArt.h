#pragma once

#include <QPixmap>
#include <QSize>

namespace quilo {

// The images of the custom controls, drawn in code at the device pixel ratio they are
// shown at, so they stay crisp on every screen and share one look.

struct SliderImages {
    QPixmap track;
    QPixmap filledTrack;
    QPixmap thumb;
    QPixmap thumbFocused;
    QPixmap thumbDisabled;
};

// Thumb of the page sliders, in device-independent pixels.
constexpr int kSliderThumbLong = 18;
constexpr int kSliderThumbShort = 12;

// Track and thumbs for a slider of the given outer size. A horizontal slider runs left to
// right with the groove between the pads; a vertical one bottom to top.
SliderImages sliderImages(QSize size, bool vertical, int padLeft, int padRight, int padTop,
                          int padBottom, qreal dpr);

enum class ButtonFace { Normal, Checked };
// Face of an image button filling `size`.
QPixmap buttonFace(QSize size, ButtonFace face, qreal dpr);

// Derived looks of any button image.
QPixmap hoverLook(const QPixmap& source);
QPixmap pressedLook(const QPixmap& source);
QPixmap disabledLook(const QPixmap& source);

} // namespace quilo
