#pragma once

#include "pages/ContextToolWindow.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace quilo {

class WebRemote;

// "Phone remote…": switches the phone page on or off, where it listens (one
// address of this machine, or every interface with a warning that anyone on the
// network can then reach the pairing page), the page's address and its QR code,
// the pairing code, and the paired phones with their last use, each revocable.
class PhoneRemoteWindow : public ContextToolWindow {
    Q_OBJECT
public:
    static constexpr int kTemplate = 621;

    PhoneRemoteWindow(PageContext& context, WebRemote& remote, QWidget* parent = nullptr);

    void refreshFromImage() override {}
    void applyLanguage(int language) override;

    // For tests: the controls a user works.
    QCheckBox& serveBox() const { return *m_serve; }
    QComboBox& addressBox() const { return *m_address; }
    QSpinBox& portBox() const { return *m_port; }
    QPushButton& newCodeButton() const { return *m_newCode; }
    QTreeWidget& phoneList() const { return *m_phones; }
    QPushButton& revokeButton() const { return *m_revoke; }
    QLabel& codeLabel() const { return *m_code; }
    QLabel& warningLabel() const { return *m_warning; }
    QLabel& urlLabel() const { return *m_url; }

private:
    void fillAddresses();
    // Listens where the address and port boxes say (when switched on).
    void applyListen();
    void showState();
    void showCode();
    QString chosenAddress() const;

    WebRemote& m_remote;
    int m_language = 0;
    QString m_problem;
    QCheckBox* m_serve = nullptr;
    QLabel* m_listenLabel = nullptr;
    QComboBox* m_address = nullptr;
    QLabel* m_portLabel = nullptr;
    QSpinBox* m_port = nullptr;
    QLabel* m_warning = nullptr;
    QLabel* m_url = nullptr;
    QLabel* m_qr = nullptr;
    QLabel* m_codeTitle = nullptr;
    QLabel* m_code = nullptr;
    QLabel* m_codeLeft = nullptr;
    QPushButton* m_newCode = nullptr;
    QLabel* m_phonesTitle = nullptr;
    QTreeWidget* m_phones = nullptr;
    QPushButton* m_revoke = nullptr;
    QLabel* m_status = nullptr;
};

} // namespace quilo
