#pragma once

#include "model/DspParams.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>
#include <vector>

namespace quilo {

// Every processor parameter this program addresses, written once: the field it
// carries, its module and parameter number, its word count, how its value travels
// and where it comes in the read-back. The setters, the reply decoder, the field
// names and the read-back's request list are all derived from here, and nothing
// else names a module or parameter number.

// How a value travels as parameter words, in both directions.
enum class Wire : std::uint8_t {
    None,       // kept in the image only
    Pct,        // f32 field / 100; back: hundredths rounded half away from zero
    PctPlus,    // f32 field / 100 + 0.0005 (volumes); back as Pct
    P10k,       // f32 field / 10000; back: ten-thousandths
    Int,        // u32 of the field; back: the lowest byte
    Not,        // u32 1 when the field is 0, else 0; back: 1 when that byte is 0
    On,         // f32 1.0 when the field is 0 (sounding), 0.0 when not; back: 1 at 0 %
    Sw,         // f32 1.0 when the field is nonzero, else 0.0; back as Pct
    Ms,         // u32 samples at 48 kHz; back: ms (whole ms for an integer field)
    Raw,        // the field's f32 bit pattern; back: the f32 when it is finite
    Phase,      // f32 -1.0 when inverted, +1.0 otherwise; back: 1 when not positive
    Pitch,      // u32 steps + 5; back: the lowest byte - 5
    ShiftOmega, // f32 phase step 2 pi f / 48000; back: f
    ShiftDelay, // u32 delay word of the shifter; not read back
    DelayMode,  // f32 1.0, then 0.0 for mode 1 or 1.0 for mode 0; back: from word 2
    Compressor, // the seven-word block of four fields (threshold, ratio, attack, release)
    BoostCut,   // f32 1 / 10^(v / 20) of the microphone boost v
    BoostGain,  // f32 10^(v / 20) of the microphone boost v
    GainBlock,  // six words of a boost or level block
};

// What a setter does beyond sending the field's own rows.
enum class Send : std::uint8_t {
    Value,       // the rows of the field, in table order
    StoreOnly,   // nothing: the field is kept in the image only
    Shifter,     // the off flag (the field after) first; at or below 1 Hz only the flag
    ShiftOff,    // its own row; a read-back of 1 also puts the frequency to 1
    BoostOn,     // refreshes micBoostOnCopy first
    MusicMute,   // unmuting ramps up in steps
    MusicSource, // an HDMI source sends the HDMI selection first
    DelayMode,   // then the split bands 13 and 14 follow the mode
    Compressor,  // the block of the four fields of its group
};

// A shifter at 1 Hz or below is off: 0 is the factory value and what a processor or
// an old mode file may hold, and its delay word would saturate.
constexpr bool shifterOff(std::int32_t freqHz) {
    return freqHz <= 1;
}

// A field of DspParams as the table names it.
struct ParamField {
    std::string_view name;
    std::uint16_t word;
    std::uint8_t elements; // 1, 4 (one per microphone input) or 8 (one per output)
    bool isFloat;
};

constexpr std::uint16_t kNoWord = 0xFFFF;

struct ParamRow {
    ParamField field;    // name empty: a parameter of no single field (blocks)
    std::uint8_t module; // for a field of eight: the module of output CH 1
    std::uint8_t param;  // for a field of four: the parameter of input 1
    std::uint8_t count;  // words of the parameter
    Wire wire;
    Send send;
    std::uint8_t pullRank; // place in the read-back, 0 for none; see readBackRequests()
    float minimum;         // raised to (and stored) before sending; 0 for none

    // Elements of a field of four advance the parameter, of eight the module.
    constexpr int moduleOf(int element) const {
        return field.elements == 8 ? module + element : module;
    }
    constexpr int paramOf(int element) const {
        return field.elements == 4 ? param + element : param;
    }
};

namespace param_table {

template <typename T> constexpr std::uint8_t elementsOf() {
    return std::is_array_v<T> ? static_cast<std::uint8_t>(std::extent_v<T>) : 1;
}
template <typename T> constexpr bool isFloatField() {
    return std::is_same_v<std::remove_all_extents_t<T>, float>;
}

constexpr ParamRow row(ParamField field, int module, int param, int count, Wire wire,
                       int pullRank = 0, Send send = Send::Value, float minimum = 0.0f) {
    return {field,
            static_cast<std::uint8_t>(module),
            static_cast<std::uint8_t>(param),
            static_cast<std::uint8_t>(count),
            wire,
            send,
            static_cast<std::uint8_t>(pullRank),
            minimum};
}

constexpr ParamField kBlock{{}, kNoWord, 1, false};
constexpr ParamField kOutputBlock{{}, kNoWord, 8, false};

} // namespace param_table

#define QUILO_FIELD(member)                                                                        \
    ::quilo::ParamField {                                                                          \
#member, static_cast < std::uint16_t>(offsetof(::quilo::DspParams, member) / 4),           \
            ::quilo::param_table::elementsOf < decltype(::quilo::DspParams::member)>(),            \
            ::quilo::param_table::isFloatField < decltype(::quilo::DspParams::member)>()           \
    }

// Parameters that belong to no single field.
namespace param {
using param_table::kBlock;
using param_table::kOutputBlock;
using param_table::row;
inline constexpr ParamRow kBoostCutA = row(kBlock, 1, 35, 1, Wire::BoostCut, 13);
inline constexpr ParamRow kBoostGainA = row(kBlock, 1, 36, 1, Wire::BoostGain, 14);
inline constexpr ParamRow kBoostBlockA = row(kBlock, 1, 38, 6, Wire::GainBlock);
inline constexpr ParamRow kBoostCutB = row(kBlock, 1, 58, 1, Wire::BoostCut);
inline constexpr ParamRow kBoostGainB = row(kBlock, 1, 59, 1, Wire::BoostGain);
inline constexpr ParamRow kBoostBlockB = row(kBlock, 1, 61, 6, Wire::GainBlock);
// The output whose loudspeaker plays the locating signal, by its location code
// (kLocateNone: none).
inline constexpr ParamRow kLocateSignal = row(kBlock, 4, 34, 1, Wire::Int);
inline constexpr std::uint32_t kLocateNone = 8;
// Room level compensation of each output, from RoomGainBlock.
inline constexpr ParamRow kRoomLevel = row(kOutputBlock, 5, 29, 6, Wire::GainBlock);
} // namespace param

// Rows of one field are listed in the order a setter sends them. Read-back ranks
// run in the order the processor is used to; rows sharing a rank are asked for
// output by output.
inline constexpr auto kParamTable = [] {
    using param_table::row;
    using enum Wire;
    return std::array{
        // Module 1: microphones.
        row(QUILO_FIELD(micInputVolume), 1, 4, 1, Pct, 1),
        row(QUILO_FIELD(micGate), 1, 8, 1, P10k, 2),
        row(QUILO_FIELD(subDecayOn), 1, 12, 1, Int, 3),
        row(QUILO_FIELD(subDecayLevel), 1, 13, 1, Pct, 4),
        row(QUILO_FIELD(micVolume), 1, 14, 1, PctPlus, 5),
        row(QUILO_FIELD(micMute), 1, 15, 1, On, 6),
        row(QUILO_FIELD(micAEqSwitch), 1, 26, 1, Int, 7),
        row(QUILO_FIELD(micToA), 1, 27, 1, Sw, 8),
        row(QUILO_FIELD(shiftFreqA), 1, 31, 1, ShiftOmega, 9, Send::Shifter),
        row(QUILO_FIELD(shiftFreqA), 1, 32, 1, ShiftDelay, 10, Send::Shifter),
        row(QUILO_FIELD(shiftOffA), 1, 33, 1, Int, 11, Send::ShiftOff),
        row(QUILO_FIELD(effectVolume), 1, 34, 1, PctPlus, 12),
        param::kBoostCutA,
        param::kBoostGainA,
        row(QUILO_FIELD(micBoostOn), 1, 37, 1, Not, 15, Send::BoostOn),
        param::kBoostBlockA,
        row(QUILO_FIELD(micBEqSwitch), 1, 49, 1, Int, 16),
        row(QUILO_FIELD(micToB), 1, 50, 1, Sw, 17),
        row(QUILO_FIELD(shiftFreqB), 1, 54, 1, ShiftOmega, 18, Send::Shifter),
        row(QUILO_FIELD(shiftFreqB), 1, 55, 1, ShiftDelay, 19, Send::Shifter),
        row(QUILO_FIELD(shiftOffB), 1, 56, 1, Int, 20, Send::ShiftOff),
        row(QUILO_FIELD(effectVolume), 1, 57, 1, PctPlus),
        param::kBoostCutB,
        param::kBoostGainB,
        row(QUILO_FIELD(micBoostOn), 1, 60, 1, Not, 0, Send::BoostOn),
        param::kBoostBlockB,
        row(QUILO_FIELD(micBoostOnCopy), 0, 0, 0, None, 0, Send::StoreOnly),

        // Module 2: echo sets A and B.
        row(QUILO_FIELD(echoEqSwitchA), 2, 7, 1, Int, 23),
        row(QUILO_FIELD(echoLevelA), 2, 8, 1, Pct, 24),
        row(QUILO_FIELD(echoPredelayMsA), 2, 9, 1, Ms, 25, Send::Value, 2.0f),
        row(QUILO_FIELD(echoTimeMsA), 2, 10, 1, Ms, 26, Send::Value, 2.0f),
        row(QUILO_FIELD(echoStartVolA), 2, 11, 1, Pct, 27),
        row(QUILO_FIELD(echoDecayA), 2, 12, 1, Pct, 28),
        row(QUILO_FIELD(echoEqSwitchB), 2, 20, 1, Int, 29),
        row(QUILO_FIELD(echoLevelB), 2, 21, 1, Pct, 30),
        row(QUILO_FIELD(echoPredelayMsB), 2, 22, 1, Ms, 31, Send::Value, 2.0f),
        row(QUILO_FIELD(echoTimeMsB), 2, 23, 1, Ms, 32, Send::Value, 2.0f),
        row(QUILO_FIELD(echoStartVolB), 2, 24, 1, Pct, 33),
        row(QUILO_FIELD(echoDecayB), 2, 25, 1, Pct, 34),
        row(QUILO_FIELD(echoVolume), 2, 26, 1, Pct, 21),
        row(QUILO_FIELD(echoMute), 2, 27, 1, On, 22),

        // Module 3: reverb sets A and B; each time goes to two parameters.
        row(QUILO_FIELD(reverbEqSwitchA), 3, 7, 1, Int, 37),
        row(QUILO_FIELD(reverbLevelA), 3, 8, 1, Pct, 38),
        row(QUILO_FIELD(reverbPredelayMsA), 3, 9, 1, Ms, 39, Send::Value, 2.0f),
        row(QUILO_FIELD(reverbTimeA), 3, 10, 1, Pct, 40),
        row(QUILO_FIELD(reverbTimeA), 3, 11, 1, Pct, 41),
        row(QUILO_FIELD(reverbEqSwitchB), 3, 19, 1, Int, 42),
        row(QUILO_FIELD(reverbLevelB), 3, 20, 1, Pct, 43),
        row(QUILO_FIELD(reverbPredelayMsB), 3, 21, 1, Ms, 44, Send::Value, 2.0f),
        row(QUILO_FIELD(reverbTimeB), 3, 22, 1, Pct, 45),
        row(QUILO_FIELD(reverbTimeB), 3, 23, 1, Pct, 46),
        row(QUILO_FIELD(reverbVolume), 3, 24, 2, Pct, 35),
        row(QUILO_FIELD(reverbMute), 3, 25, 2, On, 36),

        // Module 4: music.
        row(QUILO_FIELD(musicEqSwitch), 4, 11, 1, Int, 48),
        row(QUILO_FIELD(musicVolume), 4, 12, 1, PctPlus, 49),
        row(QUILO_FIELD(musicMute), 4, 13, 1, On, 50, Send::MusicMute),
        row(QUILO_FIELD(musicCompThreshold), 4, 14, 7, Compressor, 47, Send::Compressor),
        row(QUILO_FIELD(musicCompRatio), 4, 14, 7, Compressor, 0, Send::Compressor),
        row(QUILO_FIELD(musicCompAttackMs), 4, 14, 7, Compressor, 0, Send::Compressor),
        row(QUILO_FIELD(musicCompReleaseMs), 4, 14, 7, Compressor, 0, Send::Compressor),
        row(QUILO_FIELD(musicCompBypass), 4, 15, 1, Int, 51),
        row(QUILO_FIELD(musicAgcOn), 4, 16, 1, Int, 52),
        row(QUILO_FIELD(musicAgcLevel), 4, 17, 1, Raw, 53),
        row(QUILO_FIELD(musicPitch), 4, 21, 1, Pitch, 54),
        row(QUILO_FIELD(musicGate), 4, 22, 1, P10k, 55),
        row(QUILO_FIELD(musicSource), 4, 23, 1, Int, 56, Send::MusicSource),
        row(QUILO_FIELD(musicGainSpdif), 4, 24, 1, Pct, 57),
        row(QUILO_FIELD(musicGainExtra), 4, 25, 1, Pct, 58),
        row(QUILO_FIELD(musicGainHdmi1), 4, 26, 1, Pct, 59),
        row(QUILO_FIELD(musicGainHdmi2), 4, 27, 1, Pct, 60),
        row(QUILO_FIELD(musicGainHdmi3), 4, 28, 1, Pct, 61),
        row(QUILO_FIELD(musicGainHdmi4), 4, 29, 1, Pct, 62),
        row(QUILO_FIELD(musicGainBluetooth), 4, 30, 1, Pct, 63),
        row(QUILO_FIELD(musicGainAux), 4, 31, 1, Pct, 64),
        row(QUILO_FIELD(musicGainAux2), 4, 32, 1, Pct, 65),
        row(QUILO_FIELD(hdmiSelect), 4, 33, 1, Int, 66),
        param::kLocateSignal,
        row(QUILO_FIELD(boostLpfDelayMs), 4, 36, 1, Ms, 67),
        row(QUILO_FIELD(boostLpfGain), 4, 37, 1, Pct, 68),

        // Modules 5-12: output channels CH 1-CH 8.
        row(QUILO_FIELD(outEqSwitch), 5, 15, 1, Int, 70),
        row(QUILO_FIELD(outLocation), 5, 16, 1, Int, 71),
        row(QUILO_FIELD(outDelayMode), 5, 17, 2, DelayMode, 69, Send::DelayMode),
        row(QUILO_FIELD(outDelayMs), 5, 18, 1, Ms, 72, Send::Value, 1.5f),
        row(QUILO_FIELD(outDelayBypass), 5, 19, 1, Int, 73),
        row(QUILO_FIELD(outDirectLevel), 5, 20, 1, Pct, 74),
        row(QUILO_FIELD(outReverbLevel), 5, 21, 1, Pct, 75),
        row(QUILO_FIELD(outEchoLevel), 5, 22, 1, Pct, 76),
        row(QUILO_FIELD(outMusicLevel), 5, 23, 1, Pct, 77),
        row(QUILO_FIELD(outLevel), 5, 24, 1, Pct, 78),
        row(QUILO_FIELD(outPhase), 5, 25, 1, Phase, 79),
        row(QUILO_FIELD(outMute), 5, 26, 1, On, 80),
        row(QUILO_FIELD(outCompThreshold), 5, 27, 7, Compressor, 69, Send::Compressor),
        row(QUILO_FIELD(outCompRatio), 5, 27, 7, Compressor, 0, Send::Compressor),
        row(QUILO_FIELD(outCompAttackMs), 5, 27, 7, Compressor, 0, Send::Compressor),
        row(QUILO_FIELD(outCompReleaseMs), 5, 27, 7, Compressor, 0, Send::Compressor),
        row(QUILO_FIELD(outCompBypass), 5, 28, 1, Int, 81),
        param::kRoomLevel,
    };
}();

#undef QUILO_FIELD

// Modules are numbered from 1; the output channels CH 1-CH 8 are the last eight.
constexpr int kFirstModule = 1;
constexpr int kFirstOutputModule = 5;
constexpr int kOutputCount = 8;

// The equalisers by EqId: where their bands live in EqBandStore (by store module
// and band) and which parameters take their coefficients (five words each).
struct EqualiserRow {
    std::uint8_t module;      // wire module, also the store module
    std::uint8_t firstBand;   // band 0's index within the module's run of the store
    std::uint8_t bandCount;   // bands the editors show
    std::uint8_t storedBands; // bands kept and sent: outputs add the two delay split filters
    std::uint8_t firstParam;  // parameter of band 0's coefficients; the bands follow
};

inline constexpr std::array<EqualiserRow, 15> kEqualiserTable{{
    {1, 0, 10, 10, 16},  // 0 mic channel A
    {1, 10, 10, 10, 39}, // 1 mic channel B
    {3, 0, 7, 7, 0},     // 2 reverb A
    {3, 7, 7, 7, 12},    // 3 reverb B
    {2, 0, 7, 7, 0},     // 4 echo A
    {2, 7, 7, 7, 13},    // 5 echo B
    {4, 0, 10, 10, 0},   // 6 music
    {5, 0, 13, 15, 0},   // 7-14 outputs CH 1-CH 8
    {6, 0, 13, 15, 0},
    {7, 0, 13, 15, 0},
    {8, 0, 13, 15, 0},
    {9, 0, 13, 15, 0},
    {10, 0, 13, 15, 0},
    {11, 0, 13, 15, 0},
    {12, 0, 13, 15, 0},
}};

// The music low-pass boost band: stored under a pseudo module of its own (record
// 178), its coefficients go to a parameter of the music module.
inline constexpr int kBoostBandModule = 15;
inline constexpr int kBoostBandWireModule = 4;
inline constexpr int kBoostBandWireParam = 10;

// Runs of 7-byte records in EqBandStore, one per store module, in store order.
struct BandStoreRun {
    std::uint8_t module;
    std::uint8_t firstRecord;
    std::uint8_t records;
};

inline constexpr std::array<BandStoreRun, 13> kBandStoreRuns{{
    {1, 0, 20},
    {2, 20, 14},
    {3, 34, 14},
    {4, 48, 10},
    {5, 58, 15},
    {6, 73, 15},
    {7, 88, 15},
    {8, 103, 15},
    {9, 118, 15},
    {10, 133, 15},
    {11, 148, 15},
    {12, 163, 15},
    {kBoostBandModule, 178, 1},
}};

// --- Lookups derived from the tables.

// Where a parameter is and how many words it has.
struct ParamAddress {
    int module;
    int param;
    int count;
};

// The row of a DspParams field by name, at compile time: a misspelt name does not build.
consteval const ParamRow& rowOf(std::string_view field) {
    for (const ParamRow& r : kParamTable) {
        if (r.field.name == field) {
            return r;
        }
    }
    throw "no such field in the parameter table";
}

// The address of element `element` of a row.
constexpr ParamAddress addressOf(const ParamRow& r, int element = 0) {
    return {r.moduleOf(element), r.paramOf(element), r.count};
}

// The first row of the field holding word `word` (the one a reply is decoded by),
// or nullptr for the unnamed words 6 and 14.
const ParamRow* firstRowOfWord(std::size_t word);

// The first row of a field that carries parameter `param` of `module`, with the
// element of the field it addresses; nullptr when no field is read from it.
struct RowElement {
    const ParamRow* row;
    int element;
};
RowElement fieldRowAt(int module, int param);

// Every GetParam of a read-back, in the processor's order (192 of them).
std::vector<ParamAddress> readBackRequests();

} // namespace quilo
