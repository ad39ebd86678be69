#include "app/ModeFileController.h"

#include "app/AppSettings.h"
#include "app/SpeakerPresets.h"
#include "device/ReportBuilder.h"
#include "model/FieldSetters.h"
#include "model/ModeFile.h"
#include "ui/DeviceAccess.h"
#include "ui/Language.h"
#include "ui/Prompter.h"
#include "ui/SyncStarter.h"
#include "ui/Texts.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>

namespace quilo {

namespace {

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

constexpr int kSavingNoticeMs = 2500;
constexpr int kSaveNoticeDelayMs = 500;
constexpr int kKeyboardSaveHoldMs = 1500;
const QString kModeFileFilter = QString::fromLatin1(text::kModeFileFilter);

} // namespace

ModeFileController::ModeFileController(DeviceImage& image, DeviceAccess& device,
                                       SyncTimings timings, Prompter& prompter, Language& language,
                                       AppSettings& settings, SyncStarter& sync, QWidget& window)
    : m_image(image), m_device(device), m_timings(timings), m_prompter(prompter),
      m_language(language), m_settings(settings), m_sync(sync), m_window(window) {}

bool ModeFileController::modeKeysBlocked() const {
    return QDateTime::currentMSecsSinceEpoch() < m_modeKeysBlockedUntil;
}

void ModeFileController::onSynchronised() {
    if (m_pendingModeSlot != -1) {
        Synchroniser(m_image, m_device.uiSink(), m_timings).storeIntoMode(m_pendingModeSlot);
        m_pendingModeSlot = -1;
    }
}

void ModeFileController::addRecentFile(const QString& path) {
    m_settings.addRecentFile(path);
    emit recentFilesChanged(m_settings.recentFiles());
}

void ModeFileController::loadStoredMode(int mode) {
    if (!m_device.linkOpen()) {
        return;
    }
    mode = std::clamp(mode, 0, 3);
    const int lang = m_language.index();
    if (m_image.settingsChanged.load() == 1 &&
        !m_prompter.askYesNo(&m_window, text::kInformation.pick(lang),
                             text::kLoadModeAsk.pick(lang) + modeDigit(mode, lang) +
                                 QStringLiteral("?"))) {
        return;
    }
    m_image.currentMode = mode;
    m_device.uiSink().send(buildCommand(Command::LoadMode, {static_cast<std::uint8_t>(mode)}));
    m_sync.startPull();
}

void ModeFileController::saveStoredMode(int mode, bool fromKeyboard) {
    if (!m_device.linkOpen()) {
        return;
    }
    mode = std::clamp(mode, 0, 3);
    const int lang = m_language.index();
    if (!m_prompter.askYesNo(&m_window, text::kInformation.pick(lang),
                             text::kSaveModeAsk.pick(lang) + modeDigit(mode, lang) +
                                 QStringLiteral("?"))) {
        return;
    }
    m_image.settingsChanged = 0;
    m_image.currentMode = mode;
    m_device.uiSink().send(buildCommand(Command::SaveMode, {static_cast<std::uint8_t>(mode)}));
    const QString notice = text::kSavingMode.pick(lang).arg(modeDigit(mode, lang));
    if (fromKeyboard) {
        // The processor needs a moment to store; held keys must not store again.
        m_prompter.notice(notice, kSavingNoticeMs);
        m_modeKeysBlockedUntil = QDateTime::currentMSecsSinceEpoch() + kKeyboardSaveHoldMs;
    } else {
        QTimer::singleShot(kSaveNoticeDelayMs, this,
                           [this, notice] { m_prompter.notice(notice, kSavingNoticeMs); });
    }
    emit modeChanged();
}

void ModeFileController::resetStoredMode(int mode) {
    if (!m_device.linkOpen()) {
        return;
    }
    FieldSetters(m_image, m_device.uiSink()).resetStoredMode(mode);
    m_sync.startPull();
}

void ModeFileController::openModeFile() {
    const int lang = m_language.index();
    if (!m_device.linkOpen()) {
        m_prompter.notice(text::kPleaseConnect.pick(lang));
        return;
    }
    const QString path = m_prompter.openFileName(&m_window, kModeFileFilter);
    if (path.isEmpty()) {
        return;
    }
    loadModeFileAndPush(path);
}

void ModeFileController::saveModeFile() {
    const int lang = m_language.index();
    if (!m_device.linkOpen()) {
        m_prompter.notice(text::kPleaseConnect.pick(lang));
        return;
    }
    const QString path = m_prompter.saveFileName(&m_window, QStringLiteral("name"),
                                                 QStringLiteral("quilo"), kModeFileFilter);
    if (path.isEmpty()) {
        return;
    }
    if (!saveModeAndFile(path)) {
        return;
    }
    addRecentFile(path);
}

void ModeFileController::openModeFileByPath(const QString& path) {
    // Files from outside are checked, and wait for the processor and for the
    // image, in DocumentOpener.
    if (QFileInfo(path).suffix().compare(QLatin1String("quilo"), Qt::CaseInsensitive) != 0 ||
        !m_device.linkOpen() || !m_image.mainThreadOwns()) {
        return;
    }
    loadModeFileAndPush(path);
}

void ModeFileController::loadPreset(int entry) {
    const int lang = m_language.index();
    if (!m_device.linkOpen()) {
        m_prompter.notice(text::kPleaseConnect.pick(lang));
        return;
    }
    m_chosenPreset = entry;
    emit presetChosen(entry);
    const std::vector<std::uint8_t> bytes = speakerPresetFile(entry);
    const ModeFileResult result = readModeFileBytes(bytes, m_image);
    if (!result.ok()) {
        m_prompter.message(&m_window, Prompter::Icon::Information,
                           QString::fromLatin1(text::kInfoCaption),
                           QString::fromLatin1(text::kVersionNotSupported));
        return;
    }
    m_pendingModeSlot = -1; // a preset names no stored mode
    m_sync.startPush();
}

bool ModeFileController::confirmClose() {
    if (m_image.settingsChanged.load() != 1) {
        return true;
    }
    const int lang = m_language.index();
    const Prompter::Answer answer = m_prompter.askYesNoCancel(
        &m_window, text::kUnsavedCaption.pick(lang), text::kUnsavedAsk.pick(lang));
    if (answer == Prompter::Answer::Cancel) {
        return false;
    }
    if (answer == Prompter::Answer::No) {
        return true;
    }
    const QString path = m_prompter.saveFileName(&m_window, QStringLiteral("preset"),
                                                 QStringLiteral("quilo"), kModeFileFilter);
    if (path.isEmpty()) {
        return false; // the user wanted to save: closing now would lose the changes
    }
    return saveModeAndFile(path);
}

void ModeFileController::loadModeFileAndPush(const QString& path) {
    const ModeFileResult result = readModeFile(fsPath(path), m_image);
    if (!result.ok()) {
        m_pendingModeSlot = -1;
        m_prompter.message(
            &m_window,
            result.status == ModeFileStatus::UnsupportedVersion ? Prompter::Icon::Information
                                                                : Prompter::Icon::Warning,
            QString::fromLatin1(text::kInfoCaption),
            QString::fromStdString(modeFileErrorText(result, fsPath(path), m_language.index())));
        return;
    }
    m_pendingModeSlot = modeSlotFromFileName(fsPath(path));
    m_sync.startPush();
    addRecentFile(path);
}

bool ModeFileController::saveModeAndFile(const QString& path) {
    const int changedBefore = m_image.settingsChanged.load();
    m_image.settingsChanged = 0;
    m_device.uiSink().send(
        buildCommand(Command::SaveMode, {static_cast<std::uint8_t>(m_image.currentMode.load())}));
    const ModeFileResult result = writeModeFile(fsPath(path), m_image);
    if (!result.ok()) {
        // Nothing reached the file: the changes are still unsaved.
        m_image.settingsChanged = changedBefore;
        m_prompter.message(
            &m_window, Prompter::Icon::Warning, QStringLiteral("Can't write to file"),
            QString::fromStdString(modeFileErrorText(result, fsPath(path), m_language.index())));
        return false;
    }
    if (result.inPlace) {
        m_prompter.message(&m_window, Prompter::Icon::Information,
                           text::kInformation.pick(m_language.index()),
                           text::kSavedInPlace.pick(m_language.index()).arg(path));
    }
    return true;
}

} // namespace quilo
