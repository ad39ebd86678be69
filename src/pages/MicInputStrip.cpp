#include "pages/MicInputStrip.h"

#include "model/FieldSetters.h"
#include "pages/MusicPageIds.h"
#include "ui/ControlTag.h"
#include "ui/DialogLook.h"
#include "widgets/CPeakMeterCtrl.h"
#include "widgets/CXBmpSlider.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

namespace quilo {

namespace {

constexpr int kSliderHeight = 23;
constexpr int kValueWidth = 28;
constexpr int kMeterLeds = 15;
constexpr int kMeterDecayMs = 35;
constexpr const char* kCaptions[MicInputStrip::kInputs] = {"WirelessMic1", "WirelessMic2", "Mic 3",
                                                           "Mic 4"};

} // namespace

void setUpSourceMeter(CPeakMeterCtrl& meter) {
    meter.setStyle(CPeakMeterCtrl::Horizontal);
    meter.setBackgroundColor(kDialogBackground);
    meter.setBandCount(1);
    meter.setLedCount(kMeterLeds);
    meter.startDecayTimer(kMeterDecayMs);
    meter.setFixedHeight(12);
}

MicInputStrip::MicInputStrip(int input, DeviceImage& image, FieldSetters& setters, QWidget* parent)
    : QWidget(parent), m_input(input), m_image(image), m_setters(setters) {
    using namespace music_ids;
    const int k = input;
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);

    QLabel* caption = taggedLabel(QString::fromLatin1(kCaptions[k]), kInputCaption + k, this);
    caption->setFont(cjkFont(13, 700));
    m_toA = new QRadioButton(QStringLiteral("CH A"), this);
    m_toB = new QRadioButton(QStringLiteral("CH B"), this);
    tagControl(m_toA, kToA + 2 * k);
    tagControl(m_toB, kToA + 2 * k + 1);
    auto* group = new QButtonGroup(this);
    group->addButton(m_toA);
    group->addButton(m_toB);
    connect(m_toA, &QRadioButton::clicked, this, [this] { chooseChannel(true); });
    connect(m_toB, &QRadioButton::clicked, this, [this] { chooseChannel(false); });

    m_meter = new CPeakMeterCtrl(this);
    tagControl(m_meter, kInputMeter + k);
    setUpSourceMeter(*m_meter);

    auto makeSlider = [&](int ctrlId) {
        auto* s = new CXBmpSlider(this);
        s->usePageStyle();
        s->setFixedHeight(kSliderHeight);
        s->setRange(100, 0);
        tagControl(s, ctrlId);
        connect(s, &CXBmpSlider::sliderChanged, this, &MicInputStrip::onSliderChanged);
        return s;
    };
    m_gate = makeSlider(kGateSlider + k);
    m_volume = makeSlider(kVolumeSlider + k);
    m_gateText = taggedLabel(QString(), kGateText + 2 * k, this);
    m_volumeText = taggedLabel(QString(), kVolumeText + 2 * k, this);
    m_gateText->setFixedWidth(kValueWidth);
    m_volumeText->setFixedWidth(kValueWidth);

    grid->addWidget(caption, 0, 0, 1, 2);
    grid->addWidget(m_toA, 0, 2);
    grid->addWidget(m_toB, 0, 3);
    grid->addWidget(m_meter, 0, 4, 1, 3);
    grid->addWidget(taggedLabel(QStringLiteral("MNG"), kGateLabel + 2 * k, this), 1, 0);
    grid->addWidget(m_gate, 1, 1, 1, 2);
    grid->addWidget(m_gateText, 1, 3);
    grid->addWidget(taggedLabel(QStringLiteral("Vol"), kVolumeLabel + 2 * k, this), 1, 4);
    grid->addWidget(m_volume, 1, 5);
    grid->addWidget(m_volumeText, 1, 6);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(5, 1);
}

void MicInputStrip::refreshFromImage() {
    const DspParams& p = m_image.params;
    const auto k = static_cast<std::size_t>(m_input);
    (p.micToA[k] != 0 ? m_toA : m_toB)->setChecked(true);
    m_gate->setPosition(p.micGate[k]);
    m_volume->setPosition(p.micInputVolume[k]);
    m_gateText->setText(QString::number(p.micGate[k]));
    m_volumeText->setText(QString::number(p.micInputVolume[k]));
}

void MicInputStrip::chooseChannel(bool channelA) {
    // The word of mic channel A goes first either way.
    m_setters.set(&DspParams::micToA, m_input, channelA ? 100 : 0);
    m_setters.set(&DspParams::micToB, m_input, channelA ? 0 : 100);
    (channelA ? m_toA : m_toB)->setChecked(true);
}

void MicInputStrip::onSliderChanged(int ctrlId, int position) {
    if (ctrlId == m_gate->controlId()) {
        m_setters.set(&DspParams::micGate, m_input, position);
        m_gateText->setText(QString::number(position));
    } else if (ctrlId == m_volume->controlId()) {
        m_setters.set(&DspParams::micInputVolume, m_input, position);
        m_volumeText->setText(QString::number(position));
    }
}

} // namespace quilo
