// Language tables: the lookup rules and how a table labels a window.
#include "ui/LanguageTable.h"
#include "ui/Texts.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

using namespace quilo;

namespace {

LanguageTable tableOf(const char* ini) {
    LanguageTable t;
    t.loadFromBytes(QByteArray(ini));
    return t;
}

} // namespace

TEST(LanguageTableLookup, ReadsOnlyTheStringSectionAndSkipsComments) {
    const LanguageTable t = tableOf("IDD1_1=outside any section\r\n"
                                    "[Other]\r\n"
                                    "IDD1_2=wrong section\r\n"
                                    "[String]\r\n"
                                    "// IDD1_3=commented out\r\n"
                                    "IDD346_1005=Threshold\r\n"
                                    "IDD335_title=Machine Set\n"
                                    "IDD385_1054=Phase 180°\n"
                                    "  IDD512_1191 =  Bluetooth  \n"
                                    "IDD513_2=\"  spaced  \"\n"
                                    "IDD346_1005=second entry loses\n");
    EXPECT_EQ(t.text(346, 1005), QStringLiteral("Threshold"));
    EXPECT_EQ(t.title(335), QStringLiteral("Machine Set"));
    EXPECT_EQ(t.text(385, 1054), QString::fromUtf8("Phase 180°"));
    EXPECT_EQ(t.text(512, 1191), QStringLiteral("Bluetooth"));
    EXPECT_EQ(t.text(513, 2), QStringLiteral("  spaced  "));
    EXPECT_TRUE(t.text(1, 1).isEmpty());
    EXPECT_TRUE(t.text(1, 2).isEmpty());
    EXPECT_TRUE(t.text(1, 3).isEmpty());
    // Keys compare without letter case, as the INI lookups do.
    EXPECT_EQ(t.lookup(QStringLiteral("idd335_TITLE")), QStringLiteral("Machine Set"));
}

TEST(LanguageTableLookup, TrimsExactlyWhatQtCountsAsWhiteSpace) {
    // The reader works on UTF-8 bytes; around a text it drops every character
    // QString::trimmed() drops, and no other.
    int spaces = 0;
    for (char16_t u = 1; u < 0xD800; ++u) {
        const QString c(QChar{u});
        if (u == u'\n' || u == u'"') {
            continue; // ends the line; quotes the text
        }
        const QString text = c + QStringLiteral("x") + c;
        const LanguageTable t = tableOf(("[String]\nIDD1_1=" + text.toUtf8()).constData());
        ASSERT_EQ(t.text(1, 1), text.trimmed()) << "U+" << std::hex << int(u);
        spaces += c.at(0).isSpace() ? 1 : 0;
    }
    EXPECT_EQ(spaces, 24); // the sweep met every kind: controls, NEL, no-break and wide spaces
}

TEST(LanguageTableApply, SetsTitleAndControlTextsButLeavesOthers) {
    const LanguageTable t = tableOf("[String]\n"
                                    "IDD900_title=Window\n"
                                    "IDD900_1=Button\n"
                                    "IDD900_2=\n"
                                    "IDD900_3=Group\n"
                                    "IDD900_4=Deep label\n"
                                    "IDD901_5=Nested\n"
                                    "IDD900_5=not for the nested window\n");
    QWidget window;
    window.setWindowTitle(QStringLiteral("template title"));
    auto* b1 = new QPushButton(QStringLiteral("old 1"), &window);
    b1->setProperty("ctrlId", 1);
    auto* l2 = new QLabel(QStringLiteral("old 2"), &window);
    l2->setProperty("ctrlId", 2);
    auto* g3 = new QGroupBox(QStringLiteral("old 3"), &window);
    g3->setProperty("ctrlId", 3);
    auto* deep = new QLabel(QStringLiteral("old 4"), g3);
    deep->setProperty("ctrlId", 4);
    auto* nested = new QWidget(&window);
    nested->setProperty("templateId", 901);
    auto* inNested = new QLabel(QStringLiteral("old 5"), nested);
    inNested->setProperty("ctrlId", 5);
    auto* noId = new QLabel(QStringLiteral("no id"), &window);

    t.applyTable(&window, 900);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Window"));
    EXPECT_EQ(b1->text(), QStringLiteral("Button"));
    EXPECT_EQ(l2->text(), QStringLiteral("old 2")); // empty entry: unchanged
    EXPECT_EQ(g3->title(), QStringLiteral("Group"));
    EXPECT_EQ(deep->text(), QStringLiteral("Deep label"));
    EXPECT_EQ(inNested->text(), QStringLiteral("old 5")); // the nested window labels itself
    EXPECT_EQ(noId->text(), QStringLiteral("no id"));

    t.applyTable(nested, 901);
    EXPECT_EQ(inNested->text(), QStringLiteral("Nested"));

    // A template without entries keeps every text.
    t.applyTable(&window, 902);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Window"));
}

TEST(LanguageTableEmbedded, BothTablesLoadWithTheChoiceBoxCancel) {
    LanguageTable zh;
    LanguageTable en;
    ASSERT_TRUE(zh.load(kChinese));
    ASSERT_TRUE(en.load(kEnglish));
    EXPECT_EQ(zh.text(513, 2), QString::fromUtf8("取消"));
    EXPECT_EQ(en.text(513, 2), QStringLiteral("Cancel"));
}
