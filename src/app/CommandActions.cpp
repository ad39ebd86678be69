#include "app/CommandActions.h"

#include "app/AppIcons.h"
#include "app/RibbonIds.h"
#include "ui/BiText.h"

#include <QAction>
#include <QActionGroup>

#include <optional>

namespace quilo {

using namespace ribbon;

namespace {

struct Row {
    UserCommand command;
    int copies;
    int firstId; // control id of copy 0, the others follow
    BiText text; // empty: the owner names the copies (modes, presets)
    std::optional<AppIcon> icon;
    BiText tip;
    bool checkable;
};

constexpr BiText kNone{"", ""};

// In UserCommand order.
const Row kRows[] = {
    {UserCommand::Undo, 1, kUndo, {"撤销", "Undo"}, AppIcon::Undo, {"Ctrl+Z", "Ctrl+Z"}, false},
    {UserCommand::Redo,
     1,
     kRedo,
     {"重做", "Redo"},
     AppIcon::Redo,
     {"Ctrl+Shift+Z", "Ctrl+Shift+Z"},
     false},
    {UserCommand::Features,
     1,
     kFeatures,
     {"特色功能", "Features"},
     AppIcon::Features,
     kNone,
     false},
    {UserCommand::SubDecay,
     1,
     kSubDecay,
     {"超低音衰减", "SUB decay"},
     AppIcon::SubDecay,
     kNone,
     false},
    {UserCommand::MusicAgc,
     1,
     kMusicAgc,
     {"音乐自动电平", "Music AGC"},
     AppIcon::SubDecay,
     kNone,
     false},
    {UserCommand::MachineReset,
     1,
     kMachineReset,
     {"机器复位", "Reset"},
     AppIcon::Reset,
     kNone,
     false},
    {UserCommand::SmartPlug,
     1,
     kSmartPlug,
     {"智能插座", "Smart plug"},
     AppIcon::SmartPlug,
     kNone,
     false},
    {UserCommand::Remote,
     1,
     kRemote,
     {"遥控学习", "Remote control"},
     AppIcon::Remote,
     kNone,
     false},
    {UserCommand::PhoneRemote, 1, kPhoneRemote, {"手机", "Phone"}, AppIcon::Phone, kNone, false},
    {UserCommand::InputSource,
     1,
     kInputSource,
     {"输入源", "Input Source"},
     AppIcon::InputSource,
     kNone,
     false},
    {UserCommand::Language, 1, kLanguage, {"中/EN", "中/EN"}, AppIcon::Language, kNone, false},
    {UserCommand::About, 1, kAbout, kNone, AppIcon::About, {"关于", "About"}, false},
    {UserCommand::Open, 1, kOpen, {"打开(&O)", "Open(&O)"}, AppIcon::OpenFile, kNone, false},
    {UserCommand::Save, 1, kSave, {"保存(&S)", "Save(&S)"}, AppIcon::SaveFile, kNone, false},
    {UserCommand::CompareFile,
     1,
     kCompareFile,
     {"与文件比较…", "Compare with file…"},
     std::nullopt,
     kNone,
     false},
    {UserCommand::RecordTrace,
     1,
     kRecordTrace,
     {"记录诊断跟踪…", "Record a diagnostic trace…"},
     std::nullopt,
     kNone,
     true},
    {UserCommand::HomeAutomation,
     1,
     kHomeAutomation,
     {"家庭自动化…", "Home automation…"},
     AppIcon::SmartPlug,
     kNone,
     false},
    {UserCommand::Exit, 1, kExit, {"退出(&X)", "Exit(&X)"}, std::nullopt, kNone, false},
    {UserCommand::LoadMode, 4, kLoadMode1, kNone, std::nullopt, kNone, true},
    {UserCommand::SaveMode, 4, kSaveMode1, kNone, std::nullopt, kNone, true},
    {UserCommand::KeySaveMode, 4, 0, kNone, std::nullopt, kNone, false},
    {UserCommand::Preset, kPresetCount, kPreset1, kNone, std::nullopt, kNone, true},
    {UserCommand::Mute, kMuteCount, 0, kNone, std::nullopt, kNone, false},
    {UserCommand::EqSwitch, 1, kEqBypass, kNone, std::nullopt, kNone, false},
    {UserCommand::EqReset, 1, kEqReset, kNone, std::nullopt, kNone, false},
    {UserCommand::MachineSettings, 1, 0, kNone, std::nullopt, kNone, false},
};

const Row& rowOf(UserCommand command) {
    return kRows[static_cast<int>(command)];
}

} // namespace

CommandActions::CommandActions(QObject* parent) : QObject(parent) {
    for (int c = 0; c < static_cast<int>(std::size(kRows)); ++c) {
        const Row& row = kRows[c];
        Q_ASSERT(static_cast<int>(row.command) == c);
        // A stored mode menu has one of M1-M4 marked.
        const bool modes =
            row.command == UserCommand::LoadMode || row.command == UserCommand::SaveMode;
        QActionGroup* group = modes ? new QActionGroup(this) : nullptr;
        auto& copies = m_actions.emplace_back();
        for (int i = 0; i < row.copies; ++i) {
            auto* a = new QAction(this);
            a->setCheckable(row.checkable);
            if (row.icon) {
                a->setIcon(appIcon(*row.icon));
            }
            if (row.firstId != 0) {
                a->setData(row.firstId + i);
            }
            if (group != nullptr) {
                a->setText(QStringLiteral("M%1").arg(i + 1));
                group->addAction(a);
            }
            copies.push_back(a);
        }
    }
    relabel(kChinese);
}

QAction* CommandActions::action(UserCommand command, int index) const {
    const auto& copies = m_actions[static_cast<std::size_t>(command)];
    return index >= 0 && index < static_cast<int>(copies.size()) ? copies[index] : nullptr;
}

int CommandActions::count(UserCommand command) const {
    return static_cast<int>(m_actions[static_cast<std::size_t>(command)].size());
}

int CommandActions::controlId(UserCommand command) const {
    return rowOf(command).firstId;
}

void CommandActions::bind(UserCommand command, std::function<void(int index)> handler) {
    const auto& copies = m_actions[static_cast<std::size_t>(command)];
    for (int i = 0; i < static_cast<int>(copies.size()); ++i) {
        connect(copies[i], &QAction::triggered, this, [handler, i] { handler(i); });
    }
}

void CommandActions::trigger(UserCommand command, int index) const {
    if (QAction* a = action(command, index)) {
        a->trigger();
    }
}

void CommandActions::relabel(int language) {
    for (const Row& row : kRows) {
        if (row.text.zh[0] == '\0' && row.tip.zh[0] == '\0') {
            continue;
        }
        for (QAction* a : m_actions[static_cast<std::size_t>(row.command)]) {
            a->setText(row.text.pick(language));
            if (row.tip.zh[0] != '\0') {
                a->setToolTip(row.tip.pick(language));
            }
        }
    }
}

} // namespace quilo
