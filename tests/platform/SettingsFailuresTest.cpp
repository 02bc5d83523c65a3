// The settings store when things go wrong around it: programs killed while
// they write, files and folders the user may not read or write, and writes
// the system refuses. Real files, real processes, real signals.

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <random>

#include <sys/resource.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/SettingsLock.h"
#include "platform/SettingsStore.h"
#include "tests/platform/StoreWriter.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/Unprivileged.h"

using namespace quillon;

namespace {

using std::chrono::milliseconds;

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool SetMode(const QString& path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

const QString kKey = QStringLiteral("Software\\Tarvex\\Common Files");

class StoreFailuresTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir().mkpath(configFolder));
    }

    SettingsStore Store()
    {
        return SettingsStore(file, [this](const SettingsProblem& p) { reported.append(p); });
    }

    // The store as another program left it: one value.
    QByteArray WriteFirstValue()
    {
        SettingsStore store = Store();
        EXPECT_TRUE(store.OpenKey(kKey, true)) << store.LastError().toStdString();
        EXPECT_TRUE(store.WriteString(QStringLiteral("Path"), QStringLiteral("/srv/tarvex"))) << store.LastError().toStdString();
        return ReadAll(file);
    }

    QStringList FolderEntries() const
    {
        return QDir(configFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QProcess* StartChild(const QStringList& arguments)
    {
        auto* process = new QProcess;
        children.emplace_back(process);
        process->setProcessChannelMode(QProcess::SeparateChannels);
        process->start(QCoreApplication::applicationFilePath(), arguments);
        return process;
    }

    QTemporaryDir folder;
    QString configFolder = folder.filePath(QStringLiteral("config/Tarvex"));
    QString file = configFolder + QStringLiteral("/registry.json");
    QList<SettingsProblem> reported;
    std::vector<std::unique_ptr<QProcess>> children;
};

TEST_F(StoreFailuresTest, ADeadHoldersLockIsFreeAtOnce)
{
    WriteFirstValue();
    QProcess* holder = StartChild({QString::fromLatin1(kHoldLockFlag), file});
    ASSERT_TRUE(holder->waitForReadyRead(60'000)) << holder->readAllStandardError().constData();
    ASSERT_EQ(holder->readLine().trimmed(), "held");

    // While it lives, it keeps writers out; a write that may not wait fails at once.
    SettingsFileLock probe(file);
    QString error;
    EXPECT_FALSE(probe.Acquire(milliseconds(0), &error));
    EXPECT_EQ(error, QStringLiteral("The settings file is locked by another program"));
    SettingsStore blocked = Store();
    blocked.SetLockWait(milliseconds(0));
    ASSERT_TRUE(blocked.OpenKey(kKey, false));
    EXPECT_FALSE(blocked.WriteString(QStringLiteral("Path"), QStringLiteral("/opt/tarvex")));

    // Killed, it holds nothing: the next write needs no wait at all.
    holder->kill();  // SIGKILL: no clean-up of its own
    ASSERT_TRUE(holder->waitForFinished(60'000));
    ASSERT_EQ(holder->exitStatus(), QProcess::CrashExit);
    EXPECT_TRUE(QFileInfo::exists(file + QStringLiteral(".lock"))) << "the dead holder's lock file is still there";
    SettingsStore store = Store();
    store.SetLockWait(milliseconds(0));
    ASSERT_TRUE(store.OpenKey(kKey, false));
    EXPECT_TRUE(store.WriteString(QStringLiteral("Path"), QStringLiteral("/opt/tarvex"))) << store.LastError().toStdString();
    EXPECT_TRUE(probe.Acquire(milliseconds(0), &error)) << error.toStdString();
    probe.Release();
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("registry.json")}) << "the lock file went with the write";
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(StoreFailuresTest, ALockFileAKilledWriterLeftEmptyKeepsNobodyOut)
{
    // A writer killed between making the lock file and anything after it
    // leaves an empty file: it holds no lock, so it makes nobody wait.
    WriteFirstValue();
    QFile left(file + QStringLiteral(".lock"));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.close();
    SettingsStore store = Store();
    store.SetLockWait(milliseconds(0));
    ASSERT_TRUE(store.OpenKey(kKey, false));
    EXPECT_TRUE(store.WriteString(QStringLiteral("Path"), QStringLiteral("/opt/tarvex"))) << store.LastError().toStdString();
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("registry.json")});
}

TEST_F(StoreFailuresTest, WritersKilledAtAnyPointLoseNothingAndKeepNobodyOut)
{
    // Each writer is killed after a chosen number of confirmed writes, which
    // puts the signal at some point inside the next one: creating the lock,
    // writing the new file, renaming it, letting go.
    constexpr int kRounds = 24;
    std::mt19937 random(15);
    std::uniform_int_distribution<int> confirmedBeforeKill(0, 6);
    std::vector<int> confirmed(kRounds, 0);
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        QProcess* writer = StartChild({QString::fromLatin1(kStoreWriterFlag), file, QStringLiteral("K%1_").arg(round),
                                       QStringLiteral("100000"), QString::fromLatin1(kReportFlag)});
        const int wanted = confirmedBeforeKill(random);
        if (wanted == 0) {
            ASSERT_TRUE(writer->waitForStarted(60'000));
        }
        while (confirmed[static_cast<std::size_t>(round)] < wanted) {
            if (!writer->canReadLine()) {
                ASSERT_TRUE(writer->waitForReadyRead(60'000)) << writer->readAllStandardError().constData();
            }
            while (writer->canReadLine() && writer->readLine().startsWith("wrote"))
                ++confirmed[static_cast<std::size_t>(round)];
        }
        writer->kill();
        ASSERT_TRUE(writer->waitForFinished(60'000));
        // Writes it reported between our last look and its death count too.
        for (const QByteArray& line : writer->readAllStandardOutput().split('\n'))
            confirmed[static_cast<std::size_t>(round)] += line.startsWith("wrote") ? 1 : 0;

        // The next writer gets in without waiting.
        SettingsStore next = Store();
        next.SetLockWait(milliseconds(0));
        ASSERT_TRUE(next.OpenKey(QString::fromLatin1(kRaceKey), true)) << next.LastError().toStdString();
        ASSERT_TRUE(next.WriteInteger(QStringLiteral("Next%1").arg(round), round)) << next.LastError().toStdString();
    }

    SettingsStore store = Store();
    ASSERT_TRUE(store.OpenKey(QString::fromLatin1(kRaceKey), false));
    int lost = 0;
    for (int round = 0; round < kRounds; ++round) {
        for (int i = 0; i < confirmed[static_cast<std::size_t>(round)]; ++i)
            lost += store.ReadInteger(QStringLiteral("K%1_%2").arg(round).arg(i)) == i ? 0 : 1;
        lost += store.ReadInteger(QStringLiteral("Next%1").arg(round)) == round ? 0 : 1;
    }
    EXPECT_EQ(lost, 0);
    EXPECT_TRUE(reported.isEmpty()) << "no write left a damaged file";
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("registry.json")})
        << "the next writers cleared what the killed ones left";
    QJsonParseError parse{};
    QJsonDocument::fromJson(ReadAll(file), &parse);
    EXPECT_EQ(parse.error, QJsonParseError::NoError);
}

TEST_F(StoreFailuresTest, AWriteTheSystemRefusesNamesTheReasonAndKeepsTheFile)
{
    // A file-size limit in a second program stands for a full disk: its
    // writes fail with the system's own error, as they would there.
    const QByteArray before = WriteFirstValue();
    QProcess writer;
    writer.setChildProcessModifier([] {
        const rlimit limit{16, 16};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);  // a failed write, not a killed program
    });
    writer.start(QCoreApplication::applicationFilePath(),
                 {QString::fromLatin1(kWriteOneFlag), file, QStringLiteral("Notes"), QStringLiteral("4000")});
    ASSERT_TRUE(writer.waitForFinished(60'000));
    const QString error = QString::fromLocal8Bit(writer.readAllStandardOutput()).trimmed();
    EXPECT_EQ(writer.exitCode(), 1) << error.toStdString();
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot write the settings file ") + QDir::toNativeSeparators(file)))
        << error.toStdString();
    EXPECT_TRUE(error.endsWith(qt_error_string(EFBIG))) << error.toStdString();
    EXPECT_EQ(ReadAll(file), before);
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(StoreFailuresTest, AnUnreadableFileIsReportedWithItsReasonAndLeftAlone)
{
    QUILLON_RUN_UNPRIVILEGED();
    const QByteArray before = WriteFirstValue();
    ASSERT_TRUE(SetMode(file, 0));
    const QString reason = qt_error_string(EACCES);

    SettingsStore store = Store();
    EXPECT_FALSE(store.KeyExists(QStringLiteral("Software")));
    EXPECT_TRUE(store.LastError().contains(reason)) << store.LastError().toStdString();
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].unreadable);
    EXPECT_TRUE(reported[0].keptAs.isEmpty());
    EXPECT_EQ(reported[0].reason, reason);
    EXPECT_EQ(reported[0].Text(),
              QStringLiteral("The settings file %1 cannot be read (%2). It has been left as it is; settings cannot "
                             "be read or saved until it can be read.")
                  .arg(QDir::toNativeSeparators(file), reason));
    // Neither a key nor a value is written over it.
    EXPECT_FALSE(store.OpenKey(QStringLiteral("Software\\Tarvex\\Freshline"), true));
    EXPECT_FALSE(store.OpenKey(kKey, false));
    EXPECT_FALSE(store.WriteString(QStringLiteral("Path"), QStringLiteral("/opt/tarvex")));
    EXPECT_EQ(store.Problems().size(), 1);

    // The next program meets it too and says why, but the user is told once a run.
    SettingsStore second = Store();
    EXPECT_EQ(second.SubKeyNames(QStringLiteral("Software")), std::nullopt);
    EXPECT_TRUE(second.LastError().contains(reason)) << second.LastError().toStdString();
    EXPECT_EQ(reported.size(), 1);

    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("registry.json")}) << "nothing kept aside or left over";
    ASSERT_TRUE(SetMode(file, 0600));
    EXPECT_EQ(ReadAll(file), before);
    SettingsStore readable = Store();
    ASSERT_TRUE(readable.OpenKey(kKey, false)) << readable.LastError().toStdString();
    EXPECT_EQ(readable.ReadString(QStringLiteral("Path")), QStringLiteral("/srv/tarvex"));

    // Unreadable again after being read: said again.
    ASSERT_TRUE(SetMode(file, 0));
    EXPECT_FALSE(Store().KeyExists(QStringLiteral("Software")));
    EXPECT_EQ(reported.size(), 2);
    ASSERT_TRUE(SetMode(file, 0600));
}

TEST_F(StoreFailuresTest, AFolderThatMayNotBeWrittenNamesTheReason)
{
    QUILLON_RUN_UNPRIVILEGED();
    const QByteArray before = WriteFirstValue();
    const QString reason = qt_error_string(EACCES);
    ASSERT_TRUE(SetMode(configFolder, 0555));

    SettingsStore store = Store();
    ASSERT_TRUE(store.OpenKey(kKey, false)) << "reading needs no write";
    EXPECT_EQ(store.ReadString(QStringLiteral("Path")), QStringLiteral("/srv/tarvex"));
    EXPECT_FALSE(store.WriteString(QStringLiteral("Path"), QStringLiteral("/opt/tarvex")));
    EXPECT_EQ(store.LastError(),
              QStringLiteral("Cannot lock the settings file %1: %2").arg(QDir::toNativeSeparators(file), reason));
    EXPECT_FALSE(store.OpenKey(QStringLiteral("Software\\Tarvex\\News"), true));
    EXPECT_TRUE(store.LastError().endsWith(reason)) << store.LastError().toStdString();
    EXPECT_EQ(ReadAll(file), before);
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("registry.json")});
    ASSERT_TRUE(SetMode(configFolder, 0755));

    // A store whose folder cannot be made names the folder and the reason.
    const QString locked = folder.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(locked));
    ASSERT_TRUE(SetMode(locked, 0555));
    SettingsStore elsewhere(locked + QStringLiteral("/config/registry.json"));
    EXPECT_FALSE(elsewhere.OpenKey(kKey, true));
    EXPECT_TRUE(elsewhere.LastError().startsWith(QStringLiteral("Cannot create the folder ")
                                                 + QDir::toNativeSeparators(locked + QStringLiteral("/config"))))
        << elsewhere.LastError().toStdString();
    EXPECT_TRUE(elsewhere.LastError().endsWith(reason)) << elsewhere.LastError().toStdString();
    ASSERT_TRUE(SetMode(locked, 0755));
}

}  // namespace
