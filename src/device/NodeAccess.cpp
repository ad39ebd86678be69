#include "device/NodeAccess.h"

#include <cerrno>
#include <unistd.h>

namespace quilo {

NodeAccess checkNodeAccess(const std::string& path) {
    // access() looks at modes and ACLs (the uaccess tag grants an ACL) without
    // opening the node.
    if (::access(path.c_str(), R_OK | W_OK) == 0) {
        return NodeAccess::Ok;
    }
    return errno == EACCES || errno == EPERM ? NodeAccess::PermissionDenied
                                             : NodeAccess::Unavailable;
}

} // namespace quilo
