#include "smarthome/PlugRecord.h"

#include <algorithm>

namespace quilo {

namespace {

constexpr std::size_t kNameAt = 4;

bool isHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}

} // namespace

std::u16string PlugRecord::name() const {
    std::u16string out;
    for (std::size_t i = 0; i < kNameUnits; ++i) {
        const auto u =
            static_cast<char16_t>(bytes[kNameAt + 2 * i] | bytes[kNameAt + 2 * i + 1] << 8);
        if (u == 0) {
            break;
        }
        out += u;
    }
    return out;
}

void PlugRecord::setName(std::u16string_view name) {
    std::size_t n = std::min(name.size(), kPlugNameMaxLength);
    // A character outside the basic plane is two units; never keep half of one.
    if (n > 0 && n < name.size() && isHighSurrogate(name[n - 1])) {
        --n;
    }
    std::fill(bytes.begin() + kNameAt, bytes.end(), 0);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[kNameAt + 2 * i] = static_cast<std::uint8_t>(name[i]);
        bytes[kNameAt + 2 * i + 1] = static_cast<std::uint8_t>(name[i] >> 8);
    }
}

PlugRecord PlugRecord::make(std::uint8_t type, std::u16string_view name) {
    PlugRecord r;
    r.setType(type);
    r.setName(name);
    return r;
}

PlugNameCheck checkPlugName(std::u16string_view name) {
    if (name.empty()) {
        return PlugNameCheck::Empty;
    }
    return name.size() > kPlugNameMaxLength ? PlugNameCheck::TooLong : PlugNameCheck::Fits;
}

std::array<std::uint8_t, kSceneSize> sceneBytes(const Scene& scene) {
    std::array<std::uint8_t, kSceneSize> out{};
    for (std::size_t i = 0; i < scene.size(); ++i) {
        out[2 * i] = scene[i].node;
        out[2 * i + 1] = scene[i].value;
    }
    return out;
}

Scene sceneFromBytes(std::span<const std::uint8_t, kSceneSize> bytes) {
    Scene scene;
    for (std::size_t i = 0; i < scene.size(); ++i) {
        scene[i] = {bytes[2 * i], bytes[2 * i + 1]};
    }
    return scene;
}

} // namespace quilo
