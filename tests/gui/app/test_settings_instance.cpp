// Settings values and the single running copy.
#include "app/AppSettings.h"
#include "app/CommandLine.h"
#include "app/SingleInstance.h"
#include "ui/HelpFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

using namespace quilo;

TEST(AppSettingsValues, LanguageIsEnglishOnlyForOne) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("quilo.ini"));
    AppSettings s(ini);
    EXPECT_EQ(s.language(), 0); // default Chinese
    for (const auto& [stored, expected] : {std::pair{1, 1}, {0, 0}, {2, 0}, {-1, 0}}) {
        s.setStoredValue(QStringLiteral("Settings/language"), stored);
        EXPECT_EQ(s.language(), expected) << "stored " << stored;
    }
    s.setStoredValue(QStringLiteral("Settings/language"), QStringLiteral("English"));
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

TEST(AppSettingsValues, WrittenOffTheUserInterfaceThreadAndTheLastChangeWins) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("quilo.ini"));
    std::mutex mutex;
    std::vector<std::thread::id> openedOn;
    {
        AppSettings s([&] {
            const std::lock_guard lock(mutex);
            openedOn.push_back(std::this_thread::get_id());
            return std::make_unique<QSettings>(ini, QSettings::IniFormat);
        });
        // A burst of changes, as a fast user makes them: each may supersede the last.
        for (int i = 0; i < 200; ++i) {
            s.setLanguage(i % 2);
            s.addRecentFile(dir.filePath(QStringLiteral("f%1.quilo").arg(i % 12)));
        }
        s.setLanguage(1);
    } // the destructor writes what is still waiting
    AppSettings again(ini);
    EXPECT_EQ(again.language(), 1);
    EXPECT_EQ(again.recentFiles().value(0),
              dir.filePath(QStringLiteral("f%1.quilo").arg(199 % 12)));
    EXPECT_EQ(again.recentFiles().size(), 10);
    const std::lock_guard lock(mutex);
    ASSERT_EQ(openedOn.size(), 2u); // read here once, written elsewhere
    EXPECT_EQ(openedOn[0], std::this_thread::get_id());
    EXPECT_NE(openedOn[1], std::this_thread::get_id());
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

TEST(SingleInstanceTest, MessagesInPiecesAreTakenAndOthersAreCutOff) {
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    ASSERT_EQ(first.acquire({}), SingleInstance::Outcome::Primary);
    QSignalSpy spy(&first, &SingleInstance::activationRequested);
    const auto send = [&](const std::vector<QByteArray>& pieces) {
        QLocalSocket socket;
        socket.connectToServer(first.serverName());
        EXPECT_TRUE(socket.waitForConnected(3000));
        for (const QByteArray& piece : pieces) {
            socket.write(piece);
            socket.waitForBytesWritten(3000);
            QElapsedTimer clock;
            clock.start();
            while (clock.elapsed() < 50) {
                QCoreApplication::processEvents();
            }
        }
        // A sender the first copy cut off sees the connection end by itself.
        const bool cutOff =
            socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(3000);
        socket.abort();
        return cutOff;
    };
    EXPECT_TRUE(send({"RAI", "SE\n/music/a", " b.quilo\n"}));
    ASSERT_TRUE(spy.count() == 1 || spy.wait(3000));
    EXPECT_EQ(spy.takeFirst().at(0).toString(), QStringLiteral("/music/a b.quilo"));
    // No end in sight, or not the message at all: never buffered, never taken.
    EXPECT_TRUE(send({"RAISE\n" + QByteArray(64 * 1024, 'x')}));
    EXPECT_TRUE(send({"HELLO\n/etc/passwd\n"}));
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 200) {
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(spy.count(), 0);
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
