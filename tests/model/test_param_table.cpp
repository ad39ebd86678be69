// The parameter table against itself: the decoder finds each field where the
// setters send it, and the read-back asks for every field exactly once.
#include "model/DeviceImage.h"
#include "model/DspFields.h"
#include "model/ParamTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

using namespace quilo;

TEST(ParamTable, EveryFieldIsReadBackFromWhereItIsSentAndAskedForOnce) {
    std::map<std::pair<int, int>, int> asked;
    for (const ParamAddress& a : readBackRequests()) {
        const int times = ++asked[std::pair{a.module, a.param}];
        EXPECT_EQ(times, 1) << a.module << "/" << a.param;
    }
    std::set<std::string> readBack;
    for (const DspFieldInfo& f : dspFields()) {
        const ParamRow& row = *firstRowOfWord(f.firstWord);
        EXPECT_EQ(row.field.name, f.name);
        if (row.send == Send::StoreOnly) {
            continue;
        }
        for (int e = 0; e < row.field.elements; ++e) {
            const ParamAddress at = addressOf(row, e);
            const RowElement found = fieldRowAt(at.module, at.param);
            // A compressor's four fields share the parameter its threshold is read by.
            ASSERT_NE(found.row, nullptr) << f.name;
            EXPECT_EQ(found.element, e) << f.name;
            if (row.send != Send::Compressor) {
                EXPECT_EQ(found.row, &row) << f.name;
            }
            if (asked.count({at.module, at.param}) == 1) {
                readBack.insert(std::string(found.row->field.name));
            }
        }
    }
    // Everything but the store-only copy and the compressor fields read with
    // their threshold comes back under its own name.
    EXPECT_EQ(readBack.size() + 1 + 2 * 3, dspFields().size());
    EXPECT_EQ(readBack.count("outCompThreshold"), 1u);
    EXPECT_EQ(readBack.count("musicCompThreshold"), 1u);
}

TEST(ParamTable, BandStoreRunsFollowEachOtherAndHoldEveryEqualiser) {
    std::size_t next = 0;
    for (const BandStoreRun& run : kBandStoreRuns) {
        EXPECT_EQ(run.firstRecord, next) << int(run.module);
        next += run.records;
    }
    EXPECT_EQ(next, kEqBandRecords);
    for (const EqualiserRow& eq : kEqualiserTable) {
        const auto run = std::find_if(kBandStoreRuns.begin(), kBandStoreRuns.end(),
                                      [&](const BandStoreRun& r) { return r.module == eq.module; });
        ASSERT_NE(run, kBandStoreRuns.end());
        EXPECT_LE(eq.firstBand + eq.storedBands, run->records) << int(eq.module);
    }
}
