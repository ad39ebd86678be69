#include "pages/EqBandList.h"

#include "pages/EqSectionTexts.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace quilo {

namespace {

constexpr int kNumberWidth = 30;
constexpr int kGainWidth = 60;
constexpr int kFreqWidth = 60;
constexpr int kQWidth = 50;
constexpr int kRowHeight = 22;
// Set on a type drop-down once the user has picked one of its entries.
constexpr const char* kChosen = "chosen";

// In-place editors: a drop-down of the five band types in the type column, a line edit in
// the number columns. Every finished edit goes back through the list.
class BandListDelegate : public QStyledItemDelegate {
public:
    explicit BandListDelegate(EqBandList& list) : QStyledItemDelegate(&list), m_list(list) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (index.column() != EqBandList::TypeColumn)
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* combo = new QComboBox(parent);
        for (int t = 1; t < eqsection::kTypeNameCount; ++t)
            combo->addItem(eqsection::typeName(t, m_list.language()));
        // Picking an entry ends the edit at once. Only a pick is a choice: a drop-down left
        // by a click elsewhere or a focus change shows merely its first entry or the band's
        // own type, and must change nothing.
        connect(combo, &QComboBox::activated, this, [this, combo] {
            combo->setProperty(kChosen, true);
            auto* self = const_cast<BandListDelegate*>(this);
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
    EqBandList& m_list;
};

} // namespace

EqBandList::EqBandList(QWidget* parent) : QTableWidget(parent) {
    setColumnCount(ColumnCount);
    setItemDelegate(new BandListDelegate(*this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    setWordWrap(false);
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int) { emit rowClicked(row); });
    setLanguage(0);
}

void EqBandList::setRows(int rows, int typeColumnWidth) {
    setRowCount(rows);
    const int widths[ColumnCount] = {kNumberWidth, typeColumnWidth, kGainWidth, kFreqWidth,
                                     kQWidth};
    for (int c = 0; c < ColumnCount; ++c)
        setColumnWidth(c, widths[c]);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < ColumnCount; ++c) {
            auto* cell = new QTableWidgetItem();
            cell->setTextAlignment(Qt::AlignCenter);
            if (c == NumberColumn) {
                cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                cell->setText(QString::number(r + 1));
            }
            setItem(r, c, cell);
        }
    }
}

void EqBandList::setLanguage(int language) {
    m_language = language;
    const QStringList titles{
        eqsection::kNumberColumn.pick(language), eqsection::kTypeColumn.pick(language),
        eqsection::kGainColumn.pick(language), eqsection::kFreqColumn.pick(language),
        eqsection::kQColumn.pick(language)};
    setHorizontalHeaderLabels(titles);
}

void EqBandList::setCellText(int row, int column, const QString& text) {
    if (QTableWidgetItem* cell = item(row, column))
        cell->setText(text);
}

QString EqBandList::cellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell != nullptr ? cell->text() : QString();
}

void EqBandList::finishEdit(int row, int column, const QString& text) {
    if (item(row, column) == nullptr || column == NumberColumn)
        return;
    setCellText(row, column, text);
    emit cellEdited(row, column, text);
}

int EqBandList::naturalWidth() const {
    int width = 2 * frameWidth();
    for (int c = 0; c < ColumnCount; ++c)
        width += columnWidth(c);
    return width;
}

} // namespace quilo
