// A real browser on the phone page: headless Chromium at 390×844 on 127.0.0.1 pairs with
// the owner's code, moves the mic volume and taps a mode; the emulated processor and the
// owner's image change; a change made at the owner appears on the page, and a page whose
// server went away comes back by itself. With QUILO_SHOTS=DIR the page is written there
// as web_remote_<zh|en>.png, as the browser shows it.
#include "DevTools.h"
#include "ShotFile.h"
#include "WebOwner.h"
#include "device/WireValue.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

constexpr int kWidth = 390;
constexpr int kHeight = 844;

class WebBrowserTest : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(WebBrowserTest, PairsMovesAVolumeTapsAModeAndFollowsTheOwner) {
    if (HeadlessBrowser::executable().isEmpty()) {
        GTEST_SKIP() << "chromium is not installed (scripts/setup.sh installs it)";
    }
    const int language = GetParam();
    WebOwner owner({PlugKind::Switch, PlugKind::Dimmer});
    owner.remote->setLanguage(language);
    HeadlessBrowser browser;
    const QString problem = browser.start(kWidth, kHeight);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    browser.call(QStringLiteral("Emulation.setDeviceMetricsOverride"),
                 {{QStringLiteral("width"), kWidth},
                  {QStringLiteral("height"), kHeight},
                  {QStringLiteral("deviceScaleFactor"), 1},
                  {QStringLiteral("mobile"), true}});
    browser.call(QStringLiteral("Emulation.setTouchEmulationEnabled"),
                 {{QStringLiteral("enabled"), true}, {QStringLiteral("maxTouchPoints"), 1}});
    browser.call(QStringLiteral("Page.navigate"),
                 {{QStringLiteral("url"), QStringLiteral("http://127.0.0.1:%1/").arg(owner.port)}});
    const auto shown = [&](const char* id) {
        return browser
            .eval(QStringLiteral("(()=>{const e=document.getElementById('%1');"
                                 "return !!e && e.offsetParent!==null})()")
                      .arg(QLatin1String(id)))
            .toBool();
    };
    ASSERT_TRUE(waitFor([&] { return shown("pairBtn"); }));
    EXPECT_EQ(browser.eval(QStringLiteral("document.documentElement.lang")).toString(),
              language == 1 ? QStringLiteral("en") : QStringLiteral("zh-CN"));

    // Pairing with the code the owner shows.
    const QString code = owner.remote->newCode();
    browser.eval(QStringLiteral("document.getElementById('code').value='%1';"
                                "document.getElementById('name').value='Test phone';")
                     .arg(code));
    ASSERT_TRUE(browser.tap(QStringLiteral("pairBtn")));
    ASSERT_TRUE(waitFor([&] { return shown("f-micVolume") && shown("mode-1"); }));
    ASSERT_EQ(owner.remote->phones().size(), 1);
    EXPECT_EQ(owner.remote->phones()[0].name, QStringLiteral("Test phone"));
    // The token is the browser's cookie, out of the page's script's reach.
    EXPECT_FALSE(
        browser.eval(QStringLiteral("document.cookie")).toString().contains("quilo_token"));

    // The mic volume slider, moved as a finger moves it (input events while it slides).
    browser.eval(QStringLiteral("(()=>{const s=document.getElementById('f-micVolume');"
                                "for(const v of [44,38,31,23]){s.value=v;"
                                "s.dispatchEvent(new Event('input'))}})()"));
    EXPECT_TRUE(waitFor([&] {
        return owner.daemon->image().params.micVolume == 23 && owner.emulator([](Emulator& e) {
            return e.state().params.at({1, 14}).at(0);
        }) == encodePctPlus(23);
    }));

    // A tap on M2: the processor switches, the owner reads it back, the page marks it.
    ASSERT_TRUE(browser.tap(QStringLiteral("mode-1")));
    EXPECT_TRUE(waitFor([&] {
        return owner.emulator([](Emulator& e) { return int(e.state().currentMode); }) == 1;
    }));
    EXPECT_TRUE(waitFor([&] {
        return owner.idle() && owner.daemon->image().currentMode == 1 &&
               browser
                   .eval(QStringLiteral(
                       "document.getElementById('mode-1').classList.contains('sel')"))
                   .toBool();
    }));

    // A tap on the switch plug: the plug goes on, and the page says so.
    ASSERT_TRUE(waitFor([&] { return shown("plug-2") && shown("plug-3"); }));
    ASSERT_TRUE(browser.tap(QStringLiteral("plug-2")));
    EXPECT_TRUE(waitFor([&] {
        return owner.emulator([](Emulator& e) { return int(e.state().plugs[0].level); }) != 0;
    }));
    EXPECT_TRUE(waitFor([&] {
        return browser
            .eval(QStringLiteral("document.getElementById('plug-2').classList.contains('sel')"))
            .toBool();
    }));

    // A change at the owner appears on the page.
    ASSERT_EQ(owner.daemon->setField(FieldRef{"musicVolume", {}}, 71, QStringLiteral("quiloctl")),
              "");
    owner.service->poke();
    const auto pageShows = [&](const char* field, int value) {
        return browser
                   .eval(QStringLiteral("document.getElementById('o-%1').textContent")
                             .arg(QLatin1String(field)))
                   .toString() == QString::number(value);
    };
    EXPECT_TRUE(waitFor([&] { return pageShows("musicVolume", 71); }));

    const QJsonObject shot = browser.call(QStringLiteral("Page.captureScreenshot"),
                                          {{QStringLiteral("format"), QStringLiteral("png")}});
    const QByteArray png =
        QByteArray::fromBase64(shot.value(QStringLiteral("data")).toString().toLatin1());
    const QImage image = QImage::fromData(png, "PNG");
    EXPECT_EQ(image.size(), QSize(kWidth, kHeight));
    if (const QString dir = qEnvironmentVariable("QUILO_SHOTS"); !dir.isEmpty()) {
        QDir().mkpath(dir);
        image.save(QDir(dir).filePath(
            QStringLiteral("web_remote_%1.png").arg(language == 1 ? "en" : "zh")));
    }

    // The page's own language switch.
    ASSERT_TRUE(browser.tap(QStringLiteral("langBtn")));
    EXPECT_EQ(browser.eval(QStringLiteral("document.documentElement.lang")).toString(),
              language == 1 ? QStringLiteral("zh-CN") : QStringLiteral("en"));
    EXPECT_EQ(
        browser.eval(QStringLiteral("document.getElementById('scene-1').textContent")).toString(),
        language == 1 ? QStringLiteral("电影") : QStringLiteral("Movie"));

    // The server goes away and comes back on its port: the page says so and reconnects.
    const quint16 port = owner.port;
    owner.remote->switchOff();
    EXPECT_TRUE(waitFor([&] {
        return !browser
                    .eval(
                        QStringLiteral("document.getElementById('conn').classList.contains('ok')"))
                    .toBool();
    }));
    ASSERT_EQ(owner.remote->switchOn(QStringLiteral("127.0.0.1"), port, false), QString());
    ASSERT_EQ(owner.daemon->setField(FieldRef{"musicVolume", {}}, 64, QStringLiteral("quiloctl")),
              "");
    owner.service->poke();
    EXPECT_TRUE(waitFor([&] { return pageShows("musicVolume", 64); }, 15000));
}

INSTANTIATE_TEST_SUITE_P(Languages, WebBrowserTest, ::testing::Values(0, 1));
