#include "web/gui/QrImage.h"

#include <QPainter>

#include <qrencode.h>

#include <memory>

namespace quilo {

namespace {

constexpr int kQuietModules = 4;

} // namespace

QImage qrImage(const QString& text, int scale) {
    const QByteArray utf8 = text.toUtf8();
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString8bit(utf8.constData(), 0, QR_ECLEVEL_M), &QRcode_free);
    if (!code) {
        return {};
    }
    const int width = code->width;
    const int side = (width + 2 * kQuietModules) * scale;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < width; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((code->data[y * width + x] & 1) != 0) {
                painter.fillRect((x + kQuietModules) * scale, (y + kQuietModules) * scale, scale,
                                 scale, Qt::black);
            }
        }
    }
    return image;
}

} // namespace quilo
