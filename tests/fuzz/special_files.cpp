// Savers and readers against what is not a plain file: the first byte picks
// what stands at the name (FIFO, folder, device node, dangling link, link to a
// FIFO, write-protected file, or a plain file), the second the saver or reader,
// the rest is the file's content. Nothing that is not a plain file is ever
// replaced or waited on, and a refused save leaves what was there.
#include "FuzzCheck.h"
#include "ScratchFolder.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorFile.h"
#include "model/AtomicWrite.h"
#include "model/DeviceImage.h"
#include "model/FileRead.h"
#include "model/ModeFile.h"
#include "remote/RemoteFile.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace quilo;
using namespace quilo::test;
namespace fs = std::filesystem;

namespace {

enum class Kind { Fifo, Folder, Device, Dangling, LinkToFifo, Protected, Plain, Count };

mode_t typeOf(const fs::path& p) {
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

// Makes `kind` at `path`; false when this system cannot (a device node needs root).
bool make(Kind kind, const ScratchFolder& scratch, const fs::path& path, const std::uint8_t* data,
          std::size_t size) {
    switch (kind) {
    case Kind::Fifo:
        return ::mkfifo(path.c_str(), 0644) == 0;
    case Kind::Folder:
        return ::mkdir(path.c_str(), 0755) == 0;
    case Kind::Device:
        return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 5)) == 0;
    case Kind::Dangling:
        return ::symlink("gone", path.c_str()) == 0;
    case Kind::LinkToFifo:
        return ::mkfifo((scratch.path() / "pipe").c_str(), 0644) == 0 &&
               ::symlink("pipe", path.c_str()) == 0;
    case Kind::Protected:
        scratch.put(path.filename().string(), data, size);
        return ::chmod(path.c_str(), 0444) == 0;
    case Kind::Plain:
    case Kind::Count:
        scratch.put(path.filename().string(), data, size);
        return true;
    }
    return false;
}

using Operation = std::function<bool(const fs::path&)>; // true when it went through

const std::array<Operation, 8> kOperations{
    [](const fs::path& p) {
        return !writeFileAtomically(p, std::vector<std::uint8_t>{1, 2});
    },
    [](const fs::path& p) {
        auto image = std::make_unique<DeviceImage>();
        image->resetToDefaults();
        return writeModeFile(p, *image).ok();
    },
    [](const fs::path& p) { return saveRemoteFile(p, RemoteKeyTable{}).ok(); },
    [](const fs::path& p) {
        return saveEmulatorFile(p, std::make_unique<Emulator>()->state()).ok();
    },
    [](const fs::path& p) {
        std::vector<std::uint8_t> bytes;
        return !readRegularFile(p, 4096, bytes);
    },
    [](const fs::path& p) {
        auto image = std::make_unique<DeviceImage>();
        image->resetToDefaults();
        return readModeFile(p, *image).ok();
    },
    [](const fs::path& p) {
        RemoteKeyTable table{};
        return loadRemoteFile(p, table).ok();
    },
    [](const fs::path& p) {
        const auto emulator = std::make_unique<Emulator>();
        return loadEmulatorFile(p, *emulator).ok();
    },
};
constexpr std::size_t kFirstReader = 4;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const auto kind = static_cast<Kind>(data[0] % static_cast<int>(Kind::Count));
    const std::size_t which = data[1] % kOperations.size();
    ScratchFolder scratch;
    const fs::path path = scratch.path() / "target";
    if (!make(kind, scratch, path, data + 2, size - 2)) {
        return 0;
    }
    const mode_t before = typeOf(path);
    // (Only a plain file is read here: opening a FIFO would wait for a writer.)
    const std::vector<std::uint8_t> contentBefore =
        kind == Kind::Protected ? ScratchFolder::bytesOf(path) : std::vector<std::uint8_t>{};
    const bool done = kOperations[which](path);
    const bool saver = which < kFirstReader;
    switch (kind) {
    case Kind::Fifo:
    case Kind::Folder:
    case Kind::Device:
    case Kind::LinkToFifo:
        FUZZ_CHECK(!done, "a FIFO, folder or device taken for a file");
        FUZZ_CHECK(typeOf(path) == before, "what stood there was replaced");
        break;
    case Kind::Dangling:
        FUZZ_CHECK(saver == done, "a dangling link read, or not saved through");
        FUZZ_CHECK(typeOf(path) == S_IFLNK, "the link was replaced");
        break;
    case Kind::Protected:
        if (saver && ::geteuid() != 0) {
            FUZZ_CHECK(!done, "a write-protected file overwritten");
            FUZZ_CHECK(ScratchFolder::bytesOf(path) == contentBefore, "the old bytes changed");
        }
        break;
    case Kind::Plain:
    case Kind::Count:
        if (saver) {
            FUZZ_CHECK(done, "a plain file not saved");
        }
        break;
    }
    return 0;
}
