// The single-band editor of ChannelEqSection: band number, type radios, and a
// slider with its edit for gain, frequency and Q.
#include "pages/ChannelEqSection.h"

#include "pages/EqValueText.h"
#include "ui/ControlTag.h"
#include "widgets/CEqPanel.h"
#include "widgets/CXBmpSlider.h"
#include "widgets/WidgetFonts.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace quilo {

namespace {

constexpr int kGainSliderMax = 150; // tenths of a dB
constexpr int kFreqMin = 20;
constexpr int kFreqMax = 20000;
constexpr int kQSliderMin = 10; // hundredths
constexpr int kQSliderMaxPeaking = 3000;
constexpr int kQSliderMaxOther = 200;
constexpr int kEditWidth = 72;
constexpr int kSliderHeight = 23;
constexpr const char* kTypeRadioTexts[5] = {"PEQ", "LP", "HP", "LS", "HS"};

// Gain is set by the user only for peaking and shelving bands.
bool gainIsEditable(int type) {
    return type == Peaking || type == LowShelf || type == HighShelf;
}

int sliderValue(float value, float scale) {
    return static_cast<int>(std::lround(value * scale));
}

} // namespace

QWidget* ChannelEqSection::buildBandEditor() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    m_bandNumber = new QLabel(box);
    tagControl(m_bandNumber, kBandNumber);
    QFont number = arialFont(24);
    number.setBold(true);
    m_bandNumber->setFont(number);
    m_bandNumber->setAlignment(Qt::AlignCenter);
    m_bandNumber->setMinimumWidth(44);

    auto* typeBox = new QGroupBox(QStringLiteral("EQ Type"), box);
    tagControl(typeBox, kGroupType);
    auto* radios = new QGridLayout(typeBox);
    radios->setContentsMargins(6, 2, 6, 4);
    radios->setHorizontalSpacing(6);
    radios->setVerticalSpacing(2);
    m_typeGroup = new QButtonGroup(box);
    for (int i = 0; i < 5; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(kTypeRadioTexts[i]), typeBox);
        tagControl(radio, kRadioPeq + i);
        m_typeGroup->addButton(radio, i + 1);
        radios->addWidget(radio, i / 3, i % 3);
        m_radios[static_cast<std::size_t>(i)] = radio;
    }
    connect(m_typeGroup, &QButtonGroup::idClicked, this, &ChannelEqSection::onTypeChosen);

    auto* top = new QHBoxLayout();
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(m_bandNumber);
    top->addWidget(typeBox, 1);
    layout->addLayout(top);

    auto addValueGroup = [&](int groupId, const char* title, int sliderId, int editId,
                             CXBmpSlider*& slider, QLineEdit*& edit) {
        auto* group = new QGroupBox(QString::fromLatin1(title), box);
        tagControl(group, groupId);
        auto* row = new QHBoxLayout(group);
        row->setContentsMargins(6, 2, 6, 4);
        slider = new CXBmpSlider(group);
        slider->usePageStyle();
        slider->setFixedHeight(kSliderHeight);
        tagControl(slider, sliderId);
        connect(slider, &CXBmpSlider::sliderChanged, this, &ChannelEqSection::onSliderChanged);
        edit = new QLineEdit(group);
        edit->setFixedWidth(kEditWidth);
        tagControl(edit, editId);
        connect(edit, &QLineEdit::returnPressed, this, &ChannelEqSection::applyEdits);
        row->addWidget(slider, 1);
        row->addWidget(edit);
        layout->addWidget(group);
    };
    addValueGroup(kGroupGain, "Gain", kGainSlider, kGainEdit, m_gainSlider, m_gainEdit);
    addValueGroup(kGroupFreq, "F", kFreqSlider, kFreqEdit, m_freqSlider, m_freqEdit);
    addValueGroup(kGroupQ, "Q", kQSlider, kQEdit, m_qSlider, m_qEdit);
    m_gainSlider->setRange(kGainSliderMax, -kGainSliderMax);
    m_freqSlider->setRange(kFreqMax, kFreqMin);
    m_qSlider->setRange(kQSliderMaxPeaking, kQSliderMin);
    layout->addStretch(1);
    return box;
}

CXBmpSlider& ChannelEqSection::slider(int ctrlId) {
    return ctrlId == kGainSlider   ? *m_gainSlider
           : ctrlId == kFreqSlider ? *m_freqSlider
                                   : *m_qSlider;
}

QLineEdit& ChannelEqSection::edit(int ctrlId) {
    return ctrlId == kGainEdit ? *m_gainEdit : ctrlId == kFreqEdit ? *m_freqEdit : *m_qEdit;
}

QRadioButton& ChannelEqSection::typeRadio(int type) {
    return *m_radios[static_cast<std::size_t>(std::clamp(type, 1, 5) - 1)];
}

void ChannelEqSection::setQSliderRange(int type) {
    m_qSlider->setRange(type == Peaking ? kQSliderMaxPeaking : kQSliderMaxOther, kQSliderMin);
}

void ChannelEqSection::showValues(int b) {
    const EqBandState& s = m_editor->band(b);
    setQSliderRange(s.filterType);
    writeRow(b);
    m_gainEdit->setText(gainText(s.gain));
    m_freqEdit->setText(freqText(s.frequency));
    m_qEdit->setText(qText(s.q));
    m_gainSlider->setPosition(sliderValue(s.gain, 10.0f));
    m_freqSlider->setPosition(sliderValue(s.frequency, 1.0f));
    m_qSlider->setPosition(sliderValue(s.q, 100.0f));
    m_bandNumber->setText(QString::number(b + 1));
    showTypeControls(b);
}

void ChannelEqSection::showTypeControls(int b) {
    const int type = m_editor->band(b).filterType;
    int shownType = type;
    if (isCrossoverSlot(b)) {
        shownType = crossoverKind();
        showCrossoverCombo(shownType == LowPass || shownType == HighPass);
    } else {
        showCrossoverCombo(false);
    }
    if (shownType >= Peaking && shownType <= HighShelf) {
        m_typeGroup->button(shownType)->setChecked(true);
    } else {
        // No radio for an inactive band or an unnamed type.
        m_typeGroup->setExclusive(false);
        for (QRadioButton* r : m_radios)
            r->setChecked(false);
        m_typeGroup->setExclusive(true);
    }
    const bool gain = gainIsEditable(type);
    m_gainSlider->setEnabled(gain);
    m_gainEdit->setEnabled(gain);
}

void ChannelEqSection::onSliderChanged(int ctrlId, int position) {
    if (ctrlId == kGainSlider)
        m_gainEdit->setText(gainText(position / 10.0));
    else if (ctrlId == kFreqSlider)
        m_freqEdit->setText(freqTextWhole(position));
    else if (ctrlId == kQSlider)
        m_qEdit->setText(qText(position / 100.0));
    applyEdits();
}

void ChannelEqSection::applyEdits() {
    const int b = m_selectedBand;
    if (b < 0 || b >= m_config.bandCount)
        return;
    // Text that is no number leaves that value as it was.
    if (const auto gain = leadingNumber(m_gainEdit->text()))
        m_editor->setBandGain(b, static_cast<float>(*gain));
    if (const auto freq = leadingNumber(m_freqEdit->text()))
        m_editor->setBandFrequency(b, static_cast<float>(std::max(*freq, double(kFreqMin))));
    if (const auto q = leadingNumber(m_qEdit->text()))
        m_editor->setBandQ(b, static_cast<float>(*q));
    const EqBandState& s = m_editor->band(b);
    m_gainSlider->setPosition(sliderValue(s.gain, 10.0f));
    m_freqSlider->setPosition(sliderValue(s.frequency, 1.0f));
    m_qSlider->setPosition(sliderValue(s.q, 100.0f));
    applyToTargets(b);
    writeRow(b);
}

void ChannelEqSection::onTypeChosen(int type) {
    if (type < Peaking || type > HighShelf)
        return;
    setQSliderRange(type);
    const int b = m_selectedBand;
    if (b < 0 || b >= m_config.bandCount)
        return;
    if (isCrossoverSlot(b)) {
        // The crossover slot takes a whole set of four section types.
        m_editor->bands().applyMenuType(b, type);
        m_editor->update();
    } else {
        m_editor->setBandType(b, type);
    }
    showValues(b);
    applyToTargets(b);
}

} // namespace quilo
