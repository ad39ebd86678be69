#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quilo {

// The files of the phone page, embedded in the program: one HTML file holding
// its style and script.
struct EmbeddedFile {
    QByteArray mimeType;
    QByteArray bytes;
};

// The file served at `path` ("/" is the page), its language preset to the
// owner's (0 Chinese, 1 English); nothing for any other path.
std::optional<EmbeddedFile> embeddedFile(const QString& path, int language);
// The bytes of every embedded file together.
qint64 embeddedWeight();

} // namespace quilo
