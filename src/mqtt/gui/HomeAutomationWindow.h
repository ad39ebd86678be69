#pragma once

#include "mqtt/MqttSettings.h"
#include "pages/ContextToolWindow.h"

#include <QPointer>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quilo {

class MqttBridge;

// "Home automation…": the MQTT bridge's settings (broker, user and password, TLS
// and its CA file, base topic, discovery prefix, device id), on and off, and what
// the connection is doing, a refused password included. Apply stores and uses the
// settings; the window never waits on the network.
class HomeAutomationWindow : public ContextToolWindow {
    Q_OBJECT
public:
    static constexpr int kTemplate = 620;
    enum Control {
        kEnabled = 6201,
        kHost,
        kPort,
        kUser,
        kPassword,
        kTls,
        kCaFile,
        kCaBrowse,
        kBaseTopic,
        kPrefix,
        kDeviceId,
        kApply,
        kState,
    };

    HomeAutomationWindow(PageContext& context, MqttBridge& bridge, QWidget* parent = nullptr);

    void refreshFromImage() override;
    void applyLanguage(int language) override;

    // The settings as the window's controls hold them.
    MqttSettings edited() const;
    // The connection's state as the window words it.
    QString stateText() const;
    // Apply: the settings stored and used; false (and said in the state line) when
    // they cannot be.
    bool applyEdits();

private:
    void showSettings();
    void showState();
    void browseCa();

    QPointer<MqttBridge> m_bridge;
    QCheckBox* m_enabled;
    QLineEdit* m_host;
    QSpinBox* m_port;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QCheckBox* m_tls;
    QLineEdit* m_caFile;
    QPushButton* m_caBrowse;
    QLineEdit* m_baseTopic;
    QLineEdit* m_prefix;
    QLineEdit* m_deviceId;
    QPushButton* m_apply;
    QLabel* m_state;
    std::vector<std::pair<QLabel*, int>> m_labels; // label and the row it names
    QString m_applyProblem;
};

} // namespace quilo
