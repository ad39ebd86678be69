// Saving through a temporary file and a rename: links are saved through, new
// files get the umask, replaced files keep their mode and owner, and a failed
// save leaves the old file byte for byte.
#include "model/AtomicWrite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace quilo;
namespace fs = std::filesystem;

namespace {

const std::vector<std::uint8_t> kOld{'o', 'l', 'd'};
const std::vector<std::uint8_t> kNew{'n', 'e', 'w', ' ', 'd', 'a', 't', 'a'};

struct AtomicWrite : ::testing::Test {
    fs::path dir;
    mode_t savedUmask = 0;

    void SetUp() override {
        char tmpl[] = "/tmp/quilo-atomic-XXXXXX";
        dir = ::mkdtemp(tmpl);
        savedUmask = ::umask(022);
    }
    void TearDown() override {
        ::umask(savedUmask);
        fs::remove_all(dir);
    }

    static std::vector<std::uint8_t> bytes(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void put(const fs::path& p, const std::vector<std::uint8_t>& b, mode_t mode = 0644) {
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
        ::chmod(p.c_str(), mode);
    }
    static struct stat statOf(const fs::path& p) {
        struct stat st {};
        EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
        return st;
    }
    // Every name under the test folder, so a temporary file left behind shows.
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : fs::recursive_directory_iterator(dir)) {
            out.push_back(e.path().lexically_relative(dir).string());
        }
        std::sort(out.begin(), out.end());
        return out;
    }
};

} // namespace

TEST_F(AtomicWrite, LinksAreSavedThroughToTheirTargetAndStayLinks) {
    fs::create_directories(dir / "real");
    fs::create_directories(dir / "sub");
    const fs::path file = dir / "real" / "data.bin";
    fs::create_symlink(file, dir / "absolute");               // absolute target
    fs::create_symlink("real/data.bin", dir / "relative");    // from the link's folder
    fs::create_symlink("../relative", dir / "sub" / "chain"); // a link to a link
    for (const char* link : {"absolute", "relative", "sub/chain"}) {
        put(file, kOld, 0640);
        const fs::path target = fs::read_symlink(dir / link);
        ASSERT_FALSE(writeFileAtomically(dir / link, kNew)) << link;
        EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
        EXPECT_EQ(fs::read_symlink(dir / link), target) << link;
        EXPECT_EQ(bytes(file), kNew) << link;
        EXPECT_EQ(statOf(file).st_mode & 07777, 0640u) << link;
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"absolute", "real", "real/data.bin", "relative",
                                                 "sub", "sub/chain"}));
}

TEST_F(AtomicWrite, ADanglingLinkGetsTheFileItNamesAsOpenWouldCreateIt) {
    fs::create_directories(dir / "made");
    fs::create_symlink("made/new.bin", dir / "dangling");
    ASSERT_FALSE(writeFileAtomically(dir / "dangling", kNew));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    EXPECT_EQ(bytes(dir / "made" / "new.bin"), kNew);
    EXPECT_EQ(statOf(dir / "made" / "new.bin").st_mode & 07777, 0644u);

    // Into a folder that does not exist, or round a loop of links: refused, nothing made.
    fs::create_symlink("nowhere/new.bin", dir / "lost");
    EXPECT_EQ(writeFileAtomically(dir / "lost", kNew), std::errc::no_such_file_or_directory);
    fs::create_symlink("loop-b", dir / "loop-a");
    fs::create_symlink("loop-a", dir / "loop-b");
    EXPECT_EQ(writeFileAtomically(dir / "loop-a", kNew), std::errc::too_many_symbolic_link_levels);
    EXPECT_EQ(names(), (std::vector<std::string>{"dangling", "loop-a", "loop-b", "lost", "made",
                                                 "made/new.bin"}));
}

TEST_F(AtomicWrite, NewFilesGetTheUmaskAndReplacedFilesKeepTheirMode) {
    for (const mode_t mask : {022, 077, 027, 0}) {
        ::umask(mask);
        const fs::path file = dir / ("new-" + std::to_string(mask));
        ASSERT_FALSE(writeFileAtomically(file, kNew));
        EXPECT_EQ(statOf(file).st_mode & 07777, 0666 & ~mask) << std::oct << mask;
    }
    ::umask(022);
    for (const mode_t mode : {0600, 0640, 0755, 0444}) {
        if (mode == 0444 && ::geteuid() != 0) {
            continue; // only root may write it, as open() lets only root
        }
        const fs::path file = dir / ("old-" + std::to_string(mode));
        put(file, kOld, mode);
        ASSERT_FALSE(writeFileAtomically(file, kNew));
        EXPECT_EQ(bytes(file), kNew);
        EXPECT_EQ(statOf(file).st_mode & 07777, mode) << std::oct << mode;
    }
}

TEST_F(AtomicWrite, ReplacedFilesKeepTheirOwnerWhenTheUserMaySetIt) {
    const fs::path file = dir / "owned";
    put(file, kOld, 0640);
    // Only root may give a file away; anyone else keeps their own files as they were.
    const uid_t owner = ::geteuid() == 0 ? 65534 : ::geteuid();
    const gid_t group = ::geteuid() == 0 ? 65534 : ::getegid();
    ASSERT_EQ(::chown(file.c_str(), owner, group), 0);
    ASSERT_FALSE(writeFileAtomically(file, kNew));
    const struct stat st = statOf(file);
    EXPECT_EQ(st.st_uid, owner);
    EXPECT_EQ(st.st_gid, group);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(AtomicWrite, AFailedSaveLeavesTheOldFileByteForByte) {
    const fs::path file = dir / "keep.bin";
    put(file, kOld, 0600);
    fs::create_symlink("keep.bin", dir / "link");
    // Files may hold no byte at all: the write of the new data fails.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit none = saved;
    none.rlim_cur = 0;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &none), 0);
    const std::error_code direct = writeFileAtomically(file, kNew);
    const std::error_code linked = writeFileAtomically(dir / "link", kNew);
    ::setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(direct, std::errc::file_too_large);
    EXPECT_EQ(linked, std::errc::file_too_large);
    EXPECT_EQ(bytes(file), kOld);
    EXPECT_EQ(statOf(file).st_mode & 07777, 0600u);
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    // A folder, or a link to one, is refused before anything is made.
    fs::create_directories(dir / "folder");
    fs::create_symlink("folder", dir / "to-folder");
    EXPECT_EQ(writeFileAtomically(dir / "folder", kNew), std::errc::is_a_directory);
    EXPECT_EQ(writeFileAtomically(dir / "to-folder", kNew), std::errc::is_a_directory);
    EXPECT_EQ(names(), (std::vector<std::string>{"folder", "keep.bin", "link", "to-folder"}));
}

TEST_F(AtomicWrite, TemporariesOfKilledSavesGoWithTheNextSaveToTheFolder) {
    // A process that has ended: its temporaries can belong to no running save.
    const pid_t gone = ::fork();
    if (gone == 0) {
        ::_exit(0);
    }
    ::waitpid(gone, nullptr, 0);
    const auto temporary = [&](pid_t pid, const std::string& name) {
        return "." + name + "." + std::to_string(pid) + "-123456.tmp";
    };
    const std::string stale = temporary(gone, "show.quilo");
    const std::string otherFile = temporary(gone, "other.remo");
    const std::string fresh = temporary(gone, "fresh.quilo");      // touched a moment ago
    const std::string running = temporary(::getppid(), "a.quilo"); // its process still runs
    const std::string notOurs = ".notes.txt." + std::to_string(gone) + ".tmp";
    for (const std::string& name : {stale, otherFile, fresh, running, notOurs}) {
        put(dir / name, kOld);
    }
    const timeval old[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    for (const std::string& name : {stale, otherFile, running, notOurs}) {
        ASSERT_EQ(::utimes((dir / name).c_str(), old), 0);
    }
    ASSERT_FALSE(writeFileAtomically(dir / "show.quilo", kNew));
    std::vector<std::string> kept{fresh, running, notOurs, "show.quilo"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(names(), kept);
}
