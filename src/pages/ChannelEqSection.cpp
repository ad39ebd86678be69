#include "pages/ChannelEqSection.h"

#include "dsp/Crossover.h"
#include "pages/EqBandList.h"
#include "pages/EqFileTransfer.h"
#include "pages/EqImportTexts.h"
#include "pages/EqSectionTexts.h"
#include "pages/EqValueText.h"
#include "ui/ControlTag.h"
#include "ui/WheelForwarder.h"
#include "widgets/CEqPanel.h"
#include "widgets/CXBmpSlider.h"
#include "widgets/WidgetFonts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace quilo {

namespace {

constexpr int kOutputChannels = 8;
constexpr int kMinVisibleRows = 5; // rows the band list keeps however small the page

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

} // namespace quilo
