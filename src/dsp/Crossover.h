#pragma once

#include <array>
#include <string_view>

namespace quilo {

// An output channel's crossover runs as four sections in band slots 9-12. The user picks a
// family; the slots' types follow from it and the direction of slot 9.

constexpr int kCrossoverFamilyCount = 11;

// The family list as the combo box shows it, in this order.
inline constexpr std::array<std::string_view, kCrossoverFamilyCount> kCrossoverFamilyNames{
    "LinkwitzRiely 12dB", "LinkwitzRiely 24dB", "LinkwitzRiely 36dB", "LinkwitzRiely 48dB",
    "Bessel 12dB",        "Bessel 18dB",        "Bessel 24dB",        "Butterworth 12dB",
    "Butterworth 18dB",   "Butterworth 24dB",   "Chebyshev 12dB",
};

// Indexes beyond the list, for slot 9 holding a plain band and slots 10-12 idle.
constexpr int kCrossoverPeakingOnly = 11; // also what crossoverSections sets all to type 1
constexpr int kCrossoverLowShelfOnly = 12;
constexpr int kCrossoverHighShelfOnly = 13;

enum class CrossoverDirection { LowPass, HighPass };

using CrossoverTypes = std::array<int, 4>; // filter types of slots 9, 10, 11, 12

// Slot 9's current type decides the direction: any even code is low-pass.
CrossoverDirection crossoverDirectionOf(int slot9Type);

// The four types of a family. kCrossoverPeakingOnly gives four idle peaking sections; any
// other index outside the list (-1 for no selection included) acts as the first family.
CrossoverTypes crossoverSections(int familyIndex, CrossoverDirection direction);

struct CrossoverFamily {
    int index = 0;
    int kind = 0; // slot 9's band kind: 1 peaking, 2 low-pass, 3 high-pass, 4/5 shelves
};

// Which family the four slot types make. Besides the list's rows, slot 9 of type 1, 4 or 5
// with the other three of type 1 gives kCrossoverPeakingOnly, kCrossoverLowShelfOnly or
// kCrossoverHighShelfOnly. No match gives index 0 with currentKind kept.
CrossoverFamily crossoverFamilyOf(const CrossoverTypes& slotTypes, int currentKind);

} // namespace quilo
