// Remote data files: up to 18 bytes of any file go over the start of the
// table, the rest of it stays, an empty file changes nothing; what is then
// saved reads back as the same table.
#include "FuzzCheck.h"
#include "ScratchFolder.h"
#include "remote/RemoteFile.h"

#include <algorithm>

using namespace quilo;
using namespace quilo::test;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFolder folder;
    const auto path = folder.put("keys.remo", data, size);

    RemoteKeyTable before{};
    for (std::size_t i = 0; i < before.size(); ++i) {
        before[i] = static_cast<std::uint8_t>(0xA5 ^ i);
    }
    RemoteKeyTable table = before;
    const RemoteFileResult loaded = loadRemoteFile(path, table);
    if (size == 0) {
        FUZZ_CHECK(loaded.status == RemoteFileStatus::Empty, "an empty file is not reported");
        FUZZ_CHECK(table == before, "an empty file changed the table");
        FUZZ_CHECK(!remoteFileErrorText(loaded, path, 1).empty(), "no message for an empty file");
        return 0;
    }
    const std::size_t n = std::min(size, before.size());
    FUZZ_CHECK(loaded.ok() && loaded.bytes == n, "a readable file refused or cut");
    FUZZ_CHECK(std::equal(data, data + n, table.begin()), "the file's bytes were not taken");
    FUZZ_CHECK(std::equal(table.begin() + std::ptrdiff_t(n), table.end(),
                          before.begin() + std::ptrdiff_t(n)),
               "bytes past the file's end changed");

    FUZZ_CHECK(saveRemoteFile(path, table).ok(), "save failed");
    RemoteKeyTable back{};
    FUZZ_CHECK(loadRemoteFile(path, back).ok() && back == table,
               "saved table reads back differently");
    return 0;
}
