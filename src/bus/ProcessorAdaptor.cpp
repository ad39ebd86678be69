#include "bus/ProcessorAdaptor.h"

#include "bus/BusNames.h"
#include "connection/FieldSnapshot.h"
#include "model/DecimalText.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>

namespace quilo {

ProcessorAdaptor::ProcessorAdaptor(QObject* parent, ServiceBackend& backend)
    : QDBusAbstractAdaptor(parent), m_backend(backend) {
    registerPlugEntry();
}

ProcessorAdaptor::Properties ProcessorAdaptor::current() const {
    const DeviceImage& image = m_backend.image();
    if (!image.mainThreadOwns()) {
        return m_properties;
    }
    Properties now;
    now.connected = m_backend.connected();
    now.model = QString::fromStdU16String(image.info.modelName);
    now.protocolVersion = image.info.protocolVersion;
    now.currentMode = image.currentMode;
    return now;
}

void ProcessorAdaptor::refuse(const QDBusMessage& message, const char* error,
                              const std::string& text) {
    message.setDelayedReply(true);
    QDBusConnection::sessionBus().send(
        message.createErrorReply(QString::fromLatin1(error), QString::fromStdString(text)));
}

bool ProcessorAdaptor::imageFree(const QDBusMessage& message) {
    if (m_backend.image().mainThreadOwns()) {
        return true;
    }
    refuse(message, bus::kBusy, "a read-back or write-out is running");
    return false;
}

QString ProcessorAdaptor::GetField(const QString& name, const QDBusMessage& message) {
    if (!imageFree(message)) {
        return {};
    }
    const auto text = fieldText(m_backend.image(), name.toStdString());
    if (!text) {
        refuse(message, bus::kInvalidArgs, "unknown field '" + name.toStdString() + "'");
        return {};
    }
    return QString::fromStdString(*text);
}

void ProcessorAdaptor::SetField(const QString& name, const QString& value,
                                const QDBusMessage& message) {
    const auto field = parseFieldRef(name.toStdString());
    if (!field) {
        refuse(message, bus::kInvalidArgs, "malformed field '" + name.toStdString() + "'");
        return;
    }
    const auto number = parseDecimal(value.toStdString());
    if (!number) {
        refuse(message, bus::kInvalidArgs,
               "VALUE must be a number, got '" + value.toStdString() + "'");
        return;
    }
    if (!imageFree(message)) {
        return;
    }
    const QString client = clientName(message);
    if (const std::string problem = m_backend.setField(*field, *number, client); !problem.empty()) {
        refuse(message, bus::kInvalidArgs, problem);
        return;
    }
    if (m_clientChanged) {
        m_clientChanged(client);
    }
}

void ProcessorAdaptor::ApplyEq(int eqId, const QString& text, const QDBusMessage& message) {
    constexpr qsizetype kLongestText = 64 * 1024; // as much as a page takes from a file
    if (eqId < 0 || eqId > 14 || text.size() > kLongestText) {
        refuse(message, bus::kInvalidArgs, "an equaliser is 0-14, its text at most 64 KB");
        return;
    }
    if (!imageFree(message)) {
        return;
    }
    const QString client = clientName(message);
    if (const std::string problem = m_backend.applyEq(eqId, text.toStdString(), client);
        !problem.empty()) {
        refuse(message, bus::kInvalidArgs, problem);
        return;
    }
    if (m_clientChanged) {
        m_clientChanged(client);
    }
}

namespace {

// The late answer to a long operation's call.
ServiceBackend::Done answerWhenDone(const QDBusMessage& call) {
    return [call](const std::string& problem) {
        QDBusConnection::sessionBus().send(
            problem.empty() ? call.createReply()
                            : call.createErrorReply(QString::fromLatin1(bus::kFailed),
                                                    QString::fromStdString(problem)));
    };
}

// The same with the one byte the call returns.
ServiceBackend::DoneWith answerWithByteWhenDone(const QDBusMessage& call) {
    return [call](const std::string& problem, int value) {
        QDBusConnection::sessionBus().send(
            problem.empty() ? call.createReply(QVariant::fromValue(static_cast<uchar>(value)))
                            : call.createErrorReply(QString::fromLatin1(bus::kFailed),
                                                    QString::fromStdString(problem)));
    };
}

} // namespace

void ProcessorAdaptor::refuseStart(const QDBusMessage& message, ServiceBackend::LongStart start,
                                   const std::string& problem) {
    switch (start) {
    case ServiceBackend::LongStart::Started:
        message.setDelayedReply(true); // answered when done
        return;
    case ServiceBackend::LongStart::Busy:
        refuse(message, bus::kBusy, "another long operation or a read-back is running");
        return;
    case ServiceBackend::LongStart::Refused:
        refuse(message, bus::kInvalidArgs, problem);
        return;
    case ServiceBackend::LongStart::NotHere:
        refuse(message, bus::kNotSupported,
               m_backend.ownerName().toStdString() + " takes no long operation from the bus");
        return;
    }
}

void ProcessorAdaptor::Pull(const QString& path, const QDBusMessage& message) {
    refuseStart(message, m_backend.pull(path.toStdString(), answerWhenDone(message)), {});
}

void ProcessorAdaptor::Push(const QString& path, const QDBusMessage& message) {
    std::string problem;
    const auto start = m_backend.push(path.toStdString(), answerWhenDone(message), &problem);
    refuseStart(message, start, problem);
}

void ProcessorAdaptor::RecallMode(int mode, const QDBusMessage& message) {
    if (mode < 0 || mode > 3) {
        refuse(message, bus::kInvalidArgs, "a stored mode is 0-3");
        return;
    }
    refuseStart(message, m_backend.recallMode(mode, answerWhenDone(message)), {});
}

void ProcessorAdaptor::StoreMode(int mode, const QDBusMessage& message) {
    if (mode < 0 || mode > 3) {
        refuse(message, bus::kInvalidArgs, "a stored mode is 0-3");
        return;
    }
    refuseStart(message, m_backend.storeMode(mode, answerWhenDone(message)), {});
}

void ProcessorAdaptor::RunScene(int scene, const QDBusMessage& message) {
    if (scene < 0 || scene > 5) {
        refuse(message, bus::kInvalidArgs, "a scene is 0-5");
        return;
    }
    refuseStart(message, m_backend.runScene(scene, answerWhenDone(message)), {});
}

void ProcessorAdaptor::SetPlug(uchar id, uchar value, const QDBusMessage& message) {
    if (id < 1 || id > 232) {
        refuse(message, bus::kInvalidArgs, "a plug ID is 1-232");
        return;
    }
    refuseStart(message, m_backend.setPlug(id, value, answerWhenDone(message)), {});
}

uchar ProcessorAdaptor::IncludePlug(const QString& type, const QString& name,
                                    const QDBusMessage& message) {
    static const QHash<QString, int> kTypes{
        {QStringLiteral("switch"), 1}, {QStringLiteral("dimmer"), 2}, {QStringLiteral("ir"), 3}};
    const auto plugType = kTypes.constFind(type);
    if (plugType == kTypes.constEnd()) {
        refuse(message, bus::kInvalidArgs, "a plug's type is switch, dimmer or ir");
        return 0;
    }
    std::string problem;
    const auto start = m_backend.includePlug(*plugType, name.toStdString(),
                                             answerWithByteWhenDone(message), &problem);
    refuseStart(message, start, problem);
    return 0;
}

uchar ProcessorAdaptor::ExcludePlug(const QDBusMessage& message) {
    refuseStart(message, m_backend.excludePlug(answerWithByteWhenDone(message)), {});
    return 0;
}

uchar ProcessorAdaptor::LearnRemoteKey(uchar key, uint timeoutS, const QDBusMessage& message) {
    constexpr uint kLongestSeconds = 24 * 3600;
    if (key < 1 || key > 17 || timeoutS < 1 || timeoutS > kLongestSeconds) {
        refuse(message, bus::kInvalidArgs, "a remote key is 1-17, its time 1 s to a day");
        return 0;
    }
    refuseStart(
        message,
        m_backend.learnRemoteKey(key, static_cast<int>(timeoutS), answerWithByteWhenDone(message)),
        {});
    return 0;
}

void ProcessorAdaptor::PushRemote(const QString& path, const QDBusMessage& message) {
    std::string problem;
    const auto start = m_backend.pushRemote(path.toStdString(), answerWhenDone(message), &problem);
    refuseStart(message, start, problem);
}

void ProcessorAdaptor::PullRemote(const QString& path, const QDBusMessage& message) {
    refuseStart(message, m_backend.pullRemote(path.toStdString(), answerWhenDone(message)), {});
}

QList<PlugEntry> ProcessorAdaptor::GetPlugs() {
    QList<PlugEntry> plugs;
    if (const PlugTable* table = m_backend.plugs()) {
        const PlugTableData data = table->snapshot();
        for (int id : data.plugIds()) {
            const PlugRecord record = data.record(id);
            plugs.append(
                {static_cast<uchar>(id), record.type(), QString::fromStdU16String(record.name())});
        }
    }
    return plugs;
}

QString ProcessorAdaptor::clientName(const QDBusMessage& message) {
    const QString sender = message.service();
    if (const auto known = m_clients.constFind(sender); known != m_clients.constEnd()) {
        return *known;
    }
    // One question to the bus per client; the bus answers at once, the processor
    // is not involved.
    QString name = sender;
    const uint pid = QDBusConnection::sessionBus().interface()->servicePid(sender).value();
    if (QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        pid > 0 && comm.open(QIODevice::ReadOnly)) {
        name = QString::fromUtf8(comm.readAll()).trimmed();
    }
    if (m_clients.size() >= 256) {
        m_clients.clear(); // every script run is a new client; keep only recent ones
    }
    m_clients.insert(sender, name);
    return name;
}

} // namespace quilo
