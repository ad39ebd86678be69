#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quilo {

// Who holds a processor: the program's name and its process id.
struct ProcessorOwner {
    std::string program;
    pid_t pid = 0;
    // What is held: the device node, or the emulator's state file.
    std::string processor;
};

// The lock of one process on one processor: a file in the user's runtime folder,
// named after the processor (its device node, or the emulator's state file),
// holding the owner's name and process id under an flock. The kernel lets go of
// an flock when its process dies however it ends, so the lock of a dead owner is
// simply taken over.
class OwnerLock {
public:
    OwnerLock() = default;
    ~OwnerLock() { release(); }
    OwnerLock(const OwnerLock&) = delete;
    OwnerLock& operator=(const OwnerLock&) = delete;

    // Takes the lock on `processor` for `program` (this process). Empty on
    // success; otherwise who holds it (program empty when the lock file cannot be
    // made at all, `error` then says why).
    std::optional<ProcessorOwner> take(const std::string& processor, const std::string& program,
                                       std::string* error = nullptr);
    void release();
    bool held() const { return m_fd >= 0; }

    // $XDG_RUNTIME_DIR/quilo, or quilo-UID in the temporary folder without one.
    static std::filesystem::path folder();
    static std::filesystem::path fileFor(const std::string& processor);
    // The processor an emulator state file stands for.
    static std::string emulatorKey(const std::filesystem::path& stateFile);
    // The living owners of every processor locked now.
    static std::vector<ProcessorOwner> owners();
    // The owner of `processor`, if a living process holds it.
    static std::optional<ProcessorOwner> ownerOf(const std::string& processor);

private:
    int m_fd = -1;
    std::filesystem::path m_path;
};

// "PROGRAM (pid PID)", as the refusal of a second opener names the owner.
std::string ownerText(const ProcessorOwner& owner);

} // namespace quilo
