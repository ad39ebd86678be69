#pragma once

#include <QStringList>

#include <cstdint>
#include <vector>

namespace quilo {

// The built-in speaker presets for the menu: names in a language, and the mode
// file of entry 0-14 (empty when the entry does not exist).
QStringList speakerPresetNames(int language);
std::vector<std::uint8_t> speakerPresetFile(int entry);

} // namespace quilo
