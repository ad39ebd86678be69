#include "smarthome/gui/CDialogHomeTheater.h"

#include "smarthome/SmartHome.h"
#include "smarthome/gui/CDialogZwaveRemoter.h"
#include "smarthome/gui/CDlgZwaveEdit.h"
#include "smarthome/gui/CDlgZwaveLight.h"
#include "smarthome/gui/CDlgZwaveList.h"
#include "smarthome/gui/CDlgZwaveSwitch.h"
#include "smarthome/gui/CRemoteLearnDlg.h"
#include "smarthome/gui/PlugOperation.h"
#include "smarthome/gui/PlugPageControls.h"
#include "smarthome/gui/SmartHomeArt.h"
#include "smarthome/gui/SmartHomeTexts.h"
#include "ui/DialogLook.h"
#include "ui/HelpFile.h"
#include "ui/PageContext.h"
#include "ui/SyncProgress.h"
#include "ui/SyncProgressDialog.h"
#include "ui/Texts.h"
#include "widgets/CGdipButton.h"
#include "widgets/CTabWnd.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilo {

namespace {

const QColor kWindowBackground{240, 240, 240};
const QColor kActiveTab{0, 0, 255};

} // namespace

CDialogHomeTheater::CDialogHomeTheater(PageContext& context, SmartHome& home, QWidget* parent)
    : ToolWindow(parent), m_context(context), m_noPolling(context.device().polling(), true),
      m_home(home) {
    setProperty("templateId", kTemplateId);
    setWindowTitle(QStringLiteral("智能插座"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kWindowBackground);
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(cjkFont(13));

    m_operation = std::make_unique<PlugOperation>(context, home, this);
    m_progress = std::make_unique<SyncProgress>(context.languageSource(), context.prompter(),
                                                SyncProgressDialog::kTimeoutMs);
    m_progress->setWindow(this);

    // Scene buttons: power on and off shown, the other four kept hidden.
    auto* top = new QGridLayout;
    const struct {
        int button;
        int label;
        bool on;
        int scene;
        const char* text;
    } scenes[] = {{kPowerOn, kPowerOnLabel, true, kPowerOnScene, "开机情景"},
                  {kPowerOff, kPowerOffLabel, false, kPowerOffScene, "关机情景"}};
    int column = 0;
    for (const auto& s : scenes) {
        auto* button = tagControl(new CGdipButton(this), s.button);
        button->setImages(sceneFace(s.on));
        button->setFixedSize(64, 64);
        auto* label = tagControl(new QLabel(QString::fromUtf8(s.text), this), s.label);
        label->setAlignment(Qt::AlignCenter);
        top->addWidget(button, 0, column, Qt::AlignCenter);
        top->addWidget(label, 1, column, Qt::AlignCenter);
        ++column;
        const int scene = s.scene;
        const BiText running = s.on ? hometext::kPowerOnRunning : hometext::kPowerOffRunning;
        connect(button, &QAbstractButton::clicked, this,
                [this, scene, running] { runScene(scene, running.pick(m_context.language())); });
    }
    for (int scene = 0; scene < 4; ++scene) {
        auto* hidden = tagControl(new QPushButton(this), kScene0 + scene);
        hidden->hide();
        connect(hidden, &QPushButton::clicked, this, [this, scene] {
            runScene(scene, hometext::kLoadingScene.pick(m_context.language()));
        });
    }
    auto* removeHidden =
        tagControl(new QPushButton(QStringLiteral("删除设备"), this), kRemoveHidden);
    auto* addHidden = tagControl(new QPushButton(QStringLiteral("添加设备"), this), kAddHidden);
    removeHidden->hide();
    addHidden->hide();
    connect(removeHidden, &QPushButton::clicked, this, [this] {
        if (!m_context.connected()) {
            m_context.notice(text::kPleaseConnect.pick(m_context.language()));
            return;
        }
        m_home.table().setAddAfterRemove(false);
        m_operation->start(hometext::kRemovePlug.pick(m_context.language()),
                           PlugOperation::kExclusion, 0);
    });
    connect(addHidden, &QPushButton::clicked, this, [this] {
        if (!m_context.connected()) {
            m_context.notice(text::kPleaseConnect.pick(m_context.language()));
            return;
        }
        openEdit(0);
    });

    auto* resetButton = tagControl(new QPushButton(QStringLiteral("复位插座"), this), kReset);
    auto* help = tagControl(new QPushButton(QStringLiteral("查看帮助"), this), kHelp);
    auto* side = new QVBoxLayout;
    side->addStretch();
    side->addWidget(resetButton);
    side->addWidget(help);
    auto* header = new QHBoxLayout;
    header->addLayout(top);
    header->addStretch();
    header->addLayout(side);

    auto* tabRow = new QHBoxLayout;
    const struct {
        int id;
        const char* text;
    } tabs[] = {{kPlugListTab, "插座列表"}, {kSceneTab, "情景编辑"}, {kLearnTab, "遥控学习"}};
    for (int i = 0; i < 3; ++i) {
        m_tabButtons[i] =
            tagControl(new QPushButton(QString::fromUtf8(tabs[i].text), this), tabs[i].id);
        m_tabButtons[i]->setFlat(true);
        tabRow->addWidget(m_tabButtons[i]);
        connect(m_tabButtons[i], &QPushButton::clicked, this, [this, i] { showTab(i); });
    }
    tabRow->addStretch();

    m_tabs = tagControl(new CTabWnd(this), kPages);
    m_list = new CDlgZwaveList(context, home, *m_operation, m_tabs);
    m_scenes = new CDialogZwaveRemoter(context, home, m_tabs);
    m_learn = new CRemoteLearnDlg(context, home, *m_operation, m_tabs);
    m_tabs->addPage(m_list);
    m_tabs->addPage(m_scenes);
    m_tabs->addPage(m_learn);
    fitPages();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 12);
    layout->addLayout(header);
    layout->addLayout(tabRow);
    layout->addWidget(m_tabs, 1);
    resize(sizeHint().expandedTo(QSize(760, 560)));

    connect(resetButton, &QPushButton::clicked, this, &CDialogHomeTheater::reset);
    connect(help, &QPushButton::clicked, this, &CDialogHomeTheater::openHelp);
    connect(m_list, &CDlgZwaveList::switchRequested, this, &CDialogHomeTheater::openSwitch);
    connect(m_list, &CDlgZwaveList::dimmerRequested, this, &CDialogHomeTheater::openDimmer);
    connect(m_list, &CDlgZwaveList::editRequested, this, &CDialogHomeTheater::openEdit);
    connect(m_scenes, &CDialogZwaveRemoter::runSceneRequested, this, &CDialogHomeTheater::runScene);
    connect(m_operation.get(), &PlugOperation::plugsChanged, this,
            &CDialogHomeTheater::refreshPages);
    connect(&context.device(), &DeviceAccess::zwaveEvent, this, &CDialogHomeTheater::onEvent);
    connect(&context.device(), &DeviceAccess::smartHomeNotice, this, &CDialogHomeTheater::onNotice);

    showTab(0);
    refreshPages();
    m_syncTimer.setSingleShot(true);
    connect(&m_syncTimer, &QTimer::timeout, this, &CDialogHomeTheater::firstSync);
    m_syncTimer.start(kSyncDelayMs);
}

CDialogHomeTheater::~CDialogHomeTheater() {
    delete m_switch.data();
    delete m_dimmer.data();
    delete m_edit.data();
    m_operation.reset();
    m_progress.reset();
}

CDlgZwaveSwitch* CDialogHomeTheater::switchDialog() const {
    return m_switch.data();
}

CDlgZwaveLight* CDialogHomeTheater::dimmerDialog() const {
    return m_dimmer.data();
}

CDlgZwaveEdit* CDialogHomeTheater::editDialog() const {
    return m_edit.data();
}

void CDialogHomeTheater::applyLanguage(int language) {
    (void)language;
    m_context.applyTable(m_list, CDlgZwaveList::kTemplateId);
    m_context.applyTable(m_scenes, CDialogZwaveRemoter::kTemplateId);
    m_context.applyTable(m_learn, CRemoteLearnDlg::kTemplateId);
    m_scenes->applyLanguage();
    m_learn->applyLanguage();
    if (m_switch) {
        m_switch->applyLanguage();
    }
    if (m_dimmer) {
        m_dimmer->applyLanguage();
    }
    if (m_edit) {
        m_edit->applyLanguage();
    }
    if (CWaitDlg* wait = m_operation->waitDialog()) {
        m_context.applyTable(wait, CWaitDlg::kTemplateId);
    }
    fitPages();
}

void CDialogHomeTheater::fitPages() {
    // The page area lays its pages out by hand: it needs room for the largest.
    QSize room;
    for (QWidget* page : {static_cast<QWidget*>(m_list), static_cast<QWidget*>(m_scenes),
                          static_cast<QWidget*>(m_learn)}) {
        room = room.expandedTo(page->minimumSizeHint());
    }
    m_tabs->setMinimumSize(room);
}

void CDialogHomeTheater::refreshPages() {
    m_list->refreshPlugList();
    m_scenes->refreshPlugChoice();
    m_scenes->refreshSceneNames();
    m_scenes->refreshSteps();
    m_learn->refreshPlugChoice();
}

void CDialogHomeTheater::showTab(int index) {
    m_tabs->selectPage(index);
    for (int i = 0; i < 3; ++i) {
        QPalette pal = m_tabButtons[i]->palette();
        pal.setColor(QPalette::ButtonText, i == index ? kActiveTab : QColor(Qt::black));
        m_tabButtons[i]->setPalette(pal);
    }
}

void CDialogHomeTheater::firstSync() {
    if (m_context.connected() && !m_home.table().plugsSynced() && m_home.syncPlugsAsync()) {
        m_progress->show(hometext::kSyncPlugs.pick(m_context.language()));
    }
}

void CDialogHomeTheater::runScene(int scene, const QString& text) {
    if (!m_context.connected()) {
        m_context.notice(text::kPleaseConnect.pick(m_context.language()));
        return;
    }
    // A scene may pause longer than the dialog's time-out: it stays until the scene ends.
    if (m_home.runSceneAsync(scene)) {
        m_progress->show(text, false);
    }
}

void CDialogHomeTheater::reset() {
    // Without a processor nothing at all happens.
    if (m_context.connected() && m_home.resetNetworkAsync()) {
        m_progress->show(hometext::kResetting.pick(m_context.language()));
    }
}

void CDialogHomeTheater::openHelp() {
    HelpFile help;
    help.ensureExists();
    help.open(HelpFile::kSmartPlugContext);
}

void CDialogHomeTheater::onEvent(const ZwaveEvent& event) {
    if (event.function == 0x04) {
        m_learn->plugReport(event.high(), event.low());
    } else {
        m_operation->handleEvent(event);
    }
}

void CDialogHomeTheater::onNotice(WorkerNotice notice) {
    if (notice == WorkerNotice::SceneStarted) {
        return;
    }
    m_progress->close();
    refreshPages();
}

void CDialogHomeTheater::centre(QWidget* dialog) {
    QWidget* over = parentWidget() != nullptr ? parentWidget() : this;
    dialog->adjustSize();
    const QPoint centre = over->mapToGlobal(over->rect().center());
    dialog->move(centre - QPoint(dialog->width() / 2, dialog->height() / 2));
}

void CDialogHomeTheater::openSwitch(int id) {
    delete m_dimmer.data();
    const bool fresh = !m_switch;
    if (fresh) {
        m_switch = new CDlgZwaveSwitch(m_context, *m_operation, this);
        m_switch->setWindowFlag(Qt::Window);
    }
    m_switch->setPlug(id, QString::fromStdU16String(m_home.table().record(id).name()));
    if (fresh) {
        centre(m_switch);
    }
    m_switch->show();
    m_switch->raise();
}

void CDialogHomeTheater::openDimmer(int id) {
    delete m_switch.data();
    const bool fresh = !m_dimmer;
    if (fresh) {
        m_dimmer = new CDlgZwaveLight(m_context, *m_operation, this);
    }
    m_dimmer->setPlug(id, QString::fromStdU16String(m_home.table().record(id).name()),
                      m_home.table().lastValue(id));
    if (fresh) {
        centre(m_dimmer);
    }
    m_dimmer->show();
    m_dimmer->raise();
}

void CDialogHomeTheater::openEdit(int id) {
    delete m_edit.data();
    m_edit = new CDlgZwaveEdit(m_context, m_home, *m_operation, id, this);
    connect(m_edit, &CDlgZwaveEdit::saved, this, &CDialogHomeTheater::refreshPages);
    centre(m_edit);
    m_edit->show();
    m_edit->raise();
}

void CDialogHomeTheater::closeEvent(QCloseEvent* event) {
    delete m_switch.data();
    delete m_dimmer.data();
    delete m_edit.data();
    ToolWindow::closeEvent(event);
}

void CDialogHomeTheater::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        openHelp();
        return;
    }
    ToolWindow::keyPressEvent(event);
}

} // namespace quilo
