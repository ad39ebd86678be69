#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QTreeWidget;

namespace quilo {

class PageContext;
class PlugOperation;
class SmartHome;

// The infrared key learning page of the smart-plug window (template 516): the 63
// keys of a plug from its key file, learning and test-emitting a key, clearing
// its learned mark and renaming it. The plug's reports (function 0x04) come
// through the window.
class CRemoteLearnDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 516;
    enum CtrlId {
        kName = 1038,
        kPlugChoice = 1134,
        kKeys = 1223,
        kPlugLabel = 1228,
        kNameLabel = 1229,
        kTransmit = 1232,
        kLearn = 1233,
        kRename = 1234,
        kClear = 1235,
    };

    CRemoteLearnDlg(PageContext& context, SmartHome& home, PlugOperation& operation,
                    QWidget* parent);

    void refreshPlugChoice();
    void refreshKeyList();
    void applyLanguage();
    // A report of plug `plug` with its last command byte `value`.
    void plugReport(int plug, int value);

    QTreeWidget* keys() const { return m_keys; }

private:
    // The selected plug and row after the checks of Learn, Transmit and Clear;
    // false (with its notice) when one fails.
    bool checked(int& plug, int& row);
    void rename();
    int selectedPlug() const;
    int selectedRow() const;
    void setHeader();

    PageContext& m_context;
    SmartHome& m_home;
    PlugOperation& m_operation;
    QTreeWidget* m_keys;
    QComboBox* m_plugChoice;
    QLineEdit* m_name;
};

} // namespace quilo
