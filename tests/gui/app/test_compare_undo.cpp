// The whole program on the emulated processor: undo and redo from the keyboard and the
// ribbon, what clears the history, and "Compare with file…" from the application menu.
// With QUILO_SHOTS=DIR the compare window and the equaliser section after an import are
// written there (compare_zh/en.png, eq_import_zh/en.png).
#include "AppHarness.h"
#include "app/SettingsCompareDialog.h"
#include "device/RecordingSink.h"
#include "gui/ShotFile.h"
#include "model/ModeFile.h"
#include "pages/ChannelEqSection.h"
#include "pages/EqFileTransfer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

const char* langName(int lang) {
    return lang == kEnglish ? "en" : "zh";
}

// The words of the last SetParam for module/param the processor received.
std::vector<std::uint32_t> lastWords(AppHarness& h, int module, int param) {
    return h.emulator([&](Emulator& e) {
        auto it = e.state().params.find(ParamKey{std::uint8_t(module), std::uint8_t(param)});
        return it == e.state().params.end() ? std::vector<std::uint32_t>{} : it->second;
    });
}

} // namespace

TEST(UndoInTheProgram, KeysAndRibbonTakeBackASliderDragUntilTheImageIsReplaced) {
    AppHarness h;
    h.start();
    ASSERT_TRUE(h.app->connected());
    UndoController& undo = h.view().undo();
    QWidget* frame = h.app->mainFrame();
    QSlider* mic = h.ribbon().slider(ribbon::Slider::Mic, ribbon::kInput);
    const std::int32_t start = h.image().params.micVolume;
    const auto sent = [&] { return lastWords(h, 1, 14); };
    h.drain();
    const auto sentAtStart = sent();
    const std::int32_t musicMute = h.image().params.musicMute;

    // A drag of the master slider: press, moves, release is one step.
    ASSERT_LT(start, 90);
    const QPoint from(mic->width() - 3, mic->height() / 2);
    QTest::mousePress(mic, Qt::LeftButton, {}, from);
    for (int x : {4, 2, 1}) {
        QTest::mouseMove(mic, from + QPoint(x, 0));
    }
    QTest::mouseRelease(mic, Qt::LeftButton, {}, from + QPoint(1, 0));
    h.drain();
    const std::int32_t dragged = h.image().params.micVolume;
    ASSERT_NE(dragged, start);
    const auto sentAfterDrag = sent();
    pump(250); // the ribbon's buttons follow
    auto* undoButton = qobject_cast<QToolButton*>(h.ribbon().control(ribbon::kUndo));
    auto* redoButton = qobject_cast<QToolButton*>(h.ribbon().control(ribbon::kRedo));
    ASSERT_NE(undoButton, nullptr);
    EXPECT_TRUE(undoButton->isEnabled());
    EXPECT_FALSE(redoButton->isEnabled());

    QTest::keyClick(frame, Qt::Key_Z, Qt::ControlModifier);
    h.drain();
    EXPECT_EQ(h.image().params.micVolume, start);
    EXPECT_EQ(sent(), sentAtStart);
    EXPECT_EQ(mic->value(), start); // the ribbon shows it again
    EXPECT_FALSE(undo.canUndo());
    EXPECT_EQ(h.image().params.musicMute, musicMute); // Ctrl+Z is no mute key
    pump(250);
    ASSERT_TRUE(redoButton->isEnabled());
    QTest::mouseClick(redoButton, Qt::LeftButton);
    h.drain();
    EXPECT_EQ(h.image().params.micVolume, dragged);
    EXPECT_EQ(sent(), sentAfterDrag);
    EXPECT_TRUE(undo.canUndo());

    // Recalling a stored mode reads everything back: nothing is left to take back.
    h.view().commands().trigger(UserCommand::LoadMode, 1);
    ASSERT_TRUE(
        waitUntil([&] { return h.image().mainThreadOwns() && !h.app->syncDialog(); }, 20000));
    pump(50);
    EXPECT_FALSE(undo.canUndo());
    EXPECT_FALSE(undo.canRedo());
}

TEST(UndoInTheProgram, CompareWithFileListsWhatLoadingWouldChangeAndLoadsOnRequest) {
    AppHarness h(true, kEnglish);
    h.start();
    // The file: the current setting with a volume, an output level and a band changed.
    const QString path = h.dir.filePath(QStringLiteral("tuned.quilo"));
    {
        auto file = std::make_unique<DeviceImage>();
        applyModeContent(captureModeContent(h.image()), *file);
        file->params.musicVolume = h.image().params.musicVolume == 30 ? 31 : 30;
        file->params.outLevel[3] = 77;
        file->eqBands[bandAddress(5, 0) + 1] += 20; // CH 1 band 1: +2 dB
        ASSERT_TRUE(writeModeFile(path.toStdString(), *file).ok());
    }
    QStringList rows;
    bool loadEnabled = false;
    h.prompter->openNames.push_back(path);
    QTimer::singleShot(100, [&] {
        auto* dialog = qobject_cast<SettingsCompareDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (int r = 0; r < dialog->table().rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 4; ++c) {
                cells << dialog->table().item(r, c)->text();
            }
            rows << cells.join(QStringLiteral(" | "));
        }
        loadEnabled = dialog->loadButton().isEnabled();
        dialog->loadButton().click();
    });
    h.view().commands().trigger(UserCommand::CompareFile);
    const std::string shown = rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(rows.size(), 3) << shown;
    EXPECT_EQ(rows.filter(QStringLiteral("Output | CH 1 EQ band 1 | ")).size(), 1) << shown;
    EXPECT_EQ(rows.filter(QStringLiteral("| CH 4 level | ")).size(), 1) << shown;
    EXPECT_EQ(rows.filter(QStringLiteral("| 77%")).size(), 1) << shown;
    EXPECT_EQ(rows.filter(QStringLiteral("Main controls | Music volume | ")).size(), 1) << shown;
    EXPECT_TRUE(loadEnabled);

    // "Load this file" loads it like any file: pushed to the processor.
    ASSERT_TRUE(
        waitUntil([&] { return h.image().mainThreadOwns() && !h.app->syncDialog(); }, 20000));
    h.drain();
    EXPECT_EQ(h.image().params.outLevel[3], 77);

    // A file that is no mode file compares nothing and says why.
    const QString bad = h.dir.filePath(QStringLiteral("bad.quilo"));
    QFile f(bad);
    f.open(QIODevice::WriteOnly);
    f.write("\x09\0\0\0", 4);
    f.close();
    h.prompter->shown.clear();
    h.prompter->openNames.push_back(bad);
    h.view().commands().trigger(UserCommand::CompareFile);
    ASSERT_NE(h.prompter->last(QStringLiteral("message")), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(CompareAndImportShots, BothLanguages) {
    for (int lang : {kChinese, kEnglish}) {
        Language language;
        language.set(lang);
        auto image = std::make_unique<DeviceImage>();
        image->resetToDefaults();
        auto file = std::make_unique<DeviceImage>();
        applyModeContent(captureModeContent(*image), *file);
        file->params.musicVolume = 40;
        file->params.outDelayMs[1] = 3.5f;
        file->params.micMute = 1;
        file->eqBands[bandAddress(4, 2) + 1] = 90; // music band 3: -6 dB
        file->params.outLevel[0] = 80;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("karaoke-night.quilo"));
        ASSERT_TRUE(writeModeFile(path.toStdString(), *file).ok());
        ModeFileResult result;
        auto differences = differencesWithFile(*image, path, result);
        ASSERT_TRUE(differences);
        EXPECT_EQ(differences->size(), 5u);
        SettingsCompareDialog dialog(*differences, path, true, language);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_EQ(dialog.windowTitle(), lang == kEnglish ? QStringLiteral("Compare with file")
                                                         : QStringLiteral("与文件比较"));
        EXPECT_EQ(dialog.loadButton().text(), lang == kEnglish ? QStringLiteral("Load this file")
                                                               : QStringLiteral("载入此文件"));
        // Rows named as the pages label them, values with units and on/off words, the
        // code name in the tooltip.
        struct Row {
            const char* code;
            const char* name[2]; // Chinese, English
            const char* after[2];
        };
        const Row expected[] = {
            {"micMute", {"话筒静音", "Mic mute"}, {"开", "On"}},
            {"outDelayMs[1]", {"通道2延时", "CH 2 delay"}, {"3.5 ms", "3.5 ms"}},
            {"band[4,2]", {"音乐均衡第3段", "Music EQ band 3"}, {nullptr, nullptr}},
            {"musicVolume", {"音乐音量", "Music volume"}, {"40%", "40%"}},
        };
        const QTableWidget& t = dialog.table();
        for (const Row& r : expected) {
            const auto found = t.findItems(QString::fromUtf8(r.name[lang]), Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << r.code;
            EXPECT_EQ(found[0]->toolTip(), QString::fromLatin1(r.code));
            if (r.after[lang] != nullptr) {
                EXPECT_EQ(t.item(found[0]->row(), 3)->text(), QString::fromUtf8(r.after[lang]))
                    << r.code;
            }
        }
        // Every cell is shown whole.
        for (int c = 0; c < 3; ++c) {
            EXPECT_GE(t.columnWidth(c), t.horizontalHeader()->sectionSizeHint(c));
        }
        shoot(&dialog, QStringLiteral("compare_%1").arg(langName(lang)));

        // The output page's equaliser section after a filter list was imported into CH 1.
        QWidget page;
        page.setProperty("templateId", 385);
        RecordingSink sink;
        EqCopySource copySource;
        auto* section =
            new ChannelEqSection(*image, sink, EqSectionConfig::output({}), copySource, &page);
        section->setGeometry(8, 8, 940, 360);
        page.resize(956, 376);
        QTemporaryDir textDir;
        const QString text = textDir.filePath(QStringLiteral("room.txt"));
        QFile list(text);
        list.open(QIODevice::WriteOnly);
        list.write("Filter 1: ON PK Fc 63 Hz Gain -5.0 dB Q 4.00\n"
                   "Filter 2: ON PK Fc 180 Hz Gain 3.5 dB Q 1.20\n"
                   "Filter 3: ON PK Fc 900 Hz Gain -2.5 dB Q 2.50\n"
                   "Filter 4: ON HSC Fc 6000 Hz Gain 2.0 dB Q 0.71\n");
        list.close();
        std::vector<int> ids{kFirstOutputEqId};
        ASSERT_TRUE(section->fileTransfer().importFile(section, text, ids));
        section->reload();
        language.applyTable(&page, 385);
        section->applyLanguage(lang);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
        EXPECT_EQ(section->importButton().text(),
                  lang == kEnglish ? QStringLiteral("Import…") : QStringLiteral("导入…"));
        EXPECT_GE(section->importButton().width(), section->importButton().sizeHint().width());
        EXPECT_GE(section->exportButton().width(), section->exportButton().sizeHint().width());
        shoot(&page, QStringLiteral("eq_import_%1").arg(langName(lang)));
    }
}
