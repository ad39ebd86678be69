#include "dsp/Crossover.h"

#include "dsp/Biquad.h"

#include <cstddef>

namespace quilo {

namespace {

struct FamilyRow {
    CrossoverTypes lowPass;
    CrossoverTypes highPass;
};

// Type 1 at 0 dB is transparent, so it fills the slots a family does not need.
constexpr std::array<FamilyRow, kCrossoverFamilyCount> kRows{{
    {{FirstOrderLowPass, FirstOrderLowPass, Peaking, Peaking},
     {FirstOrderHighPass, FirstOrderHighPass, Peaking, Peaking}},
    {{ButterworthLowPass, ButterworthLowPass, Peaking, Peaking},
     {ButterworthHighPass, ButterworthHighPass, Peaking, Peaking}},
    {{LowPassQ1, FirstOrderLowPass, LowPassQ1, FirstOrderLowPass},
     {HighPassQ1, FirstOrderHighPass, HighPassQ1, FirstOrderHighPass}},
    {{LowPassQ1307, LowPassQ0541, LowPassQ1307, LowPassQ0541},
     {HighPassQ1307, HighPassQ0541, HighPassQ1307, HighPassQ0541}},
    {{BesselLowPass, Peaking, Peaking, Peaking}, {BesselHighPass, Peaking, Peaking, Peaking}},
    {{BesselLowPass, FirstOrderLowPass, Peaking, Peaking},
     {BesselHighPass, FirstOrderHighPass, Peaking, Peaking}},
    {{BesselLowPass, BesselLowPass, Peaking, Peaking},
     {BesselHighPass, BesselHighPass, Peaking, Peaking}},
    {{ButterworthLowPass, Peaking, Peaking, Peaking},
     {ButterworthHighPass, Peaking, Peaking, Peaking}},
    {{LowPassQ1, FirstOrderLowPass, Peaking, Peaking},
     {HighPassQ1, FirstOrderHighPass, Peaking, Peaking}},
    {{LowPassQ1307, LowPassQ0541, Peaking, Peaking},
     {HighPassQ1307, HighPassQ0541, Peaking, Peaking}},
    {{ChebyshevLowPass, Peaking, Peaking, Peaking}, {ChebyshevHighPass, Peaking, Peaking, Peaking}},
}};

constexpr CrossoverTypes kIdle{Peaking, Peaking, Peaking, Peaking};

} // namespace

CrossoverDirection crossoverDirectionOf(int slot9Type) {
    return slot9Type % 2 == 0 ? CrossoverDirection::LowPass : CrossoverDirection::HighPass;
}

CrossoverTypes crossoverSections(int familyIndex, CrossoverDirection direction) {
    if (familyIndex == kCrossoverPeakingOnly)
        return kIdle;
    if (familyIndex < 0 || familyIndex >= kCrossoverFamilyCount)
        familyIndex = 0;
    const FamilyRow& row = kRows[static_cast<std::size_t>(familyIndex)];
    return direction == CrossoverDirection::LowPass ? row.lowPass : row.highPass;
}

CrossoverFamily crossoverFamilyOf(const CrossoverTypes& slotTypes, int currentKind) {
    for (int i = 0; i < kCrossoverFamilyCount; ++i) {
        const FamilyRow& row = kRows[static_cast<std::size_t>(i)];
        if (slotTypes == row.lowPass)
            return {i, LowPass};
        if (slotTypes == row.highPass)
            return {i, HighPass};
    }
    if (slotTypes[1] == Peaking && slotTypes[2] == Peaking && slotTypes[3] == Peaking) {
        switch (slotTypes[0]) {
        case Peaking:
            return {kCrossoverPeakingOnly, Peaking};
        case LowShelf:
            return {kCrossoverLowShelfOnly, LowShelf};
        case HighShelf:
            return {kCrossoverHighShelfOnly, HighShelf};
        default:
            break;
        }
    }
    return {0, currentKind};
}

} // namespace quilo
