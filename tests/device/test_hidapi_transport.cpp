// The hidapi transport without hardware: inbound report layout, a closed handle
// and nodes this user may not open.
#include "device/HidapiTransport.h"
#include "device/NodeAccess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace quilo;

TEST(HidapiInbound, NumberedReportsArriveWithTheIdFirst) {
    unsigned char raw[61] = {0x02, 0x0E, 0x55};
    raw[60] = 0x77;
    const Report r = normaliseInboundReport(raw, 61);
    EXPECT_EQ(r[0], 0x02);
    EXPECT_EQ(r[1], 0x0E); // reply code
    EXPECT_EQ(r[2], 0x55);
    EXPECT_EQ(r[60], 0x77);
}

TEST(HidapiInbound, UnnumberedReportsAreMovedBehindAZeroId) {
    unsigned char raw[60] = {0x0E, 0x55};
    raw[59] = 0x77;
    const Report r = normaliseInboundReport(raw, 60);
    EXPECT_EQ(r[0], 0x00);
    EXPECT_EQ(r[1], 0x0E);
    EXPECT_EQ(r[2], 0x55);
    EXPECT_EQ(r[60], 0x77);
}

TEST(HidapiInbound, ShortLongAndEmptyReadsStayInsideTheReport) {
    const unsigned char shortRaw[3] = {0x02, 0x09, 0x01};
    Report r = normaliseInboundReport(shortRaw, 3);
    EXPECT_EQ(r[1], 0x09);
    EXPECT_EQ(r[2], 0x01);
    EXPECT_EQ(r[3], 0x00);

    unsigned char longRaw[64];
    for (int i = 0; i < 64; ++i) {
        longRaw[i] = static_cast<unsigned char>(i);
    }
    r = normaliseInboundReport(longRaw, 64);
    EXPECT_EQ(r[60], 60);

    EXPECT_EQ(normaliseInboundReport(longRaw, 0), Report{});
    EXPECT_EQ(normaliseInboundReport(nullptr, 61), Report{});
}

TEST(HidapiTransport, NothingOpenMeansReadsAndWritesFail) {
    HidapiTransport t;
    Report r{};
    EXPECT_EQ(t.read(r, std::chrono::milliseconds(1)), -1);
    EXPECT_EQ(t.write(r), -1);
    EXPECT_FALSE(t.attributes().has_value());
    EXPECT_FALSE(t.open("/dev/quilo-no-such-node"));
    EXPECT_EQ(t.read(r, std::chrono::milliseconds(1)), -1);
    t.close();
    t.close();
}

TEST(HidapiTransport, ListsEveryInterfaceOnce) {
    HidapiTransport t;
    auto paths = t.interfacePaths();
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(std::adjacent_find(paths.begin(), paths.end()), paths.end());
}

// A node that is there but belongs to someone else is told apart from one that is
// not there. Runs in a child process that, when the tests run as root (who may
// open anything), first becomes nobody.
TEST(HidapiTransport, ALockedNodeIsAPermissionProblem) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("quilo-node-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::permissions(dir, std::filesystem::perms(0755));
    const std::string lockedNode = dir / "hidraw-locked";
    const std::string openNode = dir / "hidraw-open";
    const std::string missingNode = dir / "hidraw-missing";
    std::ofstream(lockedNode).put('\0');
    std::ofstream(openNode).put('\0');
    const bool root = ::geteuid() == 0;
    std::filesystem::permissions(lockedNode, std::filesystem::perms(root ? 0600 : 0000));
    std::filesystem::permissions(openNode, std::filesystem::perms(0666));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (root && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(100);
        }
        int failures = 0;
        failures |= checkNodeAccess(lockedNode) != NodeAccess::PermissionDenied ? 1 : 0;
        failures |= checkNodeAccess(openNode) != NodeAccess::Ok ? 2 : 0;
        HidapiTransport t;
        failures |=
            t.open(lockedNode) || t.lastOpenFailure() != OpenFailure::PermissionDenied ? 4 : 0;
        ::_exit(failures);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 100) << "could not become nobody";
    EXPECT_EQ(WEXITSTATUS(status) & 1, 0) << "locked node not reported as a permission problem";
    EXPECT_EQ(WEXITSTATUS(status) & 2, 0) << "open node not reported as accessible";
    EXPECT_EQ(WEXITSTATUS(status) & 4, 0) << "failed open not put down to permission";

    // A node that is not there is no permission problem.
    EXPECT_EQ(checkNodeAccess(missingNode), NodeAccess::Unavailable);
    HidapiTransport t;
    EXPECT_FALSE(t.open(missingNode));
    EXPECT_EQ(t.lastOpenFailure(), OpenFailure::Failed);
    std::filesystem::remove_all(dir);
}
