#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;

namespace quilo {

class CommandActions;
class DeviceAccess;
class Language;
class MasterControls;
class ModeFileController;
class PageHost;
class Prompter;
struct DeviceImage;

// The keyboard, examined before any window sees the key. Commands go through their
// actions: F1-F4 load (with the left Ctrl key: store) a mode, F7 opens the machine
// settings, Ctrl+Z takes the last edit back and Ctrl+Shift+Z does it again (unless a
// text box can take back its own typing), Z X V C toggle the mutes and P the page's
// equaliser switch. Ctrl with a digit goes to the page and the letters Q A W S E D R F
// step the volumes. Keys are held back while `blocked` says so (a progress dialog or
// another modal window is up).
class ShortcutController : public QObject {
    Q_OBJECT
public:
    ShortcutController(const DeviceImage& image, DeviceAccess& device, ModeFileController& modes,
                       MasterControls& master, PageHost& pages, CommandActions& commands,
                       Prompter& prompter, Language& language, std::function<bool()> blocked);
    ~ShortcutController() override;

    // True when the key is consumed.
    bool handle(QKeyEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Ctrl+Z and Ctrl+Shift+Z: true when the key is consumed.
    bool undoKey(QKeyEvent* event, bool blocked);

    const DeviceImage& m_image;
    DeviceAccess& m_device;
    ModeFileController& m_modes;
    MasterControls& m_master;
    PageHost& m_pages;
    CommandActions& m_commands;
    Prompter& m_prompter;
    Language& m_language;
    std::function<bool()> m_blocked;
    bool m_rightCtrlDown = false;
};

} // namespace quilo
