#pragma once

#include <QStringList>
#include <QTableWidget>

#include <vector>

namespace quilo {

// The editable grid of the pages (the equaliser band list, the effect parameter list): fixed
// columns of a kind, fixed row height, cells edited in place with a drop-down or a line edit.
// The list only shows texts and reports finished edits; its owner decides what they mean.
class GridList : public QTableWidget {
    Q_OBJECT

public:
    enum class CellKind {
        RowNumber, // "1", "2", ... filled in by the list, not editable
        ReadOnly,  // set by the owner, not editable
        Text,      // typed in place
        Choice,    // picked from the column's choices
    };
    struct ColumnSpec {
        int width;
        CellKind kind;
    };

    explicit GridList(QWidget* parent = nullptr);

    // Columns first, then rows; setting rows makes empty cells (row numbers filled in).
    void setColumns(std::vector<ColumnSpec> columns);
    void setRows(int rows);
    void setTitles(const QStringList& titles);
    // Entries of a Choice column's drop-down.
    void setChoices(int column, const QStringList& choices);
    QStringList choices(int column) const;
    CellKind kindOf(int column) const;

    // Program writes; they report nothing.
    void setCellText(int row, int column, const QString& text);
    QString cellText(int row, int column) const;

    // The end of an in-place edit: the cell takes the text and cellEdited is reported. The
    // editors call it; so may an owner that edits a cell on the user's behalf.
    void finishEdit(int row, int column, const QString& text);

    // Colours of the cells' text and ground.
    void setColours(QColor text, QColor background);

    // Size that shows every column and row without a scroll bar.
    int naturalWidth() const;
    int naturalHeight() const;
    // The height that shows the header and `rows` rows.
    int heightForRows(int rows) const;

signals:
    void cellEdited(int row, int column, const QString& text);
    void rowClicked(int row);

private:
    std::vector<ColumnSpec> m_columns;
    std::vector<QStringList> m_choices;
};

} // namespace quilo
