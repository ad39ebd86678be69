// Language tables: whatever the text, every entry has a key and neither key nor
// text spans lines or keeps white space at its ends (save inside quotes), and
// the entries written out again as a table read back the same.
#include "FuzzCheck.h"
#include "ui/LanguageIni.h"

#include <string>

using namespace quilo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<LanguageEntry> entries = parseLanguageIni(text);

    std::string written = "[String]\n";
    for (const LanguageEntry& e : entries) {
        FUZZ_CHECK(!e.key.empty(), "an entry without a key");
        FUZZ_CHECK(e.key.find('\n') == std::string::npos && e.text.find('\n') == std::string::npos,
                   "an entry spans lines");
        FUZZ_CHECK(e.key.find('=') == std::string::npos, "a key holds the '='");
        const std::vector<LanguageEntry> alone{{e.key, "x"}};
        FUZZ_CHECK(parseLanguageIni("[String]\n" + e.key + "=x") == alone,
                   "a key is not read back as itself");
        written += e.key + "=\"" + e.text + "\"\n";
    }
    FUZZ_CHECK(parseLanguageIni(written) == entries, "written entries read back differently");
    return 0;
}
