// The phone remote's rules that need no server: what a request carries, where to
// listen, the names phones are listed under, and the settings file.
#include "web/PairingStore.h"
#include "web/WebPage.h"
#include "web/WebRequests.h"
#include "web/WebSettings.h"
#include "web/WebState.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quilo;

TEST(WebRules, TheTokenComesFromTheBearerOrTheCookieAndTheOriginMustBeThePagesOwn) {
    EXPECT_EQ(requestToken("Bearer abc", "quilo_token=zzz"), QStringLiteral("abc"));
    EXPECT_EQ(requestToken("bearer  abc ", {}), QStringLiteral("abc"));
    EXPECT_EQ(requestToken({}, "a=1; quilo_token=t0k; b=2"), QStringLiteral("t0k"));
    EXPECT_EQ(requestToken("Basic abc", "xquilo_token=no"), QString());
    EXPECT_EQ(requestToken("Bearer", {}), QString());

    struct Case {
        QByteArray origin, host;
        bool own;
    };
    const Case cases[] = {
        {{}, "192.168.1.5:8830", true}, // not a browser's cross-site request
        {"http://192.168.1.5:8830", "192.168.1.5:8830", true},
        {"HTTP://Quilo.local:8830", "quilo.local:8830", true},
        {"http://192.168.1.5:8831", "192.168.1.5:8830", false},
        {"https://192.168.1.5:8830", "192.168.1.5:8830", false},
        {"http://evil.example", "192.168.1.5:8830", false},
        {"null", "192.168.1.5:8830", false},
        {"http://192.168.1.5:8830", {}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(originIsOwn(c.origin, c.host), c.own) << c.origin.constData();
    }
}

TEST(WebRules, RequestBodiesAreCheckedBeforeAnythingIsDone) {
    const auto plugOk = [](const char* body) {
        return std::holds_alternative<PlugRequest>(readPlugRequest(body));
    };
    EXPECT_TRUE(plugOk(R"({"id":2,"value":0})"));
    EXPECT_TRUE(plugOk(R"({"id":232,"value":99})"));
    EXPECT_TRUE(plugOk(R"({"id":5,"value":255})"));
    EXPECT_TRUE(plugOk(R"({"id":5,"value":190})"));
    EXPECT_FALSE(plugOk(R"({"id":1,"value":0})")); // the controller
    EXPECT_FALSE(plugOk(R"({"id":233,"value":0})"));
    EXPECT_FALSE(plugOk(R"({"id":5,"value":100})"));
    EXPECT_FALSE(plugOk(R"({"id":5,"value":191})"));
    EXPECT_FALSE(plugOk(R"({"id":5,"value":192})")); // learning stays in the window
    EXPECT_FALSE(plugOk(R"({"id":"5","value":0})"));
    EXPECT_FALSE(plugOk(R"([2,0])"));

    const auto field = readFieldRequest(R"({"name":"musicPitch","value":-2})");
    ASSERT_TRUE(std::holds_alternative<FieldRequest>(field));
    EXPECT_EQ(std::get<FieldRequest>(field).field->name, "musicPitch");
    EXPECT_TRUE(std::holds_alternative<BadRequest>(readFieldRequest(R"({"name":"micVolume"})")));
    EXPECT_TRUE(std::holds_alternative<BadRequest>(
        readFieldRequest(R"({"name":"micVolume","value":1e999})")));
    EXPECT_TRUE(std::holds_alternative<BadRequest>(readPairRequest(R"({"code":123456})")));
    EXPECT_TRUE(std::holds_alternative<BadRequest>(readModeRequest(R"({"recall":"1"})")));
    EXPECT_EQ(std::get<SceneRequest>(readSceneRequest(R"({"run":5})")).scene, 5);
}

TEST(WebRules, WhereToListenReadsAsTheCommandLineGivesIt) {
    struct Case {
        const char* text;
        bool reads;
        const char* address;
        quint16 port;
    };
    const Case cases[] = {
        {"192.168.1.5:8830", true, "192.168.1.5", 8830},
        {"127.0.0.1:9000", true, "127.0.0.1", 9000},
        {"[::1]:8830", true, "::1", 8830},
        {":8830", true, "*", 8830},
        {"*:8830", true, "*", 8830},
        {"192.168.1.5", false, "", 0},
        {"192.168.1.5:0", false, "", 0},
        {"192.168.1.5:70000", false, "", 0},
        {"::1:8830", false, "", 0},
        {"lamp:8830", false, "", 0},
    };
    for (const Case& c : cases) {
        const auto at = parseListenAt(QString::fromLatin1(c.text));
        ASSERT_EQ(at.has_value(), c.reads) << c.text;
        if (at) {
            EXPECT_EQ(at->address, QString::fromLatin1(c.address)) << c.text;
            EXPECT_EQ(at->port, c.port) << c.text;
        }
    }
}

TEST(WebRules, PhonesAreListedUnderCleanDistinctNamesAndRememberedHashed) {
    qint64 now = 0;
    PairingStore store([&] { return now; });
    const QDateTime t = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);
    const auto pairAs = [&](const QString& name) { return store.pair(store.newCode(), name, t); };
    EXPECT_EQ(pairAs(QStringLiteral("Sofa phone")).name, QStringLiteral("Sofa phone"));
    EXPECT_EQ(pairAs(QStringLiteral("  Sofa\tphone ")).name, QStringLiteral("Sofa phone (2)"));
    EXPECT_EQ(pairAs(QStringLiteral("\x01\x02")).name, QStringLiteral("Phone"));
    const PairingStore::Outcome long_ = pairAs(QString(100, QLatin1Char('x')));
    EXPECT_EQ(long_.name.size(), PairingStore::kNameMaxLength);

    // The token itself is nowhere in the store; it is known by its hash.
    for (const PairedPhone& phone : store.phones()) {
        EXPECT_EQ(phone.tokenHash.size(), 32);
        EXPECT_FALSE(phone.tokenHash.toHex().contains(long_.token.toLatin1()));
    }
    const QDateTime later = t.addSecs(3600);
    EXPECT_EQ(store.phoneOf(long_.token, later), long_.name);
    EXPECT_EQ(store.phones().back().lastUse, later);
    EXPECT_TRUE(store.revoke(long_.name));
    EXPECT_FALSE(store.phoneOf(long_.token, later).has_value());
    EXPECT_FALSE(store.revoke(long_.name));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/web.json"));
    WebSettings settings;
    settings.enabled = true;
    settings.address = QStringLiteral("*");
    settings.port = 9001;
    settings.phones = store.phones();
    ASSERT_EQ(settings.save(path), QString());
    const WebSettings back = WebSettings::load(path);
    EXPECT_TRUE(back.enabled);
    EXPECT_EQ(back.address, settings.address);
    EXPECT_EQ(back.port, 9001);
    EXPECT_EQ(back.phones, settings.phones);

    // A file that does not read gives the defaults: off.
    QFile broken(path);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("{\"enabled\":tru");
    broken.close();
    QString problem;
    const WebSettings fallback = WebSettings::load(path, &problem);
    EXPECT_FALSE(fallback.enabled);
    EXPECT_TRUE(fallback.phones.isEmpty());
    EXPECT_FALSE(problem.isEmpty());
}

TEST(WebRules, OnlyThePageIsEmbeddedAndItWeighsUnder100KB) {
    EXPECT_GT(embeddedWeight(), 0);
    EXPECT_LT(embeddedWeight(), 100 * 1024);
    const auto page = embeddedFile(QStringLiteral("/"), 0);
    ASSERT_TRUE(page.has_value());
    EXPECT_TRUE(page->bytes.contains("data-lang=\"zh\""));
    EXPECT_TRUE(embeddedFile(QStringLiteral("/index.html"), 1)->bytes.contains("data-lang=\"en\""));
    // Nothing from outside: no address the page would fetch.
    EXPECT_FALSE(page->bytes.contains("http://"));
    EXPECT_FALSE(page->bytes.contains("https://"));
    EXPECT_FALSE(page->bytes.contains("//cdn"));
    for (const char* other : {"/index.htm", "/favicon.ico", "//index.html", "/./index.html"}) {
        EXPECT_FALSE(embeddedFile(QString::fromLatin1(other), 0).has_value()) << other;
    }
}

TEST(WebRules, AnInfraredPlugOffersItsLearnedKeysAndOnlyThose) {
    QTemporaryDir dir;
    PlugKeyFile keys(dir.path().toStdString());
    PlugTable table;
    table.setPresent(4, true);
    table.setRecord(4, PlugRecord::make(kDimmerPlug, u"Lamp"));
    table.setPresent(5, true);
    table.setRecord(5, PlugRecord::make(3, u"TV"));
    table.setLastValue(4, 40);
    ASSERT_EQ(keys.createKeyFile(5), KeyFileStatus::Ok);
    ASSERT_EQ(keys.setKeyStatus(5, 2, 1), KeyFileStatus::Ok);
    ASSERT_EQ(keys.setKeyName(5, 2, "Power"), KeyFileStatus::Ok);
    ASSERT_EQ(keys.setKeyName(5, 3, "Mute"), KeyFileStatus::Ok); // named, not learned

    const QJsonArray plugs = plugsJson(&table, &keys);
    ASSERT_EQ(plugs.size(), 2);
    const QJsonObject lamp = plugs[0].toObject();
    EXPECT_EQ(lamp.value(QStringLiteral("name")).toString(), QStringLiteral("Lamp"));
    EXPECT_EQ(lamp.value(QStringLiteral("value")).toInt(), 40);
    EXPECT_FALSE(lamp.contains(QStringLiteral("keys")));
    const QJsonArray learned = plugs[1].toObject().value(QStringLiteral("keys")).toArray();
    ASSERT_EQ(learned.size(), 1);
    EXPECT_EQ(learned[0].toObject().value(QStringLiteral("index")).toInt(), 2);
    EXPECT_EQ(learned[0].toObject().value(QStringLiteral("name")).toString(),
              QStringLiteral("Power"));
    // The looks every 100 ms read no files.
    EXPECT_FALSE(plugsJson(&table)[1].toObject().contains(QStringLiteral("keys")));
}
