#include "ui/CDlgMsgBox.h"

#include "ui/DialogLook.h"
#include "ui/LanguageTable.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilo {

CDlgMsgBox::CDlgMsgBox(QWidget* parent, const QString& message, const QString& first,
                       const QString& second)
    : QDialog(parent) {
    setProperty("templateId", kTemplateId);
    setWindowTitle(QStringLiteral("QUILO"));
    setModal(true);
    applyDialogLook(this);
    setFont(cjkFont(13));

    m_text = new QLabel(message, this);
    m_text->setProperty("ctrlId", 1186);
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(280);

    m_first = new QPushButton(first, this);
    m_first->setProperty("ctrlId", 1);
    m_second = new QPushButton(second, this);
    m_second->setProperty("ctrlId", 3);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setProperty("ctrlId", 2);
    for (QPushButton* b : {m_first, m_second, m_cancel}) {
        b->setAutoDefault(false);
        b->setMinimumHeight(28);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(8);
    layout->addWidget(m_text);
    layout->addSpacing(6);
    layout->addWidget(m_first);
    layout->addWidget(m_second);
    layout->addSpacing(4);
    layout->addWidget(m_cancel);

    connect(m_first, &QPushButton::clicked, this, [this] { done(1); });
    connect(m_second, &QPushButton::clicked, this, [this] { done(2); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { done(0); });
}

void CDlgMsgBox::applyLanguage(const LanguageTable* table) {
    if (table != nullptr) {
        table->applyTable(this, kTemplateId);
    }
}

} // namespace quilo
