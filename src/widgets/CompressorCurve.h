#pragma once

#include <array>
#include <string>
#include <vector>

namespace quilo {

// The compressor's static transfer curve as the compressor panel draws it, without a
// screen. Both axes cover 96 dB, -90 dB at the left and bottom, +6 dB at the right and
// top, over the client size less 60 pixels across and 45 down from the origin (40, 20).

struct CompressorShape {
    float thresholdDb = -15.0f;  // T
    float lowerCornerDb = -5.0f; // L; the compressor page sets -90
    float highSlope = 1.0f;      // slope above the threshold: 1 / ratio
    float lowSlope = 1.0f;       // slope below the lower corner
};

struct CurvePoint {
    float x = 0.0f;
    float y = 0.0f;
    friend bool operator==(const CurvePoint&, const CurvePoint&) = default;
};

// One grid line with its label.
struct CompressorGridLine {
    bool vertical = false; // an input line (constant x), else an output line
    float pixel = 0.0f;    // its x (vertical) or y
    std::string label;     // "-90dB" ... "6dB" under the input lines, "+6dB" ... left of the others
};

struct CompressorCurveGeometry {
    static constexpr float kLeft = 40.0f;
    static constexpr float kTop = 20.0f;
    static constexpr float kRangeDb = 96.0f;

    float width = 0.0f;  // W = client width - 60
    float height = 0.0f; // H = client height - 45

    float inputX(float db) const;
    float outputY(float db) const;

    // The curve's four corners: the bottom of the part below the lower corner, the lower
    // corner, the threshold point and the right end at +6 dB input.
    std::array<CurvePoint, 4> curve(const CompressorShape& shape) const;
    // The shaded output range: from y = top to y = top + height, across the plot.
    float shadeTop(const CompressorShape& shape) const;
    float shadeHeight(const CompressorShape& shape) const;
    std::vector<CompressorGridLine> grid() const;
};

CompressorCurveGeometry compressorGeometry(int clientWidth, int clientHeight);

// The output level in dB at +6 dB input: T + (6 - T) x slope.
float compressorTopOutputDb(const CompressorShape& shape);

// The shape the compressor page shows for a stored threshold and ratio. A ratio below
// 1:1 (a fresh image holds 0) is shown as 1:1, so the curve never divides by zero.
CompressorShape compressorPageShape(float thresholdDb, float ratio);

} // namespace quilo
