#pragma once

#include "ui/BiText.h"

#include <QString>

namespace quilo {

namespace text {

inline constexpr BiText kInformation{"信息", "Information"};
inline constexpr BiText kPrompt{"提示", "Prompt"};
inline constexpr BiText kError{"错误", "Error"};
inline constexpr BiText kClose{"关闭", "Close"};
inline constexpr BiText kYes{"是", "Yes"};
inline constexpr BiText kNo{"否", "No"};
inline constexpr BiText kCancel{"取消", "Cancel"};
inline constexpr BiText kOk{"确定", "OK"};

inline constexpr BiText kPleaseConnect{"请先连接设备!", "Please connect device!"};
inline constexpr BiText kPleaseConnectPlug{"请先连接机器", "Please connect device"};

// Connection and synchronisation.
inline constexpr BiText kConnectedBalloon{"设备已连接，同步中……", "Device connected!"};
inline constexpr BiText kDisconnectedBalloon{"设备已断开!", "Device Disconnected!"};
inline constexpr BiText kSyncTitle{"同步过程", "Synchronize"};
inline constexpr BiText kSyncDefault{"当前正在与机器同步数据,请稍候......",
                                     "Please wait a moment……"};
inline constexpr BiText kSyncTimeout{"发生错误，与设备数据同步超时……",
                                     "An error occurred: synchronising with the device timed "
                                     "out……"};
inline constexpr BiText kModelMismatch{"机器型号与软件不匹配!",
                                       "The machine model does not match this software!"};
inline constexpr BiText kProtocolMismatch{
    "机器与软件通信版本不匹配，请使用机器配套软件!",
    "The machine's protocol version does not match this software; please use the software "
    "that came with the machine!"};

// Master volumes and mutes.
inline constexpr BiText kVolIsMute{"vol is mute", "vol is mute"};
inline constexpr BiText kMicOverMax{"不能超过最大话筒音量!", "Mic vol can't over max value!"};
inline constexpr BiText kMusicOverMax{"不能超过最大音乐音量!", "Music vol can't over max value!"};
inline constexpr BiText kMicVolLabel{"话筒音量:", "Mic    Vol: "};
inline constexpr BiText kEffectVolLabel{"效果总音量:", "Effect    Vol:"};
inline constexpr BiText kReverbVolLabel{"混响音量:  ", "Reverb Vol:"};
inline constexpr BiText kEchoVolLabel{"回声音量:", "Echo Vol:"};
inline constexpr BiText kMusicVolLabel{"音乐音量:", "Music Vol:"};
inline constexpr BiText kPitchTitle{"音乐变调:", "Music Pitch:"};
inline constexpr BiText kGateLabel{"音乐噪声门:", "Noisegate:"};
inline constexpr BiText kMute{"静音", "Mute"};
inline constexpr BiText kMusicMuted{"音乐已静音", "Music Muted"};
inline constexpr BiText kMicMuted{"话筒已静音", "Mic Muted"};
inline constexpr BiText kReverbMuted{"混响已静音", "Reverb muted"};
inline constexpr BiText kEchoMuted{"回声已静音", "Echo muted"};

// Machine and equaliser resets.
inline constexpr BiText kResetMachineAsk{"您确定要将机器复位吗? \n机器复位后请手动重启机器.",
                                         "Are you sure reset machine? "};
inline constexpr BiText kPleaseRestart{"请手动重启……", "Please restart……"};
inline constexpr BiText kResetEqAsk{"您确定重置当前均衡吗?", "Are you sure reset the EQ?"};

// Stored modes and files.
inline constexpr BiText kSaveModeAsk{"确定要保存至机器模式", "Save to machine mode "};
inline constexpr BiText kLoadModeAsk{"参数已更改，确定要直接载入模式",
                                     "Setting changed ! Are you sure load mode"};
inline constexpr BiText kSavingMode{"正在储存模式%1,请稍等", "Saving Mode %1 ……"};
inline constexpr BiText kUnsavedAsk{
    "参数已改动，请问是否需要保存?\r\n提示：保存成电脑文件并同时保存至机器的当前模式",
    "parameter value is changed, do you want save it ?"};
inline constexpr BiText kUnsavedCaption{"信息", "Save?"};
inline constexpr BiText kFileMissing{"文件不存在！", "The file does not exist!"};
inline constexpr BiText kFileOpenError{"文件打开错误", "File open error"};
inline constexpr const char* kVersionNotSupported = "Mode file version not support!";
inline constexpr const char* kInfoCaption = "Info";
inline constexpr const char* kModeFileFilter = "Mode Files (*.quilo)";

// Status bar.
inline constexpr BiText kUsbConnected{"USB：已连接", "USB:Connected"};
inline constexpr BiText kUsbDisconnected{"USB：未连接", "USB:Disconnected"};
inline constexpr BiText kEmulatorStateNotSaved{"模拟处理器的状态未能保存:\n",
                                               "The emulated processor's state was not saved:\n"};
inline constexpr BiText kChangedByClient{"由 %1 修改", "Changed by %1"};
inline constexpr BiText kNoBusService{
    "未接入会话总线：脚本和手机无法连接本程序。",
    "Not on the session bus: scripts and phones cannot reach this program."};
inline constexpr BiText kProcessorInUse{
    "处理器正由 %1 使用，本程序不会打开它。",
    "The processor is in use by %1; this program leaves it alone."};
inline constexpr BiText kEmulatorFileKept{
    "\n\n模拟处理器以出厂设置运行，此文件不会被改写。",
    "\n\nThe emulated processor runs on factory settings; this file will not be written."};
inline constexpr BiText kSavedInPlace{
    "文件所在的文件夹不允许新建文件，已直接改写文件:\n%1",
    "The file's folder takes no new file; the file was written over in place:\n%1"};
inline constexpr BiText kEmulatedSuffix{"（模拟处理器）", " (emulated processor)"};
inline constexpr BiText kCurrentMode{"当前模式:%1[%2]", "Current Mode:%1[%2]"};
inline constexpr BiText kBypass{"均衡旁路", "Bypass"};
inline constexpr BiText kResetEq{"重置均衡", "Reset EQ"};

// Wireless microphones.
inline constexpr BiText kFreqLine{"频率:%1", "Freq:%1"};
inline constexpr BiText kBatteryLine{"电   量:%1", "Battary: %1"};

} // namespace text

// "一".."四" or "1".."4" for stored mode 0-3.
inline QString modeDigit(int mode, int language) {
    static constexpr const char* kZh[] = {"一", "二", "三", "四"};
    const int m = mode < 0 || mode > 3 ? 0 : mode;
    return language == kEnglish ? QString::number(m + 1) : QString::fromUtf8(kZh[m]);
}

} // namespace quilo
