#pragma once

#include "app/CommandActions.h"
#include "app/RibbonIds.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QMenu;
class QSlider;
class QStackedWidget;
class QTabBar;
class QToolButton;

namespace quilo {

class RibbonPanel;

// The ribbon: an application menu button, the category tabs "Input" and
// "Output" with the same ten panels each, and the buttons at the right of the
// tab row. Every control exists once per category; the owner keeps the two
// copies together. The ribbon takes no mouse wheel and shows no context menu.
//
// The ribbon only shows and reports: its buttons, menus and mute boxes trigger the
// actions of `commands`; a moved slider is reported with its value.
class CMyMFCRibbonBar : public QWidget {
    Q_OBJECT
public:
    explicit CMyMFCRibbonBar(CommandActions& commands, QWidget* parent = nullptr);

    int activeCategory() const;
    void setActiveCategory(int category);

    QSlider* slider(ribbon::Slider which, int category) const;
    int sliderValue(ribbon::Slider which, int category) const;
    // Both copies, without reporting a change.
    void setSliderPair(ribbon::Slider which, int value);
    void setSliderRange(ribbon::Slider which, int minimum, int maximum);
    // Volume and noise-gate labels (Gate is the noise-gate label).
    void setLabelPair(ribbon::Slider which, const QString& text);
    QString labelText(ribbon::Slider which, int category) const;
    void setMutePair(ribbon::Mute which, bool checked);
    bool muteChecked(ribbon::Mute which, int category) const;
    // The title of the pitch and noise-gate panel.
    void setPitchTitle(const QString& title);
    // Wireless microphone `mic` (0, 1), line 0-2.
    void setStatusLine(int mic, int line, const QString& text);
    // The check mark of the load and save mode menus (stored mode 0-3).
    void setModeCheck(int mode);
    void setRecentFiles(const QStringList& files);
    void setPresetNames(const QStringList& names);
    // Preset entry 0-14 carries the check mark; -1 none.
    void setPresetCheck(int entry);
    // Whether the undo and redo buttons can be used.
    void setUndoRedo(bool canUndo, bool canRedo);
    // The music automatic level button, which processors before protocol 9 have no use for.
    void setMusicAgcShown(bool shown);

    // Static texts of both categories, the tab-row buttons and the menus.
    void relabel(int language);

    // Any control by its id (both categories), the tab-row buttons included.
    QWidget* control(int ctrlId) const;
    QString categoryName(int category) const;
    QString panelTitle(int category, int panel) const;
    QMenu* applicationMenu() const { return m_appMenu; }
    QMenu* loadModeMenu(int category) const { return m_loadModeMenu[category]; }
    QMenu* saveModeMenu(int category) const { return m_saveModeMenu[category]; }
    QMenu* presetMenu() const { return m_presetMenu; }

signals:
    // A slider moved by the user (either copy).
    void volumeMoved(ribbon::Slider which, int value);
    void categoryChanged(int category);
    void recentFileChosen(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Category {
        std::array<QSlider*, ribbon::kSliderCount> sliders{};
        std::array<QLabel*, ribbon::kLabelCount> labels{};
        std::array<QCheckBox*, ribbon::kMuteCount> mutes{};
        std::array<RibbonPanel*, 10> panels{};
        QToolButton* loadMode = nullptr;
        QToolButton* loadFile = nullptr;
        QToolButton* saveMode = nullptr;
        QToolButton* saveFile = nullptr;
        std::array<std::array<QLabel*, 3>, 2> status{};
    };

    QWidget* buildCategory(int category);
    QToolButton* tabRowButton(UserCommand command);
    QMenu* buildModeMenu(UserCommand command);
    void rebuildApplicationMenu();
    void watch(QWidget* w);

    CommandActions& m_commands;
    int m_language = 0;
    QToolButton* m_appButton;
    QMenu* m_appMenu;
    QMenu* m_presetMenu;
    QTabBar* m_tabs;
    QStackedWidget* m_stack;
    std::array<Category, 2> m_cat;
    std::array<QMenu*, 2> m_loadModeMenu{};
    std::array<QMenu*, 2> m_saveModeMenu{};
    std::array<QToolButton*, 12> m_tabButtons{};
    QStringList m_recentFiles;
    int m_presetChecked = -1;
};

} // namespace quilo
