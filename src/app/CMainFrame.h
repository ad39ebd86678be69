#pragma once

#include <QMainWindow>

namespace quilo {

class CMFCMyRibbonStatusBar;
class CommandActions;
class CMyMFCRibbonBar;
class CVORNEXv13App;
class CVORNEXv13View;

// The main window: ribbon on top, the view in the middle, the status bar below.
// Closing asks about unsaved changes and says goodbye to the processor; while a
// synchronisation owns the image, it waits for the image to come back first.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kMinWidth = 1240;
    static constexpr int kMinHeight = 700;
    static constexpr const char* kTitle = "QUILO v1.3.4";

    explicit CMainFrame(CVORNEXv13App& app);
    ~CMainFrame() override;

    CommandActions& commands() const { return *m_commands; }
    CMyMFCRibbonBar& ribbon() const { return *m_ribbon; }
    CMFCMyRibbonStatusBar& statusBarPanes() const { return *m_status; }
    CVORNEXv13View& view() const { return *m_view; }

    // Restores a minimised window and brings it to the front.
    void bringToFront();
    // Fills the speaker-preset menu in the current language.
    void relabelPresets(int language);
    // Closes as the close button does, but asks nothing (a signal, the session's
    // logout): unsaved settings stay unsaved, a running synchronisation is still
    // waited for.
    void closeWithoutQuestions();

protected:
    // Status tips (a recent file's path) go to the status bar's hint pane, so the
    // connection and mode panes stay visible.
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A mode file dropped on the window is opened like one from the recent list.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    CVORNEXv13App& m_app;
    CommandActions* m_commands;
    CMyMFCRibbonBar* m_ribbon;
    CMFCMyRibbonStatusBar* m_status;
    CVORNEXv13View* m_view;
    bool m_closed = false;
    bool m_questionsAllowed = true;
};

} // namespace quilo
