#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QAction;

namespace quilo {

// What the user can ask of the program from the ribbon, the application menu, the
// status bar and the keyboard. A command that comes in numbered copies (stored modes,
// speaker presets, mutes) has one action per copy.
enum class UserCommand {
    // Tab row.
    Undo,
    Redo,
    Features,
    SubDecay,
    MusicAgc,
    MachineReset,
    SmartPlug,
    Remote,
    PhoneRemote,
    InputSource,
    Language,
    About,
    // Application menu; Open and Save are also the "LoadFile" and "SaveFile" buttons.
    Open,
    Save,
    CompareFile,
    RecordTrace,
    HomeAutomation,
    Exit,
    // Stored modes M1-M4: the mode menus, F1-F4 and left Ctrl+F1-F4 (asked at once,
    // held keys do not store again).
    LoadMode,
    SaveMode,
    KeySaveMode,
    // The speaker presets of the "LoadFile" menu.
    Preset,
    // In ribbon::Mute order: the ribbon's mute boxes and the keys Z X V C.
    Mute,
    // The status bar's equaliser switch (also P) and "Reset EQ".
    EqSwitch,
    EqReset,
    // F7.
    MachineSettings,
};

// One QAction for every command: the ribbon, the menus, the status bar and the
// keyboard shortcuts trigger these, and the view binds each to what it does. The
// table gives every action its text in both languages, its icon and the id its
// control is known by.
class CommandActions : public QObject {
    Q_OBJECT
public:
    explicit CommandActions(QObject* parent = nullptr);

    QAction* action(UserCommand command, int index = 0) const;
    int count(UserCommand command) const;
    // The control id of the command's first copy (0 when it has none).
    int controlId(UserCommand command) const;
    // What every copy of `command` does; `index` says which copy was triggered.
    void bind(UserCommand command, std::function<void(int index)> handler);
    void trigger(UserCommand command, int index = 0) const;
    // Texts and tips in `language` (kChinese, kEnglish); presets keep the names they were given.
    void relabel(int language);

private:
    std::vector<std::vector<QAction*>> m_actions; // by command, then copy
};

} // namespace quilo
