#pragma once

namespace quilo::music_ids {

// Control ids of the music and microphone page's template (313) outside the equaliser
// section. Per microphone input k (0-3) the ids below advance by k, or by 2k where two
// controls of an input alternate.
enum : int {
    kParamSlider = 1000,
    kParamValue = 1038,
    kGateSlider = 1052,   // + k
    kVolumeSlider = 1056, // + k
    kMicChannelA = 1068,  // 1069 mic channel B, 1070 music
    kParamCaption = 1124,
    kReverbCaption = 1132,
    kParamList = 1141,
    kMusicGroup = 1142,
    kEchoPreview = 1143,
    kReverbPreview = 1144,
    kEchoCaption = 1145,
    kReverbHint = 1146,
    kGateText = 1152,    // + 2k
    kGateLabel = 1153,   // + 2k
    kVolumeText = 1160,  // + 2k
    kVolumeLabel = 1161, // + 2k
    kMusicMeterL = 1168,
    kMusicMeterR = 1169,
    kInputMeter = 1170, // + k
    kInputsGroup = 1182,
    kMusicLeft = 1183,
    kMusicRight = 1184,
    kInputCaption = 1185, // + k
    kEchoHint = 1189,
    kToA = 1190, // + 2k; CH B is the id after it
    kStreamFormat = 1222,
};

} // namespace quilo::music_ids
