#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace quilo {

class DeviceAccess;
class Language;
class ModeFileController;
class Prompter;
struct DeviceImage;

// Files handed to the program from outside: on its command line, by another
// start (the file manager) or from the recent-file list. A mode file (".quilo")
// is loaded and written out to the processor; a remote data file (".remo") goes
// into the remote-learning window and to the processor. Other files are not
// opened.
//
// Both need the processor. A file that comes while none is connected, or while a
// read-back fills the image, waits and is opened when the next read-back has
// finished. When there is no processor (the attempt at start found none, or it
// was made already) the connect notice names the waiting file, once.
class DocumentOpener : public QObject {
    Q_OBJECT
public:
    static constexpr int kWaitingNoticeMs = 3000;

    using OpenRemoteFile = std::function<void(const QString& path)>;

    DocumentOpener(DeviceAccess& device, DeviceImage& image, Prompter& prompter, Language& language,
                   ModeFileController& modeFiles, OpenRemoteFile openRemoteFile, QWidget& window);

    void open(const QString& path);
    // The attempt to connect at start was made (found a processor or not).
    void onStartAttempt(bool opened);
    // A read-back or write-out ended with the expected processor.
    void onSynchronised();

    QString waitingFile() const { return m_waiting; }

private:
    void openNow(const QString& path);
    void tellConnectFirst();

    DeviceAccess& m_device;
    DeviceImage& m_image;
    Prompter& m_prompter;
    Language& m_language;
    ModeFileController& m_modeFiles;
    OpenRemoteFile m_openRemoteFile;
    QWidget& m_window;
    QString m_waiting;
    bool m_told = false; // the connect notice named the waiting file
    bool m_startAttempted = false;
};

} // namespace quilo
