#pragma once

#include <QImage>
#include <QString>

namespace quilo {

// `text` as a QR code (medium error correction), black on white with the quiet
// zone of four modules, each module `scale` pixels; a null image when it does
// not encode.
QImage qrImage(const QString& text, int scale);

} // namespace quilo
