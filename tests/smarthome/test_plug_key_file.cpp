// Per-plug key files byte for byte, changes to them, files that cannot be read,
// and the step texts that show key names.
#include "smarthome/PlugKeyFile.h"
#include "smarthome/PlugRecord.h"
#include "smarthome/StepText.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <unistd.h>

using namespace quilo;
namespace fs = std::filesystem;

namespace {

struct KeyFolder : ::testing::Test {
    fs::path root = fs::temp_directory_path() / ("quilo-keys-" + std::to_string(::getpid()));
    fs::path folder = root / "Documents" / "Plug";
    PlugKeyFile keys{folder};

    void SetUp() override { fs::remove_all(root); }
    void TearDown() override { fs::remove_all(root); }

    std::string read(int id) const {
        std::ifstream in(keys.path(id), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void write(int id, const std::string& text) const {
        fs::create_directories(folder);
        std::ofstream(keys.path(id), std::ios::binary) << text;
    }
};

std::string keyLine(int index, const std::string& name, int status) {
    return "<Key Index=\"" + std::to_string(index) + "\" Name=\"" + name + "\" Status=\"" +
           std::to_string(status) + "\"/>\r\n";
}

std::string defaultText() {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Keys>\r\n";
    for (int i = 0; i < 63; ++i) {
        text += keyLine(i, "Key" + std::to_string(i + 1), 0);
    }
    return text + "</Keys>\r\n";
}

} // namespace

TEST_F(KeyFolder, NewFileHasTheDefaultKeysInTheirExactForm) {
    ASSERT_EQ(keys.createKeyFile(5), KeyFileStatus::Ok);
    EXPECT_EQ(keys.path(5), folder / "5.xml");
    EXPECT_EQ(read(5), defaultText());
    EXPECT_EQ(PlugKeyFile::defaultKeyFileText(), defaultText());

    std::vector<PlugKey> list;
    ASSERT_EQ(keys.readKeys(5, list), KeyFileStatus::Ok);
    ASSERT_EQ(list.size(), 63u);
    EXPECT_EQ(list.front(), (PlugKey{0, "Key1", 0}));
    EXPECT_EQ(list.back(), (PlugKey{62, "Key63", 0}));
    EXPECT_EQ(keys.keyName(5, 62), "Key63");
    EXPECT_EQ(keys.keyName(5, 63), "");
    EXPECT_EQ(keys.keyName(6, 0), "") << "no file";
}

TEST_F(KeyFolder, ChangesAreSavedWholeWithEntities) {
    ASSERT_EQ(keys.createKeyFile(7), KeyFileStatus::Ok);
    ASSERT_EQ(keys.setKeyName(7, 3, "Vol <+> & \"TV\" 'A' 音量"), KeyFileStatus::Ok);
    ASSERT_EQ(keys.setKeyStatus(7, 62, 1), KeyFileStatus::Ok);
    std::string expected = defaultText();
    expected.replace(expected.find(keyLine(3, "Key4", 0)), keyLine(3, "Key4", 0).size(),
                     keyLine(3, "Vol &lt;+&gt; &amp; &quot;TV&quot; &apos;A&apos; 音量", 0));
    expected.replace(expected.find(keyLine(62, "Key63", 0)), keyLine(62, "Key63", 0).size(),
                     keyLine(62, "Key63", 1));
    EXPECT_EQ(read(7), expected);
    EXPECT_EQ(keys.keyName(7, 3), "Vol <+> & \"TV\" 'A' 音量");

    // A key that is not there changes nothing.
    EXPECT_EQ(keys.setKeyStatus(7, 63, 1), KeyFileStatus::KeyNotFound);
    EXPECT_EQ(keys.setKeyName(7, -1, "x"), KeyFileStatus::KeyNotFound);
    EXPECT_EQ(read(7), expected);
    EXPECT_EQ(keys.setKeyName(8, 0, "x"), KeyFileStatus::Missing);
    EXPECT_FALSE(keys.exists(8));

    EXPECT_EQ(keys.deleteKeyFile(7), KeyFileStatus::Ok);
    EXPECT_FALSE(keys.exists(7));
    EXPECT_EQ(keys.deleteKeyFile(7), KeyFileStatus::Missing);
}

TEST_F(KeyFolder, FilesOfOtherHandsAreReadAsTheyAre) {
    // Text before the first element, a BOM-less declaration elsewhere, keys out of
    // order, a missing attribute and LF line ends.
    write(3, "junk\n<Keys>\n<Key Index=\"1\" Name=\"B\" Status=\"1\"/>\n"
             "<Key Index=\"0\" Name=\"A\"/>\n<Other/>\n</Keys>\n");
    std::vector<PlugKey> list;
    ASSERT_EQ(keys.readKeys(3, list), KeyFileStatus::Ok);
    EXPECT_EQ(list, (std::vector<PlugKey>{{1, "B", 1}, {0, "A", 0}}));
    EXPECT_EQ(keys.keyName(3, 0), "A");
    // Saving writes the whole document in this program's form.
    ASSERT_EQ(keys.setKeyStatus(3, 0, 1), KeyFileStatus::Ok);
    EXPECT_EQ(read(3), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Keys>\r\n" +
                           keyLine(1, "B", 1) + "<Key Index=\"0\" Name=\"A\" Status=\"1\"/>\r\n" +
                           "<Other/>\r\n</Keys>\r\n");
}

TEST_F(KeyFolder, KeysAreFoundByTheIndexTheListShows) {
    // Written by hand: a leading zero, and indices that are not numbers.
    write(6, "<Keys>\n<Key Index=\"x\" Name=\"X\"/>\n<Key Index=\"-1\" Name=\"M\"/>\n"
             "<Key Index=\"04\" Name=\"D\" Status=\"0\"/>\n</Keys>\n");
    std::vector<PlugKey> list;
    ASSERT_EQ(keys.readKeys(6, list), KeyFileStatus::Ok);
    EXPECT_EQ(list, (std::vector<PlugKey>{{-1, "X", 0}, {-1, "M", 0}, {4, "D", 0}}));
    EXPECT_EQ(keys.keyName(6, 4), "D");
    EXPECT_EQ(keys.keyName(6, -1), "");
    EXPECT_EQ(keys.setKeyName(6, -1, "no"), KeyFileStatus::KeyNotFound);
    ASSERT_EQ(keys.setKeyName(6, 4, "Power"), KeyFileStatus::Ok);
    ASSERT_EQ(keys.setKeyStatus(6, 4, 1), KeyFileStatus::Ok);
    ASSERT_EQ(keys.readKeys(6, list), KeyFileStatus::Ok);
    EXPECT_EQ(list, (std::vector<PlugKey>{{-1, "X", 0}, {-1, "M", 0}, {4, "Power", 1}}));
    EXPECT_NE(read(6).find("<Key Index=\"04\" Name=\"Power\" Status=\"1\"/>"), std::string::npos)
        << "the index stays as written";
}

TEST_F(KeyFolder, UnreadableFilesAreNeverReplacedBehindTheUsersBack) {
    const std::string broken = "<?xml version=\"1.0\"?>\r\n<Keys>\r\n<Key Index=\"0\" Name=\"A";
    // Well-formed, but nested far deeper than a key file: saving it once
    // overflowed the stack.
    std::string deep = "<Keys><Key Index=\"0\" Name=\"A\"/>";
    for (int i = 0; i < 140000; ++i) {
        deep += "<a>";
    }
    for (int i = 0; i < 140000; ++i) {
        deep += "</a>";
    }
    deep += "</Keys>";
    for (const std::string& text : {broken, std::string(), std::string("just text"), deep}) {
        write(4, text);
        std::vector<PlugKey> list{{9, "stale", 1}};
        EXPECT_EQ(keys.readKeys(4, list), KeyFileStatus::Malformed);
        EXPECT_TRUE(list.empty());
        EXPECT_EQ(keys.ensureKeyFile(4), KeyFileStatus::Malformed);
        EXPECT_EQ(keys.setKeyName(4, 0, "B"), KeyFileStatus::Malformed);
        EXPECT_EQ(keys.setKeyStatus(4, 0, 1), KeyFileStatus::Malformed);
        EXPECT_EQ(keys.keyName(4, 0), "");
        EXPECT_EQ(read(4), text);
    }
    // A missing file is made; an existing good one is kept.
    EXPECT_EQ(keys.ensureKeyFile(9), KeyFileStatus::Ok);
    EXPECT_EQ(read(9), defaultText());
    ASSERT_EQ(keys.setKeyStatus(9, 0, 1), KeyFileStatus::Ok);
    const std::string changed = read(9);
    EXPECT_EQ(keys.ensureKeyFile(9), KeyFileStatus::Ok);
    EXPECT_EQ(read(9), changed);
    // The window may still replace it on the user's word.
    EXPECT_EQ(keys.createKeyFile(4), KeyFileStatus::Ok);
    EXPECT_EQ(read(4), defaultText());
}

TEST_F(KeyFolder, AFailedSaveLeavesTheOldFileAndTheFolderProblemIsReported) {
    ASSERT_EQ(keys.createKeyFile(2), KeyFileStatus::Ok);
    {
        // Files may grow to 1000 bytes only: the save fails half way, even for root.
        const auto previous = ::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 1000;
        ::setrlimit(RLIMIT_FSIZE, &small);
        const KeyFileStatus status = keys.setKeyStatus(2, 0, 1);
        ::setrlimit(RLIMIT_FSIZE, &old);
        ::signal(SIGXFSZ, previous);
        EXPECT_EQ(status, KeyFileStatus::CannotWrite);
        EXPECT_EQ(read(2), defaultText());
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
        << "no temporary file is left behind";

    std::error_code ec;
    EXPECT_EQ(keys.keyFolder(ec), folder);
    EXPECT_FALSE(ec);
    // A file where the folder should be: the folder cannot be made.
    fs::create_directories(root / "Other");
    std::ofstream(root / "Other" / "Plug") << "x";
    PlugKeyFile blocked(root / "Other" / "Plug");
    blocked.keyFolder(ec);
    EXPECT_TRUE(ec);
    EXPECT_EQ(blocked.createKeyFile(2), KeyFileStatus::CannotWrite);
}

TEST_F(KeyFolder, StepTextsInBothLanguages) {
    ASSERT_EQ(keys.createKeyFile(5), KeyFileStatus::Ok);
    ASSERT_EQ(keys.setKeyName(5, 0, "Power"), KeyFileStatus::Ok);
    struct Case {
        int node, value;
        const char* zh;
        const char* en;
    };
    const Case cases[] = {
        {kDelayStep, 1, "1秒", "1s"},
        {kDelayStep, 0, "0秒", "0s"},
        {kDelayStep, 99, "99秒", "99s"},
        {5, 0, "关", "OFF"},
        {5, 99, "开", "ON"},
        {5, 50, "51", "51"},
        {5, 1, "1", "1"},
        {5, 98, "99", "99"},
        {5, 128, "遥控键:Power", "遥控键:Power"},
        {5, 129, "遥控键:Key2", "遥控键:Key2"},
        {5, 191, "遥控键:", "遥控键:"}, // key 63 does not exist
        {6, 130, "遥控键:", "遥控键:"}, // no key file
        {5, 192, "192", "192"},
        {5, 255, "255", "255"},
        {kHdmiStep, 2, "2", "2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(stepText(c.node, c.value, 0, keys), c.zh) << c.node << ' ' << c.value;
        EXPECT_EQ(stepText(c.node, c.value, 1, keys), c.en) << c.node << ' ' << c.value;
    }
    EXPECT_EQ(sceneName(4, 0), "开机");
    EXPECT_EQ(sceneName(5, 1), "PowerOFF");
    EXPECT_EQ(sceneName(2, 0), "K歌");
    EXPECT_EQ(sceneName(6, 1), "");
    EXPECT_FALSE(keys.exists(6)) << "showing a text creates no file";
}
