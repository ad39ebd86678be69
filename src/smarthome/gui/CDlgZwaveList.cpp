#include "smarthome/gui/CDlgZwaveList.h"

#include "smarthome/SmartHome.h"
#include "smarthome/gui/PlugOperation.h"
#include "smarthome/gui/SmartHomeArt.h"
#include "smarthome/gui/SmartHomeTexts.h"
#include "ui/PageContext.h"
#include "ui/Texts.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilo {

CDlgZwaveList::CDlgZwaveList(PageContext& context, SmartHome& home, PlugOperation& operation,
                             QWidget* parent)
    : QWidget(parent), m_context(context), m_home(home), m_operation(operation) {
    setProperty("templateId", kTemplateId);
    m_list = new QListWidget(this);
    m_list->setProperty("ctrlId", kList);
    m_list->setViewMode(QListView::IconMode);
    m_list->setIconSize(QSize(48, 48));
    m_list->setGridSize(QSize(96, 84));
    m_list->setResizeMode(QListView::Adjust);
    m_list->setMovement(QListView::Static);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setStyleSheet(QStringLiteral("QListWidget { background: white; }"));
    auto* remove = new QPushButton(QStringLiteral("删除插座"), this);
    remove->setProperty("ctrlId", kRemove);
    auto* add = new QPushButton(QStringLiteral("添加插座"), this);
    add->setProperty("ctrlId", kAdd);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(remove);
    buttons->addWidget(add);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { itemClicked(item->data(Qt::UserRole).toInt()); });
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QListWidgetItem* item = m_list->itemAt(at)) {
            emit editRequested(item->data(Qt::UserRole).toInt());
        }
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (!m_context.connected()) {
            m_context.notice(text::kPleaseConnect.pick(m_context.language()));
            return;
        }
        // Whichever plug's button the user then presses leaves the network.
        m_home.table().setAddAfterRemove(false);
        m_operation.start(QString::fromUtf8(hometext::kRemovePlugListText),
                          PlugOperation::kExclusion, 0);
    });
    connect(add, &QPushButton::clicked, this, [this] {
        if (!m_context.connected()) {
            m_context.notice(text::kPleaseConnect.pick(m_context.language()));
            return;
        }
        emit editRequested(0);
    });
}

void CDlgZwaveList::refreshPlugList() {
    m_list->clear();
    const PlugTableData table = m_home.table().snapshot();
    for (int id : table.plugIds()) {
        const PlugRecord record = table.record(id);
        auto* item = new QListWidgetItem(QIcon(plugIcon(record.type())),
                                         QString::fromStdU16String(record.name()), m_list);
        item->setData(Qt::UserRole, id);
    }
}

void CDlgZwaveList::itemClicked(int id) {
    const std::uint8_t type = m_home.table().record(id).type();
    if (type == kSwitchPlug) {
        emit switchRequested(id);
    } else if (type == kDimmerPlug) {
        emit dimmerRequested(id);
    }
}

} // namespace quilo
