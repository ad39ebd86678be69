// Stored modes of the processor and mode files on disk.
#include "app/Application.h"
#include "app/MainView.h"
#include "app/RibbonBar.h"
#include "app/SpeakerPresets.h"
#include "app/Texts.h"
#include "device/ReportBuilder.h"
#include "model/ModeFile.h"

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

void CVORNEXv13View::loadStoredMode(int mode) {
    if (!m_app.connected()) {
        return;
    }
    mode = std::clamp(mode, 0, 3);
    const int lang = m_app.language();
    if (m_app.image().settingsChanged.load() == 1 &&
        !m_app.prompter().askYesNo(window(), text::kInformation.pick(lang),
                                   text::kLoadModeAsk.pick(lang) + modeDigit(mode, lang) +
                                       QStringLiteral("?"))) {
        return;
    }
    m_app.image().currentMode = mode;
    m_app.sink().send(buildCommand(Command::LoadMode, {static_cast<std::uint8_t>(mode)}));
    startPull();
}

void CVORNEXv13View::saveStoredMode(int mode, bool fromKeyboard) {
    if (!m_app.connected()) {
        return;
    }
    mode = std::clamp(mode, 0, 3);
    const int lang = m_app.language();
    if (!m_app.prompter().askYesNo(window(), text::kInformation.pick(lang),
                                   text::kSaveModeAsk.pick(lang) + modeDigit(mode, lang) +
                                       QStringLiteral("?"))) {
        return;
    }
    DeviceImage& image = m_app.image();
    image.settingsChanged = 0;
    image.currentMode = mode;
    m_app.sink().send(buildCommand(Command::SaveMode, {static_cast<std::uint8_t>(mode)}));
    const QString notice = text::kSavingMode.pick(lang).arg(modeDigit(mode, lang));
    if (fromKeyboard) {
        // The processor needs a moment to store; held keys must not store again.
        m_app.showNotice(notice, kSavingNoticeMs);
        m_modeKeysBlockedUntil = QDateTime::currentMSecsSinceEpoch() + kKeyboardSaveHoldMs;
    } else {
        QTimer::singleShot(kSaveNoticeDelayMs, this,
                           [this, notice] { m_app.showNotice(notice, kSavingNoticeMs); });
    }
    updateIndicators();
}

void CVORNEXv13View::resetStoredMode(int mode) {
    if (!m_app.connected()) {
        return;
    }
    mode = std::clamp(mode, 0, 3);
    m_app.image().currentMode = mode;
    m_app.sink().send(buildCommand(Command::ResetMode, {static_cast<std::uint8_t>(mode)}));
    startPull();
}

void CVORNEXv13View::openModeFile() {
    const int lang = m_app.language();
    if (!m_app.connected()) {
        m_app.showNotice(text::kPleaseConnect.pick(lang));
        return;
    }
    const QString path = m_app.prompter().openFileName(window(), kModeFileFilter);
    if (path.isEmpty()) {
        return;
    }
    loadModeFileAndPush(path);
}

void CVORNEXv13View::saveModeFile() {
    const int lang = m_app.language();
    if (!m_app.connected()) {
        m_app.showNotice(text::kPleaseConnect.pick(lang));
        return;
    }
    const QString path = m_app.prompter().saveFileName(window(), QStringLiteral("name"),
                                                       QStringLiteral("quilo"), kModeFileFilter);
    if (path.isEmpty()) {
        return;
    }
    if (!saveModeAndFile(path)) {
        return;
    }
    m_app.settings().addRecentFile(path);
    m_ribbon.setRecentFiles(m_app.settings().recentFiles());
}

void CVORNEXv13View::openModeFileByPath(const QString& path) {
    const int lang = m_app.language();
    if (!QFileInfo::exists(path)) {
        m_app.prompter().message(window(), Prompter::Icon::Information,
                                 text::kFileOpenError.pick(lang), text::kFileMissing.pick(lang));
        return;
    }
    if (QFileInfo(path).suffix().compare(QLatin1String("quilo"), Qt::CaseInsensitive) != 0 ||
        !m_app.connected()) {
        return;
    }
    loadModeFileAndPush(path);
}

void CVORNEXv13View::loadPreset(int entry) {
    const int lang = m_app.language();
    if (!m_app.connected()) {
        m_app.showNotice(text::kPleaseConnect.pick(lang));
        return;
    }
    m_app.chosenPreset = entry;
    m_ribbon.setPresetCheck(entry);
    const std::vector<std::uint8_t> bytes = speakerPresetFile(entry);
    const ModeFileResult result = readModeFileBytes(bytes, m_app.image());
    if (!result.ok()) {
        m_app.prompter().message(window(), Prompter::Icon::Information,
                                 QString::fromLatin1(text::kInfoCaption),
                                 QString::fromLatin1(text::kVersionNotSupported));
        return;
    }
    m_app.pendingModeSlot = -1; // a preset names no stored mode
    startPush();
}

bool CVORNEXv13View::confirmClose() {
    DeviceImage& image = m_app.image();
    if (image.settingsChanged.load() != 1) {
        return true;
    }
    const int lang = m_app.language();
    const Prompter::Answer answer = m_app.prompter().askYesNoCancel(
        window(), text::kUnsavedCaption.pick(lang), text::kUnsavedAsk.pick(lang));
    if (answer == Prompter::Answer::Cancel) {
        return false;
    }
    if (answer == Prompter::Answer::No) {
        return true;
    }
    const QString path = m_app.prompter().saveFileName(window(), QStringLiteral("preset"),
                                                       QStringLiteral("quilo"), kModeFileFilter);
    if (path.isEmpty()) {
        return false; // the user wanted to save: closing now would lose the changes
    }
    return saveModeAndFile(path);
}

void CVORNEXv13View::loadModeFileAndPush(const QString& path) {
    const ModeFileResult result = readModeFile(fsPath(path), m_app.image());
    if (!result.ok()) {
        m_app.pendingModeSlot = -1;
        m_app.prompter().message(
            window(),
            result.status == ModeFileStatus::UnsupportedVersion ? Prompter::Icon::Information
                                                                : Prompter::Icon::Warning,
            QString::fromLatin1(text::kInfoCaption),
            QString::fromStdString(modeFileErrorText(result, fsPath(path), m_app.language())));
        return;
    }
    m_app.pendingModeSlot = modeSlotFromFileName(fsPath(path));
    startPush();
    m_app.settings().addRecentFile(path);
    m_ribbon.setRecentFiles(m_app.settings().recentFiles());
}

bool CVORNEXv13View::saveModeAndFile(const QString& path) {
    DeviceImage& image = m_app.image();
    const int changedBefore = image.settingsChanged.load();
    image.settingsChanged = 0;
    m_app.sink().send(
        buildCommand(Command::SaveMode, {static_cast<std::uint8_t>(image.currentMode.load())}));
    const ModeFileResult result = writeModeFile(fsPath(path), image);
    if (!result.ok()) {
        // Nothing reached the file: the changes are still unsaved.
        image.settingsChanged = changedBefore;
        m_app.prompter().message(
            window(), Prompter::Icon::Warning, QStringLiteral("Can't write to file"),
            QString::fromStdString(modeFileErrorText(result, fsPath(path), m_app.language())));
        return false;
    }
    return true;
}

} // namespace quilo
