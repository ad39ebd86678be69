#pragma once

#include <QByteArray>
#include <QString>

namespace quilo {

// The smart-plug help document: kept as a file beside the program's data so the
// desktop's browser can show it, written from the embedded copy when missing.
class HelpFile {
public:
    // The context the smart-plug window opens the help at.
    static constexpr int kSmartPlugContext = 100000000;

    // `folder` holds the file: the user's application data folder unless given.
    explicit HelpFile(QString folder = {});

    QString path() const;
    // Writes the embedded document when no file is there. Errors are quiet: the
    // help command then finds no file.
    bool ensureExists() const;
    // Opens the document at a context in the desktop's browser; false when the
    // file is missing.
    bool open(int context) const;

    static QByteArray embedded();

private:
    QString m_folder;
};

} // namespace quilo
