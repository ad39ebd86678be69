#include "web/WebState.h"

#include "connection/RemoteFields.h"
#include "smarthome/StepText.h"

#include <QString>

namespace quilo {

QJsonObject remoteFieldsJson(const DeviceImage& image, const QStringList* only) {
    QJsonObject out;
    for (const RemoteField& field : remoteFields()) {
        const QString name = QString::fromLatin1(field.name.data(), field.name.size());
        if (only == nullptr || only->contains(name)) {
            out.insert(name, remoteFieldValue(image, field));
        }
    }
    return out;
}

QJsonObject remoteRangesJson(const DeviceImage& image) {
    QJsonObject out;
    for (const RemoteField& field : remoteFields()) {
        const int top = field.kind == RemoteField::Kind::Volume
                            ? masterVolumeLimit(image.machine, field.field)
                            : field.maximum;
        out.insert(QString::fromLatin1(field.name.data(), field.name.size()),
                   QJsonObject{{QStringLiteral("min"), field.minimum},
                               {QStringLiteral("max"), top},
                               {QStringLiteral("step"), field.step}});
    }
    return out;
}

QJsonArray scenesJson(int language) {
    QJsonArray out;
    for (int s = 0; s < kSceneCount; ++s) {
        out.append(QJsonObject{
            {QStringLiteral("id"), s},
            {QStringLiteral("name"), QString::fromStdString(sceneName(s, language))},
            {QStringLiteral("names"),
             QJsonObject{{QStringLiteral("zh"), QString::fromStdString(sceneName(s, 0))},
                         {QStringLiteral("en"), QString::fromStdString(sceneName(s, 1))}}}});
    }
    return out;
}

namespace {

QJsonArray learnedKeys(const PlugKeyFile& file, int id) {
    QJsonArray out;
    std::vector<PlugKey> keys;
    if (file.readKeys(id, keys) != KeyFileStatus::Ok) {
        return out;
    }
    for (const PlugKey& key : keys) {
        if (key.status == 1 && key.index >= 0 && key.index < kInfraredKeyCount) {
            out.append(QJsonObject{{QStringLiteral("index"), key.index},
                                   {QStringLiteral("name"), QString::fromStdString(key.name)}});
        }
    }
    return out;
}

} // namespace

QJsonArray plugsJson(const PlugTable* plugs, const PlugKeyFile* keys) {
    QJsonArray out;
    if (plugs == nullptr) {
        return out;
    }
    const PlugTableData data = plugs->snapshot();
    for (const int id : data.plugIds()) {
        const PlugRecord record = data.record(id);
        QJsonObject plug{{QStringLiteral("id"), id},
                         {QStringLiteral("type"), record.type()},
                         {QStringLiteral("name"), QString::fromStdU16String(record.name())},
                         {QStringLiteral("value"), data.presence[id].lastValue}};
        const bool infrared = record.type() != kSwitchPlug && record.type() != kDimmerPlug;
        if (keys != nullptr && infrared) {
            plug.insert(QStringLiteral("keys"), learnedKeys(*keys, id));
        }
        out.append(plug);
    }
    return out;
}

QJsonObject stateJson(const ServiceBackend& backend, int currentMode, int runningScene,
                      int language) {
    const DeviceImage& image = backend.image();
    return QJsonObject{
        {QStringLiteral("connected"), backend.connected()},
        {QStringLiteral("mode"), currentMode},
        {QStringLiteral("fields"), remoteFieldsJson(image)},
        {QStringLiteral("ranges"), remoteRangesJson(image)},
        {QStringLiteral("scenes"), scenesJson(language)},
        {QStringLiteral("runningScene"),
         runningScene < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(runningScene)},
        {QStringLiteral("plugs"), plugsJson(backend.plugs(), backend.plugKeys())},
    };
}

} // namespace quilo
