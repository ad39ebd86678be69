#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;

namespace quilo {

class DeviceAccess;
class Language;
class MasterControls;
class ModeFileController;
class Navigator;
class PageHost;
class Prompter;
struct DeviceImage;

// The keyboard shortcuts, examined before any window sees the key: F1-F4 load
// (with the left Ctrl key: store) a mode, F7 opens the machine settings, Ctrl with
// a digit goes to the page, letters step volumes and toggle mutes and the page's
// equaliser switch. Keys are held back while `blocked` says so (a progress dialog
// or another modal window is up).
class ShortcutController : public QObject {
    Q_OBJECT
public:
    ShortcutController(const DeviceImage& image, DeviceAccess& device, ModeFileController& modes,
                       MasterControls& master, PageHost& pages, Navigator& navigator,
                       Prompter& prompter, Language& language, std::function<bool()> blocked);
    ~ShortcutController() override;

    // True when the key is consumed.
    bool handle(QKeyEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const DeviceImage& m_image;
    DeviceAccess& m_device;
    ModeFileController& m_modes;
    MasterControls& m_master;
    PageHost& m_pages;
    Navigator& m_navigator;
    Prompter& m_prompter;
    Language& m_language;
    std::function<bool()> m_blocked;
    bool m_rightCtrlDown = false;
};

} // namespace quilo
