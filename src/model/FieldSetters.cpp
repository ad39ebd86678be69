#include "model/FieldSetters.h"

#include "device/BigEndian.h"
#include "device/WireValue.h"
#include "dsp/Biquad.h"
#include "model/EditHistory.h"
#include "model/HfDelayBands.h"
#include "model/OutputDelay.h"
#include "model/ParamCodec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>

namespace quilo {

namespace {

constexpr const ParamRow& kHdmiSelect = rowOf("hdmiSelect");
// The musicSource value of the HDMI inputs.
constexpr int kHdmiSource = 2;

std::int32_t toInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<std::int32_t>(std::clamp(std::trunc(value), -2147483648.0, 2147483647.0));
}

} // namespace

int FieldSetters::set(std::int32_t DspParams::*field, double value) {
    return setWord(wordOf(m_image.params, m_image.params.*field), value);
}

int FieldSetters::set(float DspParams::*field, double value) {
    return setWord(wordOf(m_image.params, m_image.params.*field), value);
}

int FieldSetters::set(std::int32_t (DspParams::*field)[4], int index, double value) {
    if (index < 0 || index >= 4) {
        return 0;
    }
    return setWord(wordOf(m_image.params, (m_image.params.*field)[index]), value);
}

int FieldSetters::set(std::int32_t (DspParams::*field)[8], int index, double value) {
    if (index < 0 || index >= 8) {
        return 0;
    }
    return setWord(wordOf(m_image.params, (m_image.params.*field)[index]), value);
}

int FieldSetters::set(float (DspParams::*field)[8], int index, double value) {
    if (index < 0 || index >= 8) {
        return 0;
    }
    return setWord(wordOf(m_image.params, (m_image.params.*field)[index]), value);
}

int FieldSetters::setOutputCompressor(int channel, float thresholdDb, float ratio, float attackMs,
                                      float releaseMs) {
    if (channel < 0 || channel >= 8) {
        return 0;
    }
    DspParams& p = m_image.params;
    for (const float* field : {&p.outCompThreshold[channel], &p.outCompRatio[channel],
                               &p.outCompAttackMs[channel], &p.outCompReleaseMs[channel]}) {
        noteEdit(m_image, EditTarget::Word, wordOf(p, *field));
    }
    p.outCompThreshold[channel] = thresholdDb;
    p.outCompRatio[channel] = ratio;
    p.outCompAttackMs[channel] = attackMs;
    p.outCompReleaseMs[channel] = releaseMs;
    return sendWord(wordOf(p, p.outCompThreshold[channel]));
}

int FieldSetters::setWord(std::size_t word, double value) {
    const ParamRow* row = firstRowOfWord(word);
    if (!row) {
        return 0;
    }
    noteEdit(m_image, EditTarget::Word, word);
    if (row->field.isFloat) {
        m_image.params.setWord(word, std::bit_cast<std::uint32_t>(static_cast<float>(value)));
    } else {
        m_image.params.setWord(word, static_cast<std::uint32_t>(toInt(value)));
    }
    return sendWord(word);
}

int FieldSetters::sendRows(const ParamRow& first, int element) {
    int result = 0;
    // `first` is a row of the table; the field's other rows come after it.
    const auto from = kParamTable.begin() + (&first - kParamTable.data());
    for (const ParamRow& r : std::span(from, kParamTable.end())) {
        if (r.field.word == first.field.word) {
            const ParamAddress at = addressOf(r, element);
            result = m_ops.SetParamBlock(at.module, at.param,
                                         encodeRow(r, m_image.params, element).span());
        }
    }
    return result;
}

int FieldSetters::sendWord(std::size_t word) {
    const ParamRow* row = firstRowOfWord(word);
    if (!row) {
        return 0;
    }
    DspParams& p = m_image.params;
    const int element = static_cast<int>(word - row->field.word);
    const ParamAddress at = addressOf(*row, element);
    const std::int32_t intValue = static_cast<std::int32_t>(p.word(word));

    if (row->minimum > 0.0f && row->field.isFloat) {
        // Delays below the processor's minimum are raised, and kept raised.
        const float v = std::bit_cast<float>(p.word(word));
        if (!(v >= row->minimum)) {
            noteEdit(m_image, EditTarget::Word, word);
            p.setWord(word, std::bit_cast<std::uint32_t>(row->minimum));
        }
    }

    switch (row->send) {
    case Send::StoreOnly:
        return 0;
    case Send::Value:
    case Send::ShiftOff:
    case Send::Compressor:
        return sendRows(*row, element);
    case Send::BoostOn:
        noteEdit(m_image, EditTarget::Word, wordOf(p, p.micBoostOnCopy));
        p.micBoostOnCopy = p.micBoostOn;
        return sendRows(*row, element);
    case Send::Shifter: {
        // The off flag is the field right after the frequency.
        const std::size_t offWord = word + 1;
        noteEdit(m_image, EditTarget::Word, offWord);
        if (shifterOff(intValue)) {
            p.setWord(offWord, 1);
            return sendRows(*firstRowOfWord(offWord), 0);
        }
        p.setWord(offWord, 0);
        sendRows(*firstRowOfWord(offWord), 0);
        return sendRows(*row, element);
    }
    case Send::MusicMute: {
        if (intValue != 0) {
            return m_ops.SetParam(at.module, at.param, f32Bits(0.0));
        }
        // Unmuting fades in over nine steps so the music does not thump back.
        for (int i = 0; i <= 8; ++i) {
            m_ops.SetParam(at.module, at.param, f32Bits(i / 10.0));
            m_ops.sink().pause(std::chrono::milliseconds(30));
        }
        return m_ops.SetParam(at.module, at.param, f32Bits(1.0));
    }
    case Send::MusicSource:
        if (intValue == kHdmiSource) {
            sendRows(kHdmiSelect, 0);
        }
        return sendRows(*row, element);
    case Send::DelayMode: {
        sendRows(*row, element);
        const int pair = hfDelayBandIndex(
            static_cast<std::int32_t>(m_bands.band(kFirstOutputEqId + element, 13).freqHz));
        return applyDelaySplit(m_bands, element, pair, intValue != 0);
    }
    }
    return 0;
}

float micBoostDb(const MicBoostWord& word) {
    return std::bit_cast<float>(std::uint32_t{readU16(word, 0)} << 16);
}

MicBoostWord micBoostWordOf(float valueDb) {
    MicBoostWord word{};
    writeU16(word, 0, static_cast<std::uint16_t>(std::bit_cast<std::uint32_t>(valueDb) >> 16));
    return word;
}

int FieldSetters::setHdmiInput(int hdmi) {
    noteEdit(m_image, EditTarget::Word, wordOf(m_image.params, m_image.params.hdmiSelect));
    m_image.params.hdmiSelect = hdmi;
    return set(&DspParams::musicSource, kHdmiSource);
}

int FieldSetters::applyMachineSettings() {
    m_image.machine.applied = m_image.machine.edit;
    return m_ops.send(buildSetMachineSettings(m_image.machine.edit));
}

int FieldSetters::resetStoredMode(int mode) {
    mode = std::clamp(mode, 0, 3);
    m_image.currentMode = mode;
    return m_ops.send(buildCommand(Command::ResetMode, {static_cast<std::uint8_t>(mode)}));
}

int FieldSetters::setMicBoost(float valueDb) {
    noteEdit(m_image, EditTarget::MicBoost);
    m_image.micBoost = micBoostWordOf(valueDb);
    return sendMicBoost();
}

int FieldSetters::sendMicBoost() {
    m_ops.WriteMemory(kMicBoostWordAddress, m_image.micBoost);
    const float v = micBoostDb(m_image.micBoost);
    const GainBlock block = gainBlock(v, GainBlockKind::MicBoost);
    const std::uint32_t cut = f32Bits(1.0 / std::pow(10.0, v / 20.0));
    const std::uint32_t gain = f32Bits(std::pow(10.0, v / 20.0));
    const auto send = [&](const ParamRow& row, std::span<const std::uint32_t> words) {
        const ParamAddress at = addressOf(row);
        return m_ops.SetParamBlock(at.module, at.param, words);
    };
    // Channel B first, then channel A; each block before its two words.
    send(param::kBoostBlockB, block);
    send(param::kBoostGainB, {&gain, 1});
    send(param::kBoostCutB, {&cut, 1});
    send(param::kBoostBlockA, block);
    send(param::kBoostGainA, {&gain, 1});
    return send(param::kBoostCutA, {&cut, 1});
}

float roomGainDb(const RoomGainBlock& block, int channel) {
    if (channel < 0 || channel >= 8) {
        return 0.0f;
    }
    return std::bit_cast<float>(readU32(block, static_cast<std::size_t>(channel) * 4));
}

int FieldSetters::setRoomGain(int channel, float gainDb) {
    if (channel < 0 || channel >= 8) {
        return 0;
    }
    noteEdit(m_image, EditTarget::RoomGain, static_cast<std::size_t>(channel));
    writeU32(m_image.roomGain, static_cast<std::size_t>(channel) * 4,
             std::bit_cast<std::uint32_t>(gainDb));
    m_ops.WriteMemory(kRoomGainBlockAddress, m_image.roomGain);
    return sendRoomGain(channel);
}

int FieldSetters::sendRoomGain(int channel) {
    if (channel < 0 || channel >= 8) {
        return 0;
    }
    const GainBlock block =
        gainBlock(roomGainDb(m_image.roomGain, channel), GainBlockKind::OutputLevel);
    const ParamAddress at = addressOf(param::kRoomLevel, channel);
    return m_ops.SetParamBlock(at.module, at.param, block);
}

} // namespace quilo
