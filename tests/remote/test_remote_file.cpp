// Remote data files: what a load takes from files of every length, what it
// leaves alone when it fails, saving, and the extension rule.
#include "remote/RemoteFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace quilo;
namespace fs = std::filesystem;

namespace {

struct RemoteFiles : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("remote-file-" + std::to_string(::getpid()));
    RemoteKeyTable table{};

    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
        table.fill(0xEE);
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }

    fs::path write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(dir / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return dir / name;
    }
    std::vector<std::uint8_t> read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

std::vector<std::uint8_t> counting(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i);
    }
    return bytes;
}

} // namespace

TEST_F(RemoteFiles, LoadTakesUpToEighteenBytesAndLeavesTheRest) {
    for (const std::size_t size : {18u, 10u, 1u, 25u}) {
        table.fill(0xEE);
        const RemoteFileResult r = loadRemoteFile(write("keys.remo", counting(size)), table);
        ASSERT_TRUE(r.ok()) << size;
        const std::size_t taken = std::min<std::size_t>(size, 18);
        EXPECT_EQ(r.bytes, taken);
        for (std::size_t i = 0; i < table.size(); ++i) {
            EXPECT_EQ(table[i], i < taken ? i : 0xEE) << "size " << size << " byte " << i;
        }
    }
}

TEST_F(RemoteFiles, AFileThatCannotBeLoadedLeavesTheTableAndSaysWhy) {
    const RemoteKeyTable before = table;
    struct Case {
        fs::path path;
        RemoteFileStatus status;
        int error;
    };
    std::vector<Case> cases = {
        {dir / "missing.remo", RemoteFileStatus::CannotOpen, ENOENT},
        {dir, RemoteFileStatus::CannotRead, EISDIR},
        {write("empty.remo", {}), RemoteFileStatus::Empty, 0},
    };
    if (::geteuid() != 0) { // permissions do not stop the superuser
        const fs::path locked = write("locked.remo", counting(18));
        fs::permissions(locked, fs::perms::none);
        cases.push_back({locked, RemoteFileStatus::CannotOpen, EACCES});
    }
    for (const Case& c : cases) {
        const RemoteFileResult r = loadRemoteFile(c.path, table);
        EXPECT_EQ(r.status, c.status) << c.path;
        EXPECT_EQ(r.systemError.value(), c.error) << c.path;
        EXPECT_EQ(table, before) << c.path;
        for (int language : {0, 1}) {
            const std::string text = remoteFileErrorText(r, c.path, language);
            EXPECT_NE(text.find(c.path.string()), std::string::npos) << text;
            if (c.error != 0) {
                EXPECT_NE(text.find(std::generic_category().message(c.error)), std::string::npos)
                    << text;
            }
        }
    }
}

TEST_F(RemoteFiles, SaveWritesTheEighteenBytesOrReportsTheSystemsReason) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    const fs::path target = write("keys.remo", counting(40)); // replaced as a whole
    ASSERT_TRUE(saveRemoteFile(target, table).ok());
    EXPECT_EQ(read(target), std::vector<std::uint8_t>(table.begin(), table.end()));
    RemoteKeyTable back{};
    ASSERT_TRUE(loadRemoteFile(target, back).ok());
    EXPECT_EQ(back, table);

    const fs::path nowhere = dir / "no-such-folder" / "keys.remo";
    const RemoteFileResult r = saveRemoteFile(nowhere, table);
    EXPECT_EQ(r.status, RemoteFileStatus::CannotWrite);
    EXPECT_EQ(remoteFileErrorText(r, nowhere, 1),
              "Errcode=2 (No such file or directory),Can't write to file:\n" + nowhere.string() +
                  "\nProbaby it is write protected.");
    EXPECT_EQ(remoteFileErrorCaption(r, 1), "Can't write to file");

    // A folder in the way is refused and stays a folder.
    EXPECT_EQ(saveRemoteFile(dir, table).status, RemoteFileStatus::CannotWrite);
    EXPECT_TRUE(fs::is_directory(dir));
    if (::geteuid() != 0) {
        fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
        const RemoteFileResult locked = saveRemoteFile(dir / "keys.remo", table);
        EXPECT_NE(remoteFileErrorText(locked, dir / "keys.remo", 1).find("(Permission denied)"),
                  std::string::npos);
        EXPECT_EQ(read(target), std::vector<std::uint8_t>(table.begin(), table.end()));
    }
    // Nothing but the saved file is left behind.
    std::vector<fs::path> left;
    for (const auto& entry : fs::directory_iterator(dir)) {
        left.push_back(entry.path().filename());
    }
    EXPECT_EQ(left, std::vector<fs::path>{"keys.remo"});
}

TEST_F(RemoteFiles, TheChosenNameGetsTheRemoExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"keys.txt", "keys.remo"},       {"keys", "keys.remo"},
        {"keys.remo", "keys.remo"},      {"archive.tar.gz", "archive.tar.remo"},
        {"/a.b/keys", "/a.b/keys.remo"}, {".hidden", ".hidden.remo"},
    };
    for (const auto& [chosen, used] : cases) {
        EXPECT_EQ(remoteFilePath(chosen), fs::path(used)) << chosen;
    }
    table.fill(0x42);
    ASSERT_TRUE(saveRemoteFile(remoteFilePath(dir / "mine.txt"), table).ok());
    EXPECT_FALSE(fs::exists(dir / "mine.txt"));
    EXPECT_EQ(read(dir / "mine.remo"), std::vector<std::uint8_t>(18, 0x42));
}
