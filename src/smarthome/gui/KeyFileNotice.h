#pragma once

#include "smarthome/PlugKeyFile.h"

#include <vector>

class QWidget;

namespace quilo {

class PageContext;
class SmartHome;

// The keys of plug `id` for the editors: creates the default key file when the
// plug has none, then reads it. A file that exists but cannot be read is left as
// it is and the user is told so (as when the key folder cannot be made); false
// then, and `keys` is unchanged.
bool readPlugKeys(PageContext& context, SmartHome& home, int id, std::vector<PlugKey>& keys,
                  QWidget* parent);

} // namespace quilo
