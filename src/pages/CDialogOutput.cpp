#include "pages/CDialogOutput.h"

#include "dsp/EqBandSet.h"
#include "model/HfDelayBands.h"
#include "pages/ChannelEqSection.h"
#include "pages/ChannelPicture.h"
#include "pages/LocationNames.h"
#include "pages/OutputChannelRow.h"
#include "ui/BiText.h"
#include "ui/ControlTag.h"
#include "ui/PageContext.h"
#include "ui/WheelForwarder.h"
#include "widgets/CXBmpSlider.h"
#include "widgets/CompressorSliders.h"
#include "widgets/WidgetFonts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace quilo {

namespace {

constexpr int kChannels = 8;
constexpr int kColumnWidth = 88; // as far apart as the channel buttons above
constexpr int kColumnSpacing = 0;
constexpr int kSliderHeight = 18;
constexpr int kValueWidth = 56; // "1000ms", "3000Hz"

// Slider ranges.
constexpr int kLevelMax = 100;
constexpr int kDelayMin = 16; // tenths of a millisecond
constexpr int kDelayMax = 1000;

constexpr BiText kVolIsMute{"当前是静音状态", "vol is mute"};
constexpr BiText kPairQuestion{"通道参数不一致，是否需要同步？",
                               "Parameter is different, Is need set same?"};
constexpr BiText kBothSet{"以通道%1为标准同步", "Both set CH%1"};

// The Linked boxes that offer to equalise a pair, and their partners.
struct Pair {
    int first, second;
};
constexpr Pair kPairs[] = {{0, 1}, {2, 3}, {6, 7}};

int clampedPosition(double value, int minimum, int maximum) {
    if (std::isnan(value))
        return minimum;
    return static_cast<int>(std::clamp(std::lround(value), long{minimum}, long{maximum}));
}

QString levelText(int percent) {
    return QStringLiteral("%1%").arg(percent);
}
QString hfBandText(int index) {
    return QStringLiteral("%1Hz").arg(hfDelayLowHz(index));
}
QString delayText(double ms) {
    return QString::asprintf("%.1fms", ms);
}
} // namespace

CDialogOutput::CDialogOutput(PageContext& context, int channel, QWidget* parent)
    : Page(parent), m_context(context),
      m_edits(context.image(), context.setters(), context.bands()),
      m_channel(std::clamp(channel, 0, kChannels - 1)), m_language(context.language()) {
    setFont(songFont(12));
    setAutoFillBackground(true);

    m_row = new OutputChannelRow(context, PageKind::Output, this);
    connect(m_row, &OutputChannelRow::channelChosen, this, &CDialogOutput::selectChannel);

    m_eq = new ChannelEqSection(context.image(), context.sink(),
                                EqSectionConfig::output([this] { return linkedSet(); }),
                                context.eqCopySource(), this);
    m_eq->setPrompter(&context.prompter());

    m_picture = new ChannelPicture(this);
    m_picture->setFixedHeight(88);

    auto* left = new QVBoxLayout();
    left->setSpacing(6);
    left->addWidget(buildChannelColumns());
    auto* groups = new QHBoxLayout();
    groups->setSpacing(8);
    groups->addWidget(buildDelayGroup(), 1);
    groups->addWidget(buildCompressorGroup(), 1);
    left->addLayout(groups);

    auto* right = new QVBoxLayout();
    right->setSpacing(6);
    right->addWidget(m_picture);
    right->addWidget(buildLevels(), 1);

    auto* upper = new QHBoxLayout();
    upper->setSpacing(8);
    upper->addLayout(left);
    upper->addLayout(right, 1);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(6, 2, 6, 2);
    root->setSpacing(4);
    root->addWidget(m_row);
    root->addLayout(upper);
    root->addWidget(m_eq, 1);

    // The wheel reaches the focused slider wherever the pointer is on the page.
    m_wheel = new WheelForwarder(*this);
    for (CXBmpSlider* s : m_levelSliders)
        m_wheel->addTarget(s);
    for (const CompressorKnob knob : kAllCompressorKnobs)
        m_wheel->addTarget(&m_comp->slider(knob));
    m_wheel->addTarget(m_hfBand);
    m_wheel->addTarget(m_delay);
    for (QWidget* w : m_eq->wheelTargets())
        m_wheel->addTarget(w);

    context.pageState().outputChannel = m_channel;
    fillPositionBoxes();
    refreshFromImage();
}

CDialogOutput::~CDialogOutput() = default;

// --- building ---

CXBmpSlider* CDialogOutput::makeSlider(int ctrlId, int minimum, int maximum, QWidget* parent) {
    auto* s = new CXBmpSlider(parent);
    s->usePageStyle();
    s->setFixedHeight(kSliderHeight);
    s->setMinimumWidth(90);
    s->setRange(maximum, minimum);
    tagControl(s, ctrlId);
    connect(s, &CXBmpSlider::sliderChanged, this, &CDialogOutput::onSliderChanged);
    return s;
}

QLabel* CDialogOutput::makeLabel(int ctrlId, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    tagControl(l, ctrlId);
    return l;
}

QLabel* CDialogOutput::makeValueLabel(int ctrlId, const QString& text, QWidget* parent) {
    QLabel* l = makeLabel(ctrlId, text, parent);
    l->setFixedWidth(kValueWidth);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QWidget* CDialogOutput::buildLevels() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(4);
    grid->setHorizontalSpacing(6);
    static constexpr const char* kNames[4] = {"Direct", "Reverb", "Echo", "Music"};
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(makeLabel(kLevelNameIds[i], QString::fromLatin1(kNames[i]), box), i, 0);
        m_levelSliders[i] = makeSlider(kLevelSliderIds[i], 0, kLevelMax, box);
        m_levelSliders[i]->setPosition(0);
        grid->addWidget(m_levelSliders[i], i, 1);
        m_levelValues[i] = makeValueLabel(kLevelValueIds[i], levelText(0), box);
        grid->addWidget(m_levelValues[i], i, 2);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    return box;
}

QWidget* CDialogOutput::buildChannelColumns() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(kColumnSpacing);
    grid->setVerticalSpacing(2);
    for (int ch = 0; ch < kChannels; ++ch) {
        m_mute[ch] = new QCheckBox(QStringLiteral("Mute"), box);
        tagControl(m_mute[ch], kMuteIds[ch]);
        connect(m_mute[ch], &QCheckBox::clicked, this,
                [this, ch](bool checked) { m_edits.setMute(ch, checked); });

        m_phase[ch] = new QCheckBox(QStringLiteral("Phase 180°"), box);
        tagControl(m_phase[ch], kFirstPhaseId + ch);
        connect(m_phase[ch], &QCheckBox::clicked, this,
                [this, ch](bool checked) { m_edits.setPhase(ch, checked); });

        m_position[ch] = new QComboBox(box);
        tagControl(m_position[ch], kFirstPositionId + ch);
        m_position[ch]->setFixedWidth(kColumnWidth);
        connect(m_position[ch], &QComboBox::activated, this,
                [this, ch](int code) { m_edits.setLocation(ch, code); });

        m_linked[ch] = new QCheckBox(QStringLiteral("Linked"), box);
        tagControl(m_linked[ch], kLinkedIds[ch]);
        connect(m_linked[ch], &QCheckBox::clicked, this,
                [this, ch](bool checked) { onLinkedToggled(ch, checked); });

        for (QWidget* w : {static_cast<QWidget*>(m_mute[ch]), static_cast<QWidget*>(m_phase[ch]),
                           static_cast<QWidget*>(m_linked[ch])})
            w->setFixedWidth(kColumnWidth);
        grid->addWidget(m_mute[ch], 0, ch);
        grid->addWidget(m_phase[ch], 1, ch);
        grid->addWidget(m_position[ch], 2, ch);
        grid->addWidget(m_linked[ch], 3, ch);
    }
    box->setFixedWidth(kChannels * kColumnWidth + (kChannels - 1) * kColumnSpacing);
    return box;
}

QWidget* CDialogOutput::buildDelayGroup() {
    auto* group = new QGroupBox(this);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(8, 3, 8, 3);
    grid->setVerticalSpacing(4);

    m_delaySwitch = new QCheckBox(QStringLiteral("Delay Switch"), group);
    tagControl(m_delaySwitch, kDelaySwitchId);
    connect(m_delaySwitch, &QCheckBox::clicked, this, [this](bool on) {
        m_edits.setDelayOn(linkedSet(), on);
        applyDelayEnabling();
    });
    m_hfRadio = new QRadioButton(QStringLiteral("H.Freq Delay"), group);
    tagControl(m_hfRadio, kHfDelayRadioId);
    m_channelRadio = new QRadioButton(QStringLiteral("Channel delay"), group);
    tagControl(m_channelRadio, kChannelDelayRadioId);
    auto* modes = new QButtonGroup(group);
    modes->addButton(m_hfRadio, 0);
    modes->addButton(m_channelRadio, 1);
    connect(modes, &QButtonGroup::idClicked, this, &CDialogOutput::onDelayMode);
    m_hfRadio->setChecked(true);

    m_hfBand = makeSlider(kHfBandSliderId, 0, kHfDelayBandPairs - 1, group);
    m_hfBand->setPosition(0);
    m_hfBandLabel = makeValueLabel(kHfBandLabelId, hfBandText(0), group);
    m_delay = makeSlider(kDelaySliderId, kDelayMin, kDelayMax, group);
    m_delay->setPosition(kDelayMin);
    m_delayLabel = makeValueLabel(kDelayLabelId, delayText(kDelayMin / 10.0), group);

    auto* top = new QHBoxLayout();
    top->addWidget(m_delaySwitch);
    top->addStretch(1);
    top->addWidget(m_hfRadio);
    top->addWidget(m_channelRadio);
    grid->addLayout(top, 0, 0, 1, 2);
    grid->addWidget(m_hfBand, 1, 0);
    grid->addWidget(m_hfBandLabel, 1, 1);
    grid->addWidget(m_delay, 2, 0);
    grid->addWidget(m_delayLabel, 2, 1);
    grid->setColumnStretch(0, 1);
    return group;
}

QWidget* CDialogOutput::buildCompressorGroup() {
    auto* group = new QGroupBox(this);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(8, 3, 8, 3);
    grid->setVerticalSpacing(1);

    m_compSwitch = new QCheckBox(QStringLiteral("Compressor Switch"), group);
    tagControl(m_compSwitch, kCompSwitchId);
    connect(m_compSwitch, &QCheckBox::clicked, this,
            [this](bool on) { m_edits.setCompressorOn(linkedSet(), on); });
    grid->addWidget(m_compSwitch, 0, 0, 1, 3);

    static constexpr const char* kNames[4] = {"Threshold", "Decay ratio", "Attack time",
                                              "Release time"};
    m_comp = new CompressorSliders(
        kCompSliderIds, kCompValueIds, [this] { return m_edits.compressor(m_channel); }, group);
    connect(m_comp, &CompressorSliders::changed, this, [this](const CompressorSettings& c) {
        // Linked channels take all four values of this channel, not only the one that moved.
        m_edits.setCompressor(linkedSet(), c);
    });
    for (const CompressorKnob knob : kAllCompressorKnobs) {
        const int i = static_cast<int>(knob);
        grid->addWidget(makeLabel(kCompNameIds[i], QString::fromLatin1(kNames[i]), group), i + 1,
                        0);
        CXBmpSlider& s = m_comp->slider(knob);
        s.setFixedHeight(kSliderHeight);
        s.setMinimumWidth(90);
        grid->addWidget(&s, i + 1, 1);
        m_comp->readout(knob).setFixedWidth(kValueWidth);
        grid->addWidget(&m_comp->readout(knob), i + 1, 2);
    }
    grid->setColumnStretch(1, 1);
    return group;
}

CXBmpSlider& CDialogOutput::slider(int ctrlId) {
    if (CXBmpSlider* s = m_comp->sliderWithId(ctrlId))
        return *s;
    for (int i = 0; i < 4; ++i) {
        if (ctrlId == kLevelSliderIds[i])
            return *m_levelSliders[i];
    }
    return ctrlId == kHfBandSliderId ? *m_hfBand : *m_delay;
}

QLabel& CDialogOutput::label(int ctrlId) {
    if (QLabel* l = m_comp->readoutWithId(ctrlId))
        return *l;
    for (int i = 0; i < 4; ++i) {
        if (ctrlId == kLevelValueIds[i])
            return *m_levelValues[i];
    }
    return ctrlId == kHfBandLabelId ? *m_hfBandLabel : *m_delayLabel;
}

void CDialogOutput::fillPositionBoxes() {
    for (QComboBox* box : m_position) {
        const int kept = std::max(box->currentIndex(), 0);
        box->clear();
        for (const BiText& name : kLocationNames)
            box->addItem(name.pick(m_language));
        box->setCurrentIndex(box->count() > 0 ? kept : -1);
    }
}

// --- the page area's calls ---

void CDialogOutput::applyLanguage(int language) {
    m_language = language == kEnglish ? kEnglish : kChinese;
    m_eq->applyLanguage(m_language);
    m_picture->setChannel(m_channel, m_language);
    fillPositionBoxes();
    const QString tip = m_context.text(kTemplateId, kPositionTipId);
    for (QComboBox* box : m_position)
        box->setToolTip(tip);
}

void CDialogOutput::reselect() {
    selectChannel(m_context.pageState().outputChannel);
}

void CDialogOutput::selectChannel(int channel) {
    m_channel = std::clamp(channel, 0, kChannels - 1);
    m_context.pageState().outputChannel = m_channel;
    refreshFromImage();
}

std::vector<int> CDialogOutput::linkedSet() const {
    std::vector<int> set;
    for (int ch = 0; ch < kChannels; ++ch)
        if (ch == m_channel || m_linked[ch]->isChecked())
            set.push_back(ch);
    return set;
}

bool CDialogOutput::eqSwitch() const {
    return m_eq->eqSwitch();
}

void CDialogOutput::toggleEqSwitch() {
    m_eq->toggleEqSwitch();
}

void CDialogOutput::resetCurrentEq() {
    m_eq->resetCurrentEq();
}

void CDialogOutput::numberKey(int number) {
    // Left Ctrl with a digit picks that band of the curve; 0 the crossover.
    if (number >= 0 && number <= EqBandSet::kCrossoverSlot)
        m_eq->onBandPicked(number);
}

// --- refresh ---

void CDialogOutput::refreshFromImage() {
    m_picture->setChannel(m_channel, m_language);
    refreshLevels();
    m_eq->showEq(kFirstOutputEqId + m_channel);
    m_row->setCurrentChannel(m_channel);
    refreshColumns();
    refreshCompressor();
    refreshDelay();
}

void CDialogOutput::refreshLevels() {
    using Level = OutputChannelEdits::Level;
    for (int i = 0; i < 4; ++i) {
        const int value = m_edits.level(m_channel, static_cast<Level>(i));
        m_levelSliders[i]->setPosition(value);
        m_levelValues[i]->setText(levelText(m_levelSliders[i]->position()));
    }
}

void CDialogOutput::refreshColumns() {
    const DspParams& p = m_context.image().params;
    for (int ch = 0; ch < kChannels; ++ch) {
        m_linked[ch]->setVisible(ch != m_channel);
        m_mute[ch]->setChecked(p.outMute[ch] == 1);
        m_phase[ch]->setChecked(p.outPhase[ch] == 1);
        const int code = p.outLocation[ch];
        m_position[ch]->setCurrentIndex(code >= 0 && code < m_position[ch]->count() ? code : -1);
    }
}

void CDialogOutput::refreshCompressor() {
    const DspParams& p = m_context.image().params;
    m_compSwitch->setChecked(p.outCompBypass[m_channel] == 0);
    m_comp->show(m_edits.compressor(m_channel));
}

void CDialogOutput::refreshDelay() {
    const DspParams& p = m_context.image().params;
    const int index = m_edits.hfDelayBandIndex(m_channel);
    m_hfBand->setPosition(index);
    m_hfBandLabel->setText(hfBandText(index));
    const float ms = p.outDelayMs[m_channel];
    m_delay->setPosition(clampedPosition(ms * 10.0, kDelayMin, kDelayMax));
    m_delayLabel->setText(delayText(ms));
    m_delaySwitch->setChecked(p.outDelayBypass[m_channel] == 0);
    (p.outDelayMode[m_channel] == 1 ? m_channelRadio : m_hfRadio)->setChecked(true);
    applyDelayEnabling();
}

void CDialogOutput::applyDelayEnabling() {
    const bool on = m_delaySwitch->isChecked();
    const bool band = on && m_hfRadio->isChecked();
    m_hfRadio->setEnabled(on);
    m_channelRadio->setEnabled(on);
    m_hfBand->setEnabled(band);
    m_hfBandLabel->setEnabled(band);
    m_delayLabel->setEnabled(on);
}

// --- edits ---

void CDialogOutput::onSliderChanged(int ctrlId, int position) {
    for (int i = 0; i < 4; ++i) {
        if (ctrlId == kLevelSliderIds[i]) {
            onLevelMoved(i, position);
            return;
        }
    }
    if (ctrlId == kHfBandSliderId) {
        const int index = std::clamp(position, 0, kHfDelayBandPairs - 1);
        m_edits.setHfDelayBand(linkedSet(), index);
        m_hfBandLabel->setText(hfBandText(index));
    } else if (ctrlId == kDelaySliderId) {
        const float ms = static_cast<float>(std::clamp(position, kDelayMin, kDelayMax) / 10.0);
        m_delayLabel->setText(delayText(ms));
        if (ms != m_context.image().params.outDelayMs[m_channel])
            m_edits.setDelayMs(linkedSet(), ms);
    }
}

void CDialogOutput::onLevelMoved(int index, int position) {
    const int percent = std::clamp(position, 0, kLevelMax);
    m_edits.setLevel(linkedSet(), static_cast<OutputChannelEdits::Level>(index), percent);
    m_levelValues[index]->setText(levelText(percent));
    if (m_context.image().params.outMute[m_channel] == 1)
        m_context.notice(kVolIsMute.pick(m_language));
}

void CDialogOutput::onDelayMode(int mode) {
    m_edits.setDelayMode(linkedSet(), mode);
    applyDelayEnabling();
}

void CDialogOutput::onLinkedToggled(int channel, bool checked) {
    if (!checked)
        return;
    for (const Pair& pair : kPairs) {
        if (pair.first != channel || m_edits.pairsEqual(pair.first, pair.second))
            continue;
        const int answer = m_context.prompter().askChoice(
            this, kPairQuestion.pick(m_language), kBothSet.pick(m_language).arg(pair.first + 1),
            kBothSet.pick(m_language).arg(pair.second + 1));
        if (answer == 1) {
            m_edits.equalisePair(pair.first, pair.second);
        } else if (answer == 2) {
            m_edits.equalisePair(pair.second, pair.first);
        } else {
            m_linked[channel]->setChecked(false);
            return;
        }
        refreshFromImage();
    }
}

} // namespace quilo
