#pragma once

#include <QDialog>

namespace quilo {

class CGdipButton;
class PageContext;
class PlugOperation;

// Switching a switch plug on or off (template 485): modeless, one at a time,
// reused for the next plug (only its caption and plug change).
class CDlgZwaveSwitch : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 485;
    enum CtrlId { kOnLabel = 1005, kOffLabel = 1007, kOn = 1068, kOff = 1069 };

    CDlgZwaveSwitch(PageContext& context, PlugOperation& operation, QWidget* parent);

    void setPlug(int id, const QString& name);
    int plug() const { return m_id; }
    void applyLanguage();

private:
    void send(bool on);

    PageContext& m_context;
    PlugOperation& m_operation;
    int m_id = 0;
    QString m_name;
};

} // namespace quilo
