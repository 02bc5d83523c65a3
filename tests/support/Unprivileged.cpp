#include "tests/support/Unprivileged.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

namespace quillon::test {

namespace {

constexpr char kChildVariable[] = "QUILLON_UNPRIVILEGED_CHILD";
// The child's first line, proof that it started as the plain user.
constexpr char kStartedMarker[] = "[unprivileged] running as uid ";

QString CurrentTestFilter()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return QString::fromUtf8(info->test_suite_name()) + QLatin1Char('.') + QString::fromUtf8(info->name());
}

// The command that starts a program as uid/gid 65534, before the program.
QStringList SwitchCommand()
{
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (!setpriv.isEmpty()) {
        return {setpriv, QStringLiteral("--reuid=%1").arg(kUnprivilegedId),
                QStringLiteral("--regid=%1").arg(kUnprivilegedId), QStringLiteral("--clear-groups"), QStringLiteral("--")};
    }
    const QString runuser = QStandardPaths::findExecutable(QStringLiteral("runuser"));
    if (!runuser.isEmpty())
        return {runuser, QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--")};
    return {};
}

bool GiveToUnprivileged(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    return ::chown(name.constData(), kUnprivilegedId, kUnprivilegedId) == 0 && ::chmod(name.constData(), 0700) == 0;
}

// The test executable where the plain user may start it: a hard link when the
// folder is on the same file system, a copy otherwise.
QString PlaceExecutable(const QString& folder)
{
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    const QString placed = folder + QStringLiteral("/") + QFileInfo(self).fileName();
    if (::link(QFile::encodeName(self).constData(), QFile::encodeName(placed).constData()) != 0
        && !QFile::copy(self, placed))
        return {};
    QFile::setPermissions(placed, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                      | QFile::ReadOther | QFile::ExeOther);
    return placed;
}

// Marks the running test skipped (GTEST_SKIP returns from a void function only).
void Skip(const std::string& reason)
{
    GTEST_SKIP() << reason;
}

}  // namespace

RunPlace RunUnprivileged()
{
    const bool child = qEnvironmentVariableIsSet(kChildVariable);
    if (::geteuid() != 0) {
        if (child) {
            std::printf("%s%d gid %d\n", kStartedMarker, static_cast<int>(::getuid()), static_cast<int>(::getgid()));
            std::fflush(stdout);
        }
        return RunPlace::Here;
    }
    if (child) {
        ADD_FAILURE() << "still root after switching to uid " << kUnprivilegedId;
        return RunPlace::Elsewhere;
    }

    const QStringList command = SwitchCommand();
    if (command.isEmpty()) {
        Skip("runs as root and finds neither setpriv nor runuser to run as uid " + std::to_string(kUnprivilegedId));
        return RunPlace::Elsewhere;
    }
    QTemporaryDir base;
    const QString root = base.path();
    const QString tmp = root + QStringLiteral("/tmp");
    const QString home = root + QStringLiteral("/home");
    const QString run = root + QStringLiteral("/run");
    const QString executable = base.isValid() ? PlaceExecutable(root) : QString();
    if (executable.isEmpty() || !QDir().mkpath(tmp) || !QDir().mkpath(home) || !QDir().mkpath(run)
        || !GiveToUnprivileged(tmp) || !GiveToUnprivileged(home) || !GiveToUnprivileged(run)
        || ::chmod(QFile::encodeName(root).constData(), 0755) != 0) {
        ADD_FAILURE() << "cannot prepare a folder for uid " << kUnprivilegedId << " under "
                      << QDir::tempPath().toStdString();
        return RunPlace::Elsewhere;
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChildVariable), QStringLiteral("1"));
    environment.insert(QStringLiteral("TMPDIR"), tmp);
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), run);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(tmp);
    QStringList arguments = command.mid(1);
    arguments << executable << QStringLiteral("--gtest_filter=") + CurrentTestFilter();
    process.start(command.front(), arguments);
    process.waitForFinished(-1);
    const QString output = QString::fromLocal8Bit(process.readAll());
    std::printf("%s", qPrintable(output));

    if (!output.contains(QLatin1String(kStartedMarker))) {
        Skip("runs as root and cannot run as uid " + std::to_string(kUnprivilegedId) + " here: "
             + (output.isEmpty() ? process.errorString() : output.trimmed()).toStdString());
        return RunPlace::Elsewhere;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        ADD_FAILURE() << "failed as uid " << kUnprivilegedId << " (output above)";
        return RunPlace::Elsewhere;
    }
    if (output.contains(QLatin1String("[  SKIPPED ]"))) {
        Skip("skipped as uid " + std::to_string(kUnprivilegedId) + " (reason above)");
        return RunPlace::Elsewhere;
    }
    if (!output.contains(QLatin1String("[  PASSED  ] 1 test")))
        ADD_FAILURE() << "ran no test as uid " << kUnprivilegedId << " (output above)";
    return RunPlace::Elsewhere;
}

}  // namespace quillon::test
