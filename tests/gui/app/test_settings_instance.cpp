// Settings values and the single running copy.
#include "app/AppSettings.h"
#include "app/CommandLine.h"
#include "app/HelpFile.h"
#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quilo;

TEST(AppSettingsValues, LanguageIsEnglishOnlyForOne) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("quilo.ini"));
    AppSettings s(ini);
    EXPECT_EQ(s.language(), 0); // default Chinese
    for (const auto& [stored, expected] : {std::pair{1, 1}, {0, 0}, {2, 0}, {-1, 0}}) {
        s.store().setValue(QStringLiteral("Settings/language"), stored);
        EXPECT_EQ(s.language(), expected) << "stored " << stored;
    }
    s.store().setValue(QStringLiteral("Settings/language"), QStringLiteral("English"));
    EXPECT_EQ(s.language(), 0);
}

TEST(AppSettingsValues, RecentFilesKeepTenMostRecentFirstWithoutDuplicates) {
    QTemporaryDir dir;
    AppSettings s(dir.filePath(QStringLiteral("quilo.ini")));
    for (int i = 0; i < 12; ++i) {
        s.addRecentFile(dir.filePath(QStringLiteral("f%1.quilo").arg(i)));
    }
    QStringList files = s.recentFiles();
    ASSERT_EQ(files.size(), 10);
    EXPECT_EQ(files.front(), dir.filePath(QStringLiteral("f11.quilo")));
    EXPECT_EQ(files.back(), dir.filePath(QStringLiteral("f2.quilo")));

    s.addRecentFile(dir.filePath(QStringLiteral("f5.quilo")));
    files = s.recentFiles();
    ASSERT_EQ(files.size(), 10);
    EXPECT_EQ(files.front(), dir.filePath(QStringLiteral("f5.quilo")));
    EXPECT_EQ(files.count(dir.filePath(QStringLiteral("f5.quilo"))), 1);

    // Kept across a restart.
    s.sync();
    AppSettings again(dir.filePath(QStringLiteral("quilo.ini")));
    EXPECT_EQ(again.recentFiles(), files);
}

TEST(SingleInstanceTest, SecondStartHandsItsFileToTheFirst) {
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    ASSERT_EQ(first.acquire({}), SingleInstance::Outcome::Primary);
    QSignalSpy spy(&first, &SingleInstance::activationRequested);

    SingleInstance second(dir.path());
    EXPECT_EQ(second.acquire(QStringLiteral("/music/m2 party.quilo")),
              SingleInstance::Outcome::HandedOver);
    ASSERT_TRUE(spy.wait(3000));
    EXPECT_EQ(spy.takeFirst().at(0).toString(), QStringLiteral("/music/m2 party.quilo"));

    // A start without a file only brings the first forward.
    SingleInstance third(dir.path());
    EXPECT_EQ(third.acquire({}), SingleInstance::Outcome::HandedOver);
    ASSERT_TRUE(spy.wait(3000));
    EXPECT_TRUE(spy.takeFirst().at(0).toString().isEmpty());
}

TEST(SingleInstanceTest, TheLockOutlivesNoOneAndASilentHolderIsReported) {
    QTemporaryDir dir;
    {
        SingleInstance first(dir.path());
        ASSERT_EQ(first.acquire({}), SingleInstance::Outcome::Primary);
    }
    // The first copy ended: the next start runs.
    SingleInstance next(dir.path());
    ASSERT_EQ(next.acquire({}), SingleInstance::Outcome::Primary);

    // A holder of the lock that does not answer on the socket.
    QLocalServer::removeServer(next.serverName());
    QDir(dir.path()).remove(QStringLiteral("PARVO V1.0"));
    SingleInstance blocked(dir.path());
    EXPECT_EQ(blocked.acquire({}), SingleInstance::Outcome::NoWindow);
}

TEST(CommandLineTest, EmulateAndModeFile) {
    CommandLine cl = parseCommandLine({QStringLiteral("quilo")});
    EXPECT_FALSE(cl.emulate);
    EXPECT_TRUE(cl.modeFile.isEmpty());

    cl = parseCommandLine({QStringLiteral("quilo"), QStringLiteral("--emulate")});
    EXPECT_TRUE(cl.emulate);
    EXPECT_TRUE(cl.emulatorFile.isEmpty());

    cl = parseCommandLine({QStringLiteral("quilo"), QStringLiteral("--emulate=/tmp/state.emu"),
                           QStringLiteral("/tmp/m1.quilo")});
    EXPECT_TRUE(cl.emulate);
    EXPECT_EQ(cl.emulatorFile, QStringLiteral("/tmp/state.emu"));
    EXPECT_EQ(cl.modeFile, QStringLiteral("/tmp/m1.quilo"));

    cl = parseCommandLine({QStringLiteral("quilo"), QStringLiteral("--emulated")});
    EXPECT_EQ(cl.error, QStringLiteral("--emulated"));

    // The trace's file is the next word, not the file to open.
    cl = parseCommandLine({QStringLiteral("quilo"), QStringLiteral("--trace"),
                           QStringLiteral("/tmp/a.trace"), QStringLiteral("/tmp/m1.quilo")});
    EXPECT_EQ(cl.traceFile, QStringLiteral("/tmp/a.trace"));
    EXPECT_EQ(cl.modeFile, QStringLiteral("/tmp/m1.quilo"));
    cl = parseCommandLine({QStringLiteral("quilo"), QStringLiteral("--trace=/tmp/b.trace")});
    EXPECT_EQ(cl.traceFile, QStringLiteral("/tmp/b.trace"));
    cl = parseCommandLine({QStringLiteral("quilo"), QStringLiteral("--trace")});
    EXPECT_EQ(cl.error, QStringLiteral("--trace"));
}

TEST(HelpFileTest, WrittenWhenMissingAndRecreatedAfterDeletion) {
    QTemporaryDir dir;
    HelpFile help(dir.filePath(QStringLiteral("QUILO")));
    EXPECT_FALSE(QFile::exists(help.path()));
    ASSERT_TRUE(help.ensureExists());
    QFile f(help.path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray doc = f.readAll();
    EXPECT_EQ(doc, HelpFile::embedded());
    // The smart-plug window opens the document at this context.
    EXPECT_TRUE(doc.contains("id=\"context-100000000\""));
    f.close();

    ASSERT_TRUE(QFile::remove(help.path()));
    ASSERT_TRUE(help.ensureExists());
    EXPECT_TRUE(QFile::exists(help.path()));

    // A folder that cannot be made is no error to the program; the help just is not there.
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    HelpFile nowhere(dir.filePath(QStringLiteral("file/QUILO")));
    EXPECT_FALSE(nowhere.ensureExists());
    EXPECT_FALSE(nowhere.open(HelpFile::kSmartPlugContext));
}
