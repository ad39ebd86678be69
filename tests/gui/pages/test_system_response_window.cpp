// The system response window: live curves of the ticked outputs and the listener sum, what
// it says about outputs it cannot draw as asked, the read-out, the export and the way in.
#include "ToolWindowHarness.h"
#include "gui/ShotFile.h"
#include "pages/OutputChannelRow.h"
#include "pages/SystemResponseWindow.h"
#include "widgets/CGdipButton.h"
#include "widgets/ResponsePlot.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace quilo;
using namespace quilo::test;

namespace {

void tickOnly(SystemResponseWindow& w, std::initializer_list<int> outputs, bool listener) {
    for (int k = 0; k < 8; ++k) {
        auto& box = w.control<QCheckBox>(SystemResponseWindow::kFirstOutputBox + k);
        const bool want = std::find(outputs.begin(), outputs.end(), k) != outputs.end();
        if (box.isChecked() != want) {
            box.click();
        }
    }
    auto& sum = w.control<QCheckBox>(SystemResponseWindow::kListenerBox);
    if (sum.isChecked() != listener) {
        sum.click();
    }
}

// Every output flat, undelayed and sounding, as the user would set it up.
void flatOutputs(ToolWindowHarness& h) {
    for (int ch = 0; ch < 8; ++ch) {
        h.context->bands().resetEq(kFirstOutputEqId + ch);
        h.context->setters().set(&DspParams::outDelayBypass, ch, 1);
        h.context->setters().set(&DspParams::outMute, ch, 0);
        h.context->setters().set(&DspParams::outLevel, ch, 100);
        h.context->setters().set(&DspParams::outPhase, ch, 0);
    }
}

double magnitudeAt(SystemResponseWindow& w, std::size_t curve, double freqHz) {
    const ShownCurves& shown = w.plot().shown();
    if (curve >= shown.curves.size()) {
        return 1e9;
    }
    const int i = nearestPoint(shown.freqs, freqHz);
    return shown.curves[curve].points[static_cast<std::size_t>(i)].magnitudeDb;
}

} // namespace

TEST(SystemResponseWindow, RedrawsWhileAnOutputIsEdited) {
    ToolWindowHarness h;
    flatOutputs(h);
    auto& w = h.open<SystemResponseWindow>(ToolWindowId::SystemResponse);
    tickOnly(w, {0}, false);
    ASSERT_EQ(w.plot().shown().curves.size(), 1u);
    EXPECT_NEAR(magnitudeAt(w, 0, 1000.0), 0.0, 1e-6);

    h.context->bands().applyBand(kFirstOutputEqId, 0, Peaking, 6.0f, 1000.0f, 1.414f);
    EXPECT_TRUE(waitFor([&] { return std::abs(magnitudeAt(w, 0, 1000.0) - 6.0) < 1e-6; }));
    h.context->setters().set(&DspParams::outMute, 0, 1);
    EXPECT_TRUE(waitFor([&] { return magnitudeAt(w, 0, 1000.0) == kSilenceDb; }));
    // An edit of an output that is not ticked redraws too, but changes nothing shown.
    h.context->setters().set(&DspParams::outMute, 0, 0);
    EXPECT_TRUE(waitFor([&] { return std::abs(magnitudeAt(w, 0, 1000.0) - 6.0) < 1e-6; }));

    // Ticking a second output and the sum adds their curves in order, the sum last.
    tickOnly(w, {0, 2}, true);
    const ShownCurves& shown = w.plot().shown();
    ASSERT_EQ(shown.curves.size(), 3u);
    EXPECT_EQ(shown.curves[0].source, 0);
    EXPECT_EQ(shown.curves[1].source, 2);
    EXPECT_EQ(shown.curves[2].source, kListenerCurve);
}

TEST(SystemResponseWindow, NamesOutputsItCannotDrawAsAskedInBothLanguages) {
    ToolWindowHarness h(kChinese);
    flatOutputs(h);
    h.image->params.outLocation[3] = 99; // on no loudspeaker of the room page
    h.context->setters().set(&DspParams::outDelayBypass, 1, 0);
    h.context->setters().set(&DspParams::outDelayMode, 1, 0);
    auto& w = h.open<SystemResponseWindow>(ToolWindowId::SystemResponse);
    tickOnly(w, {0, 1, 3}, true);
    EXPECT_TRUE(w.notes().contains(QStringLiteral("CH 4"))) << w.notes().toStdString();
    EXPECT_TRUE(w.notes().contains(QStringLiteral("CH 2: 延时未计入"))) << w.notes().toStdString();
    h.language.set(kEnglish);
    EXPECT_TRUE(w.notes().contains(QStringLiteral("left out of the sum: CH 4")))
        << w.notes().toStdString();
    EXPECT_TRUE(w.notes().contains(QStringLiteral("CH 2: delay not modelled")));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("System response"));

    tickOnly(w, {0}, true);
    EXPECT_TRUE(w.notes().isEmpty()) << w.notes().toStdString();
}

TEST(SystemResponseWindow, ReadsOutUnderTheMouseAndExportsTheShownCurves) {
    ToolWindowHarness h(kEnglish);
    flatOutputs(h);
    auto& w = h.open<SystemResponseWindow>(ToolWindowId::SystemResponse);
    tickOnly(w, {0, 4}, true);
    const QStringList lines = w.plot().readoutAt(w.plot().width() / 2.0);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("Hz"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("CH 1  "))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("CH 5  ")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("Listener  ")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" dB")));
    w.setView(ResponseView::GroupDelay);
    EXPECT_TRUE(w.plot().readoutAt(w.plot().width() / 2.0)[1].endsWith(QStringLiteral(" ms")));
    EXPECT_TRUE(w.plot().readoutAt(0.0).isEmpty()); // left of the plot

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("curves.txt"));
    h.prompter.saveNames.push_back(file);
    w.control<QPushButton>(SystemResponseWindow::kExportButton).click();
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(in.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 242);
    EXPECT_EQ(rows[0], QStringLiteral("# FREQ_HZ CH1_DB CH1_DEG CH1_MS CH5_DB CH5_DEG CH5_MS "
                                      "listener_DB listener_DEG listener_MS"));
    for (int i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].split(' ').size(), 10) << rows[i].toStdString();
    }
    const auto kilohertz = std::find_if(rows.begin(), rows.end(), [](const QString& r) {
        return r.startsWith(QStringLiteral("1000 "));
    });
    ASSERT_NE(kilohertz, rows.end());
    EXPECT_EQ(kilohertz->split(' ')[1], QStringLiteral("0")); // CH 1 is flat
}

TEST(SystemResponseWindow, OpensFromTheResponseButtonOfTheOutputPages) {
    for (PageKind page :
         {PageKind::Output, PageKind::Compressor, PageKind::Delay, PageKind::RoomLayout}) {
        PageHarness h;
        OutputChannelRow row(*h.context, page);
        row.show();
        auto* button = row.findChild<CGdipButton*>(
            QStringLiteral("ctrl%1").arg(OutputChannelRow::kResponseId));
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_EQ(h.windowsOpened.size(), 1u);
        EXPECT_EQ(h.windowsOpened[0], ToolWindowId::SystemResponse);
    }
}

// With QUILO_SHOTS=DIR: the magnitude view of four outputs of a small system and their sum.
TEST(SystemResponseWindow, Screenshots) {
    for (const int lang : {kChinese, kEnglish}) {
        ToolWindowHarness h(lang);
        flatOutputs(h);
        BandOps& bands = h.context->bands();
        for (const int ch : {0, 1, 2}) {
            bands.applyBand(kFirstOutputEqId + ch, 9, ButterworthHighPass, 0.0f, 90.0f, 1.0f);
            bands.applyBand(kFirstOutputEqId + ch, 10, ButterworthHighPass, 0.0f, 90.0f, 1.0f);
        }
        bands.applyBand(kFirstOutputEqId, 0, Peaking, -4.0f, 2500.0f, 2.0f);
        bands.applyBand(kFirstOutputEqId + 1, 0, HighShelf, 3.0f, 6000.0f, 0.7f);
        bands.applyBand(kFirstOutputEqId + 4, 9, ButterworthLowPass, 0.0f, 90.0f, 1.0f);
        bands.applyBand(kFirstOutputEqId + 4, 10, ButterworthLowPass, 0.0f, 90.0f, 1.0f);
        h.context->setters().set(&DspParams::outDelayBypass, 4, 0);
        h.context->setters().set(&DspParams::outDelayMode, 4, 1);
        h.context->setters().set(&DspParams::outDelayMs, 4, 2.0);
        auto& w = h.open<SystemResponseWindow>(ToolWindowId::SystemResponse);
        tickOnly(w, {0, 1, 2, 4}, true);
        w.resize(1200, 700);
        w.plot().hoverAt(w.plot().width() * 0.3);
        EXPECT_EQ(w.plot().shown().curves.size(), 5u);
        shoot(&w, lang == kChinese ? QStringLiteral("system_response_zh")
                                   : QStringLiteral("system_response_en"));
    }
}
