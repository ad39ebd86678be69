// The room layout page on an emulated processor: position edits, spins and drags on the
// plan write the layout and send the distance corrections of the outputs that drive the
// moved loudspeakers; room size, Center, Reset, the level sliders, Locate and the time
// alignment send exactly their reports, in order.
#include "OutputPageChecks.h"
#include "device/BigEndian.h"
#include "device/WireValue.h"
#include "pages/CDelayDlg.h"
#include "room/DistanceCorrection.h"
#include "room/RoomText.h"
#include "room/gui/CSSVCDlg.h"
#include "room/gui/CSSVolumePanel.h"
#include "widgets/CXBmpSlider.h"
#include "widgets/SpinButtons.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest/QTest>

#include <bit>
#include <cmath>
#include <memory>

using namespace quilo;
using namespace quilo::test;

namespace {

// The loudspeakers' outputs with every channel at its own location code: L is driven by
// CH 1, CEN by CH 6, R by CH 2, SBL by CH 3, SUB by CH 5, SBR by CH 4, SL and SR by CH 7, 8.
constexpr int kChannelOfSpeaker[8] = {0, 5, 1, 2, 4, 3, 6, 7};

RoomLayoutBlock blockOf(std::initializer_list<std::uint8_t> bytes) {
    RoomLayoutBlock b{};
    std::copy(bytes.begin(), bytes.end(), b.begin());
    return b;
}

struct RoomPage : ::testing::Test {
    PageHarness h{kEnglish};
    std::unique_ptr<CSSVCDlg> page;
    RoomGainBlock gains{}; // what the processor should hold

    void SetUp() override {
        for (int ch = 0; ch < 8; ++ch) {
            h.image->params.outLocation[ch] = ch;
        }
        ASSERT_TRUE(h.connect());
        takeReceived(h);
    }
    void make() {
        page = std::make_unique<CSSVCDlg>(*h.context);
        h.language.applyTable(page.get(), page->templateId());
        page->applyLanguage(kEnglish);
        page->refreshFromImage();
        page->resize(1024, 520);
        page->show();
    }
    std::vector<Report> layoutWrite(const RoomLayoutBlock& b) const {
        return buildWriteMemoryBlock(1285, b);
    }
    // The room compensation of `channel`: the whole gain block, then its six words.
    std::vector<Report> gain(int channel, float db) {
        writeU32(gains, static_cast<std::size_t>(channel) * 4, std::bit_cast<std::uint32_t>(db));
        const GainBlock words = gainBlock(db, GainBlockKind::OutputLevel);
        return concat({buildWriteMemoryBlock(1253, gains),
                       setParam(channel + 5, 29, {words.begin(), words.end()})});
    }
    std::vector<Report> correction(const RoomLayout& layout, int speaker) {
        return gain(kChannelOfSpeaker[speaker],
                    distanceCorrection(layout.listener, layout.speakers[speaker]).gainDb);
    }
    std::vector<Report> allCorrections(const RoomLayout& layout) {
        std::vector<Report> out;
        for (int k = 0; k < 8; ++k) {
            const auto one = correction(layout, k);
            out.insert(out.end(), one.begin(), one.end());
        }
        return out;
    }
    // After reports the test does not check: the gain block as the processor now holds it.
    void skipReports() {
        takeReceived(h);
        gains = h.image->roomGain;
    }
    QPoint pixelOf(int entry) const {
        const PixelPoint p = page->plan().plan().pixel(entry);
        return {p.x, p.y};
    }
};

} // namespace

TEST_F(RoomPage, PositionEditsAndSpinsWriteTheLayoutAndCorrectTheMovedLoudspeaker) {
    make();
    EXPECT_EQ(page->xEdit(1).text(), QStringLiteral("-1.0m"));
    EXPECT_EQ(page->widthEdit().text(), QStringLiteral("4m"));
    EXPECT_EQ(page->xSpin(1).position(), -10);
    EXPECT_EQ(page->xSpin(1).maximum(), 20);
    EXPECT_TRUE(takeReceived(h).empty());

    // 7 m in a 4 m wide room is taken to its edge.
    page->xEdit(1).setText(QStringLiteral("7"));
    QTest::keyClick(&page->xEdit(1), Qt::Key_Return);
    EXPECT_EQ(page->xEdit(1).text(), QStringLiteral("+2.0m"));
    EXPECT_EQ(page->yEdit(1).text(), QStringLiteral("+1.0m"));
    EXPECT_EQ(page->xSpin(1).position(), 20);
    EXPECT_EQ(page->plan().plan().position(1), (RoomPoint{2.0f, 1.0f}));
    const RoomLayoutBlock moved =
        blockOf({0x04, 0x04, 0x80, 0x80, 0x14, 0x0A, 0x80, 0x0A, 0x0A, 0x0A,
                 0x8A, 0x8A, 0x80, 0x8A, 0x0A, 0x8A, 0x85, 0x80, 0x05, 0x80});
    EXPECT_REPORTS(takeReceived(h),
                   concat({layoutWrite(moved), correction(page->editor().layout(), 0)}));
    EXPECT_EQ(h.image->roomLayout, moved);
    EXPECT_EQ(page->distanceText(0).text(), QStringLiteral("2.24m"));

    // A spin click moves a tenth and applies both boxes, without the Enter's spin update.
    page->ySpin(5).upButton()->click();
    EXPECT_EQ(page->yEdit(5).text(), QStringLiteral("-0.9m"));
    RoomLayoutBlock sub = moved;
    sub[13] = 0x89;
    EXPECT_REPORTS(takeReceived(h),
                   concat({layoutWrite(sub), correction(page->editor().layout(), 4)}));

    // The listener moves every correction, in loudspeaker order.
    page->yEdit(0).setText(QStringLiteral("-0.55"));
    QTest::keyClick(&page->yEdit(0), Qt::Key_Return);
    // Box, spin, plan and distances all take what the block keeps: -0.6 m.
    EXPECT_EQ(page->yEdit(0).text(), QStringLiteral("-0.6m"));
    EXPECT_EQ(page->ySpin(0).position(), -6);
    EXPECT_EQ(page->editor().layout().listener.y, -0.6f);
    RoomLayoutBlock listener = sub;
    listener[3] = 0x86;
    EXPECT_REPORTS(takeReceived(h),
                   concat({layoutWrite(listener), allCorrections(page->editor().layout())}));
    EXPECT_EQ(h.image->roomLayout, listener);

    // No output drives the SUB any more: moving it writes the layout alone.
    h.image->params.outLocation[4] = 0;
    page->xEdit(5).setText(QStringLiteral("+0.5m"));
    QTest::keyClick(&page->xEdit(5), Qt::Key_Return);
    RoomLayoutBlock silent = listener;
    silent[12] = 0x05;
    EXPECT_REPORTS(takeReceived(h), layoutWrite(silent));
}

TEST_F(RoomPage, DraggingOnThePlanShowsAndSendsEachPlacement) {
    make();
    CSSVolumePanel& plan = page->plan();
    const QPoint start = pixelOf(0);
    QTest::mousePress(&plan, Qt::LeftButton, Qt::NoModifier, start);
    // Picking the listener stores it where it is, writes the layout and corrects all eight.
    EXPECT_REPORTS(takeReceived(h), concat({layoutWrite(h.image->roomLayout),
                                            allCorrections(page->editor().layout())}));
    const PixelPoint target = plan.plan().geometry().toPixels({1.2f, -0.7f});
    QTest::mouseMove(&plan, QPoint(target.x, target.y));
    const RoomPoint placed = plan.plan().position(0);
    EXPECT_NEAR(placed.x, 1.2f, 0.02f);
    EXPECT_NEAR(placed.y, -0.7f, 0.02f);
    EXPECT_EQ(page->xEdit(0).text(), QString::fromStdString(positionText(placed.x)));
    EXPECT_EQ(page->ySpin(0).position(), positionSpinValue(placed.y));
    EXPECT_EQ(h.image->roomLayout[2], encodeRoomCoordinate(placed.x));
    EXPECT_REPORTS(takeReceived(h), concat({layoutWrite(h.image->roomLayout),
                                            allCorrections(page->editor().layout())}));
    // Dragged past the room's corner it stays on the edge.
    QTest::mouseMove(&plan, QPoint(plan.width() + 50, -50));
    QTest::mouseRelease(&plan, Qt::LeftButton, Qt::NoModifier, QPoint(plan.width() + 50, -50));
    EXPECT_EQ(plan.plan().position(0), (RoomPoint{2.0f, 2.0f}));
    EXPECT_EQ(page->xEdit(0).text(), QStringLiteral("+2.0m"));
    skipReports();

    // A loudspeaker corrects only itself.
    const QPoint sr = pixelOf(8);
    QTest::mousePress(&plan, Qt::LeftButton, Qt::NoModifier, sr);
    QTest::mouseRelease(&plan, Qt::LeftButton, Qt::NoModifier, sr);
    EXPECT_REPORTS(takeReceived(h), concat({layoutWrite(h.image->roomLayout),
                                            correction(page->editor().layout(), 7)}));

    // Center brings the listener back and corrects everything.
    page->center();
    EXPECT_EQ(page->xEdit(0).text(), QStringLiteral("+0.0m"));
    EXPECT_EQ(page->xSpin(0).position(), 0);
    EXPECT_EQ(plan.plan().position(0), (RoomPoint{}));
    EXPECT_REPORTS(takeReceived(h), concat({layoutWrite(h.image->roomLayout),
                                            allCorrections(page->editor().layout())}));
}

TEST_F(RoomPage, RoomSizeResetLevelsAndLocate) {
    h.state.locateChannel = 2;
    make();
    EXPECT_TRUE(page->locateBox(1).isChecked()); // the saved box, ticked without a report

    page->widthEdit().setText(QStringLiteral("12"));
    page->lengthEdit().setText(QStringLiteral("0m"));
    page->applyRoomSize();
    EXPECT_EQ(page->widthEdit().text(), QStringLiteral("10m"));
    EXPECT_EQ(page->lengthEdit().text(), QStringLiteral("1m"));
    EXPECT_EQ(page->xSpin(3).maximum(), 50);
    EXPECT_EQ(page->ySpin(3).minimum(), -5);
    RoomLayoutBlock sized = encodeRoomLayout(RoomLayout{});
    sized[0] = 10;
    sized[1] = 1;
    EXPECT_REPORTS(takeReceived(h), layoutWrite(sized)); // positions stay, so no correction
    page->widthSpin().downButton()->click();
    EXPECT_EQ(page->widthEdit().text(), QStringLiteral("9m"));
    sized[0] = 9;
    EXPECT_REPORTS(takeReceived(h), layoutWrite(sized));

    // Reset: 0 dB on all eight outputs, then the default layout, shown again.
    page->xEdit(2).setText(QStringLiteral("0.3"));
    QTest::keyClick(&page->xEdit(2), Qt::Key_Return);
    skipReports();
    page->reset();
    std::vector<Report> zeros;
    for (int ch = 0; ch < 8; ++ch) {
        const auto one = gain(ch, 0.0f);
        zeros.insert(zeros.end(), one.begin(), one.end());
    }
    EXPECT_REPORTS(takeReceived(h), concat({zeros, layoutWrite(encodeRoomLayout(RoomLayout{}))}));
    EXPECT_EQ(page->xEdit(2).text(), QStringLiteral("+0.0m"));
    EXPECT_EQ(page->widthEdit().text(), QStringLiteral("4m"));

    // Level sliders: 0-200 %, CH 5 and CH 6 up to 800 %.
    EXPECT_EQ(page->levelSlider(0).maximum(), 200);
    EXPECT_EQ(page->levelSlider(4).maximum(), 800);
    EXPECT_EQ(page->levelSlider(5).maximum(), 800);
    page->levelSlider(4).setPosition(799);
    QTest::keyClick(&page->levelSlider(4), Qt::Key_Right);
    QTest::keyClick(&page->levelSlider(4), Qt::Key_Right);
    EXPECT_EQ(h.image->params.outLevel[4], 800);
    EXPECT_EQ(page->levelLabel(4).text(), QStringLiteral("(CH-SUB)"));
    const auto levels = takeReceived(h);
    ASSERT_FALSE(levels.empty());
    EXPECT_REPORTS(std::vector<Report>{levels.back()}, setParam(9, 24, {encodePct(800)}));

    // Locate: one box at a time; the location code of its output goes out, 8 for none.
    page->locateBox(4).click();
    EXPECT_FALSE(page->locateBox(1).isChecked());
    EXPECT_EQ(h.state.locateChannel, 5);
    EXPECT_REPORTS(takeReceived(h), setParam(4, 34, {encodeInt(4)}));
    h.image->params.outLocation[6] = 1;
    page->locateBox(6).click();
    EXPECT_FALSE(page->locateBox(4).isChecked());
    EXPECT_REPORTS(takeReceived(h), setParam(4, 34, {encodeInt(1)}));
    page->locateBox(6).click();
    EXPECT_EQ(h.state.locateChannel, 0);
    EXPECT_REPORTS(takeReceived(h), setParam(4, 34, {encodeInt(8)}));
}

TEST_F(RoomPage, AlignDelaysSetsEachOutputSoThatEverySoundArrivesTogether) {
    RoomLayout room;
    room.roomWidth = 8;
    room.roomLength = 8;
    room.speakers[3] = {-3.0f, -3.0f}; // SBL, the farthest
    room.speakers[4] = {0.0f, -0.5f};  // SUB
    h.image->roomLayout = encodeRoomLayout(room);
    h.image->params.outLocation[7] = 9; // CH 8 drives no loudspeaker: keeps its delay
    h.image->params.outDelayMs[7] = 7.0f;
    make();

    const auto distance = [&](int k) {
        return distanceCorrection(room.listener, room.speakers[k]).distanceM;
    };
    const double farthest = distance(3);
    EXPECT_EQ(page->distanceText(3).text(), QStringLiteral("4.24m"));
    EXPECT_EQ(page->arrivalText(3).text(), QStringLiteral("0.0ms"));
    EXPECT_EQ(page->arrivalText(4).text(),
              QString::asprintf("%.1fms", -(farthest - distance(4)) / 343.0 * 1000.0));
    EXPECT_EQ(page->arrivalText(7).text(), QStringLiteral("—")); // SR: not driven

    page->alignButton().click();
    std::vector<Report> want;
    float delays[8] = {};
    for (int ch = 0; ch < 7; ++ch) {
        const int k = speakerOfLocation(ch);
        delays[ch] = static_cast<float>(1.5 + (farthest - distance(k)) / 343.0 * 1000.0);
        const auto one = setParam(ch + 5, 18, {encodeMs(delays[ch])});
        want.insert(want.end(), one.begin(), one.end());
    }
    EXPECT_REPORTS(takeReceived(h), want);
    EXPECT_FLOAT_EQ(h.image->params.outDelayMs[2], 1.5f);
    EXPECT_EQ(h.image->params.outDelayMs[7], 7.0f);
    page->alignButton().click();
    EXPECT_TRUE(takeReceived(h).empty()); // aligned already

    // The delay page shows what the alignment set.
    CDelayDlg delay(*h.context);
    delay.refreshFromImage();
    for (int ch = 0; ch < 7; ++ch) {
        EXPECT_EQ(delay.row(ch).edit->text(),
                  QString::asprintf("%.1fms", static_cast<double>(delays[ch])));
    }
}
