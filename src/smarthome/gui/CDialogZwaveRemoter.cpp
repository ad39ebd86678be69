#include "smarthome/gui/CDialogZwaveRemoter.h"

#include "smarthome/SmartHome.h"
#include "smarthome/StepText.h"
#include "smarthome/gui/KeyFileNotice.h"
#include "smarthome/gui/PlugPageControls.h"
#include "smarthome/gui/SmartHomeTexts.h"
#include "ui/DialogLook.h"
#include "ui/PageContext.h"
#include "ui/Texts.h"
#include "ui/WheelForwarder.h"
#include "widgets/CXBmpSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace quilo {

namespace {

constexpr int kMaxLevel = 99;
constexpr int kMaxDelaySeconds = 100;

QString utf8(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

CDialogZwaveRemoter::CDialogZwaveRemoter(PageContext& context, SmartHome& home, QWidget* parent)
    : QWidget(parent), m_context(context), m_home(home) {
    setProperty("templateId", kTemplateId);

    m_steps = tagControl(new QTreeWidget(this), kSteps);
    m_steps->setRootIsDecorated(false);
    m_steps->setSelectionMode(QAbstractItemView::SingleSelection);
    m_steps->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_steps->setColumnCount(3);
    m_steps->setMinimumWidth(260);

    auto* sceneLabel = tagControl(new QLabel(QStringLiteral("情景"), this), kSceneLabel);
    m_sceneChoice = tagControl(new QComboBox(this), kSceneChoice);

    auto* plugGroup = tagControl(new QGroupBox(QStringLiteral("插座指令"), this), kPlugGroup);
    auto* plugLabel = tagControl(new QLabel(QStringLiteral("插座"), plugGroup), kPlugLabel);
    m_plugChoice = tagControl(new QComboBox(plugGroup), kPlugChoice);
    m_on = tagControl(new QCheckBox(QStringLiteral("开"), plugGroup), kOnCheck);
    m_level = tagControl(new CXBmpSlider(plugGroup), kLevelSlider);
    m_level->usePageStyle();
    m_level->setRange(kMaxLevel, 0);
    m_level->setFixedHeight(26);
    m_levelText = tagControl(new QLabel(plugGroup), kLevelText);
    m_levelText->setMinimumWidth(40);
    m_level->hide();
    m_levelText->hide();
    auto* add = tagControl(new QPushButton(QStringLiteral("添加值"), plugGroup), kAdd);
    auto* resetValue =
        tagControl(new QPushButton(QStringLiteral("修改值"), plugGroup), kResetValue);
    auto* plugGrid = new QGridLayout(plugGroup);
    plugGrid->addWidget(plugLabel, 0, 0);
    plugGrid->addWidget(m_plugChoice, 0, 1, 1, 2);
    plugGrid->addWidget(m_on, 1, 0);
    plugGrid->addWidget(m_level, 1, 1);
    plugGrid->addWidget(m_levelText, 1, 2);
    plugGrid->addWidget(add, 2, 1);
    plugGrid->addWidget(resetValue, 2, 2);

    auto* keyGroup = tagControl(new QGroupBox(QStringLiteral("遥控指令"), this), kKeyGroup);
    auto* keyLabel = tagControl(new QLabel(QStringLiteral("遥控"), keyGroup), kKeyLabel);
    m_keyChoice = tagControl(new QComboBox(keyGroup), kKeyChoice);
    m_learnedOnly =
        tagControl(new QCheckBox(QStringLiteral("只显示学习过的键"), keyGroup), kLearnedOnly);
    m_learnedOnly->setChecked(true);
    auto* addKey = tagControl(new QPushButton(QStringLiteral("添加遥控"), keyGroup), kAddKey);
    auto* resetKey = tagControl(new QPushButton(QStringLiteral("修改遥控"), keyGroup), kResetKey);
    auto* keyGrid = new QGridLayout(keyGroup);
    keyGrid->addWidget(keyLabel, 0, 0);
    keyGrid->addWidget(m_keyChoice, 0, 1, 1, 2);
    keyGrid->addWidget(m_learnedOnly, 1, 0, 1, 3);
    keyGrid->addWidget(addKey, 2, 1);
    keyGrid->addWidget(resetKey, 2, 2);

    auto* delayGroup = tagControl(new QGroupBox(QStringLiteral("延时指令"), this), kDelayGroup);
    auto* delayLabel = tagControl(new QLabel(QStringLiteral("延时"), delayGroup), kDelayLabel);
    m_delay = tagControl(new CXBmpSlider(delayGroup), kDelaySlider);
    m_delay->usePageStyle();
    m_delay->setRange(kMaxDelaySeconds, 1);
    m_delay->setPosition(1);
    m_delay->setFixedHeight(26);
    m_delayText = tagControl(new QLabel(QStringLiteral("1s"), delayGroup), kDelayText);
    m_delayText->setMinimumWidth(40);
    auto* addDelay = tagControl(new QPushButton(QStringLiteral("添加延时"), delayGroup), kAddDelay);
    auto* resetDelay =
        tagControl(new QPushButton(QStringLiteral("修改延时"), delayGroup), kResetDelay);
    auto* delayGrid = new QGridLayout(delayGroup);
    delayGrid->addWidget(delayLabel, 0, 0);
    delayGrid->addWidget(m_delay, 0, 1);
    delayGrid->addWidget(m_delayText, 0, 2);
    delayGrid->addWidget(addDelay, 1, 1);
    delayGrid->addWidget(resetDelay, 1, 2);

    auto* listGroup = tagControl(new QGroupBox(QStringLiteral("列表操作"), this), kListGroup);
    auto* remove = tagControl(new QPushButton(QStringLiteral("删除选中项"), listGroup), kDelete);
    auto* up = tagControl(new QPushButton(QStringLiteral("上移"), listGroup), kUp);
    auto* down = tagControl(new QPushButton(QStringLiteral("下移"), listGroup), kDown);
    auto* clear = tagControl(new QPushButton(QStringLiteral("清空列表"), listGroup), kClear);
    auto* listGrid = new QGridLayout(listGroup);
    listGrid->addWidget(remove, 0, 0);
    listGrid->addWidget(clear, 0, 1);
    listGrid->addWidget(up, 1, 0);
    listGrid->addWidget(down, 1, 1);

    auto* saveButton = tagControl(new QPushButton(QStringLiteral("保存列表"), this), kSave);
    auto* test = tagControl(new QPushButton(QStringLiteral("测试当前情景"), this), kTest);
    auto* modify = tagControl(new QPushButton(QStringLiteral("修改"), this), kModify);
    modify->hide(); // never shown

    // The step list on the left; the scene, then the plug and key steps, the delay
    // step and the list operations in two columns, then Save and Test.
    auto* sceneRow = new QHBoxLayout;
    sceneRow->addWidget(sceneLabel);
    sceneRow->addWidget(m_sceneChoice, 1);
    auto* right = new QGridLayout;
    right->addLayout(sceneRow, 0, 0);
    right->addWidget(plugGroup, 1, 0);
    right->addWidget(keyGroup, 1, 1);
    right->addWidget(delayGroup, 2, 0);
    right->addWidget(listGroup, 2, 1);
    auto* storeRow = new QHBoxLayout;
    storeRow->addStretch();
    storeRow->addWidget(saveButton);
    storeRow->addWidget(test);
    right->addLayout(storeRow, 3, 0, 1, 2);
    right->setRowStretch(4, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_steps, 1);
    layout->addLayout(right);

    m_wheel = new WheelForwarder(*this);
    m_wheel->addTarget(m_delay);

    connect(m_sceneChoice, &QComboBox::activated, this, [this](int index) {
        m_scene = index;
        refreshSteps();
    });
    connect(m_plugChoice, &QComboBox::activated, this, &CDialogZwaveRemoter::plugChosen);
    connect(m_learnedOnly, &QCheckBox::toggled, this, &CDialogZwaveRemoter::refreshKeyChoice);
    connect(m_level, &CXBmpSlider::sliderChanged, this, [this](int, int pos) {
        m_levelText->setText(utf8(m_home.stepText(kEmptyStep, pos, m_context.language())));
    });
    connect(m_delay, &CXBmpSlider::sliderChanged, this,
            [this](int, int pos) { m_delayText->setText(QStringLiteral("%1s").arg(pos)); });
    connect(add, &QPushButton::clicked, this, [this] { addStep(Kind::Plug); });
    connect(addKey, &QPushButton::clicked, this, [this] { addStep(Kind::Key); });
    connect(addDelay, &QPushButton::clicked, this, [this] { addStep(Kind::Delay); });
    connect(resetValue, &QPushButton::clicked, this, [this] { resetStep(Kind::Plug); });
    connect(resetKey, &QPushButton::clicked, this, [this] { resetStep(Kind::Key); });
    connect(resetDelay, &QPushButton::clicked, this, [this] { resetStep(Kind::Delay); });
    connect(remove, &QPushButton::clicked, this, [this] {
        const int row = selectedRow();
        if (row < 0) {
            notice(hometext::kSelectItemFirst);
            return;
        }
        m_draft.remove(row); // the other rows keep their Index texts
        showDraft(-1);
    });
    connect(up, &QPushButton::clicked, this, [this] { moveRow(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveRow(+1); });
    connect(clear, &QPushButton::clicked, this, [this] {
        m_draft.clear();
        showDraft(-1);
    });
    connect(saveButton, &QPushButton::clicked, this, &CDialogZwaveRemoter::save);
    connect(test, &QPushButton::clicked, this, [this] {
        emit runSceneRequested(m_scene, hometext::kLoadingSceneEditor.pick(m_context.language()));
    });
}

CDialogZwaveRemoter::~CDialogZwaveRemoter() = default;

void CDialogZwaveRemoter::notice(const BiText& text) {
    m_context.notice(text.pick(m_context.language()));
}

int CDialogZwaveRemoter::selectedPlug() const {
    return chosenPlug(m_plugChoice);
}

int CDialogZwaveRemoter::selectedRow() const {
    return quilo::selectedRow(m_steps);
}

void CDialogZwaveRemoter::applyLanguage() {
    const int lang = m_context.language();
    m_steps->setHeaderLabels({hometext::kColIndex.pick(lang), hometext::kColName.pick(lang),
                              hometext::kColParameter.pick(lang)});
    refreshSceneNames();
    refreshSteps();
    m_levelText->setText(
        utf8(m_home.stepText(kEmptyStep, m_level->position(), m_context.language())));
}

void CDialogZwaveRemoter::refreshSceneNames() {
    m_sceneChoice->clear();
    for (int s = 0; s < kSceneCount; ++s) {
        m_sceneChoice->addItem(utf8(sceneName(s, m_context.language())));
    }
    m_sceneChoice->setCurrentIndex(m_scene);
}

void CDialogZwaveRemoter::refreshPlugChoice() {
    fillPlugChoice(m_plugChoice, m_home.table().snapshot());
    m_keyChoice->clear();
}

void CDialogZwaveRemoter::refreshSteps() {
    const int lang = m_context.language();
    m_steps->setHeaderLabels({hometext::kColIndex.pick(lang), hometext::kColName.pick(lang),
                              hometext::kColParameter.pick(lang)});
    m_steps->header()->resizeSection(0, 44);
    m_steps->header()->resizeSection(1, 100);
    const PlugTableData table = m_home.table().snapshot();
    m_draft.load(table.scene(m_scene), table);
    showDraft(-1);
}

void CDialogZwaveRemoter::showDraft(int selected) {
    const int lang = m_context.language();
    const PlugTableData table = m_home.table().snapshot();
    m_steps->clear();
    for (const SceneDraft::Row& r : m_draft.rows()) {
        auto* row = new QTreeWidgetItem(m_steps);
        row->setText(0, QString::number(r.number));
        row->setText(1, r.step.node == kDelayStep
                            ? hometext::kDelayName.pick(lang)
                            : QString::fromStdU16String(table.record(r.step.node).name()));
        row->setText(2, utf8(m_home.stepText(r.step.node, r.step.value, lang)));
        row->setTextAlignment(2, Qt::AlignCenter);
    }
    if (QTreeWidgetItem* row = m_steps->topLevelItem(selected)) {
        m_steps->setCurrentItem(row);
    }
}

void CDialogZwaveRemoter::plugChosen() {
    const std::uint8_t type = m_home.table().record(selectedPlug()).type();
    if (type == kSwitchPlug || type == kDimmerPlug) {
        m_on->setVisible(type == kSwitchPlug);
        m_level->setVisible(type == kDimmerPlug);
        m_levelText->setVisible(type == kDimmerPlug);
    }
    refreshKeyChoice();
}

void CDialogZwaveRemoter::refreshKeyChoice() {
    const int id = selectedPlug();
    if (id == 0) {
        return;
    }
    std::vector<PlugKey> keys;
    if (!readPlugKeys(m_context, m_home, id, keys, this)) {
        return;
    }
    m_keyChoice->clear();
    for (const PlugKey& key : keys) {
        if (key.status != 0 || !m_learnedOnly->isChecked()) {
            m_keyChoice->addItem(QString::fromStdString(key.name), key.index);
        }
    }
}

bool CDialogZwaveRemoter::takeStep(Kind kind, SceneStep& step) {
    if (kind == Kind::Delay) {
        step = {kDelayStep, static_cast<std::uint8_t>(m_delay->position())};
        return true;
    }
    const int id = selectedPlug();
    if (id == 0) {
        notice(hometext::kSelectPlug);
        return false;
    }
    if (kind == Kind::Key) {
        if (m_keyChoice->currentIndex() < 0) {
            notice(hometext::kSelectKey);
            return false;
        }
        step = {static_cast<std::uint8_t>(id),
                static_cast<std::uint8_t>(kEmitKeyValue + m_keyChoice->currentData().toInt())};
        return true;
    }
    const std::uint8_t type = m_home.table().record(id).type();
    const int value = type == kSwitchPlug   ? (m_on->isChecked() ? kPlugOn : kPlugOff)
                      : type == kDimmerPlug ? m_level->position()
                                            : 0;
    step = {static_cast<std::uint8_t>(id), static_cast<std::uint8_t>(value)};
    return true;
}

void CDialogZwaveRemoter::addStep(Kind kind) {
    if (m_draft.full()) {
        notice(hometext::kOverRange);
        return;
    }
    SceneStep step;
    if (takeStep(kind, step)) {
        m_draft.add(step);
        showDraft(selectedRow());
    }
}

void CDialogZwaveRemoter::resetStep(Kind kind) {
    if (m_draft.full()) {
        notice(hometext::kOverRange);
        return;
    }
    if (kind != Kind::Delay && selectedPlug() == 0) {
        notice(hometext::kSelectPlug);
        return;
    }
    const int row = selectedRow();
    if (row < 0) {
        notice(hometext::kSelectItem);
        return;
    }
    SceneStep step;
    if (takeStep(kind, step)) {
        m_draft.replace(row, step);
        showDraft(row);
    }
}

void CDialogZwaveRemoter::moveRow(int delta) {
    const int row = selectedRow();
    switch (m_draft.move(row, delta)) {
    case SceneDraft::Move::NoRow:
        notice(hometext::kSelectItemFirst);
        return;
    case SceneDraft::Move::AlreadyFirst:
        notice(hometext::kAlreadyFirst);
        return;
    case SceneDraft::Move::AlreadyLast:
        notice(hometext::kAlreadyLast);
        return;
    case SceneDraft::Move::Moved:
        break;
    }
    showDraft(row + delta); // the steps changed places, the Index texts stay
    m_steps->setFocus();
}

void CDialogZwaveRemoter::save() {
    // Without a processor nothing is stored, and the user is told so.
    if (!m_home.saveScene(m_scene, m_draft.scene())) {
        m_context.notice(text::kPleaseConnect.pick(m_context.language()));
        return;
    }
    notice(hometext::kSaveFinished);
}

} // namespace quilo
