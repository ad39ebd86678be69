#pragma once

#include "pages/GridList.h"

namespace quilo {

// The band list of the equaliser section: one row per band with its number, type, gain,
// frequency and Q. The type is chosen from a drop-down, the three numbers are typed in place.
class EqBandList : public GridList {
    Q_OBJECT

public:
    enum Column { NumberColumn, TypeColumn, GainColumn, FreqColumn, QColumn, ColumnCount };

    explicit EqBandList(QWidget* parent = nullptr);

    // Rows numbered 1...rows; the type column's width differs between pages.
    void setRows(int rows, int typeColumnWidth);
    // Column titles and the names the type drop-down offers.
    void setLanguage(int language);
    int language() const { return m_language; }

private:
    int m_language = 0;
};

} // namespace quilo
