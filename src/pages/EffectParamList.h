#pragma once

#include "pages/GridList.h"

namespace quilo {

// The music page's effect parameter list: row number, parameter name and value, one row per
// parameter. A wheel turned while the list has the focus and a row is selected steps the
// parameter instead of scrolling.
class EffectParamList : public GridList {
    Q_OBJECT

public:
    enum Column { NumberColumn, NameColumn, ValueColumn };

    explicit EffectParamList(QWidget* parent = nullptr);

    void setLanguage(int language);

signals:
    // +1 for a wheel turned up, -1 for down; once per wheel message.
    void wheelStep(int step);

protected:
    // A wheel handed to the list itself (by the page, while the list has the focus) is taken
    // like one over its rows.
    bool event(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

} // namespace quilo
