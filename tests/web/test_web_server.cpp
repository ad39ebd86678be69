// The phone remote's server on 127.0.0.1 against quilod's owner logic on the emulated
// processor: every endpoint and every refusal, the pairing rules, revocation, the
// events WebSocket and two phones changing one field.
#include "WebOwner.h"
#include "device/WireValue.h"
#include "model/ImageDiff.h"
#include "web/WebEvents.h"

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

std::uint32_t emulatedMicVolume(WebOwner& owner) {
    return owner.emulator([](Emulator& e) { return e.state().params.at({1, 14}).at(0); });
}

} // namespace

TEST(WebServer, EveryEndpointAnswersAndEveryRefusalChangesNothing) {
    WebOwner owner;
    ASSERT_TRUE(owner.idle());
    ASSERT_NE(owner.port, 0);
    const QByteArray token = owner.pairPhone(QStringLiteral("Sofa phone"));
    ASSERT_EQ(token.size(), 64);

    // The page, in the owner's language; nothing else is served.
    const HttpAnswer page = owner.get("/");
    EXPECT_EQ(page.status, 200);
    EXPECT_TRUE(page.body.contains("data-lang=\"en\""));
    EXPECT_TRUE(page.header("Content-Security-Policy").contains("default-src 'none'"));

    const std::vector<std::string> before = modeFieldLines(owner.daemon->image());
    const QByteArray big =
        R"({"name":"micVolume","value":1,"pad":")" + QByteArray(17000, 'x') + "\"}";
    struct Refusal {
        const char* what;
        QByteArray method, path, body, token;
        Headers headers;
        int status;
    };
    const Refusal refusals[] = {
        {"state without a token", "GET", "/api/state", {}, {}, {}, 401},
        {"state with a bad token", "GET", "/api/state", {}, QByteArray(64, 'a'), {}, 401},
        {"a change without a token",
         "POST",
         "/api/field",
         R"({"name":"micVolume","value":3})",
         {},
         {},
         401},
        {"a foreign origin",
         "POST",
         "/api/field",
         R"({"name":"micVolume","value":3})",
         token,
         {{"Origin", "http://evil.example"}},
         403},
        {"a foreign origin pairing",
         "POST",
         "/api/pair",
         R"({"code":"000000"})",
         {},
         {{"Origin", "http://evil.example"}},
         403},
        {"a body over 16 KB", "POST", "/api/field", big, token, {}, 413},
        {"a field the page does not show",
         "POST",
         "/api/field",
         R"({"name":"outLevel","value":1})",
         token,
         {},
         400},
        {"a value that is not a number",
         "POST",
         "/api/field",
         R"({"name":"micVolume","value":"loud"})",
         token,
         {},
         400},
        {"a body that is not JSON", "POST", "/api/field", "name=micVolume", token, {}, 400},
        {"mode 5", "POST", "/api/mode", R"({"recall":5})", token, {}, 400},
        {"mode 1.5", "POST", "/api/mode", R"({"recall":1.5})", token, {}, 400},
        {"scene -1", "POST", "/api/scene", R"({"run":-1})", token, {}, 400},
        {"a learning plug value", "POST", "/api/plug", R"({"id":2,"value":200})", token, {}, 400},
        {"a plug not in the network",
         "POST",
         "/api/plug",
         R"({"id":7,"value":99})",
         token,
         {},
         404},
        {"a GET of a change", "GET", "/api/field", {}, token, {}, 405},
        {"an unknown call", "GET", "/api/secrets", {}, token, {}, 404},
        {"a way out of the page", "GET", "/../../etc/passwd", {}, {}, {}, 404},
        {"an encoded way out", "GET", "/%2e%2e/%2e%2e/etc/passwd", {}, {}, {}, 404},
        {"a file not embedded", "GET", "/index.html.bak", {}, {}, {}, 404},
        {"the resource path", "GET", "/quilo/web/index.html", {}, {}, {}, 404},
        {"events without an upgrade", "GET", "/api/events", {}, token, {}, 400},
    };
    for (const Refusal& r : refusals) {
        Headers headers = r.headers;
        if (!r.token.isEmpty()) {
            headers.append({"Authorization", "Bearer " + r.token});
        }
        const HttpAnswer answer = httpCall(owner.port, r.method, r.path, headers, r.body);
        EXPECT_EQ(answer.status, r.status) << r.what;
        if (answer.status >= 400 && r.path.startsWith("/api/")) {
            EXPECT_TRUE(answer.json().contains(QStringLiteral("error"))) << r.what;
        }
    }
    // A body announced as 100 MB is not waited for and kept: the connection is closed
    // once it has sent more than a request may hold.
    QTcpSocket flood;
    flood.connectToHost(QStringLiteral("127.0.0.1"), owner.port);
    ASSERT_TRUE(waitFor([&] { return flood.state() == QAbstractSocket::ConnectedState; }));
    flood.write("POST /api/field HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 104857600\r\n\r\n");
    flood.write(QByteArray(1 << 20, ' '));
    EXPECT_TRUE(waitFor([&] { return flood.state() == QAbstractSocket::UnconnectedState; }, 5000));
    EXPECT_EQ(owner.get("/").status, 200);
    QTest::qWait(120);
    EXPECT_EQ(modeFieldLines(owner.daemon->image()), before);

    // The state holds every field the page shows, the scenes and the plugs.
    const HttpAnswer state = owner.get("/api/state", token);
    ASSERT_EQ(state.status, 200);
    const QJsonObject s = state.json();
    EXPECT_TRUE(s.value(QStringLiteral("connected")).toBool());
    EXPECT_EQ(s.value(QStringLiteral("fields")).toObject().size(), 10);
    EXPECT_EQ(s.value(QStringLiteral("scenes")).toArray().size(), 6);
    EXPECT_TRUE(s.value(QStringLiteral("plugs")).isArray());

    // A change reaches the image and the processor; values are brought into range.
    EXPECT_EQ(owner.post("/api/field", R"({"name":"micVolume","value":40})", token).status, 200);
    EXPECT_EQ(owner.daemon->image().params.micVolume, 40);
    EXPECT_TRUE(waitFor([&] { return emulatedMicVolume(owner) == encodePctPlus(40); }));
    const int top = s.value(QStringLiteral("ranges"))
                        .toObject()
                        .value(QStringLiteral("micVolume"))
                        .toObject()
                        .value(QStringLiteral("max"))
                        .toInt();
    const HttpAnswer clamped =
        owner.post("/api/field", R"({"name":"micVolume","value":500})", token);
    EXPECT_EQ(clamped.status, 200);
    EXPECT_EQ(clamped.json().value(QStringLiteral("micVolume")).toInt(), top);
    EXPECT_EQ(owner.daemon->image().params.micVolume, top);
    EXPECT_EQ(owner.post("/api/field", R"({"name":"musicPitch","value":-9})", token).status, 200);
    EXPECT_EQ(owner.daemon->image().params.musicPitch, -5);
    EXPECT_EQ(owner.post("/api/field", R"({"name":"micMute","value":true})", token).status, 200);
    EXPECT_EQ(owner.daemon->image().params.micMute, 1);

    // A stored mode: started at once, the processor and the image follow; while it runs
    // another long call is refused as busy.
    const HttpAnswer recall = owner.post("/api/mode", R"({"recall":2})", token);
    EXPECT_EQ(recall.status, 202);
    EXPECT_EQ(owner.post("/api/scene", R"({"run":1})", token).status, 409);
    EXPECT_TRUE(waitFor([&] {
        return owner.emulator([](Emulator& e) { return int(e.state().currentMode); }) == 2;
    }));
    // Once the recall's read-back is over, a scene may run.
    EXPECT_TRUE(
        waitFor([&] { return owner.post("/api/scene", R"({"run":0})", token).status == 202; }));
    EXPECT_EQ(owner.daemon->image().currentMode, 2);
}

TEST(WebServer, CodesExpireAreUsedOnceAndWrongOnesAreLimited) {
    WebOwner owner;
    const auto tryCode = [&](const QString& code) {
        return owner
            .post("/api/pair", QStringLiteral(R"({"code":"%1","name":"P"})").arg(code).toUtf8())
            .status;
    };
    const auto wrongOf = [](const QString& code) {
        return QStringLiteral("%1").arg((code.toInt() + 1) % 1000000, 6, 10, QLatin1Char('0'));
    };
    EXPECT_EQ(tryCode(QStringLiteral("123456")), 403); // no code shown yet

    QString code = owner.remote->newCode();
    owner.clockMs += 5 * 60 * 1000;
    EXPECT_EQ(tryCode(code), 403); // expired
    owner.clockMs += 60 * 1000;

    code = owner.remote->newCode();
    EXPECT_EQ(tryCode(code), 200);
    EXPECT_EQ(tryCode(code), 403); // once only
    owner.clockMs += 60 * 1000;

    // Five wrong codes in a minute, from anyone: the sixth try is refused, even the right
    // code, until the minute is over.
    code = owner.remote->newCode();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(tryCode(wrongOf(code)), 403);
    }
    EXPECT_EQ(tryCode(code), 429);
    owner.clockMs += 60 * 1000;
    EXPECT_EQ(tryCode(code), 200);

    // Ten wrong tries void the code.
    code = owner.remote->newCode();
    for (int minute = 0; minute < 2; ++minute) {
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(tryCode(wrongOf(code)), 403);
        }
        owner.clockMs += 60 * 1000;
    }
    EXPECT_EQ(tryCode(code), 403);
    EXPECT_TRUE(owner.remote->code().isEmpty());
    EXPECT_EQ(owner.remote->phones().size(), 2);
}

TEST(WebServer, ARevokedPhoneIsRefusedAtOnceAndItsPagesClosed) {
    WebOwner owner;
    const QByteArray kept = owner.pairPhone(QStringLiteral("Kitchen"));
    const QByteArray gone = owner.pairPhone(QStringLiteral("Sofa phone"));
    EventsClient keptPage(owner.port, {{"Cookie", "quilo_token=" + kept}});
    EventsClient gonePage(owner.port, {{"Authorization", "Bearer " + gone}});
    ASSERT_TRUE(waitFor([&] { return !keptPage.messages.empty() && !gonePage.messages.empty(); }));

    ASSERT_TRUE(owner.remote->revoke(QStringLiteral("Sofa phone")));
    EXPECT_EQ(owner.get("/api/state", gone).status, 401);
    EXPECT_EQ(owner.post("/api/field", R"({"name":"micVolume","value":22})", gone).status, 401);
    EXPECT_TRUE(waitFor([&] { return gonePage.closed; }));
    EXPECT_EQ(owner.get("/api/state", kept).status, 200);
    EXPECT_TRUE(keptPage.open());
    // Still remembered hashed, never as the token itself, and gone from the file.
    const WebSettings saved = WebSettings::load(owner.dir.filePath(QStringLiteral("web.json")));
    ASSERT_EQ(saved.phones.size(), 1);
    EXPECT_EQ(saved.phones[0].name, QStringLiteral("Kitchen"));
    QFile file(owner.dir.filePath(QStringLiteral("web.json")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains(kept));
    EXPECT_EQ(file.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
}

TEST(WebServer, APageHearsNothingUntilItsTokenAndIsClosedWithoutOne) {
    WebOwner owner;
    const QByteArray token = owner.pairPhone(QStringLiteral("Sofa phone"));
    EventsClient silent(owner.port);
    EventsClient late(owner.port);
    EventsClient wrong(owner.port);
    EventsClient foreign(owner.port,
                         {{"Origin", "http://evil.example"}, {"Cookie", "quilo_token=" + token}});
    ASSERT_TRUE(waitFor([&] { return silent.open() && late.open() && wrong.open(); }));
    late.socket.sendTextMessage(QStringLiteral(R"({"token":"%1"})").arg(QString(token)));
    wrong.socket.sendTextMessage(QStringLiteral(R"({"token":"%1"})").arg(QString(64, 'b')));
    ASSERT_EQ(owner.daemon->setField(FieldRef{"echoVolume", {}}, 33, QStringLiteral("test")), "");
    owner.service->poke();
    ASSERT_TRUE(waitFor([&] { return late.lastField(QStringLiteral("echoVolume")) == 33; }));
    EXPECT_TRUE(waitFor([&] { return wrong.closed; }));
    EXPECT_FALSE(foreign.open());
    EXPECT_TRUE(silent.messages.empty());

    // At most 16 pages at a time, counted before they are authenticated.
    std::vector<std::unique_ptr<EventsClient>> more;
    for (int i = 0; i < WebEvents::kMaxSockets - 2; ++i) {
        more.push_back(std::make_unique<EventsClient>(owner.port));
    }
    ASSERT_TRUE(waitFor([&] {
        return std::all_of(more.begin(), more.end(), [](const auto& c) { return c->open(); });
    }));
    EventsClient extra(owner.port, {{"Cookie", "quilo_token=" + token}});
    QTest::qWait(200);
    EXPECT_FALSE(extra.open());

    // No token within 5 s: closed, having heard nothing.
    EXPECT_TRUE(waitFor([&] { return silent.closed; }, 7000));
    EXPECT_TRUE(silent.messages.empty());
    EXPECT_TRUE(late.open());
}

TEST(WebServer, TwoPhonesChangingOneFieldEndAtTheLastChangeEverywhere) {
    WebOwner owner;
    const QByteArray a = owner.pairPhone(QStringLiteral("Sofa phone"));
    const QByteArray b = owner.pairPhone(QStringLiteral("Microphone"));
    EventsClient pageA(owner.port, {{"Cookie", "quilo_token=" + a}});
    EventsClient pageB(owner.port, {{"Cookie", "quilo_token=" + b}});
    ASSERT_TRUE(waitFor([&] { return !pageA.messages.empty() && !pageB.messages.empty(); }));
    for (int v : {30, 31, 32}) {
        EXPECT_EQ(owner
                      .post("/api/field",
                            QStringLiteral(R"({"name":"musicVolume","value":%1})").arg(v).toUtf8(),
                            a)
                      .status,
                  200);
        EXPECT_EQ(
            owner
                .post("/api/field",
                      QStringLiteral(R"({"name":"musicVolume","value":%1})").arg(v + 30).toUtf8(),
                      b)
                .status,
            200);
    }
    const auto both = [&](int v) {
        return pageA.lastField(QStringLiteral("musicVolume")) == v &&
               pageB.lastField(QStringLiteral("musicVolume")) == v;
    };
    EXPECT_TRUE(waitFor([&] { return both(62); }));

    EXPECT_EQ(owner.daemon->image().params.musicVolume, 62);
    // A change from elsewhere (the owner's own setters) reaches both as well.
    ASSERT_EQ(owner.daemon->setField(FieldRef{"musicVolume", {}}, 12, QStringLiteral("x")), "");
    EXPECT_TRUE(waitFor([&] { return both(12); }));
}
