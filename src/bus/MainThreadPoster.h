#pragma once

#include <QObject>

#include <functional>

namespace quilo {

// Runs functions on the thread this object lives on (the user-interface thread),
// posted from any thread: what the read thread and the workers hand to the windows.
// Unlike a queued QMetaObject call, the hand-over is visible to ThreadSanitizer,
// which cannot see Qt's own locking when Qt is not built for it.
class MainThreadPoster : public QObject {
public:
    explicit MainThreadPoster(QObject* parent = nullptr) : QObject(parent) {}

    void post(std::function<void()> call);

protected:
    bool event(QEvent* event) override;
};

} // namespace quilo
