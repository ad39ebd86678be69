// The equaliser section on the program's real path to the processor: the
// user-interface thread's writer, the link and the emulated processor.
#include "EqSectionHarness.h"
#include "app/DeviceSession.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorTransport.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <span>

using namespace quilo;
using namespace quilo::test;

namespace {

struct EmulatedSection : ::testing::Test {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    std::unique_ptr<DeviceSession> session;
    EqCopySource copySource;
    std::unique_ptr<ChannelEqSection> section;

    template <typename F> auto processor(F&& f) {
        return session->emulatorTransport()->withEmulator(std::forward<F>(f));
    }

    void SetUp() override {
        image->resetToDefaults();
        SessionOptions o;
        o.emulate = true;
        session = std::make_unique<DeviceSession>(*image, o);
        ASSERT_TRUE(session->openLink());
        drain();
        processor([](Emulator& e) { e.clearLog(); });
    }
    void TearDown() override {
        section.reset();
        session->closeLink(false);
    }

    void make(EqSectionConfig config, int eqId) {
        section = std::make_unique<ChannelEqSection>(*image, session->uiSink(), std::move(config),
                                                     copySource);
        section->showEq(eqId);
    }
    // Waits until everything the section queued has reached the processor.
    void drain() {
        QElapsedTimer clock;
        clock.start();
        while (session->writer().queued() > 0 && clock.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        session->writer().flush();
    }
    EqBandRecord recordAt(std::span<const std::uint8_t> memory, int eqId, int band) const {
        const EqInfo eq = *eqInfo(eqId);
        const std::size_t at = bandAddress(eq.module, eq.firstBand + band);
        EqBandRecord r{};
        std::copy_n(memory.begin() + static_cast<std::ptrdiff_t>(at), r.size(), r.begin());
        return r;
    }
};

} // namespace

TEST_F(EmulatedSection, AnEditedCellReachesTheProcessorsMemoryAndFilter) {
    make(EqSectionConfig::music(), kMusicEqId);
    section->bandList().finishEdit(2, EqBandList::FreqColumn, QStringLiteral("2500"));
    section->bandList().finishEdit(2, EqBandList::GainColumn, QStringLiteral("-4.5"));
    drain();

    const std::vector<Report> got = processor([](Emulator& e) { return e.received(); });
    const EqBandState now = section->editor().band(2);
    EXPECT_EQ(now.frequency, 2500.0f);
    EXPECT_FLOAT_EQ(now.gain, -4.5f);
    // The last record and coefficients are exactly what applyBand sends for the band.
    const std::vector<Report> expected = applyBandReports(kMusicEqId, 2, now);
    ASSERT_GE(got.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), got.end() - expected.size()));

    // The processor keeps the same band record as the program's image.
    const std::vector<std::uint8_t> memory =
        processor([](Emulator& e) { return e.state().memory; });
    EXPECT_EQ(recordAt(memory, kMusicEqId, 2), recordAt(image->eqBands, kMusicEqId, 2));
    EXPECT_NE(recordAt(memory, kMusicEqId, 3), recordAt(image->eqBands, kMusicEqId, 2));
}

TEST_F(EmulatedSection, PasteOnAnOutputWritesTheCopiedBandsToTheProcessor) {
    make(EqSectionConfig::effects(), 4);
    section->bandList().finishEdit(0, EqBandList::FreqColumn, QStringLiteral("123"));
    section->onCopyPasteRequest(0, 4); // "Copy EQ" on echo A
    make(EqSectionConfig::output({}), 9);
    processor([](Emulator& e) { e.clearLog(); });
    section->onCopyPasteRequest(1, 9); // "Paste EQ" on CH 3
    drain();

    const std::vector<std::uint8_t> memory =
        processor([](Emulator& e) { return e.state().memory; });
    for (int band = 0; band < 7; ++band) {
        EXPECT_EQ(recordAt(memory, 9, band), recordAt(image->eqBands, 4, band)) << band;
    }
    EXPECT_EQ(section->editor().band(0).frequency, 123.0f);
    EXPECT_FALSE(processor([](Emulator& e) { return e.received(); }).empty());
}
