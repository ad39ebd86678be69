#include "model/EqFilterText.h"

#include "dsp/Biquad.h"
#include "dsp/EqBandSet.h"
#include "model/DecimalText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace quilo {

namespace {

// What a pass or shelf filter written without a Q gets.
constexpr double kDefaultQ = 0.707;
constexpr double kMinFreqHz = 20.0;
constexpr double kMaxFreqHz = 20000.0;
constexpr double kMaxGainDb = 15.0;
constexpr double kMinQ = 0.1;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool sameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool startsWithWord(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && sameWord(s.substr(0, prefix.size()), prefix);
}

std::vector<std::string_view> wordsOf(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && isBlank(s[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < s.size() && !isBlank(s[i])) {
            ++i;
        }
        if (i > start) {
            out.push_back(s.substr(start, i - start));
        }
    }
    return out;
}

struct TypeWord {
    std::string_view word;
    int type;
};

constexpr std::array<TypeWord, 10> kTypeWords{{{"PK", Peaking},
                                               {"PEQ", Peaking},
                                               {"LP", LowPass},
                                               {"LPQ", LowPass},
                                               {"HP", HighPass},
                                               {"HPQ", HighPass},
                                               {"LS", LowShelf},
                                               {"LSC", LowShelf},
                                               {"HS", HighShelf},
                                               {"HSC", HighShelf}}};

std::optional<int> typeOfWord(std::string_view word) {
    for (const TypeWord& t : kTypeWords) {
        if (sameWord(t.word, word)) {
            return t.type;
        }
    }
    return std::nullopt;
}

bool isShelf(int type) {
    return type == LowShelf || type == HighShelf;
}

enum class LineKind { Other, Filter, Preamp };

struct ClassifiedLine {
    LineKind kind = LineKind::Other;
    std::string_view rest; // after the colon
};

// "Filter:", "Filter 12:" and "Preamp:" in any letter case; everything else is
// a header, a note or a comment.
ClassifiedLine classify(std::string_view line) {
    const auto afterColon = [](std::string_view s) -> std::optional<std::string_view> {
        s = trim(s);
        if (s.empty() || s.front() != ':') {
            return std::nullopt;
        }
        return s.substr(1);
    };
    if (startsWithWord(line, "preamp")) {
        if (const auto rest = afterColon(line.substr(6))) {
            return {LineKind::Preamp, *rest};
        }
    }
    if (startsWithWord(line, "filter")) {
        std::string_view s = trim(line.substr(6));
        while (!s.empty() && std::isdigit(static_cast<unsigned char>(s.front()))) {
            s.remove_prefix(1);
        }
        if (const auto rest = afterColon(s)) {
            return {LineKind::Filter, *rest};
        }
    }
    return {};
}

EqTextMessage refusalAt(int line, EqTextIssue issue, std::string_view word = {}) {
    EqTextMessage m;
    m.issue = issue;
    m.line = line;
    m.hasValue = false;
    m.word = std::string(word);
    return m;
}

// A number with its unit glued on ("63Hz") or as the next word ("63 Hz").
struct ValueReader {
    const std::vector<std::string_view>& words;
    std::size_t& at;

    std::optional<double> read(std::string_view unit, std::string_view& consumed) {
        consumed = words[at++];
        std::string_view number = consumed;
        if (!unit.empty() && number.size() > unit.size() &&
            sameWord(number.substr(number.size() - unit.size()), unit)) {
            number.remove_suffix(unit.size());
        } else if (!unit.empty() && at < words.size() && sameWord(words[at], unit)) {
            ++at;
        }
        return parseDecimal(number);
    }
};

struct GivenValues {
    std::optional<double> freqHz;
    std::optional<double> gainDb;
    std::optional<double> q;
};

// Reads "Fc ... Gain ... Q ..." in any order; a refusal when something else stands there.
std::optional<EqTextMessage> readValues(int line, const std::vector<std::string_view>& words,
                                        std::size_t at, int type, GivenValues& given) {
    // "LS 12dB Fc ..." gives the shelf by its slope.
    if (isShelf(type) && at < words.size()) {
        std::string_view slope = words[at];
        if (slope.size() > 2 && sameWord(slope.substr(slope.size() - 2), "dB")) {
            slope.remove_suffix(2);
        }
        if (parseDecimal(slope)) {
            return refusalAt(line, EqTextIssue::ShelfBySlope, words[at]);
        }
    }
    ValueReader reader{words, at};
    while (at < words.size()) {
        const std::string_view key = words[at++];
        std::optional<double>* slot = nullptr;
        std::string_view unit;
        if (sameWord(key, "Fc")) {
            slot = &given.freqHz;
            unit = "Hz";
        } else if (sameWord(key, "Gain")) {
            slot = &given.gainDb;
            unit = "dB";
        } else if (sameWord(key, "Q")) {
            slot = &given.q;
        } else if (isShelf(type) && (sameWord(key, "S") || sameWord(key, "Slope"))) {
            return refusalAt(line, EqTextIssue::ShelfBySlope, key);
        } else {
            return refusalAt(line, EqTextIssue::UnknownWord, key);
        }
        if (at >= words.size()) {
            return refusalAt(line, EqTextIssue::MissingValue, key);
        }
        std::string_view written;
        *slot = reader.read(unit, written);
        if (!*slot) {
            return refusalAt(line, EqTextIssue::BadNumber, written);
        }
    }
    if (!given.freqHz) {
        return refusalAt(line, EqTextIssue::MissingValue, "Fc");
    }
    if (!given.gainDb && (type == Peaking || isShelf(type))) {
        return refusalAt(line, EqTextIssue::MissingValue, "Gain");
    }
    if (!given.q && type == Peaking) {
        return refusalAt(line, EqTextIssue::MissingValue, "Q");
    }
    return std::nullopt;
}

// Brings the values into the band's limits, with one warning per value changed.
EqBand limitValues(int line, int type, const GivenValues& given,
                   std::vector<EqTextMessage>& warnings) {
    const auto note = [&](EqTextIssue issue, double from, double to) {
        if (std::abs(from - to) > 1e-9) {
            EqTextMessage m;
            m.issue = issue;
            m.line = line;
            m.given = from;
            m.stored = to;
            warnings.push_back(m);
        }
    };
    double gain = 0.0;
    if (EqBandSet::gainIsFixed(type)) {
        if (given.gainDb && *given.gainDb != 0.0) {
            note(EqTextIssue::GainIgnored, *given.gainDb, 0.0);
        }
    } else {
        gain = std::clamp(std::round(*given.gainDb * 10.0) / 10.0, -kMaxGainDb, kMaxGainDb);
        note(EqTextIssue::GainChanged, *given.gainDb, gain);
    }
    const double freq = std::clamp(std::round(*given.freqHz), kMinFreqHz, kMaxFreqHz);
    note(EqTextIssue::FrequencyChanged, *given.freqHz, freq);
    const double q0 = given.q.value_or(kDefaultQ);
    const double q = std::clamp(std::round(q0 * 1000.0) / 1000.0, kMinQ,
                                static_cast<double>(EqBandSet::qLimitFor(type)));
    note(EqTextIssue::QChanged, q0, q);
    return {static_cast<float>(gain + 0.0), static_cast<float>(freq), static_cast<float>(q), type};
}

struct LineResult {
    std::optional<ParsedFilter> filter; // empty for a "None" filter
    std::optional<EqTextMessage> refusal;
};

LineResult readFilter(int line, std::string_view body, std::vector<EqTextMessage>& warnings) {
    const std::vector<std::string_view> words = wordsOf(body);
    if (words.empty() || !(sameWord(words[0], "ON") || sameWord(words[0], "OFF"))) {
        return {std::nullopt, refusalAt(line, EqTextIssue::NotOnOrOff,
                                        words.empty() ? std::string_view{} : words[0])};
    }
    const bool on = sameWord(words[0], "ON");
    if (words.size() < 2) {
        return {std::nullopt, refusalAt(line, EqTextIssue::UnsupportedType)};
    }
    if (sameWord(words[1], "None")) {
        return {};
    }
    const std::optional<int> type = typeOfWord(words[1]);
    if (!type) {
        return {std::nullopt, refusalAt(line, EqTextIssue::UnsupportedType, words[1])};
    }
    GivenValues given;
    if (auto refusal = readValues(line, words, 2, *type, given)) {
        return {std::nullopt, std::move(refusal)};
    }
    EqBand band = limitValues(line, *type, given, warnings);
    if (!on) {
        band.type = 0;
    }
    return {ParsedFilter{line, band}, std::nullopt};
}

EqTextMessage preampNote(int line, std::string_view body) {
    EqTextMessage m;
    m.issue = EqTextIssue::PreampNotApplied;
    m.line = line;
    const std::vector<std::string_view> words = wordsOf(body);
    std::size_t at = 0;
    std::string_view written;
    const std::optional<double> gain =
        words.empty() ? std::nullopt : ValueReader{words, at}.read("dB", written);
    m.hasValue = gain.has_value();
    m.given = gain.value_or(0.0);
    return m;
}

} // namespace

EqFilterText parseEqFilterText(std::string_view text) {
    EqFilterText result;
    if (text.starts_with("\xEF\xBB\xBF")) { // a byte-order mark some editors write
        text.remove_prefix(3);
    }
    bool sawFilter = false;
    int line = 0;
    while (!text.empty()) {
        ++line;
        const std::size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        const ClassifiedLine c = classify(trim(raw));
        if (c.kind == LineKind::Preamp) {
            result.warnings.push_back(preampNote(line, c.rest));
        } else if (c.kind == LineKind::Filter) {
            sawFilter = true;
            LineResult r = readFilter(line, c.rest, result.warnings);
            if (r.refusal) {
                return {{}, {}, std::move(r.refusal)};
            }
            if (r.filter) {
                result.filters.push_back(*r.filter);
            }
        }
    }
    if (!sawFilter) {
        return {{}, {}, refusalAt(0, EqTextIssue::NoFilters)};
    }
    return result;
}

std::string formatQ(double q) {
    const long long code = std::max(0LL, std::llround(q * 1000.0));
    char text[32];
    if (code % 10 == 0) {
        std::snprintf(text, sizeof text, "%lld.%02lld", code / 1000, code % 1000 / 10);
    } else {
        std::snprintf(text, sizeof text, "%lld.%03lld", code / 1000, code % 1000);
    }
    return text;
}

std::string formatEqFilterText(std::span<const EqBand> bands) {
    std::string out;
    int number = 0;
    for (const EqBand& b : bands) {
        const bool on = b.type >= Peaking && b.type <= HighShelf;
        static constexpr std::array<const char*, 6> kWords{"PK", "PK", "LPQ", "HPQ", "LSC", "HSC"};
        const char* word = kWords[on ? static_cast<std::size_t>(b.type) : 0];
        char text[160];
        int n = std::snprintf(text, sizeof text, "Filter %d: %s %s Fc %ld Hz", ++number,
                              on ? "ON" : "OFF", word, std::lround(b.freqHz));
        if (!on || !EqBandSet::gainIsFixed(b.type)) {
            // Adding 0 turns a -0.0 into 0.0.
            const double gain = std::round(double(b.gainDb) * 10.0) / 10.0 + 0.0;
            n += std::snprintf(text + n, sizeof text - std::size_t(n), " Gain %.1f dB", gain);
        }
        out.append(text, std::size_t(n));
        out += " Q " + formatQ(b.q) + '\n';
    }
    return out;
}

} // namespace quilo
