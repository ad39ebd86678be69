#pragma once

#include <QPixmap>

namespace quilo {

// The smart-plug windows' pictures, drawn in code: the plug list's icons by plug
// type (0 and unknown types a bare plug, 1 a switch plug, 2 a dimmer plug), the
// switch dialog's on and off faces and the power-on and power-off scene buttons.
QPixmap plugIcon(int type, int size = 48);
QPixmap switchFace(bool on, int size = 72);
QPixmap sceneFace(bool powerOn, int size = 64);

} // namespace quilo
