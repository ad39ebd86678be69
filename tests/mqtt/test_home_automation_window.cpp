// "Home automation…" as the program opens it, over a bridge in quilod's owner and a
// broker that wants a password: the refusal is shown in both languages, the window's
// own settings are applied and stored, and settings that cannot be used are not.
// With QUILO_SHOTS=DIR it is written there as home_automation_<zh|en>.png.
#include "BrokerHarness.h"
#include "app/WindowRegistry.h"
#include "gui/ShotFile.h"
#include "gui/pages/ToolWindowHarness.h"
#include "mqtt/gui/HomeAutomationWindow.h"
#include "support/RunCommand.h"

#include <QCheckBox>
#include <QLineEdit>

using namespace quilo;
using namespace quilo::test;

TEST(HomeAutomationWindow, ShowsARefusedPasswordAndAppliesItsSettings) {
    Broker broker;
    ASSERT_EQ(runCommand("mosquitto_passwd -b -c '" + broker.path("passwords").toStdString() +
                         "' quilo right; echo $?")
                  .out,
              "0\n");
    broker.listener =
        QStringLiteral("allow_anonymous false\npassword_file %1\n").arg(broker.path("passwords"));
    ASSERT_TRUE(broker.start());
    MqttSettings s = brokerSettings(broker.port());
    s.user = QStringLiteral("quilo");
    s.password = QStringLiteral("wrong");
    Owner owner(s);

    for (const int language : {kChinese, kEnglish}) {
        ToolWindowHarness harness(language);
        registerHomeAutomation(harness.factories, *owner.bridge);
        auto& window = harness.open<HomeAutomationWindow>(ToolWindowId::HomeAutomation);
        ASSERT_TRUE(pumpUntil([&] { return owner.bridge->phase() == MqttBridge::Phase::Refused; }));
        const QString refused = language == kEnglish ? QStringLiteral("wrong user name or password")
                                                     : QStringLiteral("用户名或密码错误");
        EXPECT_TRUE(window.control<QLabel>(HomeAutomationWindow::kState).text().contains(refused))
            << window.stateText().toStdString();
        EXPECT_TRUE(window.control<QCheckBox>(HomeAutomationWindow::kEnabled).isChecked());
        EXPECT_EQ(window.control<QLineEdit>(HomeAutomationWindow::kPassword).echoMode(),
                  QLineEdit::Password);
        shoot(&window, language == kEnglish ? QStringLiteral("home_automation_en")
                                            : QStringLiteral("home_automation_zh"));
    }

    ToolWindowHarness harness(kEnglish);
    registerHomeAutomation(harness.factories, *owner.bridge);
    auto& window = harness.open<HomeAutomationWindow>(ToolWindowId::HomeAutomation);
    const MqttSettingsStore store(owner.dir.filePath(QStringLiteral("mqtt.json")));
    // A base topic with a wildcard cannot be used: nothing is stored, the state says why.
    const MqttSettings before = store.load();
    window.control<QLineEdit>(HomeAutomationWindow::kBaseTopic).setText(QStringLiteral("quilo/#"));
    EXPECT_FALSE(window.applyEdits());
    EXPECT_TRUE(window.stateText().startsWith(QStringLiteral("Not applied: ")));
    EXPECT_EQ(store.load(), before);

    window.control<QLineEdit>(HomeAutomationWindow::kBaseTopic).setText(QStringLiteral("house"));
    window.control<QLineEdit>(HomeAutomationWindow::kPassword).setText(QStringLiteral("right"));
    ASSERT_TRUE(window.applyEdits());
    EXPECT_TRUE(pumpUntil([&] { return owner.bridge->phase() == MqttBridge::Phase::Connected; }));
    EXPECT_TRUE(window.stateText().startsWith(QStringLiteral("Connected")));
    EXPECT_EQ(store.load().password, QStringLiteral("right"));
    EXPECT_EQ(store.load().baseTopic, QStringLiteral("house"));
    EXPECT_TRUE(owner.bridge->statusText().contains(QStringLiteral("topics: house/")));
}
