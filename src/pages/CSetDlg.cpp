#include "pages/CSetDlg.h"

#include "smarthome/SmartHome.h"
#include "ui/Texts.h"
#include "widgets/CXBmpSlider.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quilo {

namespace {

constexpr std::size_t kSaveMode = 0;
constexpr std::size_t kSaveModeCopy = 2;
constexpr std::size_t kLockPanelByte = 7;
constexpr std::size_t kLockFlagsByte = 8;
constexpr std::size_t kPowerOnByte = 11;
// "Lock Vol" sets three bits of the lock flags together, "Lock Mode" one.
constexpr std::uint8_t kLockVolumeBits = 0x83;
constexpr std::uint8_t kLockModeBits = 0x10;
constexpr int kMaxVolume = 99;

constexpr BiText kInvalid{"无效", "Invalid"};
constexpr BiText kSettingValid{"机器设置已生效!", "Setting valid"};
constexpr BiText kResettingPlugs{"正在清除插座数据，请稍等……", "Resetting, wait a moment"};
constexpr int kResettingPlugsMs = 4000;

QGroupBox* group(QWidget* parent, int ctrlId) {
    auto* box = new QGroupBox(parent);
    tagControl(box, ctrlId);
    return box;
}

} // namespace

const std::array<CSetDlg::Volume, 2> CSetDlg::kVolumes{{
    {machine::kMicStartVolume, machine::kMaxMicVolume, &DspParams::micVolume, kMicStartSlider,
     kMicStartText, kMicStartCaption, kMicEnable, kMicMaxSlider, kMicMaxText},
    {machine::kMusicStartVolume, machine::kMaxMusicVolume, &DspParams::musicVolume,
     kMusicStartSlider, kMusicStartText, kMusicStartCaption, kMusicEnable, kMusicMaxSlider,
     kMusicMaxText},
}};

CSetDlg::CSetDlg(PageContext& context, QWidget* parent)
    : ContextToolWindow(context, kTemplate, parent) {
    setWindowTitle(QStringLiteral("Machine Set"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(8);

    // Start volumes with their "Enable" boxes, then the limits.
    auto* start = group(this, 1197);
    auto* startGrid = new QGridLayout(start);
    auto* limits = group(this, 1199);
    auto* limitGrid = new QGridLayout(limits);
    const int maxCaptions[2] = {1006, 1131};
    for (int i = 0; i < 2; ++i) {
        const Volume& v = kVolumes[static_cast<std::size_t>(i)];
        startGrid->addWidget(makeText(start, v.startCaption), i, 0);
        startGrid->addWidget(makeSlider(start, v.startSlider, 0, kMaxVolume), i, 1);
        auto* value = makeText(start, v.startText);
        value->setMinimumWidth(64);
        startGrid->addWidget(value, i, 2);
        startGrid->addWidget(makeCheck(start, v.enable, QStringLiteral("Enable")), i, 3);
        limitGrid->addWidget(makeText(limits, maxCaptions[i]), i, 0);
        limitGrid->addWidget(makeSlider(limits, v.maxSlider, 1, kMaxVolume), i, 1);
        auto* max = makeText(limits, v.maxText);
        max->setMinimumWidth(64);
        limitGrid->addWidget(max, i, 2);
    }
    startGrid->setColumnStretch(1, 1);
    limitGrid->setColumnStretch(1, 1);
    layout->addWidget(start);
    layout->addWidget(limits);

    auto* row = new QHBoxLayout;
    auto* save = group(this, 1201);
    auto* saveBox = new QVBoxLayout(save);
    for (int id : {kByPower, kByMode}) {
        auto* r = new QRadioButton(save);
        tagControl(r, id);
        connect(r, &QRadioButton::clicked, this, [this, id] { boxToggled(id, true); });
        saveBox->addWidget(r);
    }
    row->addWidget(save);
    auto* powerOn = group(this, 1202);
    auto* powerBox = new QVBoxLayout(powerOn);
    m_powerOn = new QComboBox(powerOn);
    tagControl(m_powerOn, kPowerOnCombo);
    m_powerOn->addItems({QStringLiteral("Auto"), QStringLiteral("M1"), QStringLiteral("M2"),
                         QStringLiteral("M3"), QStringLiteral("M4")});
    connect(m_powerOn, &QComboBox::activated, this, [this](int index) {
        m_context.image().machine.edit[kPowerOnByte] = static_cast<std::uint8_t>(index);
    });
    powerBox->addWidget(m_powerOn);
    powerBox->addStretch(1);
    row->addWidget(powerOn);
    auto* modes = group(this, 1183);
    auto* modeBox = new QHBoxLayout(modes);
    for (int m = 0; m < 4; ++m) {
        auto* b = new QPushButton(QStringLiteral("M%1").arg(m + 1), modes);
        tagControl(b, kResetMode1 + m);
        b->setCheckable(true);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, m] { resetMode(m); });
        modeBox->addWidget(b);
    }
    row->addWidget(modes);
    layout->addLayout(row);

    // These texts exist in Chinese only.
    auto* plugs = group(this, 1185);
    plugs->setTitle(QStringLiteral("重置插座数据"));
    auto* plugBox = new QHBoxLayout(plugs);
    auto* clear = new QPushButton(QStringLiteral("清空插座数据"), plugs);
    tagControl(clear, kClearPlugs);
    clear->setAutoDefault(false);
    connect(clear, &QPushButton::clicked, this, &CSetDlg::clearPlugData);
    auto* why = new QLabel(QStringLiteral("当因为意外情况，导致插座数据出错，而无法启动智能插座的"
                                          "控制界面时，您可以点击“清空插座数据”后重试"),
                           plugs);
    why->setWordWrap(true);
    plugBox->addWidget(clear, 0, Qt::AlignTop);
    plugBox->addWidget(why, 1);
    layout->addWidget(plugs);

    // The processor's front-panel locks; kept hidden.
    auto* locks = group(this, 1198);
    auto* lockBox = new QVBoxLayout(locks);
    for (int id : {kLockPanel, kLockVolume, kLockMode}) {
        lockBox->addWidget(makeCheck(locks, id, QString()));
    }
    locks->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* applyButton = new QPushButton(QStringLiteral("Apply"), this);
    tagControl(applyButton, kApply);
    applyButton->setAutoDefault(false);
    connect(applyButton, &QPushButton::clicked, this, &CSetDlg::apply);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    tagControl(cancel, kCancel);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &CSetDlg::close);
    buttons->addWidget(applyButton);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

void CSetDlg::refreshFromImage() {
    MachineSettings& m = m_context.image().machine;
    m.edit = m.applied;
    for (const Volume& v : kVolumes) {
        const int maximum = std::clamp<int>(m.edit[v.maxByte], 1, kMaxVolume);
        slider(v.maxSlider).setPosition(maximum);
        text(v.maxText).setText(QString::number(m.edit[v.maxByte]));
        slider(v.startSlider).setRange(maximum, 0);
        showStart(v);
    }
    showLocks();
    m_powerOn->setCurrentIndex(std::min<int>(m.edit[kPowerOnByte], m_powerOn->count() - 1));
    control<QRadioButton>(m.edit[kSaveMode] == 1 ? kByMode : kByPower).setChecked(true);
    showModeButtons();
}

void CSetDlg::applyLanguage(int language) {
    m_language = language;
    for (const Volume& v : kVolumes) {
        showStart(v);
    }
}

void CSetDlg::showStart(const Volume& v) {
    const std::uint8_t start = m_context.image().machine.edit[v.startByte];
    const bool enabled = start != machine::kNoStartVolume;
    CXBmpSlider& s = slider(v.startSlider);
    s.setPosition(enabled ? start : s.minimum());
    s.setEnabled(enabled);
    check(v.enable).setChecked(enabled);
    text(v.startText).setText(enabled ? QString::number(start) : kInvalid.pick(m_language));
    text(v.startText).setEnabled(enabled);
    text(v.startCaption).setEnabled(enabled);
}

void CSetDlg::showLocks() {
    const MachineSettingsBytes& edit = m_context.image().machine.edit;
    const bool locked = edit[kLockPanelByte] == 1;
    check(kLockPanel).setChecked(locked);
    check(kLockVolume).setChecked((edit[kLockFlagsByte] & kLockVolumeBits) == kLockVolumeBits);
    check(kLockMode).setChecked((edit[kLockFlagsByte] & kLockModeBits) != 0);
    check(kLockVolume).setEnabled(locked);
    check(kLockMode).setEnabled(locked);
}

void CSetDlg::showModeButtons() {
    const int mode = m_context.image().currentMode.load();
    for (int m = 0; m < 4; ++m) {
        control<QPushButton>(kResetMode1 + m).setChecked(m == mode);
    }
}

void CSetDlg::sliderMoved(int ctrlId, int position) {
    for (const Volume& v : kVolumes) {
        if (ctrlId == v.startSlider) {
            setStartVolume(v, position);
        } else if (ctrlId == v.maxSlider) {
            setMaxVolume(v, position);
        }
    }
}

void CSetDlg::setStartVolume(const Volume& v, int position) {
    // The user hears the start volume while choosing it.
    m_context.image().machine.edit[v.startByte] = static_cast<std::uint8_t>(position);
    m_context.setters().set(v.master, position);
    text(v.startText).setText(QString::number(position));
}

void CSetDlg::setMaxVolume(const Volume& v, int maximum) {
    m_context.image().machine.edit[v.maxByte] = static_cast<std::uint8_t>(maximum);
    text(v.maxText).setText(QString::number(maximum));
    CXBmpSlider& start = slider(v.startSlider);
    start.setRange(maximum, 0);
    // A start volume above the new limit comes down with it.
    if (start.isEnabled() &&
        m_context.image().machine.edit[v.startByte] != machine::kNoStartVolume &&
        m_context.image().machine.edit[v.startByte] > maximum) {
        start.setPosition(maximum);
        setStartVolume(v, maximum);
    }
}

void CSetDlg::setStartEnabled(const Volume& v, bool enabled) {
    const int maximum = slider(v.startSlider).maximum();
    // A start volume taken from the master volume stays within the limit.
    const int start = std::clamp<int>(m_context.image().params.*v.master, 0, maximum);
    m_context.image().machine.edit[v.startByte] =
        enabled ? static_cast<std::uint8_t>(start) : machine::kNoStartVolume;
    showStart(v);
}

void CSetDlg::boxToggled(int ctrlId, bool checked) {
    MachineSettingsBytes& edit = m_context.image().machine.edit;
    for (const Volume& v : kVolumes) {
        if (ctrlId == v.enable) {
            setStartEnabled(v, checked);
        }
    }
    const auto setBits = [&edit](std::uint8_t bits, bool on) {
        edit[kLockFlagsByte] = static_cast<std::uint8_t>(on ? edit[kLockFlagsByte] | bits
                                                            : edit[kLockFlagsByte] & ~bits);
    };
    switch (ctrlId) {
    case kByPower:
    case kByMode:
        edit[kSaveMode] = edit[kSaveModeCopy] = ctrlId == kByMode ? 1 : 0;
        break;
    case kLockPanel:
        edit[kLockPanelByte] = checked ? 1 : 0;
        showLocks();
        break;
    case kLockVolume:
        setBits(kLockVolumeBits, checked);
        break;
    case kLockMode:
        setBits(kLockModeBits, checked);
        break;
    default:
        break;
    }
}

void CSetDlg::apply() {
    // Without a processor nothing would arrive: keep the edits and say so.
    if (!m_context.connected()) {
        m_context.notice(text::kPleaseConnect.pick(m_language));
        return;
    }
    m_context.setters().applyMachineSettings();
    m_context.notice(kSettingValid.pick(m_language));
}

void CSetDlg::resetMode(int mode) {
    showModeButtons();
    if (!m_context.connected()) {
        return;
    }
    m_context.setters().resetStoredMode(mode);
    showModeButtons();
    m_context.startPull();
}

void CSetDlg::clearPlugData() {
    if (!m_context.connected()) {
        m_context.notice(text::kPleaseConnect.pick(m_language));
        return;
    }
    // The smart home's reset worker clears the network and the scenes, then reads the
    // (empty) plug data back; the smart-plug window shows the result when it is open.
    if (SmartHome* home = m_context.smartHome(); home != nullptr && home->resetNetworkAsync()) {
        m_context.notice(kResettingPlugs.pick(m_language), kResettingPlugsMs);
    }
}

void CSetDlg::closeEvent(QCloseEvent* event) {
    // Cancel and the close box drop the edits (a read-back sets both copies anyway).
    if (m_context.image().mainThreadOwns()) {
        MachineSettings& m = m_context.image().machine;
        m.edit = m.applied;
    }
    ContextToolWindow::closeEvent(event);
}

CXBmpSlider& CSetDlg::slider(int ctrlId) const {
    return control<CXBmpSlider>(ctrlId);
}

QLabel& CSetDlg::text(int ctrlId) const {
    return control<QLabel>(ctrlId);
}

QCheckBox& CSetDlg::check(int ctrlId) const {
    return control<QCheckBox>(ctrlId);
}

} // namespace quilo
