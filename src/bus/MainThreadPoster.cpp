#include "bus/MainThreadPoster.h"

#include <QCoreApplication>
#include <QEvent>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace quilo {

namespace {

QEvent::Type callEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

class CallEvent : public QEvent {
public:
    explicit CallEvent(std::function<void()> call)
        : QEvent(callEventType()), m_call(std::move(call)) {}
    void run() { m_call(); }

private:
    std::function<void()> m_call;
};

// Everything the posting thread did before the post happens before the call.
void handOver([[maybe_unused]] void* event) {
#if defined(__SANITIZE_THREAD__)
    __tsan_release(event);
#endif
}

void takeOver([[maybe_unused]] void* event) {
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(event);
#endif
}

} // namespace

void MainThreadPoster::post(std::function<void()> call) {
    auto* event = new CallEvent(std::move(call));
    handOver(event);
    QCoreApplication::postEvent(this, event);
}

bool MainThreadPoster::event(QEvent* event) {
    if (event->type() != callEventType()) {
        return QObject::event(event);
    }
    takeOver(event);
    static_cast<CallEvent*>(event)->run();
    return true;
}

} // namespace quilo
