#pragma once

#include <QFont>

namespace quilo {

// The faces the windows were designed with, mapped to the Noto families shipped with the
// desktop: the CJK face for the Chinese ones, the Latin face for the others. Sizes are in
// pixels so text takes the same room on every screen.
QFont songFont(int pixelSize);   // "宋体"
QFont heiFont(int pixelSize);    // "黑体", a heavy sans
QFont tahomaFont(int pixelSize); // "Tahoma"
QFont arialFont(int pixelSize);  // "Arial"

} // namespace quilo
