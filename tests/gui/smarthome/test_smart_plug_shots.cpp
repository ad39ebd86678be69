// The smart-plug window, its pages and dialogs in both languages: every control
// with a table entry shows that entry after a language switch, in either
// direction. With QUILO_SHOTS=DIR each window is also written there as
// <window>_<zh|en>.png to be looked at.
#include "SmartHomeHarness.h"
#include "smarthome/gui/CDialogZwaveRemoter.h"
#include "smarthome/gui/CDlgZwaveEdit.h"
#include "smarthome/gui/CDlgZwaveLight.h"
#include "smarthome/gui/CDlgZwaveSwitch.h"
#include "smarthome/gui/CRemoteLearnDlg.h"
#include "ui/LanguageTable.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

void shoot(QWidget* w, const QString& name, int lang) {
    const QString dir = qEnvironmentVariable("QUILO_SHOTS");
    if (dir.isEmpty()) {
        return;
    }
    QDir().mkpath(dir);
    const QString suffix = lang == kEnglish ? QStringLiteral("_en") : QStringLiteral("_zh");
    w->grab().save(QDir(dir).filePath(name + suffix + QStringLiteral(".png")));
}

QString shownText(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        return b->text();
    }
    if (auto* l = qobject_cast<QLabel*>(w)) {
        return l->text();
    }
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
        return g->title();
    }
    return {};
}

// Controls of `templateId` below `root` (not in nested templates) whose text is
// not their table entry, as "id: shown != entry".
QStringList untranslated(QWidget* root, int templateId, const LanguageTable& table) {
    QStringList bad;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        QWidget* owner = w->parentWidget();
        while (owner != nullptr && owner != root && !owner->property("templateId").isValid()) {
            owner = owner->parentWidget();
        }
        if (owner != root || !w->property("ctrlId").isValid()) {
            continue;
        }
        const QString entry = table.text(templateId, w->property("ctrlId").toInt());
        if (!entry.isEmpty() && shownText(w) != entry) {
            bad << QStringLiteral("%1: %2 != %3")
                       .arg(w->property("ctrlId").toInt())
                       .arg(shownText(w), entry);
        }
    }
    return bad;
}

} // namespace

TEST(SmartPlugShots, EveryWindowFollowsTheLanguageBothWays) {
    SmartHomeHarness s({PlugKind::Switch, PlugKind::Dimmer, PlugKind::Infrared});
    CDialogHomeTheater& w = s.open();
    w.resize(w.minimumSizeHint().expandedTo(QSize(760, 560)));
    Scene scene{};
    scene[0] = {2, kPlugOn};
    scene[1] = {kDelayStep, 3};
    scene[2] = {3, 50};
    scene[3] = {4, kEmitKeyValue};
    s.home().table().setScene(0, scene);
    s.window->openEdit(0);
    s.window->openDimmer(3);
    s.window->openSwitch(2); // closes the dimmer
    ASSERT_EQ(w.dimmerDialog(), nullptr);

    // English first, then Chinese again: both directions replace every text.
    for (int lang : {kEnglish, kChinese}) {
        s.h.language.set(lang);
        s.h.language.applyTable(&w, CDialogHomeTheater::kTemplateId);
        w.applyLanguage(lang);
        const LanguageTable& table = s.h.language.table();
        const struct {
            QWidget* root;
            int templateId;
        } parts[] = {{&w, 479},
                     {&w.plugList(), 481},
                     {&w.sceneEditor(), 482},
                     {&w.learnPage(), 516},
                     {w.editDialog(), 480},
                     {w.switchDialog(), 485}};
        for (const auto& p : parts) {
            EXPECT_TRUE(untranslated(p.root, p.templateId, table).isEmpty())
                << "template " << p.templateId << ": "
                << untranslated(p.root, p.templateId, table)
                       .join(QStringLiteral("; "))
                       .toStdString();
        }
        EXPECT_EQ(w.windowTitle(),
                  lang == kEnglish ? QStringLiteral("Smart plug") : QStringLiteral("智能插座"));
        EXPECT_TRUE(w.switchDialog()->windowTitle().startsWith(
            lang == kEnglish ? QStringLiteral("Switch: ") : QStringLiteral("开关控制: ")));

        w.showTab(0);
        pump(30);
        shoot(&w, QStringLiteral("smartplug_list"), lang);
        w.showTab(1);
        pump(30);
        ASSERT_EQ(w.sceneEditor().steps()->topLevelItemCount(), 4);
        EXPECT_EQ(w.sceneEditor().steps()->topLevelItem(1)->text(2),
                  lang == kEnglish ? QStringLiteral("3s") : QStringLiteral("3秒"));
        shoot(&w, QStringLiteral("scene_editor"), lang);
        w.showTab(2);
        auto* plugChoice = w.learnPage().findChild<QComboBox*>();
        plugChoice->setCurrentIndex(2);
        w.learnPage().refreshKeyList();
        pump(30);
        ASSERT_EQ(w.learnPage().keys()->topLevelItemCount(), kInfraredKeyCount);
        shoot(&w, QStringLiteral("plug_learn"), lang);
        shoot(w.editDialog(), QStringLiteral("plug_edit"), lang);
        shoot(w.switchDialog(), QStringLiteral("plug_switch"), lang);

        s.window->openDimmer(3);
        CDlgZwaveLight* dimmer = w.dimmerDialog();
        ASSERT_NE(dimmer, nullptr);
        pump(30);
        EXPECT_TRUE(untranslated(dimmer, 484, table).isEmpty())
            << untranslated(dimmer, 484, table).join(QStringLiteral("; ")).toStdString();
        shoot(dimmer, QStringLiteral("plug_dimmer"), lang);
        s.window->openSwitch(2);

        // A plug command nobody answers: the wait dialog.
        s.setFaults([](EmulatorFaults& f) { f.zwave.noSendCallback = true; });
        w.operation().start(QStringLiteral("设备开启操作"), PlugOperation::kPlugCommand, 0, 2,
                            kPlugOnSwitch);
        ASSERT_TRUE(waitUntil([&] { return s.wait() != nullptr; }, 2000));
        pump(30);
        EXPECT_TRUE(untranslated(s.wait(), 486, table).isEmpty());
        shoot(s.wait(), QStringLiteral("plug_wait"), lang);
        s.wait()->reject();
        s.setFaults([](EmulatorFaults& f) { f.zwave.noSendCallback = false; });
        pump(20);
    }
}
