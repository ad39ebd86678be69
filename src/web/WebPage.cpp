#include "web/WebPage.h"

#include <QDirIterator>
#include <QFile>

namespace quilo {

namespace {

constexpr const char* kPage = ":/quilo/web/index.html";

} // namespace

std::optional<EmbeddedFile> embeddedFile(const QString& path, int language) {
    if (path != QLatin1String("/") && path != QLatin1String("/index.html")) {
        return std::nullopt;
    }
    QFile file(QString::fromLatin1(kPage));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    bytes.replace("data-lang=\"zh\"", language == 1 ? "data-lang=\"en\"" : "data-lang=\"zh\"");
    return EmbeddedFile{QByteArrayLiteral("text/html; charset=utf-8"), bytes};
}

qint64 embeddedWeight() {
    qint64 total = 0;
    QDirIterator it(QStringLiteral(":/quilo/web"), QDirIterator::Subdirectories);
    while (it.hasNext()) {
        total += QFileInfo(it.next()).size();
    }
    return total;
}

} // namespace quilo
