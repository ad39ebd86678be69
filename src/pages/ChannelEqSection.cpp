#include "pages/ChannelEqSection.h"

#include "dsp/Crossover.h"
#include "pages/ControlTag.h"
#include "pages/EqBandList.h"
#include "pages/EqFileTransfer.h"
#include "pages/EqImportTexts.h"
#include "pages/EqSectionTexts.h"
#include "pages/EqValueText.h"
#include "pages/WheelForwarder.h"
#include "widgets/CEqPanel.h"
#include "widgets/CXBmpSlider.h"
#include "widgets/WidgetFonts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace quilo {

namespace {

constexpr int kOutputChannels = 8;
constexpr int kMinVisibleRows = 5;  // rows the band list keeps however small the page
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

ChannelEqSection::ChannelEqSection(DeviceImage& image, ReportSink& sink, EqSectionConfig config,
                                   EqCopySource& copySource, QWidget* parent)
    : QWidget(parent), m_image(image), m_bands(image, sink), m_setters(image, sink),
      m_config(std::move(config)), m_copySource(copySource),
      m_files(std::make_unique<EqFileTransfer>(image, sink, [this] { return m_language; })) {
    setFont(songFont(12));
    buildControls();
    m_wheel = new WheelForwarder(*this);
    for (QWidget* w : wheelTargets())
        m_wheel->addTarget(w);
    applyLanguage(0);
    const int first = m_config.outputPage ? kFirstOutputEqId : m_config.bandCount == 7 ? 2 : 0;
    showEq(first);
}

ChannelEqSection::~ChannelEqSection() = default;

void ChannelEqSection::buildControls() {
    m_editor = new CEqPanel(this);
    tagControl(m_editor, kCurveEditor);
    connect(m_editor, &CEqPanel::eqBandChanged, this,
            [this](const EqBandState&, int band) { onBandChanged(band); });
    connect(m_editor, &CEqPanel::eqBandPicked, this,
            [this](const EqBandState&, int band) { onBandPicked(band); });
    connect(m_editor, &CEqPanel::eqBackgroundClicked, this, [this] { onBackgroundClicked(); });
    connect(m_editor, &CEqPanel::eqCopyPasteRequest, this,
            [this](int command, int panelId) { onCopyPasteRequest(command, panelId); });

    m_list = new EqBandList(this);
    tagControl(m_list, kBandList);
    m_list->setRows(m_config.listRows, m_config.typeColumnWidth);
    // Where the page leaves less height than all rows need (the output page's 13 bands in a
    // small window), the list scrolls instead of running under what lies below it; the last
    // column gives the scroll bar its room.
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setFixedWidth(
        m_list->naturalWidth() +
        m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list));
    connect(m_list, &EqBandList::cellEdited, this, &ChannelEqSection::onCellEdited);
    connect(m_list, &EqBandList::rowClicked, this, &ChannelEqSection::onRowClicked);

    m_bandEditor = buildBandEditor();
    m_bandEditor->setFixedWidth(m_list->naturalWidth());
    m_bandEditor->hide();

    m_comboLabel = new QLabel(QStringLiteral("Type"), this);
    tagControl(m_comboLabel, kCrossoverLabel);
    m_combo = new QComboBox(this);
    tagControl(m_combo, kCrossoverCombo);
    for (std::string_view name : kCrossoverFamilyNames)
        m_combo->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    connect(m_combo, &QComboBox::activated, this, &ChannelEqSection::onFamilyChosen);
    m_comboLabel->hide();
    m_combo->hide();

    auto* comboRow = new QHBoxLayout();
    comboRow->setContentsMargins(0, 0, 0, 0);
    comboRow->addWidget(m_comboLabel);
    comboRow->addWidget(m_combo, 1);

    // Filter lists of measurement tools; the hosting page's table labels the buttons. They sit
    // above the curve, which gives up the height: the band list below them has none to spare.
    m_fileButtons = new QWidget(this);
    m_importButton = new QPushButton(eqsection::kImportButton.pick(kEnglish), m_fileButtons);
    tagControl(m_importButton, kImportButton);
    m_exportButton = new QPushButton(eqsection::kExportButton.pick(kEnglish), m_fileButtons);
    tagControl(m_exportButton, kExportButton);
    connect(m_importButton, &QPushButton::clicked, this, &ChannelEqSection::importEq);
    connect(m_exportButton, &QPushButton::clicked, this, &ChannelEqSection::exportEq);
    auto* fileRow = new QHBoxLayout(m_fileButtons);
    fileRow->setContentsMargins(0, 0, 0, 0);
    fileRow->addStretch(1);
    fileRow->addWidget(m_importButton);
    fileRow->addWidget(m_exportButton);

    auto* side = new QVBoxLayout();
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(6);
    side->addWidget(m_list, 1);
    side->addWidget(m_bandEditor);
    side->addLayout(comboRow);
    side->addStretch(0);

    auto* curve = new QVBoxLayout();
    curve->setContentsMargins(0, 0, 0, 0);
    curve->setSpacing(2);
    curve->addWidget(m_fileButtons);
    curve->addWidget(m_editor, 1);

    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(8);
    root->addLayout(curve, 1);
    root->addLayout(side);

    m_list->setMaximumHeight(m_list->naturalHeight());
    m_list->setMinimumHeight(m_list->heightForRows(std::min(m_config.listRows, kMinVisibleRows)));
}

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

std::vector<QWidget*> ChannelEqSection::wheelTargets() const {
    return {m_editor, m_gainSlider, m_freqSlider, m_qSlider};
}

// --- loading ---

void ChannelEqSection::showEq(int eqId) {
    if (!eqInfo(eqId))
        return;
    m_eqId = eqId;
    reload();
}

void ChannelEqSection::reload() {
    if (m_eqId < 0)
        return;
    m_selectedBand = -1;
    m_editor->setSelectedBand(-1);
    loadBands();
    m_list->clearSelection();
    m_list->setCurrentCell(-1, -1);
    enterBandEditor(false);
    updateBypass();
}

void ChannelEqSection::loadBands() {
    m_editor->setPanelId(m_eqId);
    m_editor->setBandCount(m_config.bandCount);
    for (int b = 0; b < m_config.bandCount; ++b) {
        const EqBand stored = m_bands.band(m_eqId, b);
        const int type = stored.type < 0 || stored.type > m_config.maxLoadType ? 0 : stored.type;
        m_editor->setBandType(b, type);
        m_editor->setBandGain(b, stored.gainDb);
        // A zero frequency or Q is no value: the editor keeps its own.
        if (stored.freqHz != 0.0f)
            m_editor->setBandFrequency(b, stored.freqHz);
        m_editor->setBandQ(b, stored.q);
    }
    for (int b = 0; b < m_config.listRows; ++b)
        writeRow(b);
}

void ChannelEqSection::applyLanguage(int language) {
    m_language = language == kEnglish ? kEnglish : kChinese;
    m_editor->setLanguage(m_language);
    m_list->setLanguage(m_language);
    for (int b = 0; b < m_config.listRows; ++b)
        writeRow(b);
}

// --- what is shown for a band ---

bool ChannelEqSection::isCrossoverSlot(int b) const {
    return m_config.outputPage && b == EqBandSet::kCrossoverSlot;
}

void ChannelEqSection::writeRow(int b) {
    if (b < 0 || b >= m_config.listRows || b >= m_config.bandCount)
        return;
    if (isCrossoverSlot(b)) {
        writeCrossoverRow();
        return;
    }
    const EqBandState& s = m_editor->band(b);
    m_list->setCellText(rowOf(b), EqBandList::TypeColumn,
                        eqsection::typeName(s.filterType, m_language));
    m_list->setCellText(rowOf(b), EqBandList::GainColumn, gainText(s.gain));
    m_list->setCellText(rowOf(b), EqBandList::FreqColumn, freqText(s.frequency));
    m_list->setCellText(rowOf(b), EqBandList::QColumn, qText(s.q));
}

int ChannelEqSection::crossoverKind() {
    const EqBandSet& set = m_editor->bands();
    const int slot = EqBandSet::kCrossoverSlot;
    const CrossoverTypes types{set.band(slot).filterType, set.band(slot + 1).filterType,
                               set.band(slot + 2).filterType, set.band(slot + 3).filterType};
    // When the four types are no known set, the kind is what slot 9 itself is.
    const int own = types[0];
    const int fallback = own <= HighShelf                                           ? own
                         : crossoverDirectionOf(own) == CrossoverDirection::LowPass ? LowPass
                                                                                    : HighPass;
    const CrossoverFamily family = crossoverFamilyOf(types, fallback);
    if (family.index < kCrossoverFamilyCount)
        m_combo->setCurrentIndex(family.index);
    return family.kind;
}

void ChannelEqSection::writeCrossoverRow() {
    const int slot = EqBandSet::kCrossoverSlot;
    const EqBandState& s = m_editor->band(slot);
    m_list->setCellText(rowOf(slot), EqBandList::TypeColumn,
                        eqsection::typeName(crossoverKind(), m_language));
    m_list->setCellText(rowOf(slot), EqBandList::GainColumn, gainText(s.gain));
    m_list->setCellText(rowOf(slot), EqBandList::FreqColumn, freqText(s.frequency));
    m_list->setCellText(rowOf(slot), EqBandList::QColumn, qText(s.q));
}

void ChannelEqSection::showCrossoverCombo(bool shown) {
    shown = shown && m_config.outputPage;
    m_combo->setVisible(shown);
    m_comboLabel->setVisible(shown);
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

void ChannelEqSection::enterBandEditor(bool editor) {
    // Hide before showing: the layout is redone at each show, and with both visible for a
    // moment it would make the page grow to hold the two.
    QWidget* shown = editor ? m_bandEditor : m_list;
    QWidget* hidden = editor ? static_cast<QWidget*>(m_list) : m_bandEditor;
    hidden->hide();
    shown->show();
    if (!editor)
        showCrossoverCombo(false);
}

// --- sending ---

std::vector<int> ChannelEqSection::targets() const {
    std::vector<int> ids{m_eqId};
    if (m_config.outputPage && m_config.linkedSet) {
        for (int channel : m_config.linkedSet())
            if (channel >= 0 && channel < kOutputChannels)
                ids.push_back(kFirstOutputEqId + channel);
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    }
    return ids;
}

void ChannelEqSection::applyToTargets(int b) {
    const bool crossover = isCrossoverSlot(b);
    const int last = crossover ? EqBandSet::kLastCompanionSlot : b;
    for (int eq : targets()) {
        for (int slot = b; slot <= last; ++slot) {
            const EqBandState& s = m_editor->band(slot);
            m_bands.applyBand(eq, slot, s.filterType, s.gain, s.frequency, s.q, 0.0f);
        }
    }
}

// --- the curve editor's notices ---

void ChannelEqSection::onBandChanged(int band) {
    if (band < 0 || band >= m_config.bandCount || m_eqId < 0)
        return;
    showValues(band);
    applyToTargets(band);
    selectBand(band);
}

void ChannelEqSection::onBandPicked(int band) {
    if (band < 0 || band >= m_config.bandCount || m_eqId < 0)
        return;
    showValues(band);
    selectBand(band);
}

void ChannelEqSection::pickBand(int band) {
    if (band < 0 || band >= m_config.bandCount || m_eqId < 0)
        return;
    m_editor->setSelectedBand(band);
    onBandPicked(band);
}

void ChannelEqSection::selectBand(int band) {
    const bool wasList = m_selectedBand < 0;
    m_selectedBand = band;
    if (band < m_config.listRows)
        m_list->setCurrentCell(rowOf(band), EqBandList::NumberColumn);
    if (wasList)
        enterBandEditor(true);
}

void ChannelEqSection::onBackgroundClicked() {
    if (m_selectedBand < 0)
        return;
    m_selectedBand = -1;
    enterBandEditor(false);
}

void ChannelEqSection::onCopyPasteRequest(int command, int panelId) {
    if (command == 0) {
        m_copySource.set(panelId);
        return;
    }
    // Paste goes to the shown equaliser only, never to linked channels.
    if (m_copySource.eqId() != EqCopySource::kNone)
        m_bands.copyEq(m_copySource.eqId(), m_eqId);
    reload();
}

// --- band editor ---

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

// --- band list ---

void ChannelEqSection::onCellEdited(int row, int column, const QString& text) {
    const int b = row;
    if (b < 0 || b >= m_config.bandCount || b >= m_config.listRows)
        return;
    if (column == EqBandList::TypeColumn) {
        const int type = eqsection::typeOfName(text, m_language);
        if (type < 0) {
            writeRow(b); // not a type: the cell shows the band's type again
            return;
        }
        if (isCrossoverSlot(b)) {
            // Switching the crossover off also idles its companion sections; left as they
            // were they would go on filtering.
            m_editor->bands().applyMenuType(b, type == 0 ? Peaking : type);
            if (type == 0)
                m_editor->bands().setBandType(b, 0);
            m_editor->update();
        } else {
            m_editor->setBandType(b, type);
        }
        writeRow(b);
        if (isCrossoverSlot(b))
            showCrossoverCombo(type == LowPass || type == HighPass);
    } else if (column == EqBandList::GainColumn || column == EqBandList::FreqColumn ||
               column == EqBandList::QColumn) {
        // All three cells are read; text that is no number leaves its value as it was, and
        // so does a frequency of 0.
        if (const auto gain = leadingNumber(m_list->cellText(row, EqBandList::GainColumn)))
            m_editor->setBandGain(b, static_cast<float>(*gain));
        const auto freq = leadingNumber(m_list->cellText(row, EqBandList::FreqColumn));
        if (freq && *freq != 0.0)
            m_editor->setBandFrequency(b, static_cast<float>(*freq));
        if (const auto q = leadingNumber(m_list->cellText(row, EqBandList::QColumn)))
            m_editor->setBandQ(b, static_cast<float>(*q));
        writeRow(b);
    } else {
        return;
    }
    if (b == m_selectedBand)
        showValues(b);
    applyToTargets(b);
}

void ChannelEqSection::onRowClicked(int row) {
    if (!m_config.outputPage)
        return;
    showCrossoverCombo(false);
    if (row != rowOf(EqBandSet::kCrossoverSlot))
        return;
    const int type = m_editor->band(EqBandSet::kCrossoverSlot).filterType;
    if (type == LowPass || type == HighPass || type > HighShelf) {
        crossoverKind(); // selects the family of the loaded slots
        showCrossoverCombo(true);
    }
}

void ChannelEqSection::onFamilyChosen(int family) {
    const int row = m_list->currentRow();
    if (row < 0 || !isCrossoverSlot(row))
        return;
    m_editor->applyCrossoverFamily(row, family);
    writeCrossoverRow();
    if (m_selectedBand == row)
        showValues(row);
    applyToTargets(row);
}

// --- equaliser switch and reset ---

namespace {

// The switch fields of the equalisers before the outputs, by EqId.
constexpr std::int32_t DspParams::*kSwitchOf[kFirstOutputEqId] = {
    &DspParams::micAEqSwitch,    &DspParams::micBEqSwitch,  &DspParams::reverbEqSwitchA,
    &DspParams::reverbEqSwitchB, &DspParams::echoEqSwitchA, &DspParams::echoEqSwitchB,
    &DspParams::musicEqSwitch};
static_assert(kMusicEqId == kFirstOutputEqId - 1);

} // namespace

int ChannelEqSection::switchValue(int eqId) const {
    const DspParams& p = m_image.params;
    if (eqId >= 0 && eqId < kFirstOutputEqId)
        return p.*kSwitchOf[eqId];
    if (eqId >= kFirstOutputEqId && eqId < kEqCount)
        return p.outEqSwitch[eqId - kFirstOutputEqId];
    return 0;
}

void ChannelEqSection::setSwitch(int eqId, int value) {
    if (eqId >= 0 && eqId < kFirstOutputEqId)
        m_setters.set(kSwitchOf[eqId], value);
    else if (eqId >= kFirstOutputEqId && eqId < kEqCount)
        m_setters.set(&DspParams::outEqSwitch, eqId - kFirstOutputEqId, value);
}

bool ChannelEqSection::eqSwitch() const {
    return switchValue(m_eqId) == 1;
}

void ChannelEqSection::toggleEqSwitch() {
    if (m_eqId < 0)
        return;
    const int value = switchValue(m_eqId) != 0 ? 0 : 1;
    for (int eq : targets())
        setSwitch(eq, value);
    updateBypass();
}

void ChannelEqSection::updateBypass() {
    m_editor->setBypass(eqSwitch());
}

void ChannelEqSection::setPrompter(Prompter* prompter) {
    m_files->setPrompter(prompter);
}

void ChannelEqSection::importEq() {
    if (m_eqId < 0)
        return;
    const std::vector<int> ids = targets();
    if (m_files->importInto(this, ids))
        reload();
}

void ChannelEqSection::exportEq() {
    if (m_eqId < 0)
        return;
    const QString name = m_eqId >= kFirstOutputEqId
                             ? QStringLiteral("CH%1-EQ").arg(m_eqId - kFirstOutputEqId + 1)
                             : QStringLiteral("EQ%1").arg(m_eqId);
    m_files->exportFrom(this, m_eqId, name);
}

void ChannelEqSection::resetCurrentEq() {
    if (m_eqId < 0)
        return;
    for (int eq : targets())
        m_bands.resetEq(eq);
    reload();
}

} // namespace quilo
