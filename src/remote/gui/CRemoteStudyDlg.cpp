#include "remote/gui/CRemoteStudyDlg.h"

#include "remote/RemoteKeys.h"
#include "remote/gui/RemoteTexts.h"
#include "ui/DialogLook.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilo {

CRemoteStudyDlg::CRemoteStudyDlg(int key, std::function<void()> cancelled, QWidget* parent)
    : QDialog(parent), m_key(key), m_cancelled(std::move(cancelled)) {
    setProperty("templateId", kTemplateId);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    applyDialogLook(this);
    setFont(cjkFont(13));

    m_keyText = new QLabel(this);
    m_keyText->setProperty("ctrlId", 1167);
    m_keyText->setFont(cjkFont(15, 600));
    m_prompt = new QLabel(this);
    m_prompt->setProperty("ctrlId", 1007);
    m_code = new QLineEdit(this);
    m_code->setProperty("ctrlId", 1038);
    m_code->setReadOnly(true);
    m_code->setAlignment(Qt::AlignCenter);
    m_code->setFont(latinFont(18, 700));
    m_code->setFixedWidth(80);
    m_status = new QLabel(this);
    m_status->setProperty("ctrlId", 1006);
    m_status->setMinimumHeight(22);
    m_cancel = new QPushButton(this);
    m_cancel->setProperty("ctrlId", 3);
    m_cancel->setAutoDefault(false);
    m_close = new QPushButton(this);
    m_close->setProperty("ctrlId", 1);
    m_close->setAutoDefault(false);
    m_close->hide();

    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(m_prompt);
    codeRow->addWidget(m_code);
    codeRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_status, 1);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->setSpacing(14);
    layout->addWidget(m_keyText);
    layout->addLayout(codeRow);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    m_selfClose.setSingleShot(true);
    connect(&m_selfClose, &QTimer::timeout, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
}

void CRemoteStudyDlg::showLearnedCode(int code) {
    m_learned = true;
    m_code->setText(QString::fromStdString(learnedCodeText(code)));
    m_cancel->hide();
    m_close->show();
    m_status->setText(remote_text::kWillClose.pick(m_language));
    m_selfClose.start(kSelfCloseMs);
}

void CRemoteStudyDlg::applyLanguage(int language) {
    m_language = language;
    m_keyText->setText(remote_text::kLearning[m_key - 1].pick(language));
    if (m_learned) {
        m_status->setText(remote_text::kWillClose.pick(language));
    }
}

void CRemoteStudyDlg::reject() {
    // Before the code came the processor still waits for a key: withdraw that.
    if (!m_learned && m_cancelled) {
        m_cancelled();
    }
    m_cancelled = nullptr;
    QDialog::reject();
}

} // namespace quilo
