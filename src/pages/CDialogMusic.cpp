#include "pages/CDialogMusic.h"

#include "pages/ChannelEqSection.h"
#include "pages/EffectParamList.h"
#include "pages/EffectParamRows.h"
#include "pages/EqBandList.h"
#include "pages/MicInputStrip.h"
#include "pages/MusicPageIds.h"
#include "pages/SmallEqPreview.h"
#include "pages/StreamFormat.h"
#include "ui/ControlTag.h"
#include "ui/DialogLook.h"
#include "ui/PageContext.h"
#include "ui/WheelForwarder.h"
#include "widgets/CGdipButton.h"
#include "widgets/CPeakMeterCtrl.h"
#include "widgets/CSmallEqPanel.h"
#include "widgets/CXBmpSlider.h"
#include "widgets/WidgetFonts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace quilo {

using namespace music_ids;

namespace {

constexpr BiText kReverbMuted{"混响已静音", "Reverb vol is mute"};
constexpr BiText kEchoMuted{"回声已静音", "Echo vol is mute"};
constexpr const char* kChannelTexts[CDialogMusic::kChannelCount] = {"Mic CH A", "Mic CH B",
                                                                    "Music"};

// Echo times this short turn the echo into a doubling; the reverb pre-delay follows at ten
// times the echo time.
constexpr int kShortEchoMax = 6;
constexpr int kShortEchoMin = 2;
constexpr int kPredelayPerEchoMs = 10;

const QColor kListBackground(20, 20, 20);
const QColor kBandListText[CDialogMusic::kChannelCount] = {QColor(0, 200, 255), QColor(0, 220, 0),
                                                           QColor(255, 200, 0)};
const QColor kParamListText[2] = {QColor(0, 200, 255), QColor(0, 255, 0)};
const QColor kPreviewCurve[CDialogMusic::kChannelCount] = {
    QColor::fromRgba(0xFF00C8FF), QColor::fromRgba(0xFF00DC00), QColor::fromRgba(0xFF646464)};

constexpr int kPreviewWidth = 220;
constexpr int kPreviewHeight = 62;

} // namespace

CDialogMusic::CDialogMusic(PageContext& context, QWidget* parent)
    : Page(parent), m_context(context) {
    applyDialogLook(this);
    setFont(songFont(12));
    m_channel = std::clamp(context.pageState().musicChannel, 0, kChannelCount - 1);
    m_language = context.language();

    m_section = new ChannelEqSection(context.image(), context.sink(), EqSectionConfig::music(),
                                     context.eqCopySource(), this);
    m_section->setPrompter(&context.prompter());

    auto* top = new QHBoxLayout();
    top->setSpacing(10);
    auto* left = new QVBoxLayout();
    left->addWidget(buildInputs());
    left->addWidget(buildMusicGroup());
    left->addStretch(1);
    top->addLayout(left, 1);
    top->addWidget(buildParameters());
    top->addWidget(buildPreviews());

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 6, 8, 6);
    root->setSpacing(6);
    root->addLayout(top);
    root->addWidget(buildChannelButtons());
    root->addWidget(m_section, 1);

    // A wheel anywhere on the page reaches the focused slider or parameter list.
    auto* wheel = new WheelForwarder(*this);
    wheel->addTarget(m_paramList);
    wheel->addTarget(m_paramSlider);
    for (MicInputStrip* strip : m_inputs) {
        wheel->addTarget(&strip->gateSlider());
        wheel->addTarget(&strip->volumeSlider());
    }

    connect(&m_meterTimer, &QTimer::timeout, this, &CDialogMusic::meterTick);
    m_meterTimer.start(kMeterPeriodMs);
    applyLanguage(m_language);
}

CDialogMusic::~CDialogMusic() = default;

QWidget* CDialogMusic::buildInputs() {
    auto* group = new QGroupBox(QStringLiteral("Mic Input"), this);
    tagControl(group, kInputsGroup);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(8, 4, 8, 6);
    layout->setSpacing(8);
    for (int k = 0; k < MicInputStrip::kInputs; ++k) {
        auto* strip = new MicInputStrip(k, m_context.image(), m_context.setters(), group);
        m_inputs[static_cast<std::size_t>(k)] = strip;
        layout->addWidget(strip);
        // Inputs 3 and 4 keep their fields and meters but the user never reaches them.
        strip->setVisible(k < 2);
    }
    return group;
}

QWidget* CDialogMusic::buildMusicGroup() {
    auto* group = new QGroupBox(QStringLiteral("Music Peak"), this);
    tagControl(group, kMusicGroup);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setVerticalSpacing(4);
    const int ids[2] = {kMusicMeterL, kMusicMeterR};
    const int captions[2] = {kMusicLeft, kMusicRight};
    const char* texts[2] = {"L", "R"};
    for (int side = 0; side < 2; ++side) {
        auto* meter = new CPeakMeterCtrl(group);
        tagControl(meter, ids[side]);
        setUpSourceMeter(*meter);
        m_musicMeters[static_cast<std::size_t>(side)] = meter;
        grid->addWidget(taggedLabel(QString::fromLatin1(texts[side]), captions[side], group), side,
                        0);
        grid->addWidget(meter, side, 1);
    }
    m_streamFormat = taggedLabel(QString(), kStreamFormat, group);
    m_streamFormat->setFont(arialFont(14));
    m_streamFormat->setMinimumWidth(
        m_streamFormat->fontMetrics().horizontalAdvance(streamFormatText(kStreamMultiChannelPcm)) +
        8);
    m_streamFormat->setAlignment(Qt::AlignCenter);
    grid->addWidget(m_streamFormat, 0, 2, 2, 1);
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* CDialogMusic::buildParameters() {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);

    m_paramList = new EffectParamList(box);
    tagControl(m_paramList, kParamList);
    m_paramList->setFixedSize(m_paramList->naturalWidth(), m_paramList->naturalHeight());
    connect(m_paramList, &GridList::rowClicked, this, &CDialogMusic::selectRow);
    connect(m_paramList, &EffectParamList::wheelStep, this, &CDialogMusic::onWheelStep);
    row->addWidget(m_paramList, 0, Qt::AlignTop);

    auto* column = new QVBoxLayout();
    column->setSpacing(2);
    m_paramCaption = taggedLabel(QString(), kParamCaption, box);
    m_paramCaption->setAlignment(Qt::AlignCenter);
    m_paramCaption->setWordWrap(true);
    m_paramCaption->setFixedWidth(84);
    m_paramSlider = new CXBmpSlider(box, true);
    tagControl(m_paramSlider, kParamSlider);
    m_paramSlider->setPads(6, 6, 7, 7);
    m_paramSlider->setBackgroundColor(kDialogBackground);
    m_paramSlider->setFixedWidth(30);
    connect(m_paramSlider, &CXBmpSlider::sliderChanged, this,
            [this](int, int position) { onParamSliderChanged(position); });
    m_paramValue = taggedLabel(QString(), kParamValue, box);
    m_paramValue->setAlignment(Qt::AlignCenter);
    m_paramValue->setFont(arialFont(13));
    column->addWidget(m_paramCaption);
    column->addWidget(m_paramSlider, 1, Qt::AlignHCenter);
    column->addWidget(m_paramValue);
    row->addLayout(column);
    box->setFixedHeight(m_paramList->naturalHeight());
    return box;
}

QWidget* CDialogMusic::buildPreviews() {
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    auto addPreview = [&](int captionId, const char* caption, int previewId, int hintId,
                          const char* hint) {
        auto* panel = new CSmallEqPanel(box);
        tagControl(panel, previewId);
        panel->setFixedSize(kPreviewWidth, kPreviewHeight);
        panel->setCursor(Qt::PointingHandCursor);
        panel->installEventFilter(this);
        QLabel* title = taggedLabel(QString::fromLatin1(caption), captionId, box);
        title->setFont(cjkFont(13, 700));
        column->addWidget(title);
        column->addWidget(panel);
        column->addWidget(taggedLabel(QString::fromLatin1(hint), hintId, box));
        return panel;
    };
    m_reverbPreview = addPreview(kReverbCaption, "Reverb EQ", kReverbPreview, kReverbHint,
                                 "Click to enter reverb EQ");
    column->addSpacing(4);
    m_echoPreview =
        addPreview(kEchoCaption, "Echo EQ", kEchoPreview, kEchoHint, "Click to enter echo EQ");
    column->addStretch(1);
    return box;
}

QWidget* CDialogMusic::buildChannelButtons() {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    for (int c = 0; c < kChannelCount; ++c) {
        auto* button = new CGdipButton(QString::fromLatin1(kChannelTexts[c]), box);
        tagControl(button, kMicChannelA + c);
        button->setFixedSize(110, 28);
        connect(button, &CGdipButton::clicked, this, [this, c] { selectPageChannel(c); });
        m_channelButtons[static_cast<std::size_t>(c)] = button;
        row->addWidget(button);
    }
    row->addStretch(1);
    return box;
}

// --- what the page shows

int CDialogMusic::eqId() const {
    return m_channel == kMicA ? 0 : m_channel == kMicB ? 1 : kMusicEqId;
}

void CDialogMusic::refreshFromImage() {
    for (MicInputStrip* strip : m_inputs)
        strip->refreshFromImage();
    showChannel();
}

void CDialogMusic::showChannel() {
    for (int c = 0; c < kChannelCount; ++c)
        m_channelButtons[static_cast<std::size_t>(c)]->setCheckedState(c == m_channel);
    const bool effects = m_channel != kMusic;
    for (QWidget* w : std::initializer_list<QWidget*>{m_paramList, m_paramSlider, m_paramCaption,
                                                      m_paramValue, m_reverbPreview, m_echoPreview})
        w->setEnabled(effects);

    m_section->showEq(eqId());
    m_section->bandList().setColours(kBandListText[m_channel], kListBackground);
    showParamValues();
    m_paramList->setColours(kParamListText[paramSet()], kListBackground);
    loadPreviews();
}

void CDialogMusic::showParamValues() {
    const DspParams& p = m_context.image().params;
    for (int row = 0; row < effect_param::kRowCount; ++row)
        m_paramList->setCellText(
            row, EffectParamList::ValueColumn,
            effect_param::text(row, effect_param::value(p, row, paramSet()), m_language));
    showSelectedRow();
}

void CDialogMusic::showSelectedRow() {
    const EffectParamRow& r = effect_param::kRows[static_cast<std::size_t>(m_row)];
    const int v = effect_param::value(m_context.image().params, m_row, paramSet());
    m_paramSlider->setRange(r.maximum, r.minimum);
    m_paramSlider->setPosition(std::clamp(v, r.minimum, r.maximum));
    m_paramCaption->setText(effect_param::name(m_row, m_language));
    m_paramValue->setText(effect_param::text(m_row, v, m_language));
}

void CDialogMusic::loadPreviews() {
    const bool effects = m_channel != kMusic;
    const int set = paramSet();
    const DspParams& p = m_context.image().params;
    const QColor colour = kPreviewCurve[m_channel];
    m_reverbPreview->setCurveColor(colour);
    m_echoPreview->setCurveColor(colour);
    // With music shown the previews stay grey and keep the bands they had.
    if (!effects) {
        m_reverbPreview->setPass(false);
        m_echoPreview->setPass(false);
        return;
    }
    const BandOps& bands = m_context.bands();
    loadSmallPreview(*m_reverbPreview, bands, 2 + set);
    loadSmallPreview(*m_echoPreview, bands, 4 + set);
    m_reverbPreview->setPass((set == 0 ? p.reverbEqSwitchA : p.reverbEqSwitchB) == 1);
    m_echoPreview->setPass((set == 0 ? p.echoEqSwitchA : p.echoEqSwitchB) == 1);
}

void CDialogMusic::applyLanguage(int language) {
    m_language = language == kEnglish ? kEnglish : kChinese;
    m_paramList->setLanguage(m_language);
    m_section->applyLanguage(m_language);
    showChannel();
}

// --- the user's choices

void CDialogMusic::selectPageChannel(int channel) {
    if (channel < 0 || channel >= kChannelCount)
        return;
    m_channel = channel;
    m_context.pageState().musicChannel = channel;
    showChannel();
}

void CDialogMusic::reselect() {
    selectPageChannel(kMicA);
    refreshFromImage();
}

void CDialogMusic::selectRow(int row) {
    if (row < 0 || row >= effect_param::kRowCount)
        return;
    m_row = row;
    showSelectedRow();
}

void CDialogMusic::onWheelStep(int step) {
    if (m_channel == kMusic)
        return;
    const int before = m_paramSlider->position();
    m_paramSlider->setPosition(before + step);
    onParamSliderChanged(m_paramSlider->position());
}

void CDialogMusic::onParamSliderChanged(int position) {
    if (m_channel == kMusic)
        return;
    storeParam(m_row, position);
    const DspParams& p = m_context.image().params;
    if (position != 0 && m_row == effect_param::kReverbLevel && p.reverbMute == 1)
        m_context.notice(kReverbMuted.pick(m_language));
    if (position != 0 && m_row == effect_param::kEchoLevel && p.echoMute == 1)
        m_context.notice(kEchoMuted.pick(m_language));
    if (m_row == effect_param::kEchoTime && position >= kShortEchoMin && position <= kShortEchoMax)
        storeParam(effect_param::kReverbPredelay, position * kPredelayPerEchoMs);
}

void CDialogMusic::storeParam(int row, int value) {
    effect_param::store(m_context.setters(), row, paramSet(), value);
    const QString text = effect_param::text(row, value, m_language);
    m_paramList->setCellText(row, EffectParamList::ValueColumn, text);
    if (row == m_row)
        m_paramValue->setText(text);
}

void CDialogMusic::openPreview(bool reverb) {
    if (m_channel == kMusic)
        return;
    // Effects equaliser pages: 0 reverb A, 1 reverb B, 2 echo A, 3 echo B.
    m_context.showPage(PageKind::Effects, (reverb ? 0 : 2) + paramSet());
}

bool CDialogMusic::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == m_reverbPreview || watched == m_echoPreview) {
            // The page may be replaced; nothing of it is used afterwards.
            openPreview(watched == m_reverbPreview);
            return true;
        }
    }
    return Page::eventFilter(watched, event);
}

void CDialogMusic::meterTick() {
    const LiveStatusBytes status = m_context.image().liveStatus.load();
    for (std::size_t k = 0; k < m_inputs.size(); ++k) {
        const int level = status[k];
        m_inputs[k]->meter().setData({&level, 1});
    }
    for (std::size_t side = 0; side < m_musicMeters.size(); ++side) {
        const int level = status[4 + side];
        m_musicMeters[side]->setData({&level, 1});
    }
    const QString format = streamFormatText(status[kStreamFormatByte]);
    if (m_streamFormat->text() != format)
        m_streamFormat->setText(format);
}

// --- equaliser commands of the main view

bool CDialogMusic::eqSwitch() const {
    return m_section->eqSwitch();
}

void CDialogMusic::toggleEqSwitch() {
    m_section->toggleEqSwitch();
}

void CDialogMusic::resetCurrentEq() {
    m_section->resetCurrentEq();
}

void CDialogMusic::numberKey(int number) {
    m_section->pickBand(number);
}

} // namespace quilo
