// The crossover row of ChannelEqSection on the output page: band slot 9 with its
// companion sections, shown as one kind and family.
#include "pages/ChannelEqSection.h"

#include "dsp/Crossover.h"
#include "pages/EqBandList.h"
#include "pages/EqSectionTexts.h"
#include "pages/EqValueText.h"
#include "widgets/CEqPanel.h"

#include <QComboBox>
#include <QLabel>

namespace quilo {

bool ChannelEqSection::isCrossoverSlot(int b) const {
    return m_config.outputPage && b == EqBandSet::kCrossoverSlot;
}

int ChannelEqSection::crossoverKind() {
    const EqBandSet& set = m_editor->bands();
    const int slot = EqBandSet::kCrossoverSlot;
    const CrossoverTypes types{set.band(slot).filterType, set.band(slot + 1).filterType,
                               set.band(slot + 2).filterType, set.band(slot + 3).filterType};
    // When the four types are no known set, the kind is what slot 9 itself is.
    const int own = types[0];
    const int fallback = own <= HighShelf                                           ? own
                         : crossoverDirectionOf(own) == CrossoverDirection::LowPass ? LowPass
                                                                                    : HighPass;
    const CrossoverFamily family = crossoverFamilyOf(types, fallback);
    if (family.index < kCrossoverFamilyCount)
        m_combo->setCurrentIndex(family.index);
    return family.kind;
}

void ChannelEqSection::writeCrossoverRow() {
    const int slot = EqBandSet::kCrossoverSlot;
    const EqBandState& s = m_editor->band(slot);
    m_list->setCellText(rowOf(slot), EqBandList::TypeColumn,
                        eqsection::typeName(crossoverKind(), m_language));
    m_list->setCellText(rowOf(slot), EqBandList::GainColumn, gainText(s.gain));
    m_list->setCellText(rowOf(slot), EqBandList::FreqColumn, freqText(s.frequency));
    m_list->setCellText(rowOf(slot), EqBandList::QColumn, qText(s.q));
}

void ChannelEqSection::showCrossoverCombo(bool shown) {
    shown = shown && m_config.outputPage;
    m_combo->setVisible(shown);
    m_comboLabel->setVisible(shown);
}

void ChannelEqSection::onRowClicked(int row) {
    if (!m_config.outputPage)
        return;
    showCrossoverCombo(false);
    if (row != rowOf(EqBandSet::kCrossoverSlot))
        return;
    const int type = m_editor->band(EqBandSet::kCrossoverSlot).filterType;
    if (type == LowPass || type == HighPass || type > HighShelf) {
        crossoverKind(); // selects the family of the loaded slots
        showCrossoverCombo(true);
    }
}

void ChannelEqSection::onFamilyChosen(int family) {
    const int row = m_list->currentRow();
    if (row < 0 || !isCrossoverSlot(row))
        return;
    m_editor->applyCrossoverFamily(row, family);
    writeCrossoverRow();
    if (m_selectedBand == row)
        showValues(row);
    applyToTargets(row);
}

} // namespace quilo
