// Plug key files as a user or another program may leave them: read, looked up,
// and changed. A change either saves a file that reads back with only that key
// changed, or leaves the file as it was, byte for byte.
#include "FuzzCheck.h"
#include "ScratchFolder.h"
#include "smarthome/PlugKeyFile.h"

#include <algorithm>

using namespace quilo;
using namespace quilo::test;

namespace {

constexpr int kId = 7;
// Every character the writer must escape, and some it need not.
constexpr std::string_view kNewName = "<新\"名&'>\r\n\t\x01 end";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFolder folder;
    const PlugKeyFile keys(folder.path());
    const auto path = folder.put(std::to_string(kId) + ".xml", data, size);

    std::vector<PlugKey> before;
    const KeyFileStatus read = keys.readKeys(kId, before);
    for (const PlugKey& key : before) {
        FUZZ_CHECK(key.index >= -1, "a negative index other than -1");
        // keyName gives the first key of an index, as every change finds it.
        const auto first = std::find_if(before.begin(), before.end(),
                                        [&](const PlugKey& o) { return o.index == key.index; });
        FUZZ_CHECK(key.index < 0 || keys.keyName(kId, key.index) == first->name,
                   "keyName and readKeys disagree");
    }
    const auto target =
        std::find_if(before.begin(), before.end(), [](const PlugKey& k) { return k.index >= 0; });
    const int k = target == before.end() ? 0 : target->index;

    const auto unchanged = ScratchFolder::bytesOf(path);
    const KeyFileStatus named = keys.setKeyName(kId, k, kNewName);
    if (named != KeyFileStatus::Ok) {
        FUZZ_CHECK(read != KeyFileStatus::Ok || named == KeyFileStatus::KeyNotFound,
                   "a readable file could not be changed");
        FUZZ_CHECK(ScratchFolder::bytesOf(path) == unchanged, "a refused change touched the file");
        return 0;
    }
    FUZZ_CHECK(read == KeyFileStatus::Ok, "a change saved over an unreadable file");
    std::vector<PlugKey> after;
    FUZZ_CHECK(keys.readKeys(kId, after) == KeyFileStatus::Ok, "the saved file cannot be read");
    FUZZ_CHECK(after.size() == before.size(), "keys lost or added by a save");
    bool renamed = false;
    for (std::size_t i = 0; i < after.size() && i < before.size(); ++i) {
        PlugKey expected = before[i];
        if (!renamed && expected.index == k) {
            expected.name = std::string(kNewName);
            renamed = true;
        }
        FUZZ_CHECK(after[i] == expected, "a save changed another key or lost the new name");
    }
    FUZZ_CHECK(keys.setKeyStatus(kId, k, 1) == KeyFileStatus::Ok, "a second change failed");
    return 0;
}
