#pragma once

#include <QDialog>

#include <cstdint>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quilo {

class PageContext;
class PlugOperation;
class SmartHome;

// Adding a plug or changing a plug's type and name (template 480): modeless, one
// at a time, destroyed when it closes. Adding stores the chosen type and name as
// the pending record and starts the exclusion-then-inclusion operation; changing
// writes the record to the processor at once.
class CDlgZwaveEdit : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 480;
    enum CtrlId {
        kOk = 1,
        kCancel = 2,
        kTypeLabel = 1005,
        kNameLabel = 1007,
        kName = 1038,
        kType = 1134,
    };

    // `id` 0 adds a plug; a plug id changes that plug.
    CDlgZwaveEdit(PageContext& context, SmartHome& home, PlugOperation& operation, int id,
                  QWidget* parent);

    int plug() const { return m_id; }
    void applyLanguage();
    void setVisible(bool visible) override;

signals:
    // A record was stored or an add started: the pages list the plugs again.
    void saved();

private:
    void accept() override;

    PageContext& m_context;
    SmartHome& m_home;
    PlugOperation& m_operation;
    int m_id;
    std::uint8_t m_storedType = 0;
    QComboBox* m_type;
    QLineEdit* m_name;
    QPushButton* m_ok;
};

} // namespace quilo
