#include "pages/EffectParamList.h"

#include "pages/EffectParamRows.h"

#include <QWheelEvent>

namespace quilo {

namespace {

constexpr BiText kNumberTitle{"序号", "No."};
constexpr BiText kNameTitle{"参数名", "Parameter name"};
constexpr BiText kValueTitle{"参数值", "Value"};

} // namespace

EffectParamList::EffectParamList(QWidget* parent) : GridList(parent) {
    using Kind = GridList::CellKind;
    setColumns({{50, Kind::RowNumber}, {130, Kind::ReadOnly}, {80, Kind::ReadOnly}});
    setRows(effect_param::kRowCount);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setLanguage(0);
}

void EffectParamList::setLanguage(int language) {
    setTitles({kNumberTitle.pick(language), kNameTitle.pick(language), kValueTitle.pick(language)});
    for (int row = 0; row < effect_param::kRowCount; ++row)
        setCellText(row, NameColumn, effect_param::name(row, language));
}

bool EffectParamList::event(QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return event->isAccepted();
    }
    return GridList::event(event);
}

void EffectParamList::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (!hasFocus() || currentRow() < 0 || delta == 0) {
        GridList::wheelEvent(event);
        return;
    }
    emit wheelStep(delta > 0 ? 1 : -1);
    event->accept();
}

} // namespace quilo
