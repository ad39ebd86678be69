#pragma once

#include "device/Command.h"
#include "device/RecordingSink.h"
#include "model/BandOps.h"
#include "model/DeviceImage.h"
#include "model/EqBand.h"
#include "pages/ChannelEqSection.h"
#include "pages/EqBandList.h"
#include "widgets/CEqPanel.h"

#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace quilo::test {

// One equaliser section on a fresh image; its reports are recorded. The copy source is the
// fixture's own, so tests do not see each other's copies.
struct EqSectionHarness {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    RecordingSink sink;
    EqCopySource copySource;
    std::vector<int> linked; // output channels ticked besides the current one
    std::unique_ptr<ChannelEqSection> section;

    EqSectionHarness() { image->resetToDefaults(); }

    ChannelEqSection& make(EqSectionConfig config, int eqId) {
        if (config.outputPage)
            config.linkedSet = [this] { return linked; };
        section = std::make_unique<ChannelEqSection>(*image, sink, std::move(config), copySource);
        section->resize(900, 330);
        section->showEq(eqId);
        section->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(section.get()));
        sink.clear();
        return *section;
    }

    // Writes a record straight into the band store, as a read-back would.
    void store(int eqId, int band, float gainDb, int freqHz, float q, int type) {
        const EqInfo eq = *eqInfo(eqId);
        const EqBandRecord rec = encodeBand(gainDb, freqHz, q, static_cast<std::uint8_t>(type));
        std::memcpy(image->eqBands.data() + bandAddress(eq.module, eq.firstBand + band), rec.data(),
                    rec.size());
    }
    EqBand stored(int eqId, int band) const {
        RecordingSink none;
        return BandOps(*image, none).band(eqId, band);
    }

    CEqPanel& editor() { return section->editor(); }
    EqBandList& list() { return section->bandList(); }
};

// What applyBand sends for these values, on a scratch image.
inline std::vector<Report> applyBandReports(int eqId, int band, const EqBandState& s) {
    DeviceImage scratch;
    RecordingSink rec;
    BandOps(scratch, rec).applyBand(eqId, band, s.filterType, s.gain, s.frequency, s.q, 0.0f);
    return rec.reports();
}

inline bool isCoefficients(const Report& r) {
    return r[1] == static_cast<std::uint8_t>(Command::SetParam) && r[5] == 5;
}
inline bool isBandWrite(const Report& r) {
    return r[1] == static_cast<std::uint8_t>(Command::WriteMemory);
}
// Store address of a band write.
inline int writeAddress(const Report& r) {
    return (r[2] << 8) | r[3];
}

} // namespace quilo::test
