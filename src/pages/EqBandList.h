#pragma once

#include <QTableWidget>

namespace quilo {

// The band list of the equaliser section: one row per band with its number, type, gain,
// frequency and Q. The type is chosen from a drop-down, the three numbers are typed in place.
// The list only shows texts and reports edits; the section decides what they mean.
class EqBandList : public QTableWidget {
    Q_OBJECT

public:
    enum Column { NumberColumn, TypeColumn, GainColumn, FreqColumn, QColumn, ColumnCount };

    explicit EqBandList(QWidget* parent = nullptr);

    // Rows numbered 1...rows; the type column's width differs between pages.
    void setRows(int rows, int typeColumnWidth);
    // Column titles and the names the type drop-down offers.
    void setLanguage(int language);
    int language() const { return m_language; }

    // Program writes; they report nothing.
    void setCellText(int row, int column, const QString& text);
    QString cellText(int row, int column) const;

    // The end of an in-place edit: the cell takes the text and cellEdited is reported. The
    // editors call it; so may a host that edits a cell on the user's behalf.
    void finishEdit(int row, int column, const QString& text);

    // Width that shows every column without a scroll bar.
    int naturalWidth() const;

signals:
    void cellEdited(int row, int column, const QString& text);
    void rowClicked(int row);

private:
    int m_language = 0;
};

} // namespace quilo
