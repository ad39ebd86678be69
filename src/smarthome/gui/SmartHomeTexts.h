#pragma once

#include "ui/BiText.h"

#include <QColor>

namespace quilo::hometext {

// Window commands and worker progress.
inline constexpr BiText kSyncPlugs{"同步插座数据，请稍等……", "synchronize data"};
inline constexpr BiText kPowerOnRunning{"调用开机情景……", "Power on "};
inline constexpr BiText kPowerOffRunning{"调用关机情景……", "Power off"};
inline constexpr BiText kLoadingScene{"载入情景中", "Loading scene..."};
inline constexpr BiText kLoadingSceneEditor{"载入情景中……", "Loading scene..."};
inline constexpr BiText kResetting{"正在复位，请稍等……", "Resetting, wait a moment"};
inline constexpr BiText kRemovePlug{"删除设备", "Remove plug"};
inline constexpr BiText kAddPlugHidden{"添加设备", "Add plug"};
inline constexpr const char* kRemovePlugListText = "删除设备"; // the list page's, in both languages
inline constexpr const char* kAddingPlug = "添加设备……";

// Plug operations and the wait dialog (Chinese where no English form exists).
inline constexpr BiText kConfirmed{"已确认，请稍等", "Confirmed! Please wait..."};
inline constexpr BiText kAddFailed{"添加失败，请重试", "Add failed,please retry"};
inline constexpr BiText kRemoveFailed{"删除失败，请重试", "Remove failed,please retry"};
inline constexpr BiText kSetTimeout{"设置超时", "set timeout"};
inline constexpr BiText kPressToAdd{"请长按3秒确认添加", "Press and hold 3 second"};
inline constexpr BiText kPressSecond{"请长按3秒第二次确认", "Press and hold 3 second"};
inline constexpr BiText kPressToRemove{"请长按3秒确认删除", "Press and hold 3 second"};
inline constexpr BiText kPressFirst{"请长按3秒第一次确认", "Press and hold 3 second"};
inline constexpr const char* kOperationTimedOut = "发生错误，操作超时……";
inline constexpr const char* kSwitchOn = "设备开启操作";
inline constexpr const char* kSwitchOff = "设备关闭操作";
inline constexpr const char* kSetting = "正在设置……";
inline constexpr const char* kLearnOperation = "遥控学习操作";
inline constexpr const char* kEmitOperation = "遥控操作";

inline const QColor kAttention{130, 0, 255};
inline const QColor kSuccess{255, 0, 210};
inline const QColor kFailure{255, 0, 0};
inline const QColor kWaitText{0, 0, 255};

// The plug dialogs.
inline constexpr BiText kSwitchType{"开关插座", "Switch"};
inline constexpr BiText kDimmerType{"调压插座", "Knob"};
inline constexpr BiText kAddButton{"添加", "Add"};
inline constexpr BiText kModifyButton{"修改", "Modify"};
inline constexpr const char* kSwitchPrefix = "开关";
inline constexpr const char* kDimmerPrefix = "调压";
inline constexpr const char* kNameEmpty = "名称不能为空";
inline constexpr const char* kPromptCaption = "提示";
inline constexpr BiText kSwitchCaption{"开关控制: ", "Switch: "};
inline constexpr BiText kDimmerCaption{"电压控制: ", "Voltage: "};
inline constexpr const char* kLevelOff = "关";
inline constexpr const char* kLevelMax = "最大";

// Scene editor.
inline constexpr BiText kColIndex{"序号", "Index"};
inline constexpr BiText kColName{"设备名称", "Name"};
inline constexpr BiText kColParameter{"参数", "Parameter"};
inline constexpr BiText kDelayName{"延时", "Delay"};
inline constexpr BiText kOverRange{"情景指令已达最大数量", "command over range"};
inline constexpr BiText kSelectPlug{"请选择一个插座", "Please select a plug"};
inline constexpr BiText kSelectKey{"请选择一个遥控键名", "Please select a remote key"};
inline constexpr BiText kSelectItemFirst{"请先选择列表项", "Please select a item"};
inline constexpr BiText kSelectItem{"请选择列表项", "Please select a item"};
inline constexpr BiText kAlreadyFirst{"已移至首项", "Already be first"};
inline constexpr BiText kAlreadyLast{"已移至尾项", "Already be last"};
inline constexpr BiText kSaveFinished{"保存完成", "Save finished"};

// Learning page.
inline constexpr BiText kColKeyIndex{"序号", "Index"};
inline constexpr BiText kColKeyName{"遥控键名称", "Key name"};
inline constexpr BiText kColStatus{"状态", "Status"};
inline constexpr BiText kLearned{"已学习", "Ready"};
inline constexpr BiText kNotLearned{"未学习", "Not Ready"};
inline constexpr BiText kSelectRow{"请在列表中选择一个按键", "Please select a row"};
inline constexpr BiText kSelectKeyRow{"请在列表中选择一个按键", "Please select a key row"};
inline constexpr const char* kKeyNameEmpty = "遥控键名称不能为空字符串!";
inline constexpr const char* kReadyToLearn = "准备就绪，请按下遥控器按键";
inline constexpr const char* kLearnDone = "学习完成";
inline constexpr const char* kCheckError = "校验错误，请重新学习";
inline constexpr const char* kNoKeyInTime = "等待遥控器按键超时";
inline constexpr const char* kEmitted = "遥控按键发射成功";
inline constexpr const char* kEmitFailed = "遥控按键发射失败";
inline constexpr const char* kKeyFolderFailed = "创建Key目录失败!";
inline constexpr BiText kKeyFileUnreadable{"插座的遥控键文件无法读取，未作改动：",
                                           "The key file of the plug cannot be read and was "
                                           "left as it is: "};

} // namespace quilo::hometext
