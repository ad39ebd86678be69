#include "mqtt/gui/HomeAutomationWindow.h"

#include "mqtt/MqttBridge.h"
#include "ui/BiText.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quilo {

namespace {

constexpr BiText kTitle{"家庭自动化", "Home automation"};
constexpr BiText kEnabledText{"启用 MQTT 桥接", "MQTT bridge on"};
constexpr BiText kTlsText{"TLS 加密", "TLS"};
constexpr BiText kApplyText{"应用", "Apply"};
constexpr BiText kBrowseText{"浏览…", "Browse…"};
constexpr BiText kDeviceIdHint{"型号_短编号（默认）", "model_shortid (default)"};
// Row labels, by the control of the row.
constexpr std::pair<int, BiText> kRows[] = {
    {HomeAutomationWindow::kHost, {"服务器", "Broker"}},
    {HomeAutomationWindow::kPort, {"端口", "Port"}},
    {HomeAutomationWindow::kUser, {"用户名", "User"}},
    {HomeAutomationWindow::kPassword, {"密码", "Password"}},
    {HomeAutomationWindow::kCaFile, {"CA 证书文件", "CA file"}},
    {HomeAutomationWindow::kBaseTopic, {"基础主题", "Base topic"}},
    {HomeAutomationWindow::kPrefix, {"发现前缀", "Discovery prefix"}},
    {HomeAutomationWindow::kDeviceId, {"设备 ID", "Device id"}},
};
constexpr BiText kPhases[] = {
    {"已关闭", "Off"},
    {"等待处理器连接", "Waiting for the processor"},
    {"正在连接…", "Connecting…"},
    {"已连接", "Connected"},
    {"被服务器拒绝", "Refused by the broker"},
    {"连接中断，稍后重试", "Connection lost, trying again"},
};
constexpr BiText kWrongPassword{"用户名或密码错误", "wrong user name or password"};
constexpr BiText kNotApplied{"未应用：", "Not applied: "};
constexpr const char* kCaFilter = "Certificates (*.pem *.crt);;All files (*)";

QLineEdit* lineEdit(QWidget* parent, int ctrlId) {
    auto* edit = new QLineEdit(parent);
    tagControl(edit, ctrlId);
    edit->setMinimumWidth(220);
    return edit;
}

} // namespace

HomeAutomationWindow::HomeAutomationWindow(PageContext& context, MqttBridge& bridge,
                                           QWidget* parent)
    : ContextToolWindow(context, kTemplate, parent), m_bridge(&bridge) {
    auto* layout = new QVBoxLayout(this);
    m_enabled = makeCheck(this, kEnabled, {});
    layout->addWidget(m_enabled);

    m_host = lineEdit(this, kHost);
    m_port = new QSpinBox(this);
    tagControl(m_port, kPort);
    m_port->setRange(1, 65535);
    m_user = lineEdit(this, kUser);
    m_password = lineEdit(this, kPassword);
    m_password->setEchoMode(QLineEdit::Password);
    m_tls = makeCheck(this, kTls, {});
    m_caFile = lineEdit(this, kCaFile);
    m_caBrowse = new QPushButton(this);
    tagControl(m_caBrowse, kCaBrowse);
    connect(m_caBrowse, &QPushButton::clicked, this, &HomeAutomationWindow::browseCa);
    m_baseTopic = lineEdit(this, kBaseTopic);
    m_prefix = lineEdit(this, kPrefix);
    m_deviceId = lineEdit(this, kDeviceId);

    auto* form = new QFormLayout;
    const auto row = [&](int ctrlId, QWidget* field, QLayout* fieldLayout = nullptr) {
        auto* label = new QLabel(this);
        m_labels.emplace_back(label, ctrlId);
        if (fieldLayout != nullptr) {
            form->addRow(label, fieldLayout);
        } else {
            form->addRow(label, field);
        }
    };
    row(kHost, m_host);
    row(kPort, m_port);
    row(kUser, m_user);
    row(kPassword, m_password);
    form->addRow(QString(), m_tls);
    auto* ca = new QHBoxLayout;
    ca->addWidget(m_caFile, 1);
    ca->addWidget(m_caBrowse);
    row(kCaFile, nullptr, ca);
    row(kBaseTopic, m_baseTopic);
    row(kPrefix, m_prefix);
    row(kDeviceId, m_deviceId);
    layout->addLayout(form);

    m_state = makeText(this, kState);
    m_state->setWordWrap(true);
    m_state->setMinimumHeight(40);
    layout->addWidget(m_state);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_apply = new QPushButton(this);
    tagControl(m_apply, kApply);
    m_apply->setDefault(true); // Enter in a box applies, it does not close the window
    connect(m_apply, &QPushButton::clicked, this, &HomeAutomationWindow::applyEdits);
    buttons->addWidget(m_apply);
    layout->addLayout(buttons);

    // The authority matters only with TLS.
    connect(m_tls, &QCheckBox::toggled, this, [this](bool on) {
        m_caFile->setEnabled(on);
        m_caBrowse->setEnabled(on);
    });
    connect(&bridge, &MqttBridge::statusChanged, this, &HomeAutomationWindow::showState);
    showSettings();
    applyLanguage(context.language());
}

void HomeAutomationWindow::refreshFromImage() {
    showState();
}

void HomeAutomationWindow::applyLanguage(int language) {
    setWindowTitle(kTitle.pick(language));
    m_enabled->setText(kEnabledText.pick(language));
    m_tls->setText(kTlsText.pick(language));
    m_apply->setText(kApplyText.pick(language));
    m_caBrowse->setText(kBrowseText.pick(language));
    m_deviceId->setPlaceholderText(kDeviceIdHint.pick(language));
    for (const auto& [label, ctrlId] : m_labels) {
        for (const auto& [id, text] : kRows) {
            if (id == ctrlId) {
                label->setText(text.pick(language));
            }
        }
    }
    showState();
}

void HomeAutomationWindow::showSettings() {
    if (!m_bridge) {
        return;
    }
    const MqttSettings& s = m_bridge->settings();
    m_enabled->setChecked(s.enabled);
    m_host->setText(s.host);
    m_port->setValue(s.port);
    m_user->setText(s.user);
    m_password->setText(s.password);
    m_tls->setChecked(s.tls);
    m_caFile->setEnabled(s.tls);
    m_caBrowse->setEnabled(s.tls);
    m_caFile->setText(s.caFile);
    m_baseTopic->setText(s.baseTopic);
    m_prefix->setText(s.discoveryPrefix);
    m_deviceId->setText(s.deviceId);
}

MqttSettings HomeAutomationWindow::edited() const {
    MqttSettings s = m_bridge ? m_bridge->settings() : MqttSettings();
    s.enabled = m_enabled->isChecked();
    s.host = m_host->text().trimmed();
    s.port = m_port->value();
    s.user = m_user->text();
    s.password = m_password->text();
    s.tls = m_tls->isChecked();
    s.caFile = m_caFile->text().trimmed();
    s.baseTopic = m_baseTopic->text().trimmed();
    s.discoveryPrefix = m_prefix->text().trimmed();
    s.deviceId = m_deviceId->text().trimmed();
    return s;
}

bool HomeAutomationWindow::applyEdits() {
    m_applyProblem.clear();
    if (m_bridge && !m_bridge->apply(edited(), &m_applyProblem)) {
        showState();
        return false;
    }
    showSettings(); // a default device id shows once it is chosen
    showState();
    return true;
}

QString HomeAutomationWindow::stateText() const {
    const int language = m_context.language();
    if (!m_applyProblem.isEmpty()) {
        return kNotApplied.pick(language) + m_applyProblem;
    }
    if (!m_bridge) {
        return kPhases[0].pick(language);
    }
    QString text = kPhases[int(m_bridge->phase())].pick(language);
    if (m_bridge->phase() == MqttBridge::Phase::Refused &&
        m_bridge->problem().contains(QLatin1String("password"))) {
        text += QStringLiteral(": ") + kWrongPassword.pick(language);
    } else if (!m_bridge->problem().isEmpty()) {
        text += QStringLiteral(": ") + m_bridge->problem();
    }
    if (m_bridge->phase() == MqttBridge::Phase::Connected) {
        text += QStringLiteral("\n") + m_bridge->deviceId();
    }
    return text;
}

void HomeAutomationWindow::showState() {
    m_state->setText(stateText());
    if (m_bridge && m_deviceId->text().isEmpty() && !m_bridge->settings().deviceId.isEmpty()) {
        m_deviceId->setText(m_bridge->settings().deviceId);
    }
}

void HomeAutomationWindow::browseCa() {
    const QString path = m_context.prompter().openFileName(this, QString::fromLatin1(kCaFilter));
    if (!path.isEmpty()) {
        m_caFile->setText(path);
    }
}

} // namespace quilo
