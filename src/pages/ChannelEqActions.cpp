// The actions of ChannelEqSection on the whole equaliser: its switch, the reset to
// flat and the filter-list import and export.
#include "pages/ChannelEqSection.h"

#include "pages/EqFileTransfer.h"
#include "widgets/CEqPanel.h"

namespace quilo {

namespace {

// The switch fields of the equalisers before the outputs, by EqId.
constexpr std::int32_t DspParams::*kSwitchOf[kFirstOutputEqId] = {
    &DspParams::micAEqSwitch,    &DspParams::micBEqSwitch,  &DspParams::reverbEqSwitchA,
    &DspParams::reverbEqSwitchB, &DspParams::echoEqSwitchA, &DspParams::echoEqSwitchB,
    &DspParams::musicEqSwitch};
static_assert(kMusicEqId == kFirstOutputEqId - 1);

} // namespace

int ChannelEqSection::switchValue(int eqId) const {
    const DspParams& p = m_image.params;
    if (eqId >= 0 && eqId < kFirstOutputEqId)
        return p.*kSwitchOf[eqId];
    if (eqId >= kFirstOutputEqId && eqId < kEqCount)
        return p.outEqSwitch[eqId - kFirstOutputEqId];
    return 0;
}

void ChannelEqSection::setSwitch(int eqId, int value) {
    if (eqId >= 0 && eqId < kFirstOutputEqId)
        m_setters.set(kSwitchOf[eqId], value);
    else if (eqId >= kFirstOutputEqId && eqId < kEqCount)
        m_setters.set(&DspParams::outEqSwitch, eqId - kFirstOutputEqId, value);
}

bool ChannelEqSection::eqSwitch() const {
    return switchValue(m_eqId) == 1;
}

void ChannelEqSection::toggleEqSwitch() {
    if (m_eqId < 0)
        return;
    const int value = switchValue(m_eqId) != 0 ? 0 : 1;
    for (int eq : targets())
        setSwitch(eq, value);
    updateBypass();
}

void ChannelEqSection::updateBypass() {
    m_editor->setBypass(eqSwitch());
}

void ChannelEqSection::setPrompter(Prompter* prompter) {
    m_files->setPrompter(prompter);
}

void ChannelEqSection::importEq() {
    if (m_eqId < 0)
        return;
    const std::vector<int> ids = targets();
    if (m_files->importInto(this, ids))
        reload();
}

void ChannelEqSection::exportEq() {
    if (m_eqId < 0)
        return;
    const QString name = m_eqId >= kFirstOutputEqId
                             ? QStringLiteral("CH%1-EQ").arg(m_eqId - kFirstOutputEqId + 1)
                             : QStringLiteral("EQ%1").arg(m_eqId);
    m_files->exportFrom(this, m_eqId, name);
}

void ChannelEqSection::resetCurrentEq() {
    if (m_eqId < 0)
        return;
    for (int eq : targets())
        m_bands.resetEq(eq);
    reload();
}

} // namespace quilo
