#pragma once

#include "device/DeviceOps.h"
#include "model/BandOps.h"
#include "model/DeviceImage.h"
#include "model/ParamTable.h"

#include <cstddef>
#include <cstdint>

namespace quilo {

// One setter for every DspParams field: each stores the new value into the image
// first and then sends it with its encoding and calling order. Fields are named by
// member pointer, e.g. set(&DspParams::micVolume, 50) or set(&DspParams::outLevel, 2, 80).
// Integer fields take the whole part of the value. Results are those of the last
// report sent (61, or 0 with no processor); fields that send nothing return 0.
class FieldSetters {
public:
    FieldSetters(DeviceImage& image, ReportSink& sink)
        : m_image(image), m_ops(sink), m_bands(image, sink) {}

    int set(std::int32_t DspParams::*field, double value);
    int set(float DspParams::*field, double value);
    int set(std::int32_t (DspParams::*field)[4], int index, double value);
    int set(std::int32_t (DspParams::*field)[8], int index, double value);
    int set(float (DspParams::*field)[8], int index, double value);

    // The four compressor values of output `channel` (threshold dB, ratio, attack and
    // release ms) stored together and sent as one block, as the compressor controls of the
    // output and compressor pages change them.
    int setOutputCompressor(int channel, float thresholdDb, float ratio, float attackMs,
                            float releaseMs);

    // The same by word number 0-215; unnamed or unknown words change nothing.
    int setWord(std::size_t word, double value);
    // Sends word `word` as it is held now, without changing it (except the minimums).
    int sendWord(std::size_t word);

    // Plays HDMI input `hdmi` (0-3): stores the selection and the HDMI source, and sends
    // the selection first, then the source.
    int setHdmiInput(int hdmi);

    // The machine settings: the edit copy becomes the applied copy and is sent.
    int applyMachineSettings();

    // Stored mode `mode` (0-3, held within) goes back to its factory settings in the
    // processor and becomes the current mode; a read-back should follow.
    int resetStoredMode(int mode);

    // Microphone boost in dB as stored in MicBoostWord (the features page stores
    // minus its slider value): store, write to memory, send both boost blocks.
    int setMicBoost(float valueDb);
    int sendMicBoost();

    // Room level compensation of output `channel` in dB.
    int setRoomGain(int channel, float gainDb);
    int sendRoomGain(int channel);

private:
    // Sends every row of the field `first` heads, for element `element`.
    int sendRows(const ParamRow& first, int element);

    DeviceImage& m_image;
    DeviceOps m_ops;
    BandOps m_bands;
};

// The f32 value held by the boost word (upper half of the pattern, lower half zero).
float micBoostDb(const MicBoostWord& word);
MicBoostWord micBoostWordOf(float valueDb);

// The f32 room compensation of output `channel` held by the room gain block.
float roomGainDb(const RoomGainBlock& block, int channel);

} // namespace quilo
