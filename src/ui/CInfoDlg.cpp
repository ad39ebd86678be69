#include "ui/CInfoDlg.h"

#include "ui/DialogLook.h"
#include "ui/Texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace quilo {

namespace {
constexpr int kLongNotice = 60; // characters
} // namespace

CInfoDlg::CInfoDlg(QWidget* parent, int language) : QDialog(parent) {
    setProperty("templateId", kTemplateId);
    setAttribute(Qt::WA_DeleteOnClose);
    // A notice must not take the keyboard away from the window being worked in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    applyDialogLook(this);
    setFont(cjkFont(13));

    m_icon = new QLabel(this);
    m_icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    m_icon->setAlignment(Qt::AlignTop);
    m_text = new QLabel(this);
    m_text->setProperty("ctrlId", 1223);
    m_text->setFont(cjkFont(18, 500));
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse); // a command can be copied
    m_text->setMinimumWidth(260);
    m_text->setMinimumHeight(48);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_close = new QPushButton(this);
    m_close->setProperty("ctrlId", 2);
    m_close->setAutoDefault(false);

    auto* row = new QHBoxLayout;
    row->setSpacing(14);
    row->addWidget(m_icon);
    row->addWidget(m_text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 12);
    layout->addLayout(row);
    layout->addLayout(buttons);

    m_life.setSingleShot(true);
    connect(&m_life, &QTimer::timeout, this, &QDialog::close);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    setLanguage(language);
}

void CInfoDlg::setLanguage(int language) {
    setWindowTitle(text::kInformation.pick(language));
    m_close->setText(text::kClose.pick(language));
}

void CInfoDlg::showNotice(const QString& text, int ms) {
    // A long notice (one that names a command to run) gets a wider box.
    m_text->setMinimumWidth(text.size() > kLongNotice ? 520 : 260);
    m_text->setText(text);
    adjustSize();
    if (parentWidget() != nullptr && !isVisible()) {
        const QRect p = parentWidget()->window()->frameGeometry();
        move(p.center() - rect().center());
    }
    show();
    raise();
    m_life.start(ms);
}

QString CInfoDlg::text() const {
    return m_text->text();
}

} // namespace quilo
