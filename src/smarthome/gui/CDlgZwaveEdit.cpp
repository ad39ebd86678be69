#include "smarthome/gui/CDlgZwaveEdit.h"

#include "smarthome/PlugNames.h"
#include "smarthome/SmartHome.h"
#include "smarthome/gui/PlugOperation.h"
#include "smarthome/gui/SmartHomeTexts.h"
#include "ui/DialogLook.h"
#include "ui/PageContext.h"
#include "ui/Texts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quilo {

CDlgZwaveEdit::CDlgZwaveEdit(PageContext& context, SmartHome& home, PlugOperation& operation,
                             int id, QWidget* parent)
    : QDialog(parent), m_context(context), m_home(home), m_operation(operation), m_id(id) {
    setProperty("templateId", kTemplateId);
    setAttribute(Qt::WA_DeleteOnClose);
    applyDialogLook(this);
    setFont(cjkFont(13));

    auto* typeLabel = new QLabel(QStringLiteral("类型"), this);
    typeLabel->setProperty("ctrlId", kTypeLabel);
    auto* nameLabel = new QLabel(QStringLiteral("名称"), this);
    nameLabel->setProperty("ctrlId", kNameLabel);
    m_type = new QComboBox(this);
    m_type->setProperty("ctrlId", kType);
    m_type->addItems({QString(), QString()});
    m_name = new QLineEdit(this);
    m_name->setProperty("ctrlId", kName);
    // What the edit shows is what is stored: a record keeps 11 characters.
    m_name->setMaxLength(static_cast<int>(kPlugNameMaxLength));
    m_ok = new QPushButton(this);
    m_ok->setProperty("ctrlId", kOk);
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setProperty("ctrlId", kCancel);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(20, 16, 20, 14);
    grid->setHorizontalSpacing(12);
    grid->addWidget(typeLabel, 0, 0);
    grid->addWidget(m_type, 0, 1);
    grid->addWidget(nameLabel, 1, 0);
    grid->addWidget(m_name, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 2, 0, 1, 2);
    setMinimumWidth(300);

    const PlugTableData table = m_home.table().snapshot();
    if (m_id != 0) {
        const PlugRecord record = table.record(m_id);
        m_storedType = record.type();
        // A type the window does not name shows no entry and is kept unless one is chosen.
        m_type->setCurrentIndex(m_storedType == kSwitchPlug   ? 0
                                : m_storedType == kDimmerPlug ? 1
                                                              : -1);
        m_name->setText(QString::fromStdU16String(record.name()));
    } else {
        m_type->setCurrentIndex(0);
        m_name->setText(QString::fromStdU16String(defaultPlugName(kSwitchPlug, table)));
        connect(m_type, &QComboBox::currentIndexChanged, this, [this](int index) {
            const auto type = static_cast<std::uint8_t>(index + 1);
            m_name->setText(
                QString::fromStdU16String(defaultPlugName(type, m_home.table().snapshot())));
        });
    }
    connect(m_ok, &QPushButton::clicked, this, &CDlgZwaveEdit::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgZwaveEdit::reject);
    applyLanguage();
}

void CDlgZwaveEdit::setVisible(bool visible) {
    // Showing a dialog hands its focus widget a tab focus, which selects a line edit's
    // whole text; only after that can the caret go after the last character.
    if (visible) {
        m_name->setFocus();
    }
    QDialog::setVisible(visible);
    if (visible) {
        m_name->deselect();
        m_name->end(false);
    }
}

void CDlgZwaveEdit::applyLanguage() {
    const int lang = m_context.language();
    m_context.applyTable(this, kTemplateId);
    m_type->setItemText(0, hometext::kSwitchType.pick(lang));
    m_type->setItemText(1, hometext::kDimmerType.pick(lang));
    m_ok->setText((m_id == 0 ? hometext::kAddButton : hometext::kModifyButton).pick(lang));
}

void CDlgZwaveEdit::accept() {
    const int lang = m_context.language();
    if (!m_context.connected()) {
        m_context.notice(text::kPleaseConnect.pick(lang));
        close();
        return;
    }
    const std::u16string name = m_name->text().toStdU16String();
    if (checkPlugName(name) == PlugNameCheck::Empty) {
        m_context.prompter().message(this, Prompter::Icon::Warning,
                                     QString::fromUtf8(hometext::kPromptCaption),
                                     QString::fromUtf8(hometext::kNameEmpty));
        return;
    }
    const int index = m_type->currentIndex();
    const auto type = index < 0 ? m_storedType : static_cast<std::uint8_t>(index + 1);
    if (m_id != 0) {
        PlugRecord record = m_home.table().record(m_id);
        record.setType(type);
        record.setName(name);
        m_home.savePlugRecord(m_id, record);
    } else {
        m_home.table().setPendingRecord(PlugRecord::make(type, name));
        m_home.table().setAddAfterRemove(true);
        m_operation.start(QString::fromUtf8(hometext::kAddingPlug), PlugOperation::kExclusion, 0);
    }
    emit saved();
    close();
}

} // namespace quilo
