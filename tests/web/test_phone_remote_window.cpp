// The "Phone remote" window in the program on the emulated processor, in both languages:
// off until switched on, a warning for every interface, the address and code a phone
// needs, the paired phone listed and revoked, and a change in the window reaching the
// page's WebSocket. With QUILO_SHOTS=DIR the window is written there as
// phone_remote_window_<zh|en>.png.
#include "AppHarness.h"
#include "HttpCall.h"
#include "ShotFile.h"
#include "app/ProgramBus.h"
#include "app/RibbonIds.h"
#include "web/gui/PhoneRemoteWindow.h"
#include "web/gui/ProgramWeb.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTcpServer>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

class PhoneRemoteWindowTest : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(PhoneRemoteWindowTest, SwitchedOnItPairsListsRevokesAndPassesOnTheWindowsChanges) {
    const int language = GetParam();
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quilo-test-bus");
    AppHarness h(true, language);
    h.start();
    ProgramBus bus(*h.app, *h.app->mainFrame(), false);
    ProgramWeb web(h.app->windowFactories(), h.app->languageState(), bus.service(),
                   {h.dir.filePath(QStringLiteral("web.json")), {}});
    bus.service().look();

    auto* button = qobject_cast<QAbstractButton*>(h.ribbon().control(ribbon::kPhoneRemote));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(),
              language == kEnglish ? QStringLiteral("Phone") : QStringLiteral("手机"));
    button->click();
    auto* w = dynamic_cast<PhoneRemoteWindow*>(h.app->toolWindow(ToolWindowId::PhoneRemote));
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(waitUntil([&] { return w->isVisible(); }));
    EXPECT_FALSE(web.remote().isOn());
    EXPECT_FALSE(w->serveBox().isChecked());
    EXPECT_FALSE(w->newCodeButton().isEnabled());

    // Every interface is the user's explicit choice, and the window says what it means.
    QComboBox& address = w->addressBox();
    address.setCurrentIndex(address.findData(QStringLiteral("*")));
    EXPECT_TRUE(w->warningLabel().isVisibleTo(w));
    address.setCurrentIndex(address.findData(QStringLiteral("127.0.0.1")));
    ASSERT_GE(address.currentIndex(), 0);
    EXPECT_FALSE(w->warningLabel().isVisibleTo(w));

    const quint16 port = freePort();
    w->portBox().setValue(port);
    w->serveBox().click();
    ASSERT_TRUE(web.remote().isOn());
    EXPECT_EQ(web.remote().port(), port);
    EXPECT_TRUE(w->urlLabel().text().contains(QStringLiteral("http://127.0.0.1:%1/").arg(port)));
    w->newCodeButton().click();
    const QString code = web.remote().code();
    ASSERT_EQ(code.size(), 6);
    EXPECT_EQ(w->codeLabel().text(), code);

    const HttpAnswer paired =
        httpCall(port, "POST", "/api/pair", {},
                 QStringLiteral(R"({"code":"%1","name":"Sofa phone"})").arg(code).toUtf8());
    ASSERT_EQ(paired.status, 200);
    const QByteArray cookie = paired.header("Set-Cookie");
    EXPECT_TRUE(cookie.contains("HttpOnly"));
    EXPECT_TRUE(cookie.contains("SameSite=Strict"));
    const QByteArray token = paired.json().value(QStringLiteral("token")).toString().toLatin1();
    ASSERT_EQ(w->phoneList().topLevelItemCount(), 1);
    EXPECT_EQ(w->phoneList().topLevelItem(0)->text(0), QStringLiteral("Sofa phone"));
    EXPECT_TRUE(w->codeLabel().text() != code); // used up

    // A change in the window reaches the page; the page's change is the window's too,
    // named in the hint.
    EventsClient page(port, {{"Cookie", "quilo_token=" + token}});
    ASSERT_TRUE(waitUntil([&] { return !page.messages.empty(); }));
    QSlider* mic = h.ribbon().slider(ribbon::Slider::Mic, ribbon::kInput);
    const int moved = mic->value() == 61 ? 62 : 61;
    mic->setValue(moved);
    EXPECT_TRUE(waitUntil([&] { return page.lastField(QStringLiteral("micVolume")) == moved; }));
    const HttpAnswer changed =
        httpCall(port, "POST", "/api/field", {{"Authorization", "Bearer " + token}},
                 R"({"name":"echoVolume","value":27})");
    EXPECT_EQ(changed.status, 200);
    h.drain();
    EXPECT_EQ(h.image().params.echoVolume, 27);
    EXPECT_TRUE(h.status().hintPane()->text().contains(QStringLiteral("Sofa phone")));
    EXPECT_TRUE(waitUntil(
        [&] { return h.ribbon().slider(ribbon::Slider::Echo, ribbon::kInput)->value() == 27; }));

    w->newCodeButton().click();
    pump(50);
    shoot(w, QStringLiteral("phone_remote_window_%1")
                 .arg(language == kEnglish ? QStringLiteral("en") : QStringLiteral("zh")));

    // Revoked in the window: refused at once, gone from the list.
    w->phoneList().setCurrentItem(w->phoneList().topLevelItem(0));
    ASSERT_TRUE(w->revokeButton().isEnabled());
    w->revokeButton().click();
    EXPECT_EQ(w->phoneList().topLevelItemCount(), 0);
    EXPECT_EQ(httpCall(port, "GET", "/api/state", {{"Cookie", "quilo_token=" + token}}).status,
              401);
    EXPECT_TRUE(waitUntil([&] { return page.closed; }));

    w->serveBox().click();
    EXPECT_FALSE(web.remote().isOn());
    EXPECT_EQ(httpCall(port, "GET", "/", {}, {}, 500).status, 0);
    w->close();
    pump(20);
}

INSTANTIATE_TEST_SUITE_P(Languages, PhoneRemoteWindowTest, ::testing::Values(kChinese, kEnglish));
