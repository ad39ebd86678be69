#include "widgets/CompressorCurve.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quilo {

namespace {

constexpr float kBottomDb = -90.0f;
constexpr float kTopDb = 6.0f;
constexpr int kInputLines[] = {-90, -70, -50, -30, -10, 6};

std::string dbLabel(int db, bool plusSign) {
    char text[16];
    std::snprintf(text, sizeof text, plusSign && db > 0 ? "+%ddB" : "%ddB", db);
    return text;
}

} // namespace

float CompressorCurveGeometry::inputX(float db) const {
    return kLeft + (db - kBottomDb) * width / kRangeDb;
}

float CompressorCurveGeometry::outputY(float db) const {
    return kTop + std::fabs(db - kTopDb) * height / kRangeDb;
}

std::array<CurvePoint, 4> CompressorCurveGeometry::curve(const CompressorShape& s) const {
    const float lowerY = outputY(s.lowerCornerDb);
    const float below = std::fabs(kBottomDb - s.lowerCornerDb) * height / kRangeDb * s.lowSlope;
    const float thresholdY = outputY(s.thresholdDb);
    const float above = std::fabs(kTopDb - s.thresholdDb) * height / kRangeDb * s.highSlope;
    return {{{kLeft, lowerY + below},
             {inputX(s.lowerCornerDb), lowerY},
             {inputX(s.thresholdDb), thresholdY},
             {kLeft + width, thresholdY - above}}};
}

float CompressorCurveGeometry::shadeTop(const CompressorShape& s) const {
    const auto c = curve(s);
    return std::min(c[0].y, c[3].y);
}

float CompressorCurveGeometry::shadeHeight(const CompressorShape& s) const {
    const auto c = curve(s);
    return std::fabs(c[0].y - c[3].y);
}

std::vector<CompressorGridLine> CompressorCurveGeometry::grid() const {
    std::vector<CompressorGridLine> lines;
    for (int db : kInputLines) {
        lines.push_back({true, inputX(static_cast<float>(db)), dbLabel(db, false)});
    }
    lines.push_back({false, outputY(kTopDb), dbLabel(6, true)});
    for (int db = 0; db >= -90; db -= 10) {
        lines.push_back({false, outputY(static_cast<float>(db)), dbLabel(db, true)});
    }
    return lines;
}

CompressorCurveGeometry compressorGeometry(int clientWidth, int clientHeight) {
    return {static_cast<float>(clientWidth - 60), static_cast<float>(clientHeight - 45)};
}

float compressorTopOutputDb(const CompressorShape& s) {
    return s.thresholdDb + (kTopDb - s.thresholdDb) * s.highSlope;
}

CompressorShape compressorPageShape(float thresholdDb, float ratio) {
    CompressorShape s;
    s.thresholdDb = thresholdDb;
    s.lowerCornerDb = kBottomDb;
    s.highSlope = 1.0f / (std::isfinite(ratio) ? std::max(ratio, 1.0f) : 1.0f);
    return s;
}

} // namespace quilo
