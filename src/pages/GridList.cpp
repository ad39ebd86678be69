#include "pages/GridList.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace quilo {

namespace {

constexpr int kRowHeight = 22;
// Set on a drop-down once the user has picked one of its entries.
constexpr const char* kChosen = "chosen";

// In-place editors: a drop-down of the column's choices in a Choice column, a line edit in a
// Text column. Every finished edit goes back through the list.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(GridList& list) : QStyledItemDelegate(&list), m_list(list) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (m_list.kindOf(index.column()) != GridList::CellKind::Choice)
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* combo = new QComboBox(parent);
        combo->addItems(m_list.choices(index.column()));
        // Picking an entry ends the edit at once. Only a pick is a choice: a drop-down left
        // by a click elsewhere or a focus change shows merely its first entry or the cell's
        // own value, and must change nothing.
        connect(combo, &QComboBox::activated, this, [this, combo] {
            combo->setProperty(kChosen, true);
            auto* self = const_cast<GridDelegate*>(this);
            emit self->commitData(combo);
            emit self->closeEditor(combo);
        });
        return combo;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            const int at = combo->findText(index.data().toString());
            combo->setCurrentIndex(at < 0 ? 0 : at);
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        QString text;
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            if (!combo->property(kChosen).toBool())
                return;
            text = combo->currentText();
        } else if (auto* line = qobject_cast<QLineEdit*>(editor))
            text = line->text();
        else
            return;
        m_list.finishEdit(index.row(), index.column(), text);
    }

private:
    GridList& m_list;
};

bool editable(GridList::CellKind kind) {
    return kind == GridList::CellKind::Text || kind == GridList::CellKind::Choice;
}

} // namespace

GridList::GridList(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new GridDelegate(*this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    setWordWrap(false);
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int) { emit rowClicked(row); });
}

void GridList::setColumns(std::vector<ColumnSpec> columns) {
    m_columns = std::move(columns);
    m_choices.assign(m_columns.size(), {});
    setColumnCount(static_cast<int>(m_columns.size()));
    for (int c = 0; c < columnCount(); ++c)
        setColumnWidth(c, m_columns[static_cast<std::size_t>(c)].width);
}

void GridList::setRows(int rows) {
    setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            auto* cell = new QTableWidgetItem();
            cell->setTextAlignment(Qt::AlignCenter);
            const CellKind kind = kindOf(c);
            if (!editable(kind))
                cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (kind == CellKind::RowNumber)
                cell->setText(QString::number(r + 1));
            setItem(r, c, cell);
        }
    }
}

void GridList::setTitles(const QStringList& titles) {
    setHorizontalHeaderLabels(titles);
}

void GridList::setChoices(int column, const QStringList& choices) {
    if (column >= 0 && column < static_cast<int>(m_choices.size()))
        m_choices[static_cast<std::size_t>(column)] = choices;
}

QStringList GridList::choices(int column) const {
    if (column < 0 || column >= static_cast<int>(m_choices.size()))
        return {};
    return m_choices[static_cast<std::size_t>(column)];
}

GridList::CellKind GridList::kindOf(int column) const {
    if (column < 0 || column >= static_cast<int>(m_columns.size()))
        return CellKind::ReadOnly;
    return m_columns[static_cast<std::size_t>(column)].kind;
}

void GridList::setCellText(int row, int column, const QString& text) {
    if (QTableWidgetItem* cell = item(row, column))
        cell->setText(text);
}

QString GridList::cellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell != nullptr ? cell->text() : QString();
}

void GridList::finishEdit(int row, int column, const QString& text) {
    if (item(row, column) == nullptr || !editable(kindOf(column)))
        return;
    setCellText(row, column, text);
    emit cellEdited(row, column, text);
}

void GridList::setColours(QColor text, QColor background) {
    QPalette pal = palette();
    pal.setColor(QPalette::Base, background);
    pal.setColor(QPalette::Text, text);
    setPalette(pal);
}

int GridList::naturalWidth() const {
    int width = 2 * frameWidth();
    for (int c = 0; c < columnCount(); ++c)
        width += columnWidth(c);
    return width;
}

int GridList::naturalHeight() const {
    return heightForRows(rowCount());
}

int GridList::heightForRows(int rows) const {
    return horizontalHeader()->sizeHint().height() + rows * verticalHeader()->defaultSectionSize() +
           2 * frameWidth();
}

} // namespace quilo
