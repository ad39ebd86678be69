#pragma once

#include "ui/ControlTag.h"

#include <QWidget>

class QComboBox;
class QTreeWidget;

namespace quilo {

struct PlugTableData;

// What the smart-plug pages share of their controls.

// Refills a plug choice with the names of the present plugs 2-232 in id order
// (item data: the id), with nothing chosen.
void fillPlugChoice(QComboBox* choice, const PlugTableData& table);
// The id of the chosen plug, 0 when none is.
int chosenPlug(const QComboBox* choice);
// The selected row of a list, -1 when none is.
int selectedRow(const QTreeWidget* list);

} // namespace quilo
