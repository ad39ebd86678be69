#include "smarthome/gui/CRemoteLearnDlg.h"

#include "smarthome/SmartHome.h"
#include "smarthome/gui/KeyFileNotice.h"
#include "smarthome/gui/PlugOperation.h"
#include "smarthome/gui/PlugPageControls.h"
#include "smarthome/gui/SmartHomeTexts.h"
#include "ui/PageContext.h"
#include "ui/Texts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace quilo {

CRemoteLearnDlg::CRemoteLearnDlg(PageContext& context, SmartHome& home, PlugOperation& operation,
                                 QWidget* parent)
    : QWidget(parent), m_context(context), m_home(home), m_operation(operation) {
    setProperty("templateId", kTemplateId);
    m_keys = tagControl(new QTreeWidget(this), kKeys);
    m_keys->setRootIsDecorated(false);
    m_keys->setSelectionMode(QAbstractItemView::SingleSelection);
    m_keys->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_keys->setColumnCount(3);
    auto* plugLabel = tagControl(new QLabel(QStringLiteral("插座"), this), kPlugLabel);
    m_plugChoice = tagControl(new QComboBox(this), kPlugChoice);
    auto* learn = tagControl(new QPushButton(QStringLiteral("学习键码"), this), kLearn);
    auto* transmit = tagControl(new QPushButton(QStringLiteral("发射测试"), this), kTransmit);
    auto* clear = tagControl(new QPushButton(QStringLiteral("清除键码"), this), kClear);
    auto* nameLabel = tagControl(new QLabel(QStringLiteral("遥控键名称"), this), kNameLabel);
    m_name = tagControl(new QLineEdit(this), kName);
    auto* renameButton = tagControl(new QPushButton(QStringLiteral("重命名"), this), kRename);

    auto* right = new QGridLayout;
    right->addWidget(plugLabel, 0, 0);
    right->addWidget(m_plugChoice, 1, 0, 1, 2);
    right->addWidget(learn, 2, 0, 1, 2);
    right->addWidget(transmit, 3, 0, 1, 2);
    right->addWidget(clear, 4, 0, 1, 2);
    right->addWidget(nameLabel, 5, 0, 1, 2);
    right->addWidget(m_name, 6, 0, 1, 2);
    right->addWidget(renameButton, 7, 0, 1, 2);
    right->setRowStretch(8, 1);
    right->setRowMinimumHeight(5, 28);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_keys, 1);
    layout->addLayout(right);
    setHeader();

    connect(m_plugChoice, &QComboBox::activated, this, &CRemoteLearnDlg::refreshKeyList);
    connect(m_keys, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { m_name->setText(item->text(1)); });
    connect(learn, &QPushButton::clicked, this, [this] {
        int plug = 0;
        int row = 0;
        if (checked(plug, row)) {
            m_home.table().setLearningKey(row);
            m_operation.start(QString::fromUtf8(hometext::kLearnOperation),
                              PlugOperation::kPlugCommand, 0, plug, kLearnKeyValue + row);
        }
    });
    connect(transmit, &QPushButton::clicked, this, [this] {
        int plug = 0;
        int row = 0;
        if (checked(plug, row)) {
            m_operation.start(QString::fromUtf8(hometext::kEmitOperation),
                              PlugOperation::kPlugCommand, PlugOperation::kQuickAnswerMs, plug,
                              kEmitKeyValue + row);
        }
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        int plug = 0;
        int row = 0;
        if (checked(plug, row)) {
            m_home.keys().setKeyStatus(plug, row, 0);
            refreshKeyList();
        }
    });
    connect(renameButton, &QPushButton::clicked, this, &CRemoteLearnDlg::rename);
}

void CRemoteLearnDlg::setHeader() {
    const int lang = m_context.language();
    m_keys->setHeaderLabels({hometext::kColKeyIndex.pick(lang), hometext::kColKeyName.pick(lang),
                             hometext::kColStatus.pick(lang)});
    m_keys->header()->resizeSection(0, 50);
    m_keys->header()->resizeSection(1, 130);
}

int CRemoteLearnDlg::selectedPlug() const {
    return chosenPlug(m_plugChoice);
}

int CRemoteLearnDlg::selectedRow() const {
    return quilo::selectedRow(m_keys);
}

void CRemoteLearnDlg::applyLanguage() {
    setHeader();
    refreshKeyList();
}

void CRemoteLearnDlg::refreshPlugChoice() {
    fillPlugChoice(m_plugChoice, m_home.table().snapshot());
}

void CRemoteLearnDlg::refreshKeyList() {
    const int plug = selectedPlug();
    if (plug == 0) {
        return;
    }
    std::vector<PlugKey> keys;
    if (!readPlugKeys(m_context, m_home, plug, keys, this)) {
        return; // the list stays as it was
    }
    const int lang = m_context.language();
    const int row = selectedRow();
    m_keys->clear();
    setHeader();
    int index = 1;
    for (const PlugKey& key : keys) {
        auto* item = new QTreeWidgetItem(m_keys);
        item->setText(0, QString::number(index++));
        item->setText(1, QString::fromStdString(key.name));
        item->setText(2, (key.status != 0 ? hometext::kLearned : hometext::kNotLearned).pick(lang));
        item->setTextAlignment(2, Qt::AlignCenter);
    }
    if (row >= 0 && row < m_keys->topLevelItemCount()) {
        m_keys->setCurrentItem(m_keys->topLevelItem(row));
    }
}

bool CRemoteLearnDlg::checked(int& plug, int& row) {
    const int lang = m_context.language();
    if (!m_context.connected()) {
        m_context.notice(text::kPleaseConnect.pick(lang));
        return false;
    }
    plug = selectedPlug();
    if (plug == 0) {
        m_context.notice(hometext::kSelectPlug.pick(lang));
        return false;
    }
    row = selectedRow();
    if (row < 0) {
        m_context.notice(hometext::kSelectRow.pick(lang));
        return false;
    }
    return true;
}

void CRemoteLearnDlg::rename() {
    const int lang = m_context.language();
    const QString name = m_name->text().trimmed();
    if (name.isEmpty()) {
        m_context.prompter().message(this, Prompter::Icon::Warning,
                                     QString::fromUtf8(hometext::kPromptCaption),
                                     QString::fromUtf8(hometext::kKeyNameEmpty));
        return;
    }
    const int plug = selectedPlug();
    if (plug == 0) {
        m_context.notice(hometext::kSelectPlug.pick(lang));
        return;
    }
    const int row = selectedRow();
    if (row < 0) {
        m_context.notice(hometext::kSelectKeyRow.pick(lang));
        return;
    }
    if (m_home.keys().setKeyName(plug, row, name.toStdString()) == KeyFileStatus::Ok) {
        m_keys->topLevelItem(row)->setText(1, name);
    }
}

void CRemoteLearnDlg::plugReport(int plug, int value) {
    CWaitDlg* wait = m_operation.waitDialog();
    const int key = m_home.table().learningKey();
    const auto markKey = [&](int status) {
        m_home.keys().setKeyStatus(plug, key, status);
        refreshKeyList();
    };
    const auto show = [&](const QColor& colour, const char* text, int closeMs) {
        if (wait != nullptr) {
            wait->setTextColour(colour);
            wait->setText(QString::fromUtf8(text));
            wait->closeAfter(closeMs);
        }
    };
    switch (value) {
    case 2:
        if (wait != nullptr) {
            wait->setText(QString::fromUtf8(hometext::kReadyToLearn));
        }
        break;
    case 3:
        if (wait != nullptr) {
            markKey(1);
            show(hometext::kSuccess, hometext::kLearnDone, PlugOperation::kResultShownMs);
        }
        break;
    case 4:
        m_operation.stopTimer();
        markKey(0);
        show(hometext::kFailure, hometext::kCheckError, PlugOperation::kResultShownMs);
        break;
    case 5:
        markKey(0);
        show(hometext::kFailure, hometext::kNoKeyInTime, PlugOperation::kResultShownMs);
        break;
    case 6:
        m_operation.stopTimer();
        show(hometext::kSuccess, hometext::kEmitted, 0);
        break;
    case 7:
        m_operation.stopTimer();
        show(hometext::kFailure, hometext::kEmitFailed, PlugOperation::kResultShownMs);
        break;
    default:
        break;
    }
}

} // namespace quilo
