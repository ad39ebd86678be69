#include "pages/EqBandList.h"

#include "pages/EqSectionTexts.h"

namespace quilo {

namespace {

constexpr int kNumberWidth = 30;
constexpr int kGainWidth = 60;
constexpr int kFreqWidth = 60;
constexpr int kQWidth = 50;

} // namespace

EqBandList::EqBandList(QWidget* parent) : GridList(parent) {
    setLanguage(0);
}

void EqBandList::setRows(int rows, int typeColumnWidth) {
    using Kind = GridList::CellKind;
    setColumns({{kNumberWidth, Kind::RowNumber},
                {typeColumnWidth, Kind::Choice},
                {kGainWidth, Kind::Text},
                {kFreqWidth, Kind::Text},
                {kQWidth, Kind::Text}});
    GridList::setRows(rows);
    setLanguage(m_language);
}

void EqBandList::setLanguage(int language) {
    m_language = language;
    setTitles({eqsection::kNumberColumn.pick(language), eqsection::kTypeColumn.pick(language),
               eqsection::kGainColumn.pick(language), eqsection::kFreqColumn.pick(language),
               eqsection::kQColumn.pick(language)});
    // The drop-down offers the five band types; "off" is reached only through loading.
    QStringList types;
    for (int t = 1; t < eqsection::kTypeNameCount; ++t)
        types << eqsection::typeName(t, language);
    setChoices(TypeColumn, types);
}

} // namespace quilo
