#pragma once

#include "model/BandOps.h"
#include "model/FieldSetters.h"
#include "pages/EqSectionConfig.h"
#include "ui/EqCopySource.h"

#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quilo {

class EqBandList;
class EqFileTransfer;
class CEqPanel;
class Prompter;
class CXBmpSlider;
class WheelForwarder;

// The equaliser part shared by the output, music and effects pages: the curve editor, the
// band list, the single-band editor that replaces the list while a band is selected and, on
// the output page, the crossover family selector. Every change is stored in the band store
// and sent at once to each target equaliser. Controls carry their "ctrlId", so the hosting
// page's language table labels them.
//
// The band editor, the crossover row and the actions on the whole equaliser live in
// ChannelEqBandEditor.cpp, ChannelEqCrossover.cpp and ChannelEqActions.cpp.
class ChannelEqSection : public QWidget {
    Q_OBJECT

public:
    // Control ids, shared by the three pages.
    enum CtrlId {
        kCurveEditor = 1040,
        kBandList = 1139,
        kCrossoverCombo = 1134,
        kGroupType = 1199,
        kGroupGain = 1200,
        kGroupFreq = 1201,
        kGroupQ = 1202,
        kBandNumber = 1203,
        kRadioPeq = 1204, // ... 1208 for types 1-5
        kGainSlider = 1209,
        kFreqSlider = 1210,
        kQSlider = 1211,
        kGainEdit = 1212,
        kFreqEdit = 1213,
        kQEdit = 1214,
        kCrossoverLabel = 1215,
        kImportButton = 1700,
        kExportButton = 1701,
    };

    ChannelEqSection(DeviceImage& image, ReportSink& sink, EqSectionConfig config,
                     EqCopySource& copySource, QWidget* parent = nullptr);
    ~ChannelEqSection() override;

    const EqSectionConfig& config() const { return m_config; }

    // Shows equaliser `eqId` and loads it from the band store.
    void showEq(int eqId);
    int eqId() const { return m_eqId; }
    // Reloads the shown equaliser: no band selected, band list shown.
    void reload();

    // Relabels what is built in code (the table of the hosting page does the rest).
    void applyLanguage(int language);
    int language() const { return m_language; }

    int selectedBand() const { return m_selectedBand; }
    bool bandListMode() const { return m_selectedBand < 0; }

    // The equaliser switch of the shown equaliser (1 = bypassed).
    bool eqSwitch() const;
    // Inverts it, stores and sends it (on the output page for every linked channel).
    void toggleEqSwitch();
    // Flat curve for the shown equaliser (output page: every linked channel), then reload.
    void resetCurrentEq();
    // Copies the switch field into the editor's bypass mark.
    void updateBypass();

    // "Import…": a filter list into the user bands of the shown equaliser (output page: every
    // linked channel), then reload. "Export…": the shown equaliser's user bands to a file.
    void importEq();
    void exportEq();
    // File dialogs and message boxes of import and export (the page context's prompter).
    void setPrompter(Prompter* prompter);
    EqFileTransfer& fileTransfer() { return *m_files; }

    // Controls, for the hosting page and tests.
    CEqPanel& editor() { return *m_editor; }
    EqBandList& bandList() { return *m_list; }
    CXBmpSlider& slider(int ctrlId);
    QLineEdit& edit(int ctrlId);
    QRadioButton& typeRadio(int type); // 1-5
    QComboBox& crossoverCombo() { return *m_combo; }
    QLabel& crossoverLabel() { return *m_comboLabel; }
    QWidget& bandEditor() { return *m_bandEditor; }
    QLabel& bandNumber() { return *m_bandNumber; }
    QPushButton& importButton() { return *m_importButton; }
    QPushButton& exportButton() { return *m_exportButton; }
    // Controls a wheel over the page should reach when they have the focus.
    std::vector<QWidget*> wheelTargets() const;

    // Handlers of the editor's notices, the sliders, edits, radios, list and combo.
    void onBandChanged(int band);
    void onBandPicked(int band);
    // Left Ctrl with a digit on the page: selects band `band` as the editor's number keys do.
    void pickBand(int band);
    void onBackgroundClicked();
    void onCopyPasteRequest(int command, int panelId);
    void onSliderChanged(int ctrlId, int position);
    void applyEdits();
    void onTypeChosen(int type);
    void onCellEdited(int row, int column, const QString& text);
    void onRowClicked(int row);
    void onFamilyChosen(int family);

private:
    void buildControls();
    // Makes `band` the selected one and leaves the band list for the band editor.
    void selectBand(int band);
    QWidget* buildBandEditor();
    void loadBands();
    // EqIds an edit goes to, in channel order.
    std::vector<int> targets() const;
    // Stores and sends band `b` (the whole crossover on the output page's slot 9) to every
    // target.
    void applyToTargets(int b);
    // Values into the list row, edits, sliders and band number; type into radios and ranges.
    void showValues(int b);
    void showTypeControls(int b);
    void writeRow(int b);
    void writeCrossoverRow();
    // Kind (1-5) and family of the crossover slots as the editor holds them.
    int crossoverKind();
    void showCrossoverCombo(bool shown);
    void setQSliderRange(int type);
    void enterBandEditor(bool editor);
    bool isCrossoverSlot(int b) const;
    int rowOf(int b) const { return b; }
    // The switch field of an equaliser, and sends it.
    int switchValue(int eqId) const;
    void setSwitch(int eqId, int value);

    DeviceImage& m_image;
    BandOps m_bands;
    FieldSetters m_setters;
    EqSectionConfig m_config;
    EqCopySource& m_copySource;
    int m_eqId = -1;
    int m_language = 0;
    int m_selectedBand = -1;

    CEqPanel* m_editor = nullptr;
    EqBandList* m_list = nullptr;
    QWidget* m_bandEditor = nullptr;
    QLabel* m_bandNumber = nullptr;
    QButtonGroup* m_typeGroup = nullptr;
    std::array<QRadioButton*, 5> m_radios{};
    CXBmpSlider* m_gainSlider = nullptr;
    CXBmpSlider* m_freqSlider = nullptr;
    CXBmpSlider* m_qSlider = nullptr;
    QLineEdit* m_gainEdit = nullptr;
    QLineEdit* m_freqEdit = nullptr;
    QLineEdit* m_qEdit = nullptr;
    QComboBox* m_combo = nullptr;
    QLabel* m_comboLabel = nullptr;
    WheelForwarder* m_wheel = nullptr;
    QWidget* m_fileButtons = nullptr;
    QPushButton* m_importButton = nullptr;
    QPushButton* m_exportButton = nullptr;
    std::unique_ptr<EqFileTransfer> m_files;
};

} // namespace quilo
