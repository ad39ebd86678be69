#include "pages/EffectParamRows.h"

#include "model/FieldSetters.h"

#include <algorithm>

namespace quilo::effect_param {

namespace {

using F = EffectParamRow::Format;
using P = DspParams;

constexpr BiText kOff{"关闭", "Off"};

EffectParamRow intRow(BiText name, std::int32_t P::*a, std::int32_t P::*b, int minimum, int maximum,
                      F format) {
    return {name, {a, b}, {nullptr, nullptr}, minimum, maximum, format};
}

EffectParamRow floatRow(BiText name, float P::*a, float P::*b, int minimum, int maximum, F format) {
    return {name, {nullptr, nullptr}, {a, b}, minimum, maximum, format};
}

bool validRow(int row) {
    return row >= 0 && row < kRowCount;
}

std::size_t setIndex(int set) {
    return set == 0 ? 0 : 1;
}

} // namespace

const std::array<EffectParamRow, kRowCount> kRows = {
    intRow({"混响电平", "Reverb Level"}, &P::reverbLevelA, &P::reverbLevelB, 0, 100, F::Percent),
    floatRow({"混响预延时", "Reverb Predelay"}, &P::reverbPredelayMsA, &P::reverbPredelayMsB, 2,
             200, F::Ms),
    floatRow({"混响时长", "Reverb Time"}, &P::reverbTimeA, &P::reverbTimeB, 0, 100, F::ReverbTime),
    intRow({"回声电平", "Echo Level"}, &P::echoLevelA, &P::echoLevelB, 0, 100, F::Percent),
    floatRow({"回声预延时", "Echo Predelay"}, &P::echoPredelayMsA, &P::echoPredelayMsB, 2, 200,
             F::Ms),
    floatRow({"回声间隔", "Echo Time"}, &P::echoTimeMsA, &P::echoTimeMsB, 2, 260, F::Ms),
    intRow({"回声起始音量", "Echo Start Vol"}, &P::echoStartVolA, &P::echoStartVolB, 40, 100,
           F::Percent),
    intRow({"回声衰减比例", "Echo Vol Decay"}, &P::echoDecayA, &P::echoDecayB, 20, 90, F::Percent),
    intRow({"话筒移频", "Shift Frequency"}, &P::shiftFreqA, &P::shiftFreqB, 1, 8, F::Shift),
};

int value(const DspParams& params, int row, int set) {
    if (!validRow(row))
        return 0;
    const EffectParamRow& r = kRows[static_cast<std::size_t>(row)];
    if (r.intField[0] != nullptr)
        return params.*r.intField[setIndex(set)];
    const float v = params.*r.floatField[setIndex(set)];
    // A value no int can hold (a corrupt image) shows as the row's minimum.
    if (!(v > -2147483648.0f && v < 2147483647.0f))
        return r.minimum;
    return static_cast<int>(v);
}

void store(FieldSetters& setters, int row, int set, int value) {
    if (!validRow(row))
        return;
    const EffectParamRow& r = kRows[static_cast<std::size_t>(row)];
    if (r.intField[0] != nullptr)
        setters.set(r.intField[setIndex(set)], value);
    else
        setters.set(r.floatField[setIndex(set)], value);
}

QString text(int row, int value, int language) {
    if (!validRow(row))
        return {};
    switch (kRows[static_cast<std::size_t>(row)].format) {
    case F::Percent:
        return QString::asprintf("%d%%", value);
    case F::Ms:
        return QString::asprintf("%dms", value);
    case F::ReverbTime:
        return QString::asprintf("%.0fms", value * 49.6 + 40.0);
    case F::Shift:
        return value <= 1 ? kOff.pick(language) : QString::asprintf("%dHz", value);
    }
    return {};
}

QString name(int row, int language) {
    return validRow(row) ? kRows[static_cast<std::size_t>(row)].name.pick(language) : QString();
}

} // namespace quilo::effect_param
