#pragma once

#include "bus/ServiceBackend.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

namespace quilo {

// What the phone page shows, as JSON: the remote fields with their ranges, the
// scenes and the plugs. Read on the owner's thread while it owns the image.

// The remote fields' values; with `only`, just those of its names that are remote fields.
QJsonObject remoteFieldsJson(const DeviceImage& image, const QStringList* only = nullptr);
// {"micVolume":{"min":0,"max":99,"step":1},…}
QJsonObject remoteRangesJson(const DeviceImage& image);
// [{"id":0,"name":"TV"},…] in the page's language (0 Chinese, 1 English).
QJsonArray scenesJson(int language);
// [{"id":2,"type":1,"name":"Lamp","value":0},…]; empty without a plug table.
// With `keys`, an infrared plug's learned keys too: "keys":[{"index":2,"name":"Power"},…]
// (read from its key file: not for every look).
QJsonArray plugsJson(const PlugTable* plugs, const PlugKeyFile* keys = nullptr);
// `runningScene` -1 when none.
QJsonObject stateJson(const ServiceBackend& backend, int currentMode, int runningScene,
                      int language);

} // namespace quilo
