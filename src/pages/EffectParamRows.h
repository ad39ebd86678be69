#pragma once

#include "model/DspParams.h"
#include "ui/BiText.h"

#include <array>
#include <cstdint>

#include <QString>

namespace quilo {

class FieldSetters;

// The nine rows of the music page's effect parameter list: each edits one field of the echo
// and reverb parameter set A (mic channel A) or B (mic channel B).
struct EffectParamRow {
    enum class Format {
        Percent,    // "%d%%"
        Ms,         // "%dms"
        ReverbTime, // "%.0fms" of value x 49.6 + 40
        Shift,      // "%dHz", 0 and 1 are "Off"
    };
    BiText name;
    // The field of set A and of set B; an integer row leaves the float pair null and back.
    std::int32_t DspParams::*intField[2];
    float DspParams::*floatField[2];
    int minimum;
    int maximum;
    Format format;
};

namespace effect_param {

enum Row {
    kReverbLevel,
    kReverbPredelay,
    kReverbTime,
    kEchoLevel,
    kEchoPredelay,
    kEchoTime,
    kEchoStartVol,
    kEchoDecay,
    kShiftFrequency,
    kRowCount
};

extern const std::array<EffectParamRow, kRowCount> kRows;

// The row's value in set `set` (0 A, 1 B) as the slider takes it: float fields truncated.
int value(const DspParams& params, int row, int set);
// Stores the value into the row's field of the set and sends it.
void store(FieldSetters& setters, int row, int set, int value);
// The "Value" text of the row.
QString text(int row, int value, int language);
QString name(int row, int language);

} // namespace effect_param

} // namespace quilo
