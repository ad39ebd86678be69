// Mode files of any version read over the factory image, then used the way the
// program and the tool use a loaded file: dumped, compared, exported as filter
// texts, saved again and pushed to the processor.
#include "FuzzCheck.h"
#include "ScratchFolder.h"
#include "device/InboundHelpers.h"
#include "device/RecordingSink.h"
#include "emulator/HostSink.h"
#include "model/EqImport.h"
#include "model/ModeFile.h"
#include "model/SettingsDiff.h"
#include "model/Synchroniser.h"

#include <memory>
#include <string>

using namespace quilo;
using namespace quilo::test;

namespace {

std::unique_ptr<DeviceImage> factoryImage() {
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    return image;
}

// The factory image with every bit of what a mode file carries inverted.
std::unique_ptr<DeviceImage> invertedImage() {
    auto image = factoryImage();
    ModeContent c = captureModeContent(*image);
    for (std::size_t w = 0; w < DspParams::kWords; ++w) {
        c.params.setWord(w, ~c.params.word(w));
    }
    const auto invert = [](auto& block) {
        for (auto& b : block) {
            b = static_cast<std::uint8_t>(~b);
        }
    };
    invert(c.eqBands);
    invert(c.roomGain);
    invert(c.roomLayout);
    invert(c.micBoost);
    applyModeContent(c, *image);
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto factory = factoryImage();
    static const auto inverted = invertedImage();
    static const ImageSnapshot factorySnapshot(*factory);
    const std::span<const std::uint8_t> bytes(data, size);

    static const ScratchFolder folder;
    auto image = factoryImage();
    const ModeFileResult result = readModeFile(folder.put("in.quilo", data, size), *image);
    if (!result.ok()) {
        FUZZ_CHECK(ImageSnapshot(*image).partsChanged(factorySnapshot).empty(),
                   "a refused file changed the image");
        FUZZ_CHECK(!modeFileErrorText(result, "x.quilo", 0).empty(), "a refusal without a message");
        return 0;
    }
    FUZZ_CHECK(result.version >= 1 && result.version <= kModeFileVersion, "version");
    for (const std::string& part : ImageSnapshot(*image).partsChanged(factorySnapshot)) {
        FUZZ_CHECK(part == "params" || part == "eqBands" || part == "roomGain" ||
                       part == "roomLayout" || part == "micBoost",
                   "a mode file changed a part it does not carry");
    }

    // Over another image, every byte comes either from the file (the same in
    // both) or from the image it was read over.
    auto other = factoryImage();
    applyModeContent(captureModeContent(*inverted), *other);
    FUZZ_CHECK(readModeFileBytes(bytes, *other).ok(), "the same file refused over another image");
    const auto a = encodeModeFile(captureModeContent(*image));
    const auto b = encodeModeFile(captureModeContent(*other));
    const auto baseA = encodeModeFile(captureModeContent(*factory));
    const auto baseB = encodeModeFile(captureModeContent(*inverted));
    for (std::size_t i = 0; i < a.size(); ++i) {
        FUZZ_CHECK(a[i] == b[i] || (a[i] == baseA[i] && b[i] == baseB[i]),
                   "a byte from neither the file nor the image");
    }

    // Saved as version 8 and read again: the same setting, byte for byte.
    const auto saved = folder.path() / "saved.quilo";
    FUZZ_CHECK(writeModeFile(saved, *image).ok(), "save failed");
    FUZZ_CHECK(ScratchFolder::bytesOf(saved) == a, "the saved file is not the setting");
    auto again = factoryImage();
    FUZZ_CHECK(readModeFile(saved, *again).ok(), "a saved file refused");
    FUZZ_CHECK(encodeModeFile(captureModeContent(*again)) == a, "save and load differ");

    // What the tool prints and compares.
    for (const FieldDifference& d : settingsDifferences(*factory, *image)) {
        FUZZ_CHECK(!differenceLine(d).empty(), "an empty difference");
    }
    for (int eqId = 0; eqId < kEqCount; ++eqId) {
        parseEqFilterText(exportEqFilterText(*image, eqId));
    }

    // Pushed to the processor as after opening the file.
    RecordingSink sink;
    Synchroniser(*image, sink, kNoPauses).pushAll();
    FUZZ_CHECK(!sink.reports().empty(), "nothing pushed");
    return 0;
}
