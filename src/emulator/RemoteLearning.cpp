#include "emulator/RemoteLearning.h"

#include "device/Command.h"
#include "emulator/Replies.h"

namespace quilo::remote_learning {

void start(Outbox& outbox, int key, EmulatorTime now, EmulatorTime due) {
    stop(outbox, now);
    if (key < kFirstKey || key > kLastKey) {
        return;
    }
    const Report reply = replyOf(static_cast<std::uint8_t>(Command::LearnKey),
                                 {kSystemByte, static_cast<std::uint8_t>(key), codeOf(key)});
    outbox.post(due, reply, outbox_tag::kLearn);
}

void stop(Outbox& outbox, EmulatorTime now) {
    outbox.cancel(outbox_tag::kLearn, now);
}

} // namespace quilo::remote_learning
