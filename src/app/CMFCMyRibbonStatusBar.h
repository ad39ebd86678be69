#pragma once

#include <QStatusBar>

class QCheckBox;
class QLabel;
class QPushButton;

namespace quilo {

class CommandActions;

// The status bar: connection pane 120, mode pane 121, and at the right the
// equaliser "Bypass" box 1121 and the "Reset EQ" button 1122, which trigger their
// commands.
class CMFCMyRibbonStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit CMFCMyRibbonStatusBar(CommandActions& commands, QWidget* parent = nullptr);

    enum class Link { Connected, Disconnected, NoPermission };
    // Green "connected" (with the emulated note when asked), red "disconnected" or
    // red "no permission" (a processor is attached that this user may not open).
    void setConnection(Link link, bool emulated, int language);
    void setModeText(const QString& text);
    void setEqControls(bool enabled, bool bypassChecked);
    void relabel(int language);
    // A passing hint (a menu entry's status tip) beside the panes; empty clears it.
    void showHint(const QString& text);

    QLabel* connectionPane() const { return m_connection; }
    QLabel* modePane() const { return m_mode; }
    QLabel* hintPane() const { return m_hint; }
    QCheckBox* bypassBox() const { return m_bypass; }
    QPushButton* resetEqButton() const { return m_resetEq; }

private:
    QLabel* m_connection;
    QLabel* m_mode;
    QLabel* m_hint;
    QCheckBox* m_bypass;
    QPushButton* m_resetEq;
};

} // namespace quilo
