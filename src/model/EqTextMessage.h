#pragma once

#include <string>

namespace quilo {

// What reading a filter text has to tell: warnings, after which the import goes
// ahead, and refusals, after which nothing is changed.
enum class EqTextIssue {
    // Warnings, one per value that was changed on the way in.
    GainChanged,      // brought into -15...+15 dB and to whole tenths
    GainIgnored,      // a low- or high-pass keeps 0 dB; `given` was not 0
    FrequencyChanged, // brought into 20...20000 Hz and to whole hertz
    QChanged,         // brought into the type's range and to thousandths
    PreampNotApplied, // a "Preamp:" line; `given` its gain when it could be read
    // Refusals.
    NotOnOrOff,      // the word after "Filter N:" is not ON or OFF; `word` is it
    UnsupportedType, // band-pass, notch, all-pass or a type nobody knows; `word`
    ShelfBySlope,    // a shelf given by its slope instead of a Q; `word` the slope
    MissingValue,    // `word` is the value the filter lacks: "Fc", "Gain" or "Q"
    BadNumber,       // `word` is what stands where a number belongs
    UnknownWord,     // `word` is something a filter line cannot hold
    NoFilters,       // not a single filter line
    TooManyFilters,  // `given` filters, `stored` of them fit
};

struct EqTextMessage {
    EqTextIssue issue = EqTextIssue::NoFilters;
    int line = 0;         // line of the text, counted from 1; 0 for the text as a whole
    double given = 0.0;   // the value as written (or the number of filters)
    double stored = 0.0;  // the value kept (or how many filters fit)
    bool hasValue = true; // false for a preamp whose gain could not be read
    std::string word;     // the words quoted from the line

    bool isRefusal() const { return issue >= EqTextIssue::NotOnOrOff; }
};

// The message in English; the windows carry the Chinese wording themselves.
std::string englishText(const EqTextMessage& message);

} // namespace quilo
