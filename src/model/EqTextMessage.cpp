#include "model/EqTextMessage.h"

#include "model/EqFilterText.h"

#include <cstdio>

namespace quilo {

namespace {

// A value as the file gave it, or a stored one: as many digits as it has.
std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

std::string tenths(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

std::string quoted(const std::string& word) {
    return "\"" + word + "\"";
}

} // namespace

std::string englishText(const EqTextMessage& m) {
    const std::string at = m.line > 0 ? "Line " + std::to_string(m.line) + ": " : std::string();
    switch (m.issue) {
    case EqTextIssue::GainChanged:
        return at + "gain " + number(m.given) + " dB set to " + tenths(m.stored) +
               " dB (the bands take -15 to +15 dB in steps of 0.1 dB)";
    case EqTextIssue::GainIgnored:
        return at + "a low- or high-pass filter has no gain; " + number(m.given) +
               " dB not applied";
    case EqTextIssue::FrequencyChanged:
        return at + "frequency " + number(m.given) + " Hz set to " + number(m.stored) +
               " Hz (the bands take whole hertz from 20 to 20000 Hz)";
    case EqTextIssue::QChanged:
        return at + "Q " + number(m.given) + " set to " + formatQ(m.stored) +
               " (peaking filters take Q 0.1 to 30, other filters 0.1 to 2)";
    case EqTextIssue::PreampNotApplied:
        return at + (m.hasValue ? "preamp " + number(m.given) + " dB not applied"
                                : std::string("preamp not applied"));
    case EqTextIssue::NotOnOrOff:
        return at + "a filter must be ON or OFF" +
               (m.word.empty() ? std::string() : ", not " + quoted(m.word));
    case EqTextIssue::UnsupportedType:
        if (m.word.empty()) {
            return at + "the filter has no type";
        }
        return at + "the processor cannot do a filter of type " + quoted(m.word) +
               " (it does PK, LP, HP, LS and HS)";
    case EqTextIssue::ShelfBySlope:
        return at + "the processor cannot do a shelf given by its slope (" + quoted(m.word) +
               "); give the shelf a Q instead";
    case EqTextIssue::MissingValue:
        return at + "the filter has no " + m.word + " value";
    case EqTextIssue::BadNumber:
        return at + quoted(m.word) + " is not a number (numbers take a decimal point)";
    case EqTextIssue::UnknownWord:
        return at + quoted(m.word) + " does not belong in a filter line";
    case EqTextIssue::NoFilters:
        return "the text holds no filter lines (\"Filter 1: ON PK Fc 63 Hz Gain -5.0 dB Q 4.00\")";
    case EqTextIssue::TooManyFilters:
        return number(m.given) + " filters do not fit: this equaliser takes at most " +
               number(m.stored);
    }
    return {};
}

} // namespace quilo
