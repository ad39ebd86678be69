#include "ui/DialogLook.h"

#include <QPalette>
#include <QWidget>

namespace quilo {

void applyDialogLook(QWidget* dialog) {
    QPalette pal = dialog->palette();
    pal.setColor(QPalette::Window, kDialogBackground);
    dialog->setPalette(pal);
    dialog->setAutoFillBackground(true);
}

QFont cjkFont(int pixelSize, int weight) {
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans")});
    f.setPixelSize(pixelSize);
    f.setWeight(static_cast<QFont::Weight>(weight));
    return f;
}

QFont latinFont(int pixelSize, int weight) {
    QFont f(QStringLiteral("Noto Sans"));
    f.setFamilies({QStringLiteral("Noto Sans"), QStringLiteral("Noto Sans CJK SC")});
    f.setPixelSize(pixelSize);
    f.setWeight(static_cast<QFont::Weight>(weight));
    return f;
}

} // namespace quilo
