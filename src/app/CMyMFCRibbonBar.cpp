#include "app/CMyMFCRibbonBar.h"

#include "app/AppIcons.h"
#include "app/RibbonPanel.h"
#include "app/WirelessMicText.h"
#include "ui/DialogLook.h"
#include "ui/Texts.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QSlider>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quilo {

using namespace ribbon;

namespace {

constexpr int kPanelMic = 0;
constexpr int kPanelEffect = 1;
constexpr int kPanelReverb = 2;
constexpr int kPanelEcho = 3;
constexpr int kPanelMusic = 4;
constexpr int kPanelPitch = 5;
constexpr int kPanelLoad = 6;
constexpr int kPanelSave = 7;
constexpr int kPanelMic1 = 8;
constexpr int kPanelMic2 = 9;

// Panel titles; the pitch panel's title is written with the pitch by the view.
constexpr BiText kPanelTitles[10] = {{"话筒音量", "Mic  Vol"},
                                     {"效果总音量", "Effect Vol"},
                                     {"混响音量", "Reverb Vol"},
                                     {"回声音量", "Echo Vol"},
                                     {"音乐音量", "Music Vol"},
                                     {"音乐变调:", "Music Pitch:"},
                                     {"调用", "Load"},
                                     {"保存", "Save"},
                                     {"话筒1状态", "Mic 1 Status"},
                                     {"话筒2状态", "Mic 2 Status"}};
constexpr BiText kCategoryNames[2] = {{"输入控制", "Input"}, {"输出调节", "Output"}};
constexpr BiText kLoadMode{"载入模式", "LoadMode"};
constexpr BiText kLoadFile{"载入文件", "LoadFile"};
constexpr BiText kSaveMode{"保存模式", "SaveMode"};
constexpr BiText kSaveFile{"保存文件", "SaveFile"};
constexpr BiText kRecentTitle{"最近的文档(Last documents)", "Last documents(最近的文档)"};
constexpr BiText kPresetsMenu{"音箱组合预设", "Speaker presets"};

// The buttons at the right of the tab row, left to right.
constexpr UserCommand kTabButtons[12] = {
    UserCommand::Undo,        UserCommand::Redo,     UserCommand::Features,
    UserCommand::SubDecay,    UserCommand::MusicAgc, UserCommand::MachineReset,
    UserCommand::SmartPlug,   UserCommand::Remote,   UserCommand::PhoneRemote,
    UserCommand::InputSource, UserCommand::Language, UserCommand::About,
};

QLabel* valueLabel(const QString& text, int id, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setProperty("ctrlId", id);
    l->setFont(cjkFont(12));
    return l;
}

QSlider* masterSlider(int id, int minimum, int maximum, QWidget* parent) {
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setProperty("ctrlId", id);
    s->setRange(minimum, maximum);
    s->setFixedWidth(84);
    s->setFocusPolicy(Qt::ClickFocus);
    return s;
}

} // namespace

CMyMFCRibbonBar::CMyMFCRibbonBar(CommandActions& commands, QWidget* parent)
    : QWidget(parent), m_commands(commands) {
    setObjectName(QStringLiteral("ribbon"));
    setFont(cjkFont(12));
    setAutoFillBackground(false);

    m_appButton = new QToolButton(this);
    m_appButton->setIcon(appIcon(AppIcon::Application));
    m_appButton->setIconSize(QSize(26, 26));
    m_appButton->setFixedSize(40, 30);
    m_appButton->setAutoRaise(true);
    m_appButton->setPopupMode(QToolButton::InstantPopup);
    m_appMenu = new QMenu(this);
    m_appButton->setMenu(m_appMenu);
    m_presetMenu = new QMenu(this);

    m_tabs = new QTabBar(this);
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    m_tabs->addTab(kCategoryNames[0].pick(0));
    m_tabs->addTab(kCategoryNames[1].pick(0));
    m_tabs->setFont(cjkFont(13));

    auto* top = new QHBoxLayout;
    top->setContentsMargins(2, 2, 6, 0);
    top->setSpacing(4);
    top->addWidget(m_appButton);
    top->addWidget(m_tabs, 0, Qt::AlignBottom);
    top->addStretch(1);
    for (std::size_t i = 0; i < m_tabButtons.size(); ++i) {
        m_tabButtons[i] = tabRowButton(kTabButtons[i]);
        top->addWidget(m_tabButtons[i]);
    }
    m_tabButtons.back()->setToolButtonStyle(Qt::ToolButtonIconOnly);
    setUndoRedo(false, false);
    setMusicAgcShown(false); // until a processor of protocol 9 or later is read back

    m_stack = new QStackedWidget(this);
    m_stack->addWidget(buildCategory(kInput));
    m_stack->addWidget(buildCategory(kOutput));
    m_stack->setFixedHeight(108);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 3);
    layout->setSpacing(0);
    layout->addLayout(top);
    layout->addWidget(m_stack);

    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        m_stack->setCurrentIndex(index);
        emit categoryChanged(index);
    });

    setPresetNames({});
    relabel(kChinese);

    // No wheel and no context menu anywhere on the ribbon.
    for (QWidget* w : findChildren<QWidget*>()) {
        watch(w);
    }
    watch(this);
}

void CMyMFCRibbonBar::watch(QWidget* w) {
    w->installEventFilter(this);
    w->setContextMenuPolicy(Qt::PreventContextMenu);
}

bool CMyMFCRibbonBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel || event->type() == QEvent::ContextMenu) {
        if (qobject_cast<QMenu*>(watched) == nullptr) {
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CMyMFCRibbonBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(214, 228, 245));
    g.setColorAt(0.22, QColor(227, 238, 250));
    g.setColorAt(1, QColor(200, 218, 240));
    p.fillRect(rect(), g);
    p.setPen(ribbonlook::border());
    p.drawLine(0, height() - 1, width(), height() - 1);
}

QToolButton* CMyMFCRibbonBar::tabRowButton(UserCommand command) {
    QAction* action = m_commands.action(command);
    auto* b = new QToolButton(this);
    b->setProperty("ctrlId", m_commands.controlId(command));
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setIconSize(QSize(18, 18));
    b->setFont(cjkFont(12));
    b->setIcon(action->icon());
    // The button shows the action's text; a tip only where the action has its own.
    auto show = [b, action] {
        b->setText(action->text());
        b->setToolTip(action->toolTip() == action->iconText() ? QString() : action->toolTip());
    };
    show();
    connect(action, &QAction::changed, b, show);
    connect(b, &QToolButton::clicked, action, &QAction::trigger);
    return b;
}

QMenu* CMyMFCRibbonBar::buildModeMenu(UserCommand command) {
    auto* menu = new QMenu(this);
    for (int m = 0; m < m_commands.count(command); ++m) {
        menu->addAction(m_commands.action(command, m));
    }
    return menu;
}

QWidget* CMyMFCRibbonBar::buildCategory(int c) {
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(4, 2, 4, 0);
    row->setSpacing(3);
    Category& cat = m_cat[c];

    for (int i = 0; i < 10; ++i) {
        cat.panels[i] = new RibbonPanel(kPanelTitles[i].pick(0), page);
        row->addWidget(cat.panels[i]);
    }
    row->addStretch(1);

    // The five volumes: label, slider 0-99 and (all but the effect) a mute box.
    const int volumePanels[5] = {kPanelMic, kPanelEffect, kPanelReverb, kPanelEcho, kPanelMusic};
    const int muteOf[5] = {0, -1, 1, 2, 3};
    for (int v = 0; v < 5; ++v) {
        RibbonPanel* panel = cat.panels[volumePanels[v]];
        cat.labels[v] = valueLabel(QString(), kLabelIds[v][c], panel);
        cat.sliders[v] = masterSlider(kSliderIds[v][c], 0, 99, panel);
        panel->content()->addWidget(cat.labels[v]);
        panel->content()->addWidget(cat.sliders[v]);
        if (muteOf[v] >= 0) {
            auto* box = new QCheckBox(panel);
            const int id = kMuteIds[muteOf[v]][c];
            box->setProperty("ctrlId", id);
            box->setFocusPolicy(Qt::NoFocus);
            connect(box, &QCheckBox::clicked, this,
                    [this, m = muteOf[v]] { m_commands.trigger(UserCommand::Mute, m); });
            cat.mutes[muteOf[v]] = box;
            panel->content()->addWidget(box);
        }
        panel->content()->addStretch(1);
    }

    // Pitch and noise gate.
    {
        RibbonPanel* panel = cat.panels[kPanelPitch];
        const int gate = static_cast<int>(Slider::Gate);
        const int pitch = static_cast<int>(Slider::Pitch);
        cat.labels[gate] = valueLabel(QString(), kLabelIds[gate][c], panel);
        cat.sliders[gate] = masterSlider(kSliderIds[gate][c], 0, 100, panel);
        cat.sliders[pitch] = masterSlider(kSliderIds[pitch][c], -5, 5, panel);
        cat.sliders[pitch]->setTickPosition(QSlider::TicksBelow);
        cat.sliders[pitch]->setTickInterval(1);
        panel->content()->addWidget(cat.labels[gate]);
        panel->content()->addWidget(cat.sliders[gate]);
        panel->content()->addWidget(cat.sliders[pitch]);
        panel->content()->addStretch(1);
    }
    for (int s = 0; s < kSliderCount; ++s) {
        connect(cat.sliders[s], &QSlider::valueChanged, this,
                [this, s](int value) { emit volumeMoved(static_cast<Slider>(s), value); });
    }

    // Stored modes and files.
    auto bigButton = [this](int id, AppIcon icon, QWidget* parent) {
        auto* b = new QToolButton(parent);
        b->setProperty("ctrlId", id);
        b->setIcon(appIcon(icon));
        b->setIconSize(QSize(28, 28));
        b->setAutoRaise(true);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setFont(cjkFont(12));
        return b;
    };
    {
        RibbonPanel* load = cat.panels[kPanelLoad];
        auto* h = new QHBoxLayout;
        h->setSpacing(2);
        cat.loadMode = bigButton(kLoadModeIds[c], AppIcon::LoadMode, load);
        m_loadModeMenu[c] = buildModeMenu(UserCommand::LoadMode);
        cat.loadMode->setMenu(m_loadModeMenu[c]);
        cat.loadMode->setPopupMode(QToolButton::InstantPopup);
        cat.loadFile = bigButton(kLoadFileIds[c], AppIcon::OpenFile, load);
        cat.loadFile->setMenu(m_presetMenu);
        cat.loadFile->setPopupMode(QToolButton::MenuButtonPopup);
        connect(cat.loadFile, &QToolButton::clicked, m_commands.action(UserCommand::Open),
                &QAction::trigger);
        h->addWidget(cat.loadMode);
        h->addWidget(cat.loadFile);
        load->content()->addLayout(h);
        load->content()->addStretch(1);

        RibbonPanel* save = cat.panels[kPanelSave];
        auto* hs = new QHBoxLayout;
        hs->setSpacing(2);
        cat.saveMode = bigButton(kSaveModeIds[c], AppIcon::SaveMode, save);
        m_saveModeMenu[c] = buildModeMenu(UserCommand::SaveMode);
        cat.saveMode->setMenu(m_saveModeMenu[c]);
        cat.saveMode->setPopupMode(QToolButton::InstantPopup);
        cat.saveFile = bigButton(kSaveFileIds[c], AppIcon::SaveFile, save);
        connect(cat.saveFile, &QToolButton::clicked, m_commands.action(UserCommand::Save),
                &QAction::trigger);
        hs->addWidget(cat.saveMode);
        hs->addWidget(cat.saveFile);
        save->content()->addLayout(hs);
        save->content()->addStretch(1);
    }

    // Wireless microphone status lines. Their width is fixed from the widest line either
    // language can show, so the panels never move as the lines change.
    const QFontMetrics statusMetrics(cjkFont(11));
    int statusWidth = 0;
    for (int language : {kChinese, kEnglish}) {
        for (const std::string& line : everyWirelessMicLine(language)) {
            statusWidth = std::max(statusWidth,
                                   statusMetrics.horizontalAdvance(QString::fromStdString(line)));
        }
    }
    for (int mic = 0; mic < 2; ++mic) {
        RibbonPanel* panel = cat.panels[kPanelMic1 + mic];
        for (int line = 0; line < 3; ++line) {
            QLabel* l = valueLabel(QString(), kStatusLineIds[c][mic][line], panel);
            l->setFont(cjkFont(11));
            l->setFixedWidth(statusWidth + 2);
            cat.status[mic][line] = l;
            panel->content()->addWidget(l);
        }
        cat.status[mic][0]->setText(QStringLiteral("RF:■■■■■ AF:■■■■■"));
        cat.status[mic][1]->setText(QStringLiteral("频率:660.00MHz"));
        cat.status[mic][2]->setText(QStringLiteral("电   量:■■■■■"));
        panel->content()->addStretch(1);
    }
    return page;
}

void CMyMFCRibbonBar::setUndoRedo(bool canUndo, bool canRedo) {
    m_tabButtons[0]->setEnabled(canUndo);
    m_tabButtons[1]->setEnabled(canRedo);
}

int CMyMFCRibbonBar::activeCategory() const {
    return m_tabs->currentIndex();
}

void CMyMFCRibbonBar::setMusicAgcShown(bool shown) {
    for (std::size_t i = 0; i < m_tabButtons.size(); ++i) {
        if (kTabButtons[i] == UserCommand::MusicAgc) {
            m_tabButtons[i]->setVisible(shown);
        }
    }
}

void CMyMFCRibbonBar::setActiveCategory(int category) {
    m_tabs->setCurrentIndex(category);
}

QSlider* CMyMFCRibbonBar::slider(Slider which, int category) const {
    return m_cat[category].sliders[static_cast<int>(which)];
}

int CMyMFCRibbonBar::sliderValue(Slider which, int category) const {
    return slider(which, category)->value();
}

void CMyMFCRibbonBar::setSliderPair(Slider which, int value) {
    for (int c = 0; c < 2; ++c) {
        QSlider* s = slider(which, c);
        const QSignalBlocker block(s);
        s->setValue(value);
    }
}

void CMyMFCRibbonBar::setSliderRange(Slider which, int minimum, int maximum) {
    for (int c = 0; c < 2; ++c) {
        QSlider* s = slider(which, c);
        const QSignalBlocker block(s);
        s->setRange(minimum, maximum);
    }
}

void CMyMFCRibbonBar::setLabelPair(Slider which, const QString& text) {
    const int i = static_cast<int>(which); // the gate's label is the last one
    if (i >= kLabelCount) {
        return;
    }
    for (int c = 0; c < 2; ++c) {
        m_cat[c].labels[i]->setText(text);
    }
}

QString CMyMFCRibbonBar::labelText(Slider which, int category) const {
    const int i = static_cast<int>(which);
    return i < kLabelCount ? m_cat[category].labels[i]->text() : QString();
}

void CMyMFCRibbonBar::setMutePair(Mute which, bool checked) {
    for (int c = 0; c < 2; ++c) {
        m_cat[c].mutes[static_cast<int>(which)]->setChecked(checked);
    }
}

bool CMyMFCRibbonBar::muteChecked(Mute which, int category) const {
    return m_cat[category].mutes[static_cast<int>(which)]->isChecked();
}

void CMyMFCRibbonBar::setPitchTitle(const QString& title) {
    for (int c = 0; c < 2; ++c) {
        m_cat[c].panels[kPanelPitch]->setTitle(title);
    }
}

void CMyMFCRibbonBar::setStatusLine(int mic, int line, const QString& text) {
    for (int c = 0; c < 2; ++c) {
        QLabel* l = m_cat[c].status[mic][line];
        if (l->text() != text) {
            l->setText(text);
        }
    }
}

void CMyMFCRibbonBar::setModeCheck(int mode) {
    for (UserCommand menu : {UserCommand::LoadMode, UserCommand::SaveMode}) {
        for (int m = 0; m < m_commands.count(menu); ++m) {
            m_commands.action(menu, m)->setChecked(m == mode);
        }
    }
}

void CMyMFCRibbonBar::setRecentFiles(const QStringList& files) {
    m_recentFiles = files;
    rebuildApplicationMenu();
}

void CMyMFCRibbonBar::setPresetNames(const QStringList& names) {
    m_presetMenu->clear();
    for (int i = 0; i < names.size() && i < m_commands.count(UserCommand::Preset); ++i) {
        QAction* a = m_commands.action(UserCommand::Preset, i);
        a->setText(names[i]);
        a->setChecked(i == m_presetChecked);
        m_presetMenu->addAction(a);
    }
    m_presetMenu->setEnabled(!names.isEmpty());
}

void CMyMFCRibbonBar::setPresetCheck(int entry) {
    m_presetChecked = entry;
    for (int i = 0; i < m_commands.count(UserCommand::Preset); ++i) {
        m_commands.action(UserCommand::Preset, i)->setChecked(i == entry);
    }
}

void CMyMFCRibbonBar::rebuildApplicationMenu() {
    m_appMenu->clear(); // deletes the entries it made itself, keeps the commands
    m_appMenu->addAction(m_commands.action(UserCommand::Open));
    m_appMenu->addAction(m_commands.action(UserCommand::Save));
    m_presetMenu->setTitle(kPresetsMenu.pick(m_language));
    m_appMenu->addMenu(m_presetMenu);
    for (UserCommand c :
         {UserCommand::CompareFile, UserCommand::RecordTrace, UserCommand::HomeAutomation}) {
        m_appMenu->addAction(m_commands.action(c));
    }
    m_appMenu->addSeparator();
    QAction* title = m_appMenu->addAction(kRecentTitle.pick(m_language));
    title->setEnabled(false);
    for (int i = 0; i < m_recentFiles.size(); ++i) {
        const QString path = m_recentFiles[i];
        const QString shown =
            QStringLiteral("&%1 %2").arg((i + 1) % 10).arg(QFileInfo(path).fileName());
        QAction* a =
            m_appMenu->addAction(shown, this, [this, path] { emit recentFileChosen(path); });
        a->setToolTip(path);
        a->setStatusTip(path);
    }
    m_appMenu->addSeparator();
    m_appMenu->addAction(m_commands.action(UserCommand::Exit));
}

void CMyMFCRibbonBar::relabel(int language) {
    m_language = language;
    for (int c = 0; c < 2; ++c) {
        m_tabs->setTabText(c, kCategoryNames[c].pick(language));
        Category& cat = m_cat[c];
        for (int i = 0; i < 10; ++i) {
            if (i != kPanelPitch) {
                cat.panels[i]->setTitle(kPanelTitles[i].pick(language));
            }
        }
        for (QCheckBox* box : cat.mutes) {
            box->setText(text::kMute.pick(language));
        }
        cat.loadMode->setText(kLoadMode.pick(language));
        cat.loadFile->setText(kLoadFile.pick(language));
        cat.saveMode->setText(kSaveMode.pick(language));
        cat.saveFile->setText(kSaveFile.pick(language));
    }
    // The tab-row buttons and menu entries follow their commands' texts.
    rebuildApplicationMenu();
}

QWidget* CMyMFCRibbonBar::control(int ctrlId) const {
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w->property("ctrlId").toInt() == ctrlId) {
            return w;
        }
    }
    return nullptr;
}

QString CMyMFCRibbonBar::categoryName(int category) const {
    return m_tabs->tabText(category);
}

QString CMyMFCRibbonBar::panelTitle(int category, int panel) const {
    return m_cat[category].panels[panel]->title();
}

} // namespace quilo
