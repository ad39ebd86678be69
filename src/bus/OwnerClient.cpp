#include "bus/OwnerClient.h"

#include "bus/BusNames.h"
#include "bus/PlugEntry.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QEventLoop>

namespace quilo {

namespace {

// Qt's bus connection wants an application object; quiloctl has none otherwise.
QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "quiloctl";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? QCoreApplication::instance()
                                                                : new QCoreApplication(argc, argv);
    return *app;
}

OwnerClient::Reply replyOf(const QDBusMessage& message) {
    OwnerClient::Reply r;
    if (message.type() == QDBusMessage::ErrorMessage) {
        r.errorName = message.errorName().toStdString();
        r.errorText = message.errorMessage().toStdString();
    } else if (!message.arguments().isEmpty()) {
        const QVariant v = message.arguments().first();
        // A byte is a number to a script, not a character.
        r.value = v.metaType().id() == QMetaType::UChar ? std::to_string(v.value<uchar>())
                                                        : v.toString().toStdString();
    }
    return r;
}

// Takes the owner's FieldsChanged signals.
class FieldsReceiver : public QObject {
    Q_OBJECT
public:
    explicit FieldsReceiver(std::function<void(const QStringList&)> take)
        : m_take(std::move(take)) {}

public slots:
    void deliver(const QStringList& names) { m_take(names); }

private:
    std::function<void(const QStringList&)> m_take;
};

} // namespace

struct OwnerClient::Parts {
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusInterface processor{QString::fromLatin1(bus::kService), QString::fromLatin1(bus::kPath),
                             QString::fromLatin1(bus::kInterface), bus};
};

bool OwnerClient::Reply::invalidArgs() const {
    return errorName == bus::kInvalidArgs;
}

std::unique_ptr<OwnerClient> OwnerClient::connect(int pid) {
    application();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return nullptr;
    }
    const QDBusReply<uint> servedBy =
        bus.interface()->servicePid(QString::fromLatin1(bus::kService));
    if (!servedBy.isValid() || servedBy.value() != static_cast<uint>(pid)) {
        return nullptr;
    }
    return std::unique_ptr<OwnerClient>(new OwnerClient(std::make_unique<Parts>()));
}

OwnerClient::OwnerClient(std::unique_ptr<Parts> parts) : m_parts(std::move(parts)) {}
OwnerClient::~OwnerClient() = default;

std::string OwnerClient::owner() const {
    return m_parts->processor.property("Owner").toString().toStdString();
}

bool OwnerClient::connected() const {
    return m_parts->processor.property("Connected").toBool();
}

unsigned OwnerClient::protocolVersion() const {
    return m_parts->processor.property("ProtocolVersion").toUInt();
}

OwnerClient::Reply OwnerClient::getField(const std::string& name) {
    return replyOf(
        m_parts->processor.call(QStringLiteral("GetField"), QString::fromStdString(name)));
}

OwnerClient::Reply OwnerClient::setField(const std::string& name, const std::string& value) {
    return replyOf(m_parts->processor.call(QStringLiteral("SetField"), QString::fromStdString(name),
                                           QString::fromStdString(value)));
}

namespace {

// A read-back of the real processor takes its time; the bus's default wait is 25 s.
constexpr int kLongCallMs = 10 * 60 * 1000;

} // namespace

// A call of the processor's interface with these arguments.
static QDBusMessage methodCall(const char* method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(bus::kService), QString::fromLatin1(bus::kPath),
        QString::fromLatin1(bus::kInterface), QString::fromLatin1(method));
    call.setArguments(arguments);
    return call;
}

OwnerClient::Reply OwnerClient::longCall(const QDBusMessage& call) {
    return replyOf(m_parts->bus.call(call, QDBus::Block, kLongCallMs));
}

OwnerClient::Reply OwnerClient::applyEq(int eqId, const std::string& text) {
    return replyOf(m_parts->bus.call(methodCall("ApplyEq", {eqId, QString::fromUtf8(text)})));
}

OwnerClient::Reply OwnerClient::pull(const std::string& path) {
    return longCall(methodCall("Pull", {QString::fromStdString(path)}));
}

OwnerClient::Reply OwnerClient::push(const std::string& path) {
    return longCall(methodCall("Push", {QString::fromStdString(path)}));
}

OwnerClient::Reply OwnerClient::recallMode(int mode) {
    return longCall(methodCall("RecallMode", {mode}));
}

OwnerClient::Reply OwnerClient::storeMode(int mode) {
    return longCall(methodCall("StoreMode", {mode}));
}

OwnerClient::Reply OwnerClient::runScene(int scene) {
    return longCall(methodCall("RunScene", {scene}));
}

OwnerClient::Reply OwnerClient::setPlug(int id, int value) {
    return longCall(methodCall("SetPlug", {QVariant::fromValue(static_cast<uchar>(id)),
                                           QVariant::fromValue(static_cast<uchar>(value))}));
}

OwnerClient::Reply OwnerClient::includePlug(const std::string& type, const std::string& name) {
    return longCall(
        methodCall("IncludePlug", {QString::fromStdString(type), QString::fromUtf8(name)}));
}

OwnerClient::Reply OwnerClient::excludePlug() {
    return longCall(methodCall("ExcludePlug", {}));
}

OwnerClient::Reply OwnerClient::learnRemoteKey(int key, unsigned seconds) {
    return longCall(
        methodCall("LearnRemoteKey", {QVariant::fromValue(static_cast<uchar>(key)), seconds}));
}

OwnerClient::Reply OwnerClient::pushRemote(const std::string& path) {
    return longCall(methodCall("PushRemote", {QString::fromStdString(path)}));
}

OwnerClient::Reply OwnerClient::pullRemote(const std::string& path) {
    return longCall(methodCall("PullRemote", {QString::fromStdString(path)}));
}

std::vector<OwnerClient::Plug> OwnerClient::plugs(Reply* reply) {
    registerPlugEntry();
    const QDBusMessage answer = m_parts->bus.call(methodCall("GetPlugs", {}));
    *reply = replyOf(answer);
    std::vector<Plug> out;
    if (!reply->ok() || answer.arguments().isEmpty()) {
        return out;
    }
    QList<PlugEntry> entries;
    answer.arguments().first().value<QDBusArgument>() >> entries;
    for (const PlugEntry& e : entries) {
        out.push_back({e.id, e.type, e.name.toStdU16String()});
    }
    return out;
}

void OwnerClient::watch(const std::function<bool(const std::vector<std::string>&)>& changed) {
    QEventLoop loop;
    FieldsReceiver receiver([&](const QStringList& names) {
        std::vector<std::string> list;
        for (const QString& n : names) {
            list.push_back(n.toStdString());
        }
        if (!changed(list)) {
            loop.quit();
        }
    });
    QDBusServiceWatcher gone(QString::fromLatin1(bus::kService), m_parts->bus,
                             QDBusServiceWatcher::WatchForUnregistration);
    QObject::connect(&gone, &QDBusServiceWatcher::serviceUnregistered, &loop, &QEventLoop::quit);
    m_parts->bus.connect(QString::fromLatin1(bus::kService), QString::fromLatin1(bus::kPath),
                         QString::fromLatin1(bus::kInterface), QStringLiteral("FieldsChanged"),
                         &receiver, SLOT(deliver(QStringList)));
    loop.exec();
}

} // namespace quilo

#include "OwnerClient.moc"
