#pragma once

#include <QDialog>

class QLabel;

namespace quilo {

class CXBmpSlider;
class PageContext;
class PlugOperation;

// Setting the level of a dimmer plug (template 484): modeless, one at a time,
// reused for the next plug (its slider keeps its position). The level goes out
// when the slider is released or a button is pressed.
class CDlgZwaveLight : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 484;
    enum CtrlId {
        kLevelLabel = 1005,
        kWarning = 1007,
        kSlider = 1014,
        kDown = 1068,
        kUp = 1069,
        kOff = 1070,
        kMax = 1071,
        kLevelText = 1232,
        kWarningLine1 = 1237,
        kWarningLine2 = 1238,
        kHint = 1239,
    };
    static constexpr int kMaxLevel = 99;

    CDlgZwaveLight(PageContext& context, PlugOperation& operation, QWidget* parent);

    // `startLevel` is taken by the slider only when the dialog is new.
    void setPlug(int id, const QString& name, int startLevel);
    int plug() const { return m_id; }
    int level() const;
    QString levelText() const;
    void applyLanguage();

    // "关", "最大" or the level in percent (no English form).
    static QString levelText(int level);

private:
    void apply(int level);
    void showLevel(int level);

    PageContext& m_context;
    PlugOperation& m_operation;
    CXBmpSlider* m_slider;
    QLabel* m_level;
    QLabel* m_line2;
    int m_id = 0;
    bool m_placed = false;
    QString m_name;
};

} // namespace quilo
