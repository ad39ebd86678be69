#pragma once

namespace quilo {

// Makes the embedded files (language tables, help) reachable; safe to call often.
void ensureResources();

} // namespace quilo
