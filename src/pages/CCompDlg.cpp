#include "pages/CCompDlg.h"

#include "pages/OutputChannelRow.h"
#include "pages/OutputChannelText.h"
#include "ui/ControlTag.h"
#include "ui/PageContext.h"
#include "ui/WheelForwarder.h"
#include "widgets/CCompressPanelPlus.h"
#include "widgets/CXBmpSlider.h"
#include "widgets/CompressorSliders.h"
#include "widgets/WidgetFonts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace quilo {

namespace {

// Captions of the four sliders in the language table.
constexpr int kCaptionIds[kCompressorKnobs] = {1005, 1007, 1006, 1002};
constexpr float kLowerCornerDb = -90.0f;

CompressorSettings storedCompressor(const DspParams& p, int ch) {
    return {p.outCompThreshold[ch], p.outCompRatio[ch], p.outCompAttackMs[ch],
            p.outCompReleaseMs[ch]};
}

} // namespace

CCompDlg::CCompDlg(PageContext& context, QWidget* parent) : Page(parent), m_context(context) {
    setFont(songFont(12));
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 6, 8, 8);
    root->setSpacing(8);
    m_row = new OutputChannelRow(context, PageKind::Compressor, this);
    root->addWidget(m_row);

    auto* body = new QHBoxLayout();
    body->setSpacing(12);
    root->addLayout(body, 1);

    auto* group = new QGroupBox(QStringLiteral("Compressor"), this);
    tagControl(group, kGroup);
    group->setFixedWidth(330);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(10, 14, 10, 10);
    grid->setVerticalSpacing(10);
    grid->setColumnStretch(1, 1);

    m_channels = new QComboBox(group);
    tagControl(m_channels, kChannelList);
    connect(m_channels, &QComboBox::activated, this, &CCompDlg::selectChannel);
    m_on = new QCheckBox(QStringLiteral("Comp ON"), group);
    tagControl(m_on, kCompOn);
    connect(m_on, &QCheckBox::clicked, this, &CCompDlg::onCompOn);
    grid->addWidget(m_channels, 0, 0, 1, 2);
    grid->addWidget(m_on, 0, 2);

    m_sliders = new CompressorSliders(
        {kThreshold, kRatio, kAttack, kRelease},
        {kThresholdText, kThresholdText + 1, kThresholdText + 2, kThresholdText + 3},
        [this] { return storedCompressor(m_context.image().params, m_channel); }, group);
    connect(m_sliders, &CompressorSliders::changed, this, &CCompDlg::onCompressorChanged);
    for (const CompressorKnob knob : kAllCompressorKnobs) {
        const int i = static_cast<int>(knob);
        auto* caption = new QLabel(group);
        tagControl(caption, kCaptionIds[i]);
        CXBmpSlider& slider = m_sliders->slider(knob);
        slider.setFixedHeight(23);
        QLabel& readout = m_sliders->readout(knob);
        readout.setMinimumWidth(58);
        grid->addWidget(caption, 1 + 2 * i, 0, 1, 3);
        grid->addWidget(&slider, 2 + 2 * i, 0, 1, 2);
        grid->addWidget(&readout, 2 + 2 * i, 2);
    }
    grid->setRowStretch(1 + 2 * kCompressorKnobs, 1);
    body->addWidget(group);

    m_panel = new CCompressPanelPlus(this);
    tagControl(m_panel, kPanel);
    m_panel->setLowerCorner(kLowerCornerDb);
    body->addWidget(m_panel, 1);

    m_wheel = new WheelForwarder(*this);
    for (const CompressorKnob knob : kAllCompressorKnobs) {
        m_wheel->addTarget(&m_sliders->slider(knob));
    }
    m_channel = std::clamp(context.pageState().outputChannel, 0, 7);
    applyLanguage(context.language());
}

CXBmpSlider& CCompDlg::slider(int ctrlId) {
    CXBmpSlider* s = m_sliders->sliderWithId(ctrlId);
    return s ? *s : m_sliders->slider(CompressorKnob::Threshold);
}

QLabel& CCompDlg::readout(int sliderCtrlId) {
    QLabel* r = m_sliders->readoutWithId(sliderCtrlId - kThreshold + kThresholdText);
    return r ? *r : m_sliders->readout(CompressorKnob::Threshold);
}

void CCompDlg::applyLanguage(int language) {
    fillChannelList(*m_channels, language);
    m_channels->setCurrentIndex(m_channel);
}

void CCompDlg::refreshFromImage() {
    selectChannel(m_channel);
}

void CCompDlg::selectChannel(int channel) {
    m_channel = std::clamp(channel, 0, 7);
    m_context.pageState().outputChannel = m_channel;
    m_channels->setCurrentIndex(m_channel);
    m_row->setCurrentChannel(m_channel);
    const DspParams& p = m_context.image().params;
    const bool on = p.outCompBypass[m_channel] == 0;
    m_on->setChecked(on);
    const CompressorSettings stored = storedCompressor(p, m_channel);
    m_sliders->show(stored);
    const CompressorShape shape = compressorPageShape(stored.thresholdDb, stored.ratio);
    m_panel->setEnabledFlag(on ? 1 : 0);
    m_panel->setThreshold(shape.thresholdDb);
    m_panel->setHighSlope(shape.highSlope);
}

void CCompDlg::onCompOn(bool checked) {
    m_context.setters().set(&DspParams::outCompBypass, m_channel, checked ? 0 : 1);
    m_panel->setEnabledFlag(checked ? 1 : 0);
}

void CCompDlg::onCompressorChanged(const CompressorSettings& c) {
    const CompressorShape shape = compressorPageShape(c.thresholdDb, c.ratio);
    m_panel->setThreshold(shape.thresholdDb);
    m_panel->setHighSlope(shape.highSlope);
    m_context.setters().setOutputCompressor(m_channel, c.thresholdDb, c.ratio, c.attackMs,
                                            c.releaseMs);
}

} // namespace quilo
