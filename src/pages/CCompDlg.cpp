#include "pages/CCompDlg.h"

#include "app/PageContext.h"
#include "pages/OutputChannelRow.h"
#include "pages/OutputChannelText.h"
#include "pages/WheelForwarder.h"
#include "widgets/CCompressPanelPlus.h"
#include "widgets/CXBmpSlider.h"
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

constexpr int kSliderCount = 4;
// Slider ranges (minimum, maximum) and the positions before the first load.
constexpr int kRanges[kSliderCount][2] = {{-60, 0}, {10, 300}, {1, 100}, {1, 1000}};
constexpr int kInitial[kSliderCount] = {0, 10, 1, 100};
// Captions of the four sliders in the language table.
constexpr int kCaptionIds[kSliderCount] = {1005, 1007, 1006, 1002};
constexpr float kLowerCornerDb = -90.0f;

int indexOf(int ctrlId) {
    return std::clamp(ctrlId - CCompDlg::kThreshold, 0, kSliderCount - 1);
}

int clampedPosition(int index, float value) {
    if (!std::isfinite(value)) {
        return kRanges[index][0];
    }
    const float v = index == 1 ? value * 10.0f : value;
    return std::clamp(static_cast<int>(v), kRanges[index][0], kRanges[index][1]);
}

void tag(QWidget* w, int ctrlId) {
    w->setProperty("ctrlId", ctrlId);
    w->setObjectName(QStringLiteral("ctrl%1").arg(ctrlId));
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
    tag(group, kGroup);
    group->setFixedWidth(330);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(10, 14, 10, 10);
    grid->setVerticalSpacing(10);
    grid->setColumnStretch(1, 1);

    m_channels = new QComboBox(group);
    tag(m_channels, kChannelList);
    connect(m_channels, &QComboBox::activated, this, &CCompDlg::selectChannel);
    m_on = new QCheckBox(QStringLiteral("Comp ON"), group);
    tag(m_on, kCompOn);
    connect(m_on, &QCheckBox::clicked, this, &CCompDlg::onCompOn);
    grid->addWidget(m_channels, 0, 0, 1, 2);
    grid->addWidget(m_on, 0, 2);

    for (int i = 0; i < kSliderCount; ++i) {
        auto* caption = new QLabel(group);
        tag(caption, kCaptionIds[i]);
        auto* slider = new CXBmpSlider(group);
        slider->usePageStyle();
        slider->setFixedHeight(23);
        tag(slider, kThreshold + i);
        slider->setRange(kRanges[i][1], kRanges[i][0]);
        slider->setPosition(kInitial[i]);
        connect(slider, &CXBmpSlider::sliderChanged, this, &CCompDlg::onSliderChanged);
        auto* readout = new QLabel(group);
        tag(readout, kThresholdText + i);
        readout->setMinimumWidth(58);
        readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(caption, 1 + 2 * i, 0, 1, 3);
        grid->addWidget(slider, 2 + 2 * i, 0, 1, 2);
        grid->addWidget(readout, 2 + 2 * i, 2);
        m_sliders[static_cast<std::size_t>(i)] = slider;
        m_readouts[static_cast<std::size_t>(i)] = readout;
        showReadout(kThreshold + i, kInitial[i]);
    }
    grid->setRowStretch(1 + 2 * kSliderCount, 1);
    body->addWidget(group);

    m_panel = new CCompressPanelPlus(this);
    tag(m_panel, kPanel);
    m_panel->setLowerCorner(kLowerCornerDb);
    body->addWidget(m_panel, 1);

    m_wheel = new WheelForwarder(*this);
    for (CXBmpSlider* s : m_sliders) {
        m_wheel->addTarget(s);
    }
    m_channel = std::clamp(context.pageState().outputChannel, 0, 7);
    applyLanguage(context.language());
}

CXBmpSlider& CCompDlg::slider(int ctrlId) {
    return *m_sliders[static_cast<std::size_t>(indexOf(ctrlId))];
}

QLabel& CCompDlg::readout(int sliderCtrlId) {
    return *m_readouts[static_cast<std::size_t>(indexOf(sliderCtrlId))];
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
    const float values[kSliderCount] = {p.outCompThreshold[m_channel], p.outCompRatio[m_channel],
                                        p.outCompAttackMs[m_channel],
                                        p.outCompReleaseMs[m_channel]};
    for (int i = 0; i < kSliderCount; ++i) {
        const int pos = clampedPosition(i, values[i]);
        m_sliders[static_cast<std::size_t>(i)]->setPosition(pos);
        showReadout(kThreshold + i, pos);
    }
    const CompressorShape shape = compressorPageShape(values[0], values[1]);
    m_panel->setEnabledFlag(on ? 1 : 0);
    m_panel->setThreshold(shape.thresholdDb);
    m_panel->setHighSlope(shape.highSlope);
}

void CCompDlg::showReadout(int ctrlId, int position) {
    QString text;
    switch (ctrlId) {
    case kThreshold:
        text = QString::asprintf("%.0fdB", static_cast<double>(position));
        break;
    case kRatio:
        text = QString::asprintf("%.1f:1", position / 10.0);
        break;
    default:
        text = QString::asprintf("%.0fms", static_cast<double>(position));
        break;
    }
    readout(ctrlId).setText(text);
}

void CCompDlg::onCompOn(bool checked) {
    m_context.setters().set(&DspParams::outCompBypass, m_channel, checked ? 0 : 1);
    m_panel->setEnabledFlag(checked ? 1 : 0);
}

void CCompDlg::onSliderChanged(int ctrlId, int position) {
    showReadout(ctrlId, position);
    // The block carries all four values: the moved one replaced, the others as stored.
    const DspParams& p = m_context.image().params;
    float values[kSliderCount] = {p.outCompThreshold[m_channel], p.outCompRatio[m_channel],
                                  p.outCompAttackMs[m_channel], p.outCompReleaseMs[m_channel]};
    const int i = indexOf(ctrlId);
    values[i] = static_cast<float>(position) / (ctrlId == kRatio ? 10.0f : 1.0f);
    if (ctrlId == kThreshold) {
        m_panel->setThreshold(values[0]);
    } else if (ctrlId == kRatio) {
        m_panel->setHighSlope(1.0f / values[1]);
    }
    m_context.setters().setOutputCompressor(m_channel, values[0], values[1], values[2], values[3]);
}

} // namespace quilo
