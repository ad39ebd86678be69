#include "smarthome/gui/PlugPageControls.h"

#include "smarthome/PlugTable.h"

#include <QComboBox>
#include <QTreeWidget>

namespace quilo {

void fillPlugChoice(QComboBox* choice, const PlugTableData& table) {
    choice->clear();
    for (int id : table.plugIds()) {
        choice->addItem(QString::fromStdU16String(table.record(id).name()), id);
    }
    choice->setCurrentIndex(-1);
}

int chosenPlug(const QComboBox* choice) {
    return choice->currentIndex() < 0 ? 0 : choice->currentData().toInt();
}

int selectedRow(const QTreeWidget* list) {
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.front());
}

} // namespace quilo
