// Every saver and every reader against what may stand where a file is expected:
// FIFOs, folders, device nodes, links (dangling, or planted by another user in a
// shared sticky folder), write-protected files, read-only folders and names as
// long as the file system allows. Nothing is replaced that is not a regular
// file, nothing blocks, and no temporary file is left behind.
#include "emulator/Emulator.h"
#include "emulator/EmulatorFile.h"
#include "model/AtomicWrite.h"
#include "model/DeviceImage.h"
#include "model/FileError.h"
#include "model/FileRead.h"
#include "model/ModeFile.h"
#include "remote/RemoteFile.h"
#include "smarthome/PlugKeyFile.h"
#include "support/OtherUser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <future>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace quilo;
using namespace quilo::test;
namespace fs = std::filesystem;

namespace {

const std::string kOld = "old bytes";
const std::vector<std::uint8_t> kNew{'n', 'e', 'w'};
// A key file's name; the savers and readers of other files take any name.
const std::string kName = "7.xml";
// A failure of a saver or reader that tells no system error.
const std::error_code kFailed = std::make_error_code(std::errc::io_error);

std::string contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
void put(const fs::path& p, const std::string& text, mode_t mode) {
    std::ofstream(p, std::ios::binary) << text;
    ::chmod(p.c_str(), mode);
}
mode_t typeOf(const fs::path& p) {
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}
bool temporaryLeft(const fs::path& dir) {
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (e.path().filename().string().ends_with(".tmp")) {
            return true;
        }
    }
    return false;
}

struct Saver {
    const char* name;
    bool exactError; // tells the system error, not only that it failed
    bool anyName;    // a key file is always "<id>.xml"
    std::function<std::error_code(const fs::path&)> save;
};

std::vector<Saver> savers() {
    return {
        {"writeFileAtomically", true, true,
         [](const fs::path& p) { return writeFileAtomically(p, kNew); }},
        {"mode file", true, true,
         [](const fs::path& p) {
             auto image = std::make_unique<DeviceImage>();
             image->resetToDefaults();
             return writeModeFile(p, *image).systemError;
         }},
        {"remote file", true, true,
         [](const fs::path& p) { return saveRemoteFile(p, RemoteKeyTable{}).systemError; }},
        {"emulator state", false, true,
         [](const fs::path& p) {
             const auto emulator = std::make_unique<Emulator>();
             return saveEmulatorFile(p, emulator->state()).ok() ? std::error_code{} : kFailed;
         }},
        {"key file", false, false,
         [](const fs::path& p) {
             return PlugKeyFile(p.parent_path()).createKeyFile(7) == KeyFileStatus::Ok
                        ? std::error_code{}
                        : kFailed;
         }},
    };
}

// One thing in the way of a save: what is made there, what the save must say,
// and what must hold afterwards.
struct Target {
    const char* name;
    bool needsRoot;   // mknod or giving a link away
    bool asOtherUser; // root may write anything; the refusal is another user's
    std::function<fs::path(const fs::path& dir)> make;
    std::error_code expected; // none: the save goes through
    std::function<void(const fs::path& dir, const fs::path& target)> after;
};

void unchangedOld(const fs::path&, const fs::path& target) {
    EXPECT_EQ(contents(target), kOld);
}

std::vector<Target> saveTargets() {
    const auto notRegular = make_error_code(FileError::NotRegularFile);
    return {
        {"FIFO", false, false,
         [](const fs::path& d) {
             ::mkfifo((d / kName).c_str(), 0644);
             return d / kName;
         },
         notRegular, [](const fs::path&, const fs::path& t) { EXPECT_EQ(typeOf(t), S_IFIFO); }},
        {"link to a FIFO", false, false,
         [](const fs::path& d) {
             ::mkfifo((d / "pipe").c_str(), 0644);
             fs::create_symlink("pipe", d / kName);
             return d / kName;
         },
         notRegular,
         [](const fs::path& d, const fs::path& t) {
             EXPECT_EQ(typeOf(t), S_IFLNK);
             EXPECT_EQ(typeOf(d / "pipe"), S_IFIFO);
         }},
        {"folder", false, false,
         [](const fs::path& d) {
             fs::create_directory(d / kName);
             return d / kName;
         },
         std::make_error_code(std::errc::is_a_directory),
         [](const fs::path&, const fs::path& t) { EXPECT_EQ(typeOf(t), S_IFDIR); }},
        // Made in the test's folder: the system's own device nodes stay untouched.
        {"device node", true, false,
         [](const fs::path& d) {
             ::mknod((d / kName).c_str(), S_IFCHR | 0666, makedev(1, 3));
             return d / kName;
         },
         notRegular, [](const fs::path&, const fs::path& t) { EXPECT_EQ(typeOf(t), S_IFCHR); }},
        {"dangling link",
         false,
         false,
         [](const fs::path& d) {
             fs::create_symlink("made", d / kName);
             return d / kName;
         },
         {},
         [](const fs::path& d, const fs::path& t) {
             EXPECT_EQ(typeOf(t), S_IFLNK);
             EXPECT_EQ(typeOf(d / "made"), S_IFREG);
         }},
        {"another user's link in a sticky folder", true, false,
         [](const fs::path& d) {
             put(d / "real", kOld, 0666);
             fs::create_directory(d / "shared");
             ::chmod((d / "shared").c_str(), 01777);
             fs::create_symlink("../real", d / "shared" / kName);
             EXPECT_EQ(::lchown((d / "shared" / kName).c_str(), otherUser()->uid, otherUser()->gid),
                       0);
             return d / "shared" / kName;
         },
         make_error_code(FileError::ForeignLink),
         [](const fs::path& d, const fs::path& t) {
             EXPECT_EQ(typeOf(t), S_IFLNK);
             EXPECT_EQ(contents(d / "real"), kOld);
         }},
        {"own link in a sticky folder",
         false,
         false,
         [](const fs::path& d) {
             put(d / "real", kOld, 0666);
             fs::create_directory(d / "shared");
             ::chmod((d / "shared").c_str(), 01777);
             fs::create_symlink("../real", d / "shared" / kName);
             return d / "shared" / kName;
         },
         {},
         [](const fs::path& d, const fs::path&) { EXPECT_NE(contents(d / "real"), kOld); }},
        {"write-protected file", false, true,
         [](const fs::path& d) {
             put(d / kName, kOld, 0444);
             return d / kName;
         },
         std::make_error_code(std::errc::permission_denied), unchangedOld},
        // No temporary file fits into the folder, but the file may be written.
        {"writable file in a read-only folder",
         false,
         true,
         [](const fs::path& d) {
             fs::create_directory(d / "locked");
             put(d / "locked" / kName, kOld, 0666);
             return d / "locked" / kName;
         },
         {},
         [](const fs::path& d, const fs::path& t) {
             EXPECT_NE(contents(t), kOld);
             ::chmod((d / "locked").c_str(), 0755);
         }},
        {"name of 250 bytes",
         false,
         false,
         [](const fs::path& d) { return d / (std::string(246, 'n') + ".xml"); },
         {},
         [](const fs::path&, const fs::path& t) { EXPECT_EQ(typeOf(t), S_IFREG); }},
        {"name of 255 bytes in UTF-8",
         false,
         false,
         [](const fs::path& d) {
             std::string name;
             while (name.size() + 3 <= 255 - 4) {
                 name += "\xe6\xa8\xa1"; // a CJK character, three bytes
             }
             return d / (name + std::string(255 - 4 - name.size(), 'x') + ".xml");
         },
         {},
         [](const fs::path&, const fs::path& t) { EXPECT_EQ(typeOf(t), S_IFREG); }},
    };
}

struct Folder {
    fs::path dir;
    Folder() {
        char tmpl[] = "/tmp/quilo-targets-XXXXXX";
        dir = ::mkdtemp(tmpl);
        ::chmod(dir.c_str(), 0777); // another user works in it too
    }
    ~Folder() {
        for (const auto& e : fs::recursive_directory_iterator(dir)) {
            if (e.is_directory() && !e.is_symlink()) {
                ::chmod(e.path().c_str(), 0777);
            }
        }
        fs::remove_all(dir);
    }
};

} // namespace

TEST(SpecialTargets, EverySaverRefusesWhatIsNoPlainFileAndSavesEveryValidName) {
    const std::optional<OtherUser> other = otherUser();
    for (const Target& target : saveTargets()) {
        if (target.needsRoot && !other) {
            std::cout << "skipped \"" << target.name << "\": needs root to set it up\n";
            continue;
        }
        for (const Saver& saver : savers()) {
            const bool named = std::string(target.name).starts_with("name of");
            if (named && !saver.anyName) {
                continue;
            }
            SCOPED_TRACE(std::string(saver.name) + " over " + target.name);
            Folder folder;
            const fs::path path = target.make(folder.dir);
            if (std::string(target.name).ends_with("read-only folder")) {
                ::chmod(path.parent_path().c_str(), 0555);
            }
            std::error_code got;
            if (target.asOtherUser && other) {
                for (const auto& e : fs::recursive_directory_iterator(folder.dir)) {
                    ::lchown(e.path().c_str(), other->uid, other->gid);
                }
                got = runAs(*other, [&] { return saver.save(path); });
            } else {
                got = saver.save(path);
            }
            if (!target.expected) {
                EXPECT_FALSE(got) << got.message();
            } else if (saver.exactError &&
                       (!(target.asOtherUser && other) ||
                        target.expected.category() == std::generic_category())) {
                EXPECT_EQ(got, target.expected) << got.message();
            } else {
                EXPECT_TRUE(got);
            }
            target.after(folder.dir, path);
            EXPECT_FALSE(temporaryLeft(folder.dir));
        }
    }
}

TEST(SpecialTargets, EveryReaderRefusesWhatIsNoPlainFileWithoutWaiting) {
    struct Reader {
        const char* name;
        std::function<std::error_code(const fs::path&)> read;
    };
    const std::vector<Reader> readers{
        {"readRegularFile",
         [](const fs::path& p) {
             std::vector<std::uint8_t> bytes;
             return readRegularFile(p, 1024, bytes);
         }},
        {"mode file",
         [](const fs::path& p) {
             auto image = std::make_unique<DeviceImage>();
             const ModeFileResult r = readModeFile(p, *image);
             return r.ok() ? std::error_code{} : r.systemError ? r.systemError : kFailed;
         }},
        {"remote file",
         [](const fs::path& p) {
             RemoteKeyTable table{};
             const RemoteFileResult r = loadRemoteFile(p, table);
             return r.ok() ? std::error_code{} : r.systemError ? r.systemError : kFailed;
         }},
        {"emulator state",
         [](const fs::path& p) {
             const auto emulator = std::make_unique<Emulator>();
             return loadEmulatorFile(p, *emulator).ok() ? std::error_code{} : kFailed;
         }},
        {"key file",
         [](const fs::path& p) {
             std::vector<PlugKey> keys;
             return PlugKeyFile(p.parent_path()).readKeys(7, keys) == KeyFileStatus::Ok
                        ? std::error_code{}
                        : kFailed;
         }},
    };
    const auto notRegular = make_error_code(FileError::NotRegularFile);
    struct Thing {
        const char* name;
        bool needsRoot;
        std::function<void(const fs::path&)> make;
        std::error_code expected; // from the readers that tell the system error
    };
    const std::vector<Thing> things{
        {"FIFO nobody writes to", false, [](const fs::path& p) { ::mkfifo(p.c_str(), 0644); },
         notRegular},
        {"link to a FIFO", false,
         [](const fs::path& p) {
             ::mkfifo((p.parent_path() / "pipe").c_str(), 0644);
             fs::create_symlink("pipe", p);
         },
         notRegular},
        {"folder", false, [](const fs::path& p) { fs::create_directory(p); },
         std::make_error_code(std::errc::is_a_directory)},
        {"device node that never ends", true,
         [](const fs::path& p) { ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 5)); }, notRegular},
        {"dangling link", false, [](const fs::path& p) { fs::create_symlink("gone", p); },
         std::make_error_code(std::errc::no_such_file_or_directory)},
    };
    const bool root = ::geteuid() == 0;
    for (const Thing& thing : things) {
        if (thing.needsRoot && !root) {
            std::cout << "skipped \"" << thing.name << "\": needs root to set it up\n";
            continue;
        }
        for (const Reader& reader : readers) {
            SCOPED_TRACE(std::string(reader.name) + " of a " + thing.name);
            Folder folder;
            const fs::path path = folder.dir / kName;
            thing.make(path);
            auto reading = std::async(std::launch::async, [&] { return reader.read(path); });
            if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
                ADD_FAILURE() << "still waiting after 10 s";
                // Let a reader held in open() go.
                ::close(::open(path.c_str(), O_WRONLY | O_NONBLOCK));
            }
            const std::error_code got = reading.get();
            if (got != kFailed) {
                EXPECT_EQ(got, thing.expected) << got.message();
            }
            EXPECT_TRUE(got);
        }
    }
}
