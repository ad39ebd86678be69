#pragma once

#include <QString>

namespace quilo {

// Starts a read-back or write-out of the whole image under the progress dialog;
// the image belongs to the run until it reports back.
class SyncStarter {
public:
    virtual ~SyncStarter() = default;
    // An empty text shows the dialog's usual one.
    virtual void startPull(const QString& dialogText = {}) = 0;
    virtual void startPush() = 0;
};

} // namespace quilo
