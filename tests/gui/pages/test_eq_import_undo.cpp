// The equaliser section's "Import…" and undo/redo of its edits on the program's real path to
// the emulated processor: the page context's sink, the writer thread and the link. Each user
// action is driven with the mouse and keyboard; the image and what the processor holds
// (parameter words and coefficients, band memory) are compared byte for byte.
#include "PageHarness.h"
#include "app/UndoController.h"
#include "emulator/EmulatorState.h"
#include "gui/widgets/EqPanelHarness.h"
#include "model/EqFilterText.h"
#include "model/ModeFile.h"
#include "pages/ChannelEqSection.h"
#include "pages/EqBandList.h"
#include "pages/EqFileTransfer.h"
#include "widgets/CEqPanel.h"
#include "widgets/CXBmpSlider.h"

#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>

using namespace quilo;
using namespace quilo::test;

namespace {

constexpr int kCh2 = 8; // EqId of output CH 2

struct State {
    std::vector<std::uint8_t> image; // the mode-file content of the image
    ParamMap params;
    std::vector<std::uint8_t> memory;
    bool operator==(const State&) const = default;
};

struct SectionOnProcessor : ::testing::Test {
    PageHarness h{kEnglish};
    std::vector<int> linked;
    std::unique_ptr<UndoController> undo;
    std::unique_ptr<ChannelEqSection> section;
    QTemporaryDir dir;

    void SetUp() override {
        ASSERT_TRUE(h.connect());
        // Read back (the processor's identity keeps the link open), then the processor holds
        // the whole image, so every value has a before.
        h.startPull({});
        h.settle();
        // A factory processor's band store reads blank: give it the program's default bands.
        DeviceImage defaults;
        defaults.resetToDefaults();
        h.image->eqBands = defaults.eqBands;
        h.startPush();
        h.settle();
        ASSERT_TRUE(h.session->linkOpen());
        undo = std::make_unique<UndoController>(*h.image, h.context->sink());
        QObject::connect(undo.get(), &UndoController::restored, [this] { section->reload(); });
        section = std::make_unique<ChannelEqSection>(
            *h.image, h.context->sink(), EqSectionConfig::output([this] { return linked; }),
            h.copySource);
        section->setPrompter(&h.prompter);
        section->resize(900, 360);
        section->showEq(kCh2);
        section->applyLanguage(kEnglish);
        section->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(section.get()));
    }
    void TearDown() override {
        section.reset();
        undo.reset();
    }

    State state() {
        h.settle();
        State s;
        s.image = encodeModeFile(captureModeContent(*h.image));
        h.processor([&](Emulator& e) {
            s.params = e.state().params;
            s.memory.assign(e.state().memory.begin(), e.state().memory.begin() + kModeMemorySize);
        });
        return s;
    }
    QString writeText(const char* text) {
        const QString path = dir.filePath(QStringLiteral("filters.txt"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return path;
    }
    // What Ctrl+Z and Ctrl+Shift+Z do (the program's shortcuts are tested with the program).
    void key(Qt::KeyboardModifiers modifiers) {
        if (modifiers & Qt::ShiftModifier) {
            undo->redo();
        } else {
            undo->undo();
        }
    }
    void dragSlider(int ctrlId) {
        CXBmpSlider& s = section->slider(ctrlId);
        const int y = s.height() / 2;
        QTest::mousePress(&s, Qt::LeftButton, {}, QPoint(s.width() / 2, y));
        for (int x : {s.width() / 3, s.width() / 4, s.width() / 5}) {
            QTest::mouseMove(&s, QPoint(x, y));
        }
        QTest::mouseRelease(&s, Qt::LeftButton, {}, QPoint(s.width() / 5, y));
    }
    void clickBand(double freq, double gain) {
        QTest::mouseClick(&section->editor(), Qt::LeftButton, {},
                          handlePoint(section->editor(), freq, gain));
    }
};

const char* const kRoomFilters = "Filter Settings file\r\n"
                                 "\r\n"
                                 "Preamp: -6.5 dB\r\n"
                                 "Filter 1: ON PK Fc 63 Hz Gain -5.0 dB Q 4.00\r\n"
                                 "Filter 2: ON PK Fc 125.5 Hz Gain 3.5 dB Q 1.20\r\n"
                                 "Filter 3: OFF PK Fc 250 Hz Gain 1.0 dB Q 2.00\r\n"
                                 "Filter 4: ON HSC Fc 8000 Hz Gain 2.0 dB Q 0.71\r\n"
                                 "Filter 5: ON LP Fc 30000 Hz\r\n";

} // namespace

TEST_F(SectionOnProcessor, EachUserActionIsOneStepTakenBackAndDoneAgainExactly) {
    struct Action {
        const char* name;
        std::vector<int> linked;
        std::function<void(SectionOnProcessor&)> act;
    };
    const Action actions[] = {
        {"gain slider drag of a band",
         {},
         [](SectionOnProcessor& t) {
             t.clickBand(250.0, 0.0); // band 4 selected; the press itself changes nothing
             t.dragSlider(ChannelEqSection::kGainSlider);
         }},
        {"band handle drag on CH 2 with CH 6 linked",
         {5},
         [](SectionOnProcessor& t) {
             CEqPanel& e = t.section->editor();
             const QPoint from = handlePoint(e, 1000.0, 0.0);
             QTest::mousePress(&e, Qt::LeftButton, {}, from);
             for (int d : {10, 25, 40}) {
                 QTest::mouseMove(&e, from + QPoint(d, -d));
             }
             QTest::mouseRelease(&e, Qt::LeftButton, {}, from + QPoint(40, -40));
         }},
        {"type radio on linked channels",
         {0, 5, 7},
         [](SectionOnProcessor& t) {
             t.clickBand(4000.0, 0.0);
             QTest::mouseClick(&t.section->typeRadio(4), Qt::LeftButton);
         }},
        {"import into linked channels",
         {2},
         [](SectionOnProcessor& t) {
             t.h.prompter.openNames.push_back(t.writeText(kRoomFilters));
             QTest::mouseClick(&t.section->importButton(), Qt::LeftButton);
         }},
    };
    for (const Action& a : actions) {
        SCOPED_TRACE(a.name);
        linked = a.linked;
        section->reload();
        undo->clear();
        const State before = state();
        a.act(*this);
        const State after = state();
        ASSERT_NE(after.params, before.params); // the processor got it
        ASSERT_NE(after.image, before.image);

        key(Qt::ControlModifier);
        EXPECT_TRUE(state() == before);
        EXPECT_FALSE(undo->canUndo()); // the whole action was one step
        key(Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(state() == after);
        EXPECT_FALSE(undo->canRedo());
        // The section shows what the image holds again.
        for (int b = 0; b < 9; ++b) {
            EXPECT_EQ(section->editor().band(b).frequency, h.context->bands().band(kCh2, b).freqHz);
        }
    }
}

TEST_F(SectionOnProcessor, ImportReachesEveryLinkedChannelOrChangesNothing) {
    const std::string huge = "Filter 1: ON PK Fc 100 Hz Gain 1.0 dB Q 1.00\n" +
                             std::string(EqFileTransfer::kMaxFileBytes, '#');
    struct Case {
        std::string text;
        const char* message; // the box shown, empty for none
        bool imported;
    };
    const Case cases[] = {
        {kRoomFilters, "Imported, with these changes:\nLine 3: preamp -6.5 dB not applied", true},
        {"Filter 1: ON PK Fc 100 Hz Gain 1.0 dB Q 1.00\n", "", true},
        {"Filter 1: ON BP Fc 100 Hz Gain 1.0 dB Q 1.00\n",
         "Line 1: the processor cannot do a filter of type \"BP\"", false},
        {"Filter: ON PK Fc 30 Hz Gain 1 dB Q 1\nFilter: ON PK Fc 40 Hz Gain 1 dB Q 1\n"
         "Filter: ON PK Fc 50 Hz Gain 1 dB Q 1\nFilter: ON PK Fc 60 Hz Gain 1 dB Q 1\n"
         "Filter: ON PK Fc 70 Hz Gain 1 dB Q 1\nFilter: ON PK Fc 80 Hz Gain 1 dB Q 1\n"
         "Filter: ON PK Fc 90 Hz Gain 1 dB Q 1\nFilter: ON PK Fc 95 Hz Gain 1 dB Q 1\n"
         "Filter: ON PK Fc 99 Hz Gain 1 dB Q 1\nFilter: ON PK Fc 120 Hz Gain 1 dB Q 1\n",
         "10 filters do not fit: this equaliser takes at most 9", false},
        {huge, "The file is too large to be a filter list", false},
    };
    linked = {5};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 200));
        h.prompter.shown.clear();
        const State before = state();
        h.processor([](Emulator& e) { e.clearLog(); });
        h.prompter.openNames.push_back(writeText(c.text.c_str()));
        QTest::mouseClick(&section->importButton(), Qt::LeftButton);
        const State after = state();

        const auto* box = h.prompter.last(QStringLiteral("message"));
        if (*c.message == 0) {
            EXPECT_EQ(box, nullptr);
        } else {
            ASSERT_NE(box, nullptr);
            EXPECT_TRUE(box->text.startsWith(QString::fromUtf8(c.message)))
                << box->text.toStdString();
        }
        if (!c.imported) {
            EXPECT_TRUE(after == before);
            EXPECT_TRUE(h.processor([](Emulator& e) { return e.received(); }).empty());
            continue;
        }
        const EqFilterText parsed = parseEqFilterText(c.text);
        for (int eq : {kCh2, kFirstOutputEqId + 5}) {
            const EqInfo info = *eqInfo(eq);
            for (int b = 0; b < 15; ++b) {
                const std::size_t at = bandAddress(info.module, info.firstBand + b);
                const auto record = [&](const std::vector<std::uint8_t>& m) {
                    return std::vector<std::uint8_t>(m.begin() + std::ptrdiff_t(at),
                                                     m.begin() + std::ptrdiff_t(at + 7));
                };
                // The processor keeps what the image holds; the crossover and delay split
                // bands are never touched.
                EXPECT_EQ(record(after.memory),
                          record(std::vector<std::uint8_t>(h.image->eqBands.begin(),
                                                           h.image->eqBands.end())))
                    << eq << " " << b;
                if (b >= 9) {
                    EXPECT_EQ(record(after.memory), record(before.memory)) << eq << " " << b;
                }
            }
            for (std::size_t b = 0; b < 9; ++b) {
                const EqBand want =
                    b < parsed.filters.size() ? parsed.filters[b].band : flatBand(eq, int(b));
                const EqBand got = h.context->bands().band(eq, int(b));
                EXPECT_EQ(got.type, want.type) << eq << " " << b;
                EXPECT_EQ(got.freqHz, want.freqHz) << eq << " " << b;
            }
        }
        EXPECT_EQ(section->editor().band(0).frequency,
                  parsed.filters.empty() ? 31.0f : parsed.filters[0].band.freqHz);
    }
}

TEST_F(SectionOnProcessor, ExportWritesWhatImportReadsBack) {
    h.prompter.openNames.push_back(writeText(kRoomFilters));
    QTest::mouseClick(&section->importButton(), Qt::LeftButton);
    const QString out = dir.filePath(QStringLiteral("ch2.txt"));
    h.prompter.saveNames.push_back(out);
    QTest::mouseClick(&section->exportButton(), Qt::LeftButton);
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("Filter 1: ON PK Fc 63 Hz Gain -5.0 dB Q 4.00\n")) << text.data();

    // The exported list into another channel gives the same bands.
    section->showEq(kFirstOutputEqId);
    h.prompter.openNames.push_back(out);
    QTest::mouseClick(&section->importButton(), Qt::LeftButton);
    for (int b = 0; b < 9; ++b) {
        const EqBand x = h.context->bands().band(kCh2, b);
        const EqBand y = h.context->bands().band(kFirstOutputEqId, b);
        EXPECT_EQ(std::tie(x.gainDb, x.freqHz, x.q, x.type),
                  std::tie(y.gainDb, y.freqHz, y.q, y.type))
            << b;
    }
    // A save that fails says so.
    h.prompter.saveNames.push_back(dir.filePath(QStringLiteral("no/such/folder/x.txt")));
    QTest::mouseClick(&section->exportButton(), Qt::LeftButton);
    ASSERT_NE(h.prompter.last(QStringLiteral("message")), nullptr);
    EXPECT_TRUE(h.prompter.last(QStringLiteral("message"))->text.startsWith("Cannot write"));
}
