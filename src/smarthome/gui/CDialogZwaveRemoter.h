#pragma once

#include "smarthome/PlugRecord.h"
#include "smarthome/SceneDraft.h"
#include "ui/BiText.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace quilo {

class CXBmpSlider;
class PageContext;
class SmartHome;
class WheelForwarder;

// The scene editor page of the smart-plug window (template 482): the steps of one
// of the six scenes as a list of up to 28 rows (plug values, infrared keys of a
// plug, delays). The rows show a working copy (SceneDraft); Save stores it in the
// processor, Test runs the scene as stored.
class CDialogZwaveRemoter : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 482;
    enum CtrlId {
        kLevelText = 1008,
        kDelayText = 1009,
        kLevelSlider = 1014,
        kOnCheck = 1045,
        kAdd = 1068,
        kDelete = 1069,
        kListGroup = 1070,
        kPlugGroup = 1071,
        kKeyGroup = 1072,
        kDelayGroup = 1073,
        kSave = 1074,
        kUp = 1075,
        kDown = 1076,
        kClear = 1077,
        kModify = 1078,
        kTest = 1081,
        kPlugChoice = 1134,
        kKeyChoice = 1135,
        kSceneChoice = 1217,
        kSteps = 1223,
        kSceneLabel = 1226,
        kPlugLabel = 1228,
        kKeyLabel = 1229,
        kAddDelay = 1235,
        kAddKey = 1236,
        kDelaySlider = 1237,
        kLearnedOnly = 1238,
        kDelayLabel = 1239,
        kResetValue = 1240,
        kResetKey = 1241,
        kResetDelay = 1242,
    };

    CDialogZwaveRemoter(PageContext& context, SmartHome& home, QWidget* parent);
    ~CDialogZwaveRemoter() override;

    void refreshSceneNames();
    void refreshPlugChoice();
    void refreshSteps();
    void refreshKeyChoice();
    void applyLanguage();

    int scene() const { return m_scene; }
    QTreeWidget* steps() const { return m_steps; }
    const SceneDraft& draft() const { return m_draft; }

signals:
    // Test: run the stored scene under the progress dialog with `text`.
    void runSceneRequested(int scene, const QString& text);

private:
    enum class Kind { Plug, Key, Delay };
    void addStep(Kind kind);
    void resetStep(Kind kind);
    // The step of `kind` from the controls; false (with its notice) when a check fails.
    bool takeStep(Kind kind, SceneStep& step);
    void moveRow(int delta);
    void save();
    void plugChosen();
    // Shows the draft's rows, with row `selected` selected (none when -1).
    void showDraft(int selected);
    int selectedPlug() const;
    int selectedRow() const;
    void notice(const BiText& text);

    PageContext& m_context;
    SmartHome& m_home;
    int m_scene = 0;
    SceneDraft m_draft;
    QTreeWidget* m_steps;
    QComboBox* m_sceneChoice;
    QComboBox* m_plugChoice;
    QComboBox* m_keyChoice;
    QCheckBox* m_on;
    QCheckBox* m_learnedOnly;
    CXBmpSlider* m_level;
    QLabel* m_levelText;
    CXBmpSlider* m_delay;
    QLabel* m_delayText;
    WheelForwarder* m_wheel;
};

} // namespace quilo
