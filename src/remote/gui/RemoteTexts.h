#pragma once

#include "ui/BiText.h"

#include <QString>

namespace quilo::remote_text {

// What the learning window says while key 1-17 is learned; the key list shows
// the part after the colon as the key's name.
inline constexpr BiText kLearning[17] = {
    {"您正在学习的键：启动/待机", "Learning key:Power key"},
    {"您正在学习的键：音乐源切换", "Learning key: Audio music source switch"},
    {"您正在学习的键：视频(HDMI)切换", "Learning key: Video HDMI switch "},
    {"您正在学习的键：M1/方向上", "Learning key: M1/Up "},
    {"您正在学习的键：M4/方向下", "Learning key:M4/Down "},
    {"您正在学习的键：M3/方向左", "Learning key: M3/Left "},
    {"您正在学习的键：M2/方向右", "Learning key: M2/Right "},
    {"您正在学习的键：确认键", "Learning key: OK key"},
    {"您正在学习的键：进入视频菜单", "Learning key:  Enter video menu"},
    {"您正在学习的键：静音键", "Learning key:  Mute "},
    {"您正在学习的键：退出视频菜单", "Learning key: Esc video menu "},
    {"您正在学习的键：增大话筒音量", "Learning key: Mic vol increase"},
    {"您正在学习的键：减小话筒音量", "Learning key:Mic vol decrease"},
    {"您正在学习的键：增大效果音量", "Learning key: Effect vol increase"},
    {"您正在学习的键：减小效果音量", "Learning key: Effect vol decrease"},
    {"您正在学习的键：增大音乐音量", "Learning key: Music vol increase"},
    {"您正在学习的键：减小音乐音量", "Learning key: Music vol decrease"},
};

// The name of key 1-17 in the key list: its learning text after the colon.
inline QString keyName(int key, int language) {
    const QString text = kLearning[key - 1].pick(language);
    const qsizetype colon = text.indexOf(language == kEnglish ? QLatin1Char(':') : QChar(0xFF1A));
    return text.mid(colon + 1).trimmed();
}

inline constexpr BiText kNoSupport{"不支持该功能", "No support!"};
inline constexpr BiText kNoSupportCaption{"提示", "Information"};
inline constexpr BiText kWillClose{"窗口将自动关闭", "Window will be closed!"};
inline constexpr BiText kApplied{"遥控器键码保存成功!", "Save successed !"};
inline constexpr BiText kConnectFirst{"请先连接机器再进行此操作!",
                                      "Please connect the device first!"};
inline constexpr BiText kLoaded{"载入遥控文件成功", "Remote data file loaded"};
inline constexpr BiText kLoadFailed{"载入遥控文件失败", "Loading the remote data file failed"};
inline constexpr BiText kSaved{"保存遥控文件成功", "Remote data file saved"};
inline constexpr BiText kSaveFailed{"保存遥控文件失败", "Saving the remote data file failed"};
inline constexpr const char* kFileFilter = "Remote Data File(*.remo)";
inline constexpr BiText kReplaceCaption{"确认另存为", "Confirm Save As"};
inline constexpr BiText kReplace{"%1 已存在。\n要替换它吗？",
                                 "%1 already exists.\nDo you want to replace it?"};

} // namespace quilo::remote_text
