// quiloctl with files that are not plain files: "-" for standard input and
// output, FIFOs and device nodes as inputs (refused at once, never waited on)
// and as outputs (refused and left as they are).
#include "CliFiles.h"
#include "model/ModeFile.h"
#include "model/Presets.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace quilo;
using namespace quilo::test;

namespace {

// quiloctl's standard error and status; "timeout" turns a wait that never
// ends into status 124.
CommandResult bounded(const std::string& args) {
    return runCommand("timeout 20 " + std::string(QUILOCTL_PATH) + " " + args +
                      " 2>&1 >/dev/null </dev/null");
}

bool isFifo(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

} // namespace

TEST(SpecialFiles, DashIsStandardInputAndOutput) {
    TempFolder dir("dash");
    const auto preset = presetModeFile(4);
    writeBytes(dir / "p.quilo", preset);
    const CommandResult converted = quiloctlOut("modefile convert " + dir / "p.quilo -");
    EXPECT_EQ(converted.status, 0);
    EXPECT_EQ(std::vector<std::uint8_t>(converted.out.begin(), converted.out.end()), preset);

    // Through a pipe and from a redirected file alike.
    EXPECT_EQ(quiloctlOut("modefile dump - < " + dir / "p.quilo").out,
              quiloctlOut("modefile dump " + dir / "p.quilo").out);
    const CommandResult piped =
        runCommand("cat " + dir / "p.quilo" + " | " + QUILOCTL_PATH + " modefile convert - -");
    EXPECT_EQ(std::vector<std::uint8_t>(piped.out.begin(), piped.out.end()), preset);

    const CommandResult pulled = quiloctlOut("--emulate pull -");
    EXPECT_EQ(pulled.status, 0);
    EXPECT_EQ(pulled.out.size(), kModeFileSize);
}

TEST(SpecialFiles, FifosAndDevicesAreRefusedAtOnceAndLeftAlone) {
    TempFolder dir("fifo");
    writeBytes(dir / "p.quilo", presetModeFile(0));
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // A device node of its own, so that the system's are never at stake.
    const std::string node = dir / "null";
    const bool haveNode = ::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;

    const std::vector<std::string> commands{
        "modefile dump " + fifo,
        "push " + fifo,
        "eq import " + dir / "p.quilo" + " 7 " + fifo + " " + dir / "out.quilo",
        "modefile convert " + dir / "p.quilo " + fifo,
        "pull " + fifo,
        "remote pull " + fifo,
    };
    for (const std::string& args : commands) {
        const CommandResult r = bounded("--emulate " + args);
        EXPECT_EQ(r.status, 1) << args << ": " << r.out;
        EXPECT_NE(r.out.find("Not a regular file"), std::string::npos) << args << ": " << r.out;
        EXPECT_TRUE(isFifo(fifo)) << args;
    }
    // The emulator's own state file, too.
    const CommandResult state = bounded("--emulate=" + fifo + " info");
    EXPECT_EQ(state.status, 1) << state.out;
    EXPECT_TRUE(isFifo(fifo));

    if (!haveNode) {
        GTEST_SKIP() << "no device node: making one needs root";
    }
    const CommandResult pulled = bounded("--emulate pull " + node);
    EXPECT_EQ(pulled.status, 1) << pulled.out;
    struct stat st {};
    ASSERT_EQ(::lstat(node.c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}
