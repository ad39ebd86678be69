#pragma once

#include <string>

namespace quilo {

enum class NodeAccess { Ok, PermissionDenied, Unavailable };

// Whether this user may open a device node for reading and writing. hidapi's
// failed open does not say why, so the link asks the node itself: a hidraw node
// that is there but belongs to root is a permission problem, not a missing device.
NodeAccess checkNodeAccess(const std::string& path);

} // namespace quilo
