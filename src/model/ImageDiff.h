#pragma once

#include "model/DeviceImage.h"

#include <string>
#include <string_view>
#include <vector>

namespace quilo {

// The image as text, one "name=value" line per field, for the command-line
// tool and dumps. Names: DspParams fields by their own names (array elements as
// name[i]; the two unnamed words as reserved6 and reserved14), band records as
// band[module,band] with the store module and band index, and roomGain[i],
// roomLayout[i], micBoost, liveStatus[i], currentMode, settingsChanged,
// machine.applied[i], machine.edit[i], modeNames[i], modelName, firmwareDateA,
// firmwareDateB, protocolVersion, remoteKeys[i].
//
// Values: i32 as integers, f32 with %.9g, bytes as integers, band records as
// gain,freq,q,type (gain and q %.9g, freq and type integers), roomGain as the
// f32 dB values, micBoost as the boost in dB the way the boost slider shows it
// (the word holds its negation), texts as UTF-8 with \\ for a backslash and
// \uXXXX for control characters and unpaired surrogates.
//
// Lines are sorted by name; indices in brackets compare as numbers.

// Every field of the image.
std::vector<std::string> imageFieldLines(const DeviceImage& image);

// The fields a mode file carries (parameters, bands, roomGain, roomLayout,
// micBoost), as imageFieldLines prints them.
std::vector<std::string> modeFieldLines(const DeviceImage& image);

// One field of a mode file: its name and value as the lines above print them,
// and the bytes it is stored as, which is what comparisons look at.
struct FieldValue {
    std::string name;
    std::string value;
    std::string stored;
};

// The fields a mode file carries, in the order of modeFieldLines.
std::vector<FieldValue> modeFieldValues(const DeviceImage& image);

// The fields whose stored content differs between the two images (compared as
// stored, so a NaN that changed bits counts), as `after` has them.
std::vector<std::string> imageDifferences(const DeviceImage& before, const DeviceImage& after);

// A UTF-16 text as one printable line of UTF-8, as the lines above show texts.
std::string printableText(std::u16string_view text);

// Store module and band index of band record `record` (0-178) of EqBandStore.
struct BandSlot {
    int module;
    int band;
};
BandSlot bandSlotOfRecord(std::size_t record);

} // namespace quilo
