#include "app/DocumentOpener.h"

#include "app/ModeFileController.h"
#include "model/DeviceImage.h"
#include "ui/DeviceAccess.h"
#include "ui/Language.h"
#include "ui/Prompter.h"
#include "ui/Texts.h"

#include <QFileInfo>

namespace quilo {

namespace {

enum class Kind { Mode, Remote, Other };

Kind kindOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("quilo"), Qt::CaseInsensitive) == 0) {
        return Kind::Mode;
    }
    if (suffix.compare(QLatin1String("remo"), Qt::CaseInsensitive) == 0) {
        return Kind::Remote;
    }
    return Kind::Other;
}

} // namespace

DocumentOpener::DocumentOpener(DeviceAccess& device, DeviceImage& image, Prompter& prompter,
                               Language& language, ModeFileController& modeFiles,
                               OpenRemoteFile openRemoteFile, QWidget& window)
    : m_device(device), m_image(image), m_prompter(prompter), m_language(language),
      m_modeFiles(modeFiles), m_openRemoteFile(std::move(openRemoteFile)), m_window(window) {}

void DocumentOpener::open(const QString& path) {
    if (!QFileInfo::exists(path)) {
        const int lang = m_language.index();
        m_prompter.message(&m_window, Prompter::Icon::Information, text::kFileOpenError.pick(lang),
                           text::kFileMissing.pick(lang));
        return;
    }
    if (kindOf(path) == Kind::Other) {
        return;
    }
    if (m_device.linkOpen() && m_image.mainThreadOwns()) {
        openNow(path);
        return;
    }
    // The newest file wins; it is named anew.
    m_waiting = path;
    m_told = false;
    if (!m_device.linkOpen() && m_startAttempted) {
        tellConnectFirst();
    }
}

void DocumentOpener::onStartAttempt(bool opened) {
    m_startAttempted = true;
    if (!opened && !m_waiting.isEmpty()) {
        tellConnectFirst();
    }
}

void DocumentOpener::onSynchronised() {
    if (m_waiting.isEmpty() || !m_device.linkOpen() || !m_image.mainThreadOwns()) {
        return;
    }
    const QString path = m_waiting;
    m_waiting.clear();
    m_told = false;
    openNow(path);
}

void DocumentOpener::openNow(const QString& path) {
    if (kindOf(path) == Kind::Mode) {
        m_modeFiles.openModeFileByPath(path);
    } else if (m_openRemoteFile) {
        m_openRemoteFile(path);
    }
}

void DocumentOpener::tellConnectFirst() {
    if (m_told) {
        return;
    }
    m_told = true;
    m_prompter.notice(text::kPleaseConnect.pick(m_language.index()) + QLatin1Char('\n') +
                          QFileInfo(m_waiting).fileName(),
                      kWaitingNoticeMs);
}

} // namespace quilo
