#include "pages/CDialogMusicInput.h"

#include "widgets/CXBmpSlider.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

#include <algorithm>

namespace quilo {

const std::array<CDialogMusicInput::Input, 8> CDialogMusicInput::kInputs{{
    {1192, "HDMI1", 2, 0, 1043, &DspParams::musicGainHdmi1, 1006, true},
    {1193, "HDMI2", 2, 1, 1044, &DspParams::musicGainHdmi2, 1002, true},
    {1194, "HDMI3", 2, 2, 1045, &DspParams::musicGainHdmi3, 1003, true},
    {1195, "HDMI4", 2, 3, 1046, &DspParams::musicGainHdmi4, 1131, true},
    {1190, "SPDIF", 0, -1, 1041, &DspParams::musicGainSpdif, 1005, true},
    {1191, "Bluetooth", 3, -1, 1042, &DspParams::musicGainBluetooth, 1007, true},
    {1196, "AUX", 4, -1, 1047, &DspParams::musicGainAux, 1008, false},
    {1197, "AUX2", 5, -1, 1048, &DspParams::musicGainAux2, 1009, false},
}};

namespace {

constexpr int kSpdifRadio = 1190;

QString percentText(int value) {
    return QStringLiteral("%1%").arg(value);
}

} // namespace

CDialogMusicInput::CDialogMusicInput(PageContext& context, QWidget* parent)
    : ContextToolWindow(context, kTemplate, parent), m_radios(new QButtonGroup(this)) {
    setWindowTitle(QStringLiteral("Music source setting"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 14, 16, 14);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    int row = 0;
    for (const Input& in : kInputs) {
        auto* radio = new QRadioButton(QString::fromLatin1(in.name), this);
        tagControl(radio, in.radio);
        m_radios->addButton(radio, in.radio);
        auto* slider = makeSlider(this, in.slider, 0, 100);
        slider->setMinimumWidth(220);
        auto* text = makeText(this, in.text);
        text->setMinimumWidth(text->fontMetrics().horizontalAdvance(QStringLiteral("100%")) + 4);
        if (!in.shown) {
            radio->hide();
            slider->hide();
            text->hide();
            continue;
        }
        grid->addWidget(radio, row, 0);
        grid->addWidget(slider, row, 1);
        grid->addWidget(text, row, 2);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    connect(m_radios, &QButtonGroup::idClicked, this, [this](int id) {
        const auto it = std::find_if(kInputs.begin(), kInputs.end(),
                                     [id](const Input& in) { return in.radio == id; });
        choose(*it);
    });
}

void CDialogMusicInput::refreshFromImage() {
    const DspParams& p = m_context.image().params;
    for (const Input& in : kInputs) {
        control<CXBmpSlider>(in.slider).setPosition(std::clamp(p.*in.gain, 0, 100));
        control<QLabel>(in.text).setText(percentText(p.*in.gain));
    }
    int chosen = kSpdifRadio;
    for (const Input& in : kInputs) {
        if (in.musicSource == p.musicSource && (in.hdmi < 0 || in.hdmi == p.hdmiSelect)) {
            chosen = in.radio;
        }
    }
    control<QRadioButton>(chosen).setChecked(true);
}

void CDialogMusicInput::choose(const Input& input) {
    if (input.hdmi >= 0) {
        m_context.setters().setHdmiInput(input.hdmi);
    } else {
        m_context.setters().set(&DspParams::musicSource, input.musicSource);
    }
}

void CDialogMusicInput::sliderMoved(int ctrlId, int position) {
    for (const Input& in : kInputs) {
        if (in.slider == ctrlId) {
            m_context.setters().set(in.gain, position);
            control<QLabel>(in.text).setText(percentText(position));
        }
    }
}

} // namespace quilo
