#include "pages/EqCopySource.h"

namespace quilo {

EqCopySource& EqCopySource::shared() {
    static EqCopySource source;
    return source;
}

} // namespace quilo
