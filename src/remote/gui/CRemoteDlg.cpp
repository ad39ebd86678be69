#include "remote/gui/CRemoteDlg.h"

#include "remote/RemoteFile.h"
#include "remote/RemoteKeyTail.h"
#include "remote/gui/CRemoteStudyDlg.h"
#include "remote/gui/RemoteKeyList.h"
#include "remote/gui/RemotePicture.h"
#include "remote/gui/RemoteTexts.h"
#include "ui/DialogLook.h"
#include "ui/PageContext.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace quilo {

namespace {

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString fromFs(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

} // namespace

CRemoteDlg::CRemoteDlg(PageContext& context, QWidget* parent)
    : ToolWindow(parent), m_context(context), m_noPolling(context.device().polling(), true),
      m_keys(context.image().remoteKeys, context.sink()) {
    setProperty("templateId", kTemplateId);
    applyDialogLook(this);
    setFont(cjkFont(13));

    // Keys 16-17 in the user's configuration folder, where quiloctl finds them too.
    m_keys.keepTail(remoteTailPath(fsPath(
                        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))),
                    [&image = context.image()] { return image.info.modelName; });
    m_picture = new RemotePicture([this](int ctrlId) { hotSpotClicked(ctrlId); }, this);
    m_tailNote = new QLabel(this);
    m_tailNote->setWordWrap(true);
    m_keyList = new RemoteKeyList(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (const auto& [id, handler] :
         {std::pair{1, &CRemoteDlg::apply}, std::pair{3, &CRemoteDlg::loadFile},
          std::pair{4, &CRemoteDlg::saveFile}}) {
        auto* button = new QPushButton(this);
        button->setProperty("ctrlId", id);
        button->setAutoDefault(false);
        button->setMinimumWidth(96);
        connect(button, &QPushButton::clicked, this, handler);
        buttons->addWidget(button);
    }
    auto* pictures = new QHBoxLayout;
    pictures->setSpacing(16);
    pictures->addWidget(m_picture);
    pictures->addWidget(m_keyList, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(12);
    layout->addLayout(pictures);
    layout->addWidget(m_tailNote);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(&context.device(), &DeviceAccess::learnedKey, this, &CRemoteDlg::learnedKey);
    context.applyTable(this, kTemplateId);
    applyLanguage(context.language());
}

CRemoteDlg::~CRemoteDlg() = default;

void CRemoteDlg::refreshFromImage() {
    showTailNote();
}

void CRemoteDlg::showTailNote() {
    const QString text = QString::fromStdString(m_keys.tailNotice(m_context.language()));
    m_tailNote->setText(text);
    m_tailNote->setVisible(!text.isEmpty());
}

void CRemoteDlg::applyLanguage(int language) {
    m_keyList->setLanguage(language);
    showTailNote();
    if (m_study) {
        m_context.applyTable(m_study, CRemoteStudyDlg::kTemplateId);
        m_study->applyLanguage(language);
    }
}

void CRemoteDlg::hotSpotClicked(int ctrlId) {
    if (m_study) {
        return; // one learning at a time
    }
    const int lang = m_context.language();
    const int key = RemotePicture::keyOfSpot(ctrlId);
    if (key == 0) {
        m_context.prompter().message(this, Prompter::Icon::Information,
                                     remote_text::kNoSupportCaption.pick(lang),
                                     remote_text::kNoSupport.pick(lang));
        return;
    }
    m_learningKey = key;
    m_keys.learn(key);
    auto* study = new CRemoteStudyDlg(
        key, [this] { stopLearning(); }, this);
    m_study = study;
    applyLanguage(lang);
    study->open();
}

void CRemoteDlg::learnedKey(int code) {
    // The table has it already; a code nobody waits for changes nothing else.
    if (m_study && !m_study->learned()) {
        m_keys.noteLearned(m_learningKey, static_cast<std::uint8_t>(code));
        m_study->showLearnedCode(code);
        showTailNote();
    }
}

void CRemoteDlg::stopLearning() {
    m_keys.stopLearning([this] { m_context.device().releasePacing(); });
}

bool CRemoteDlg::connectedOrSay() {
    if (m_context.connected()) {
        return true;
    }
    m_context.notice(remote_text::kConnectFirst.pick(m_context.language()));
    return false;
}

void CRemoteDlg::apply() {
    // Nothing may be called saved that never reached a processor.
    if (!connectedOrSay()) {
        return;
    }
    m_keys.apply();
    showTailNote();
    m_context.notice(remote_text::kApplied.pick(m_context.language()));
}

void CRemoteDlg::loadFile() {
    if (!connectedOrSay()) {
        return;
    }
    const QString chosen =
        m_context.prompter().openFileName(this, QString::fromLatin1(remote_text::kFileFilter));
    if (!chosen.isEmpty()) {
        loadAndSend(fromFs(remoteFilePath(fsPath(chosen))));
    }
}

void CRemoteDlg::openFile(const QString& path) {
    if (connectedOrSay()) {
        loadAndSend(path);
    }
}

void CRemoteDlg::loadAndSend(const QString& path) {
    const int lang = m_context.language();
    const RemoteFileResult result = m_keys.loadAndApply(fsPath(path));
    showTailNote();
    if (!result.ok()) {
        m_context.prompter().message(
            this, Prompter::Icon::Warning,
            QString::fromStdString(remoteFileErrorCaption(result, lang)),
            QString::fromStdString(remoteFileErrorText(result, fsPath(path), lang)));
    }
    m_context.notice((result.ok() ? remote_text::kLoaded : remote_text::kLoadFailed).pick(lang));
}

void CRemoteDlg::saveFile() {
    if (!connectedOrSay()) {
        return;
    }
    const int lang = m_context.language();
    // The file written is the chosen name with ".remo": the question is about that file,
    // not about the name typed.
    const QString chosen =
        m_context.prompter().saveFileName(this, QStringLiteral("remote"), QStringLiteral("remo"),
                                          QString::fromLatin1(remote_text::kFileFilter), false);
    if (chosen.isEmpty()) {
        return;
    }
    const std::filesystem::path target = remoteFilePath(fsPath(chosen));
    std::error_code ec;
    if (std::filesystem::exists(target, ec) &&
        !m_context.prompter().askYesNo(
            this, remote_text::kReplaceCaption.pick(lang),
            remote_text::kReplace.pick(lang).arg(QFileInfo(fromFs(target)).fileName()))) {
        return;
    }
    const RemoteFileResult result = saveRemoteFile(target, m_context.image().remoteKeys);
    if (!result.ok()) {
        m_context.prompter().message(
            this, Prompter::Icon::Warning,
            QString::fromStdString(remoteFileErrorCaption(result, lang)),
            QString::fromStdString(remoteFileErrorText(result, target, lang)));
    }
    m_context.notice((result.ok() ? remote_text::kSaved : remote_text::kSaveFailed).pick(lang));
}

void CRemoteDlg::closeEvent(QCloseEvent* event) {
    if (m_study) {
        m_study->reject(); // a learning still waiting is withdrawn
    }
    ToolWindow::closeEvent(event);
}

} // namespace quilo
