#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace quilo {

// Every dialog of the program paints this background; static texts stay transparent.
inline const QColor kDialogBackground{240, 250, 255};

void applyDialogLook(QWidget* dialog);

// The program's text faces at a pixel height: the CJK face (also for Latin text)
// and the plain Latin face.
QFont cjkFont(int pixelSize, int weight = 400);
QFont latinFont(int pixelSize, int weight = 400);

} // namespace quilo
