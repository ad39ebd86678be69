#include "widgets/WidgetFonts.h"

#include <QStringList>

namespace quilo {

namespace {

const QString kCjk = QStringLiteral("Noto Sans CJK SC");
const QString kLatin = QStringLiteral("Noto Sans");

QFont make(const QStringList& families, int pixelSize, int weight) {
    QFont f;
    f.setFamilies(families);
    f.setPixelSize(pixelSize > 0 ? pixelSize : 1);
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setStyleHint(QFont::SansSerif);
    return f;
}

} // namespace

QFont songFont(int pixelSize) {
    return make({kCjk, kLatin}, pixelSize, QFont::Normal);
}
QFont heiFont(int pixelSize) {
    return make({kCjk, kLatin}, pixelSize, QFont::Bold);
}
QFont tahomaFont(int pixelSize) {
    return make({kLatin, kCjk}, pixelSize, QFont::Normal);
}
QFont arialFont(int pixelSize) {
    return make({kLatin, kCjk}, pixelSize, QFont::Normal);
}

} // namespace quilo
