// Filter lists of measurement tools: reading them as the tools write them, every
// refusal, the band limits, export and import round trips and the import into
// linked equalisers.
#include "device/RecordingSink.h"
#include "model/BandOps.h"
#include "model/EqImport.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

using namespace quilo;
using Issue = EqTextIssue;

namespace {

struct Band {
    int type;
    float gainDb;
    float freqHz;
    float q;
    bool operator==(const Band&) const = default;
};

std::vector<Band> bandsOf(const EqFilterText& parsed) {
    std::vector<Band> out;
    for (const ParsedFilter& f : parsed.filters) {
        out.push_back({f.band.type, f.band.gainDb, f.band.freqHz, f.band.q});
    }
    return out;
}

std::vector<Issue> issuesOf(const std::vector<EqTextMessage>& messages) {
    std::vector<Issue> out;
    for (const EqTextMessage& m : messages) {
        out.push_back(m.issue);
    }
    return out;
}

std::unique_ptr<DeviceImage> factoryImage() {
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    return image;
}

EqBandStore::const_iterator recordOf(const DeviceImage& image, int eqId, int band) {
    const EqInfo eq = *eqInfo(eqId);
    return image.eqBands.begin() + std::ptrdiff_t(bandAddress(eq.module, eq.firstBand + band));
}

EqBand storedBand(const DeviceImage& image, int eqId, int band) {
    EqBandRecord r;
    std::copy_n(recordOf(image, eqId, band), r.size(), r.begin());
    return decodeBand(r);
}

} // namespace

TEST(EqFilterText, ReadsFilesAsTheToolsWriteThem) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<Band> bands;
        std::vector<Issue> warnings;
    };
    const Case cases[] = {
        {"room measurement export: header, CR LF, aligned columns, None and OFF filters",
         "Filter Settings file\r\n\r\nRoom EQ V5.31\r\nDated: 3 Mar 2024 21:10:04\r\n\r\n"
         "Notes:\r\n\r\nEqualiser: Generic\r\nAverage 1\r\n"
         "Filter  1: ON  PK       Fc    63.0 Hz  Gain  -5.0 dB  Q  4.00\r\n"
         "Filter  2: ON  None\r\n"
         "Filter  3: OFF PK       Fc   800 Hz  Gain   2.0 dB  Q  1.414\r\n"
         "Filter 10: ON  PK       Fc  1250 Hz  Gain  +1.5 dB  Q  0.90\r\n",
         {{1, -5.0f, 63.0f, 4.0f}, {0, 2.0f, 800.0f, 1.414f}, {1, 1.5f, 1250.0f, 0.9f}},
         {}},
        {"headphone correction: preamp, shelves with Q, LF line ends",
         "Preamp: -6.2 dB\nFilter 1: ON LSC Fc 105 Hz Gain 5.5 dB Q 0.70\n"
         "Filter 2: ON PK Fc 2500 Hz Gain -3.1 dB Q 2.20\n"
         "Filter 3: ON HSC Fc 10000 Hz Gain 2.0 dB Q 0.70\n",
         {{4, 5.5f, 105.0f, 0.7f}, {1, -3.1f, 2500.0f, 2.2f}, {5, 2.0f, 10000.0f, 0.7f}},
         {Issue::PreampNotApplied}},
        {"unnumbered filters, comments, other spellings, glued units, a byte-order mark",
         "\xEF\xBB\xBF# exported by hand\n; second comment\n"
         "Filter: ON PEQ Fc 40Hz Gain -2dB Q 3\n"
         "filter: on lpq fc 18000 hz q 0.5\n"
         "Filter: ON HP Fc 30 Hz\n"
         "Filter: ON LS Fc 80 Hz Gain 4 dB\n"
         "Filter: ON HS Fc 8000 Hz Gain -1.5 dB Q 1.2\n",
         {{1, -2.0f, 40.0f, 3.0f},
          {2, 0.0f, 18000.0f, 0.5f},
          {3, 0.0f, 30.0f, 0.707f},
          {4, 4.0f, 80.0f, 0.707f},
          {5, -1.5f, 8000.0f, 1.2f}},
         {}},
        {"only None filters: an equaliser made flat",
         "Filter 1: ON None\nFilter 2: OFF None\n",
         {},
         {}},
    };
    for (const Case& c : cases) {
        const EqFilterText parsed = parseEqFilterText(c.text);
        ASSERT_TRUE(parsed.ok()) << c.what << ": " << englishText(*parsed.refusal);
        EXPECT_EQ(bandsOf(parsed), c.bands) << c.what;
        EXPECT_EQ(issuesOf(parsed.warnings), c.warnings) << c.what;
    }
    // Lines are counted as written, headers and CR LF included.
    const EqFilterText room = parseEqFilterText(cases[0].text);
    EXPECT_EQ(room.filters[0].line, 10);
    EXPECT_EQ(room.filters[2].line, 13);
    const EqFilterText phones = parseEqFilterText(cases[1].text);
    EXPECT_EQ(phones.warnings[0].line, 1);
    EXPECT_FLOAT_EQ(phones.warnings[0].given, -6.2);
}

TEST(EqFilterText, RefusesWhatTheProcessorCannotDoNamingTheLine) {
    struct Case {
        std::string line;
        Issue issue;
        std::string word;
    };
    const Case cases[] = {
        {"Filter 2: ON BP Fc 100 Hz Q 1.0", Issue::UnsupportedType, "BP"},
        {"Filter 2: ON NO Fc 100 Hz", Issue::UnsupportedType, "NO"},
        {"Filter 2: ON AP Fc 100 Hz Q 0.7", Issue::UnsupportedType, "AP"},
        {"Filter 2: OFF BP Fc 100 Hz Q 1.0", Issue::UnsupportedType, "BP"},
        {"Filter 2: ON", Issue::UnsupportedType, ""},
        {"Filter 2: ON LS 12dB Fc 100 Hz Gain 5.0 dB", Issue::ShelfBySlope, "12dB"},
        {"Filter 2: ON HS 6 dB Fc 8000 Hz Gain -2.0 dB", Issue::ShelfBySlope, "6"},
        {"Filter 2: ON LSC Fc 100 Hz Gain 5.0 dB S 1.0", Issue::ShelfBySlope, "S"},
        {"Filter 2: ON PK Fc 100 Hz Gain -5,0 dB Q 1.0", Issue::BadNumber, "-5,0"},
        {"Filter 2: ON PK Fc 1,5 kHz Gain -5.0 dB Q 1.0", Issue::BadNumber, "1,5"},
        {"Filter 2: ON PK Fc 100 Hz Gain nan dB Q 1.0", Issue::BadNumber, "nan"},
        {"Filter 2: ON PK Fc 100 Hz Gain -5.0 dB", Issue::MissingValue, "Q"},
        {"Filter 2: ON PK Fc 100 Hz Q 2", Issue::MissingValue, "Gain"},
        {"Filter 2: ON LPQ Q 0.7", Issue::MissingValue, "Fc"},
        {"Filter 2: ON PK Gain 1 dB Q 2 Fc", Issue::MissingValue, "Fc"},
        {"Filter 2: ON PK Fc 100 Hz Gain 1 dB BW Oct 0.5", Issue::UnknownWord, "BW"},
        {"Filter 2: ON PK Fc 1 kHz Gain 1 dB Q 1", Issue::UnknownWord, "kHz"},
        {"Filter 2: PK Fc 100 Hz Gain 1 dB Q 1", Issue::NotOnOrOff, "PK"},
    };
    for (const Case& c : cases) {
        // A good filter and a header before it: the refusal still names the bad line.
        const std::string text = "Equaliser: Generic\r\nFilter 1: ON PK Fc 50 Hz Gain 1.0 dB Q "
                                 "2.00\r\n" +
                                 c.line + "\r\nFilter 3: ON PK Fc 90 Hz Gain 1.0 dB Q 2.00\r\n";
        const EqFilterText parsed = parseEqFilterText(text);
        ASSERT_FALSE(parsed.ok()) << c.line;
        EXPECT_EQ(parsed.refusal->issue, c.issue) << c.line;
        EXPECT_EQ(parsed.refusal->line, 3) << c.line;
        EXPECT_EQ(parsed.refusal->word, c.word) << c.line;
        EXPECT_TRUE(parsed.filters.empty() && parsed.warnings.empty()) << c.line;
        EXPECT_NE(englishText(*parsed.refusal).find("Line 3: "), std::string::npos) << c.line;
    }
    for (const char* text : {"", "Preamp: -3 dB\nNotes: none\n", "\x89PNG\r\n\x1A\n\0\0"}) {
        const EqFilterText parsed = parseEqFilterText(text);
        ASSERT_FALSE(parsed.ok());
        EXPECT_EQ(parsed.refusal->issue, Issue::NoFilters);
    }
}

TEST(EqFilterText, BringsValuesIntoTheBandLimitsWithOneWarningEach) {
    struct Expected {
        Issue issue;
        double given;
        double stored;
    };
    struct Case {
        std::string line;
        Band band;
        std::vector<Expected> warnings;
    };
    const Case cases[] = {
        {"ON PK Fc 100 Hz Gain 20 dB Q 1",
         {1, 15.0f, 100.0f, 1.0f},
         {{Issue::GainChanged, 20, 15}}},
        {"ON PK Fc 100 Hz Gain -5.25 dB Q 1",
         {1, -5.3f, 100.0f, 1.0f},
         {{Issue::GainChanged, -5.25, -5.3}}},
        {"ON LSC Fc 10 Hz Gain -16 dB Q 3",
         {4, -15.0f, 20.0f, 2.0f},
         {{Issue::GainChanged, -16, -15},
          {Issue::FrequencyChanged, 10, 20},
          {Issue::QChanged, 3, 2}}},
        {"ON PK Fc 25000.4 Hz Gain 0 dB Q 40",
         {1, 0.0f, 20000.0f, 30.0f},
         {{Issue::FrequencyChanged, 25000.4, 20000}, {Issue::QChanged, 40, 30}}},
        {"ON PK Fc 63.4 Hz Gain 0 dB Q 1.41421",
         {1, 0.0f, 63.0f, 1.414f},
         {{Issue::FrequencyChanged, 63.4, 63}, {Issue::QChanged, 1.41421, 1.414}}},
        {"ON PK Fc 63 Hz Gain 0 dB Q 0.01", {1, 0.0f, 63.0f, 0.1f}, {{Issue::QChanged, 0.01, 0.1}}},
        {"ON HPQ Fc 80 Hz Gain 3 dB Q 0.71", {3, 0.0f, 80.0f, 0.71f}, {{Issue::GainIgnored, 3, 0}}},
        {"ON LP Fc 80 Hz Gain 0 dB", {2, 0.0f, 80.0f, 0.707f}, {}},
        // An OFF filter keeps the limits of the type it was written with.
        {"OFF PK Fc 500 Hz Gain 4 dB Q 12", {0, 4.0f, 500.0f, 12.0f}, {}},
    };
    for (const Case& c : cases) {
        const EqFilterText parsed = parseEqFilterText("Filter 1: " + c.line + "\n");
        ASSERT_TRUE(parsed.ok()) << c.line;
        EXPECT_EQ(bandsOf(parsed), std::vector<Band>{c.band}) << c.line;
        ASSERT_EQ(parsed.warnings.size(), c.warnings.size()) << c.line;
        for (std::size_t i = 0; i < c.warnings.size(); ++i) {
            const EqTextMessage& w = parsed.warnings[i];
            EXPECT_EQ(w.issue, c.warnings[i].issue) << c.line;
            EXPECT_EQ(w.line, 1) << c.line;
            EXPECT_NEAR(w.given, c.warnings[i].given, 1e-9) << c.line;
            EXPECT_NEAR(w.stored, c.warnings[i].stored, 1e-9) << c.line;
            EXPECT_FALSE(w.isRefusal());
        }
    }
    const EqFilterText preamp = parseEqFilterText("Preamp: loud\nFilter 1: ON None\n");
    ASSERT_EQ(issuesOf(preamp.warnings), std::vector<Issue>{Issue::PreampNotApplied});
    EXPECT_FALSE(preamp.warnings[0].hasValue);
    EXPECT_EQ(englishText(preamp.warnings[0]), "Line 1: preamp not applied");
}

TEST(EqFilterText, ExportThenImportGivesTheSameBandsForEveryEqualiser) {
    auto source = factoryImage();
    RecordingSink sink;
    BandOps ops(*source, sink);
    // Every kind of user band, values at the edges of what the record keeps.
    ops.applyBand(7, 0, 0, -3.7f, 12345.0f, 1.414f);
    ops.applyBand(7, 1, 2, 0.0f, 20.0f, 0.1f);
    ops.applyBand(7, 2, 4, 15.0f, 20000.0f, 2.0f);
    ops.applyBand(7, 3, 5, -15.0f, 440.0f, 0.707f);
    ops.applyBand(7, 4, 1, 0.1f, 1001.0f, 29.999f);
    ops.applyBand(7, 8, 3, 0.0f, 99.0f, 1.0f);
    ops.applyBand(0, 9, 1, -0.1f, 16000.0f, 4.0f);
    for (int eqId = 0; eqId < kEqCount; ++eqId) {
        const std::string text = exportEqFilterText(*source, eqId);
        auto target = factoryImage();
        RecordingSink unused;
        for (int b = 0; b < userBandCount(eqId); ++b) { // the target starts from something else
            BandOps(*target, unused).applyBand(eqId, b, 5, 7.0f, 777.0f, 1.5f);
        }
        const std::array<int, 1> id{eqId};
        const EqImportResult r = importEqFilterText(text, id, *target, unused);
        ASSERT_TRUE(r.ok()) << "eqId " << eqId << ":\n" << text;
        EXPECT_TRUE(r.warnings.empty()) << "eqId " << eqId << ":\n" << text;
        const int users = userBandCount(eqId);
        EXPECT_TRUE(std::equal(recordOf(*source, eqId, 0), recordOf(*source, eqId, users),
                               recordOf(*target, eqId, 0)))
            << "eqId " << eqId << ":\n"
            << text;
        // Exporting again writes the same text.
        EXPECT_EQ(exportEqFilterText(*target, eqId), text);
    }
    const std::string ch1 = exportEqFilterText(*source, 7);
    EXPECT_EQ(ch1.substr(0, ch1.find("Filter 4")),
              "Filter 1: OFF PK Fc 12345 Hz Gain -3.7 dB Q 1.414\n"
              "Filter 2: ON LPQ Fc 20 Hz Q 0.10\n"
              "Filter 3: ON LSC Fc 20000 Hz Gain 15.0 dB Q 2.00\n");
    EXPECT_EQ(exportEqFilterText(*source, 99), "");
}

TEST(EqFilterText, ImportFillsTheUserBandsOfEveryLinkedChannelAndNothingElse) {
    auto image = factoryImage();
    RecordingSink setup;
    BandOps ops(*image, setup);
    // Crossover and delay split bands that must survive.
    for (int eqId = 7; eqId < 15; ++eqId) {
        for (int b = 9; b < 15; ++b) {
            ops.applyBand(eqId, b, 6 + b % 4, 0.0f, 3000.0f + float(b), 0.5f);
        }
    }
    const auto before = image->eqBands;
    const std::array<int, 8> linked{9, 7, 8, 10, 11, 12, 13, 14};
    RecordingSink sink;
    const EqImportResult r = importEqFilterText(
        "Filter 1: ON PK Fc 63 Hz Gain -5.0 dB Q 4.00\nFilter 2: ON HSC Fc 9000 Hz Gain 2.5 dB "
        "Q 0.80\n",
        linked, *image, sink);
    ASSERT_TRUE(r.ok());

    // What applyBand sends, band by band, each band to the channels in the order given.
    auto expectedImage = factoryImage();
    expectedImage->eqBands = before;
    RecordingSink expected;
    BandOps reference(*expectedImage, expected);
    for (int b = 0; b < 9; ++b) {
        for (const int eqId : linked) {
            const EqBand flat = flatBand(eqId, b);
            const EqBand v = b == 0   ? EqBand{-5.0f, 63.0f, 4.0f, 1}
                             : b == 1 ? EqBand{2.5f, 9000.0f, 0.8f, 5}
                                      : flat;
            reference.applyBand(eqId, b, v.type, v.gainDb, v.freqHz, v.q);
        }
    }
    EXPECT_EQ(sink.reports(), expected.reports());
    EXPECT_EQ(sink.reports().size(), 9u * 8u * 2u);
    EXPECT_EQ(image->eqBands, expectedImage->eqBands);
    for (const int eqId : linked) {
        // Bands 9-14 byte for byte what they were; the rest flat at its reset frequency.
        const auto offset = recordOf(*image, eqId, 9) - image->eqBands.begin();
        EXPECT_TRUE(std::equal(image->eqBands.begin() + offset,
                               image->eqBands.begin() + offset + 6 * 7, before.begin() + offset));
        EXPECT_EQ(storedBand(*image, eqId, 4).freqHz, 500.0f);
        EXPECT_EQ(storedBand(*image, eqId, 1).type, 5);
    }
}

TEST(EqFilterText, TooManyFiltersAreRefusedSayingHowManyFit) {
    const auto textOf = [](int n) {
        std::string text;
        for (int i = 1; i <= n; ++i) {
            text += "Filter " + std::to_string(i) + ": ON PK Fc " + std::to_string(100 * i) +
                    " Hz Gain 1.0 dB Q 1.00\n";
        }
        return text;
    };
    const int expectedUserBands[kEqCount] = {10, 10, 7, 7, 7, 7, 10, 9, 9, 9, 9, 9, 9, 9, 9};
    for (int eqId = 0; eqId < kEqCount; ++eqId) {
        ASSERT_EQ(userBandCount(eqId), expectedUserBands[eqId]);
        const int fit = expectedUserBands[eqId];
        auto image = factoryImage();
        const std::array<int, 1> id{eqId};
        RecordingSink sink;
        const EqImportResult refused = importEqFilterText(textOf(fit + 1), id, *image, sink);
        ASSERT_FALSE(refused.ok()) << eqId;
        EXPECT_EQ(refused.refusal->issue, Issue::TooManyFilters);
        EXPECT_EQ(englishText(*refused.refusal),
                  std::to_string(fit + 1) + " filters do not fit: this equaliser takes at most " +
                      std::to_string(fit));
        EXPECT_TRUE(sink.reports().empty());
        EXPECT_EQ(image->eqBands, factoryImage()->eqBands);
        EXPECT_TRUE(importEqFilterText(textOf(fit), id, *image, sink).ok()) << eqId;
    }
    // Linked equalisers of different sizes take what the smallest takes; an unknown
    // id takes nothing.
    auto image = factoryImage();
    RecordingSink sink;
    const std::array<int, 2> mixed{6, 7};
    EXPECT_EQ(importEqFilterText(textOf(10), mixed, *image, sink).refusal->stored, 9);
    const std::array<int, 1> unknown{15};
    EXPECT_EQ(importEqFilterText(textOf(1), unknown, *image, sink).refusal->stored, 0);
    // A refused text sends nothing either.
    EXPECT_FALSE(importEqFilterText("Filter 1: ON BP Fc 1 Hz", mixed, *image, sink).ok());
    EXPECT_TRUE(sink.reports().empty());
}
