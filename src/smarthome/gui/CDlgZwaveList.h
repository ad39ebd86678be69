#pragma once

#include <QWidget>

class QListWidget;

namespace quilo {

class PageContext;
class PlugOperation;
class SmartHome;

// The plug list page of the smart-plug window (template 481): the plugs in the
// network as large icons by type. A click opens the plug's switch or dimmer
// dialog, a right-click its editor; the buttons remove a plug from the network and
// add one. The window opens the dialogs.
class CDlgZwaveList : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 481;
    enum CtrlId { kRemove = 1075, kAdd = 1076, kList = 1223 };

    CDlgZwaveList(PageContext& context, SmartHome& home, PlugOperation& operation, QWidget* parent);

    // One item per present plug 2-232 in id order: name, icon of its type, id.
    void refreshPlugList();
    QListWidget* list() const { return m_list; }

signals:
    void switchRequested(int id);
    void dimmerRequested(int id);
    // 0 adds a plug.
    void editRequested(int id);

private:
    void itemClicked(int id);

    PageContext& m_context;
    SmartHome& m_home;
    PlugOperation& m_operation;
    QListWidget* m_list;
};

} // namespace quilo
