// Renders the editors and controls in their main states. With QUILO_SHOTS=DIR every
// picture is written to DIR as a PNG for a person to look at (run once more with
// QT_SCALE_FACTOR=2 for the high-density look); without it each picture is only checked
// to come out at the widget's size with something drawn in it.
#include "EqPanelHarness.h"
#include "device/RecordingSink.h"
#include "model/EqBand.h"
#include "pages/ChannelEqSection.h"
#include "pages/EqBandList.h"
#include "ui/LanguageTable.h"
#include "widgets/CGdipButton.h"
#include "widgets/CPeakMeterCtrl.h"
#include "widgets/CSmallEqPanel.h"
#include "widgets/CXBmpSlider.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEnterEvent>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

bool hasContent(const QImage& img) {
    const QRgb first = img.pixel(0, 0);
    for (int y = 0; y < img.height(); y += 2)
        for (int x = 0; x < img.width(); x += 2)
            if (img.pixel(x, y) != first)
                return true;
    return false;
}

void shoot(QWidget& w, const QString& name) {
    const QPixmap pm = w.grab();
    const QImage img = pm.toImage();
    ASSERT_EQ(pm.deviceIndependentSize().toSize(), w.size()) << name.toStdString();
    ASSERT_TRUE(hasContent(img)) << name.toStdString();
    const QString dir = qEnvironmentVariable("QUILO_SHOTS");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    const qreal dpr = pm.devicePixelRatio();
    const QString suffix = dpr > 1.0 ? QStringLiteral("@%1x").arg(dpr) : QString();
    ASSERT_TRUE(img.save(QDir(dir).filePath(name + suffix + ".png"))) << name.toStdString();
}

void hoverOver(QWidget& w) {
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), w.mapToGlobal(QPointF(3, 3)));
    QApplication::sendEvent(&w, &enter);
}

// Pointer motion without buttons, sent straight to the widget so it lands on the same
// pixel at any scale factor.
void hoverAt(QWidget& w, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), w.mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &move);
}

void leave(QWidget& w) {
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(&w, &e);
}

const char* kTypeNames[6] = {"off", "peq", "lp", "hp", "ls", "hs"};

// A music equaliser with a little of everything.
void loadMusic(CEqPanel& panel) {
    panel.setPanelId(6);
    panel.setBandCount(10);
    const float gains[10] = {4.0f, 2.5f, -3.0f, 0.0f, -6.5f, 3.5f, 0.0f, 7.0f, -11.0f, 0.0f};
    for (int b = 0; b < 10; ++b)
        panel.setBandGain(b, gains[b]);
}

class Shots : public ::testing::Test {
protected:
    void SetUp() override {
        panel.resize(760, 330);
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
        loadMusic(panel);
    }
    MenuPanel panel;
};

TEST_F(Shots, EditorWithEachBandTypeSelectedAndHovered) {
    for (int language : {0, 1}) {
        panel.setLanguage(language);
        const QString lang = language == 1 ? "en" : "zh";
        for (int type = 1; type <= 5; ++type) {
            panel.setBandType(4, type);
            panel.setBandFrequency(4, type == 2 ? 6000.0f : type == 3 ? 120.0f : 500.0f);
            if (type == 1 || type >= 4)
                panel.setBandGain(4, -6.5f);
            panel.setSelectedBand(4);
            hoverAt(panel, QPoint(5, 5)); // nothing hovered
            shoot(panel, QString("eq_%1_selected_%2").arg(lang, kTypeNames[type]));
            const EqBandState& b = panel.band(4);
            hoverAt(panel, handlePoint(panel, b.frequency, b.gain));
            ASSERT_EQ(panel.hoverBand(), 4);
            panel.setSelectedBand(7);
            shoot(panel, QString("eq_%1_hovered_%2").arg(lang, kTypeNames[type]));
        }
    }
}

TEST_F(Shots, EditorTitlesBypassAndEmpty) {
    for (int language : {0, 1}) {
        panel.setLanguage(language);
        const QString lang = language == 1 ? "en" : "zh";
        panel.setBypass(true);
        shoot(panel, QString("eq_%1_bypass").arg(lang));
        panel.setBypass(false);
        panel.setPanelId(3);
        panel.setBandCount(7);
        shoot(panel, QString("eq_%1_reverb_flat").arg(lang));
    }
}

TEST_F(Shots, OutputCrossover) {
    for (int language : {0, 1}) {
        panel.setLanguage(language);
        const QString lang = language == 1 ? "en" : "zh";
        panel.setPanelId(9);
        panel.setBandCount(13);
        for (int b = 0; b < 13; ++b)
            panel.setBandType(b, Peaking);
        for (int b = 0; b < 9; ++b)
            panel.setBandFrequency(b, 40.0f * static_cast<float>(1 << (b / 2 + 1)) *
                                          (b % 2 ? 1.5f : 1.0f));
        panel.setBandGain(2, 5.0f);
        panel.setBandGain(5, -4.0f);
        panel.setBandFrequency(9, 50.0f);
        panel.setSelectedBand(9);
        panel.nextCommand = kEqCmdTypeBase + HighPass;
        const QPoint at = handlePoint(panel, 50.0, 0.0);
        press(panel, Qt::RightButton, at);
        release(panel, Qt::RightButton, at);
        ASSERT_EQ(panel.band(9).filterType, HighPassQ1307);
        hoverAt(panel, QPoint(5, 5));
        shoot(panel, QString("eq_%1_output_highpass").arg(lang));
        panel.applyCrossoverFamily(9, 10); // Chebyshev 12dB, high-pass kept
        shoot(panel, QString("eq_%1_output_chebyshev").arg(lang));
        panel.nextCommand = kEqCmdTypeBase + LowPass;
        const QPoint lp = handlePoint(panel, 50.0, 0.0);
        press(panel, Qt::RightButton, lp);
        release(panel, Qt::RightButton, lp);
        panel.setBandFrequency(9, 9000.0f);
        shoot(panel, QString("eq_%1_output_lowpass").arg(lang));
    }
}

TEST(ShotsSmall, Preview) {
    CSmallEqPanel small;
    small.resize(240, 96);
    small.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&small));
    leave(small);
    shoot(small, "small_flat");
    const float gains[7] = {6.0f, 3.0f, 0.0f, -4.0f, -2.0f, 5.0f, 8.0f};
    for (int b = 0; b < 7; ++b)
        small.setSmallBandGain(b, gains[b]);
    small.band(6).displayType = HighShelf;
    small.computeSmallBandCurve(6);
    shoot(small, "small_curve");
    small.setCurveColor(QColor::fromRgba(0xFF00DC00));
    hoverOver(small);
    shoot(small, "small_hover");
    leave(small);
    small.setCurveColor(QColor::fromRgba(0xFF646464));
    small.setDimmed(true);
    small.setPass(true);
    shoot(small, "small_pass_dimmed");
}

TEST(ShotsControls, SlidersButtonsMeters) {
    QWidget page;
    page.setAutoFillBackground(true);
    QPalette pal = page.palette();
    pal.setColor(QPalette::Window, QColor(240, 250, 255));
    page.setPalette(pal);
    page.resize(420, 250);

    CXBmpSlider* sliders[3];
    for (int i = 0; i < 3; ++i) {
        sliders[i] = new CXBmpSlider(&page);
        sliders[i]->usePageStyle();
        sliders[i]->setGeometry(10, 10 + 30 * i, 200, 23);
        sliders[i]->setRange(150, -150);
        sliders[i]->setPosition(-150 + 120 * i);
    }
    sliders[2]->setEnabled(false);
    auto* vertical = new CXBmpSlider(&page, true);
    vertical->setPads(3, 2, 7, 7);
    vertical->setBackgroundColor(QColor::fromRgba(0xFFF0FAFF));
    vertical->setGeometry(220, 10, 23, 92);
    vertical->setRange(100, 0);
    vertical->setPosition(70);

    const char* texts[5] = {"音乐", "Mic CH A", "CH1", "通道2", "Music"};
    CGdipButton* buttons[5];
    for (int i = 0; i < 5; ++i) {
        buttons[i] = new CGdipButton(QString::fromUtf8(texts[i]), &page);
        buttons[i]->setGeometry(10 + 80 * i, 110, 74, 28);
    }
    buttons[1]->setCheckedState(true);
    buttons[4]->setEnabled(false);

    auto* meter = new CPeakMeterCtrl(&page);
    meter->setStyle(CPeakMeterCtrl::Horizontal);
    meter->setBandCount(1);
    meter->setLedCount(15);
    meter->setBackgroundColor(QColor(240, 250, 255));
    meter->setGeometry(10, 160, 225, 12);
    auto* meter2 = new CPeakMeterCtrl(&page);
    meter2->setBandCount(1);
    meter2->setLedCount(15);
    meter2->setBackgroundColor(QColor(240, 250, 255));
    meter2->setGeometry(10, 180, 225, 12);
    auto* column = new CPeakMeterCtrl(&page);
    column->setStyle(CPeakMeterCtrl::Vertical);
    column->setBandCount(2);
    column->setLedCount(12);
    column->setGeometry(260, 10, 30, 90);

    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    sliders[1]->setFocus();
    const int full[1] = {60};
    meter->setData(full);
    const int mid[1] = {44};
    meter2->setData(mid);
    for (int t = 0; t < 3; ++t)
        meter2->decayTick();
    const int pair[2] = {50, 20};
    column->setData(pair);
    for (int t = 0; t < 12; ++t)
        column->decayTick();
    leave(*buttons[0]);
    hoverOver(*buttons[2]);
    buttons[3]->setDown(true);
    shoot(page, "controls");
}

} // namespace

namespace {

// A page background with one equaliser section on it, labelled from the language table.
struct SectionPage {
    QWidget page;
    DeviceImage image;
    RecordingSink sink;
    EqCopySource copySource;
    ChannelEqSection* section = nullptr;

    SectionPage(EqSectionConfig config, int eqId, int language) {
        image.resetToDefaults();
        page.setAutoFillBackground(true);
        QPalette pal = page.palette();
        pal.setColor(QPalette::Window, QColor(240, 250, 255));
        page.setPalette(pal);
        const int templateId = config.templateId;
        section = new ChannelEqSection(image, sink, std::move(config), copySource, &page);
        auto* layout = new QVBoxLayout(&page);
        layout->setContentsMargins(8, 8, 8, 8);
        layout->addWidget(section);
        page.resize(960, 330);
        LanguageTable table;
        if (table.load(language))
            table.applyTable(&page, templateId);
        section->applyLanguage(language);
        store(eqId, 1, 4.5f, 62, 1.41f, Peaking);
        store(eqId, 2, -6.0f, 180, 2.5f, Peaking);
        store(eqId, 3, 3.0f, 400, 0.7f, LowShelf);
        store(eqId, 5, -3.5f, 1500, 4.0f, Peaking);
        section->showEq(eqId);
        page.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&page));
    }
    void store(int eqId, int band, float gain, int freq, float q, int type) {
        const EqInfo eq = *eqInfo(eqId);
        const EqBandRecord rec = encodeBand(gain, freq, q, static_cast<std::uint8_t>(type));
        std::copy(rec.begin(), rec.end(),
                  image.eqBands.begin() +
                      static_cast<std::ptrdiff_t>(bandAddress(eq.module, eq.firstBand + band)));
    }
};

} // namespace

TEST(ShotsSection, ListEditorCrossoverAndBypassInBothLanguages) {
    for (int language : {0, 1}) {
        const QString lang = language == 1 ? "en" : "zh";
        SectionPage out(EqSectionConfig::output({}), 8, language);
        ChannelEqSection& s = *out.section;
        shoot(out.page, QString("section_%1_output_list").arg(lang));

        s.editor().setSelectedBand(2);
        s.onBandPicked(2);
        shoot(out.page, QString("section_%1_editor_peq").arg(lang));
        s.editor().setSelectedBand(6);
        s.onBandPicked(6);
        s.typeRadio(LowPass).click();
        shoot(out.page, QString("section_%1_editor_lp").arg(lang));
        s.onBackgroundClicked();

        for (int slot = 9; slot <= 12; ++slot)
            out.store(8, slot, 0.0f, 90, 0.7f,
                      slot == 9    ? HighPassQ1
                      : slot == 10 ? FirstOrderHighPass
                                   : Peaking);
        s.reload();
        s.bandList().setCurrentCell(9, 0);
        s.onRowClicked(9);
        ASSERT_TRUE(s.crossoverCombo().isVisible());
        shoot(out.page, QString("section_%1_output_crossover_row").arg(lang));
        s.editor().setSelectedBand(9);
        s.onBandPicked(9);
        shoot(out.page, QString("section_%1_editor_crossover").arg(lang));
        s.editor().setSelectedBand(-1);
        s.onBackgroundClicked();

        s.toggleEqSwitch();
        shoot(out.page, QString("section_%1_bypass").arg(lang));
        EXPECT_EQ(out.page.size(), QSize(960, 330)) << "switching modes never grows the page";

        SectionPage music(EqSectionConfig::music(), kMusicEqId, language);
        shoot(music.page, QString("section_%1_music_list").arg(lang));
        SectionPage effects(EqSectionConfig::effects(), 4, language);
        effects.section->editor().setSelectedBand(3);
        effects.section->onBandPicked(3);
        shoot(effects.page, QString("section_%1_effects_editor_ls").arg(lang));
    }
}
