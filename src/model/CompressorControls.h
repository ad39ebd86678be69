#pragma once

#include <array>
#include <string>

namespace quilo {

// The four compressor controls an output channel offers (threshold, ratio, attack, release):
// their slider ranges, how a slider position maps to the stored value and back, and the
// read-out of a value. The compressor page and the output page both use them.

struct CompressorSettings {
    float thresholdDb = 0.0f;
    float ratio = 1.0f;
    float attackMs = 1.0f;
    float releaseMs = 100.0f;
    bool operator==(const CompressorSettings&) const = default;
};

enum class CompressorKnob { Threshold, Ratio, Attack, Release };
constexpr int kCompressorKnobs = 4;
constexpr std::array<CompressorKnob, kCompressorKnobs> kAllCompressorKnobs = {
    CompressorKnob::Threshold, CompressorKnob::Ratio, CompressorKnob::Attack,
    CompressorKnob::Release};

struct CompressorSliderRange {
    int minimum, maximum;
    int initial; // where the slider stands before the first load
};
// Threshold -60..0 dB, ratio 10..300 tenths, attack 1..100 ms, release 1..1000 ms.
CompressorSliderRange compressorSliderRange(CompressorKnob knob);

float compressorValue(const CompressorSettings& settings, CompressorKnob knob);
// The value slider position `position` stands for.
float compressorValueAt(CompressorKnob knob, int position);
// The nearest slider position to a stored value, held within the range (NaN: the minimum).
int compressorSliderPosition(CompressorKnob knob, float value);
// `stored` with the knob's value replaced by what `position` stands for.
CompressorSettings withCompressorKnob(CompressorSettings stored, CompressorKnob knob, int position);

// "-80dB", "4.0:1", "150ms": the stored value, even where the slider cannot reach it. A
// ratio below 1:1 reads as the 1:1 that is sent for it.
std::string compressorReadout(CompressorKnob knob, float value);

} // namespace quilo
