#include "mqtt/CommandTopics.h"

#include "smarthome/StepText.h"

#include <algorithm>
#include <cmath>

namespace quilo {

namespace {

ParsedCommand refused(const QString& why) {
    return {std::nullopt, why};
}

ParsedCommand command(BridgeCommand c) {
    return {c, {}};
}

std::optional<bool> onOffOf(const QByteArray& payload) {
    const QByteArray word = payload.trimmed().toUpper();
    if (word == "ON") {
        return true;
    }
    if (word == "OFF") {
        return false;
    }
    return std::nullopt;
}

std::optional<double> numberOf(const QByteArray& payload) {
    bool ok = false;
    const double v = payload.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

ParsedCommand fieldCommand(const RemoteField& field, const QByteArray& payload,
                           const DeviceImage& image) {
    BridgeCommand c{BridgeCommand::Kind::Field, &field};
    if (field.kind == RemoteField::Kind::Mute) {
        const auto on = onOffOf(payload);
        if (!on) {
            return refused(QStringLiteral("a mute takes ON or OFF"));
        }
        c.value = *on ? 1 : 0;
        return command(c);
    }
    const auto number = numberOf(payload);
    if (!number) {
        return refused(QStringLiteral("not a number"));
    }
    c.value = clampRemoteValue(image, field, *number);
    return command(c);
}

ParsedCommand modeCommand(const QByteArray& payload) {
    const QByteArray word = payload.trimmed().toUpper();
    if (word.size() != 2 || word[0] != 'M' || word[1] < '1' || word[1] > '4') {
        return refused(QStringLiteral("the mode is M1, M2, M3 or M4"));
    }
    return command({BridgeCommand::Kind::Mode, nullptr, word[1] - '1'});
}

ParsedCommand sceneCommand(const QByteArray& payload) {
    const QString text = QString::fromUtf8(payload.trimmed());
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    for (int s = 0; s < kSceneCount; ++s) {
        for (int language = 0; language < 2; ++language) {
            if (text.compare(QString::fromStdString(sceneName(s, language)), Qt::CaseInsensitive) ==
                0) {
                return command({BridgeCommand::Kind::Scene, nullptr, s});
            }
        }
    }
    if (isNumber && number >= 0 && number < kSceneCount) {
        return command({BridgeCommand::Kind::Scene, nullptr, number});
    }
    return refused(QStringLiteral("no such scene (TV, Movie, Karaoke, Music, PowerON, PowerOFF "
                                  "or 0-5)"));
}

ParsedCommand plugCommand(const QString& node, const QByteArray& payload,
                          const std::vector<BridgePlug>& plugs) {
    bool ok = false;
    const int id = node.toInt(&ok);
    const auto plug = std::find_if(plugs.begin(), plugs.end(),
                                   [&](const BridgePlug& p) { return ok && p.id == id; });
    if (plug == plugs.end()) {
        return refused(QStringLiteral("no plug %1 in the network").arg(node));
    }
    BridgeCommand c{BridgeCommand::Kind::Plug, nullptr, 0, id};
    if (const auto on = onOffOf(payload)) {
        // As the plug windows send it: a switch gets 255, a dimmer its full level.
        c.value = !*on ? kPlugOff : plug->dimmer ? kPlugOn : kPlugOnSwitch;
        return command(c);
    }
    const auto number = numberOf(payload);
    if (!plug->dimmer || !number) {
        return refused(plug->dimmer ? QStringLiteral("a dimmer takes ON, OFF or 0-99")
                                    : QStringLiteral("a switch plug takes ON or OFF"));
    }
    // As the dimmer's slider takes it.
    c.value = static_cast<int>(std::round(std::clamp(*number, 0.0, double(kPlugOn))));
    return command(c);
}

} // namespace

ParsedCommand parseCommand(const BridgeNames& names, const QString& topic,
                           const QByteArray& payload, const DeviceImage& image,
                           const std::vector<BridgePlug>& plugs) {
    const QString start = names.topic({});
    const QString end = QStringLiteral("/set");
    if (!topic.startsWith(start) || !topic.endsWith(end)) {
        return refused(QStringLiteral("not a command topic"));
    }
    if (payload.size() > kMaxCommandBytes) {
        return refused(QStringLiteral("the payload is longer than %1 bytes").arg(kMaxCommandBytes));
    }
    const QString what = topic.mid(start.size(), topic.size() - start.size() - end.size());
    if (what == QLatin1String("mode")) {
        return modeCommand(payload);
    }
    if (what == QLatin1String("scene")) {
        return sceneCommand(payload);
    }
    if (what.startsWith(QLatin1String("plug/"))) {
        return plugCommand(what.mid(5), payload, plugs);
    }
    if (const RemoteField* field = findRemoteField(what.toStdString())) {
        return fieldCommand(*field, payload, image);
    }
    return refused(QStringLiteral("unknown command topic"));
}

} // namespace quilo
