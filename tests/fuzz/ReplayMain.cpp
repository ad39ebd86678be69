// Runs a fuzz target over saved inputs without libFuzzer, so that any compiler
// builds it: every file named on the command line, and every file in every
// folder named there, in name order. A crash or a failed check aborts, as under
// the fuzzer; finding no input at all is a failure too, so an emptied or
// misspelled corpus does not pass unnoticed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

namespace {

bool replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    // An empty input still gets a valid pointer, as libFuzzer passes one.
    static const std::uint8_t kNothing = 0;
    LLVMFuzzerTestOneInput(bytes.empty() ? &kNothing
                                         : reinterpret_cast<const std::uint8_t*>(bytes.data()),
                           bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) {
        LLVMFuzzerInitialize(&argc, &argv);
    }
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg = argv[i];
        if (fs::is_directory(arg)) {
            for (const auto& entry : fs::directory_iterator(arg)) {
                if (entry.is_regular_file()) {
                    files.push_back(entry.path());
                }
            }
        } else {
            files.push_back(arg);
        }
    }
    std::sort(files.begin(), files.end());
    std::size_t done = 0;
    for (const fs::path& f : files) {
        done += replay(f) ? 1 : 0;
    }
    std::fprintf(stderr, "replayed %zu of %zu inputs\n", done, files.size());
    return done > 0 && done == files.size() ? 0 : 1;
}
