#include "platform/SettingsLock.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

namespace quillon {

namespace {

// True when the name still leads to the very file the descriptor has open.
bool NameLeadsTo(const QByteArray& path, int fd)
{
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0 && held.st_dev == named.st_dev
           && held.st_ino == named.st_ino;
}

}  // namespace

SettingsFileLock::SettingsFileLock(const QString& storeFile)
    : storeFile_(storeFile), lockPath_(storeFile + QStringLiteral(".lock"))
{
}

SettingsFileLock::~SettingsFileLock() { Release(); }

bool SettingsFileLock::Acquire(std::chrono::milliseconds wait, QString* error)
{
    if (IsHeld())
        return true;
    const QByteArray path = QFile::encodeName(lockPath_);
    const QDeadlineTimer deadline(wait);
    auto fail = [&](const QString& text) {
        if (error != nullptr)
            *error = text;
        return false;
    };
    int removedUnderUs = 0;
    for (;;) {
        // Read-only is enough to lock, and opens a lock file another user left.
        const int fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            const int reason = errno;
            if (reason == EINTR)
                continue;
            return fail(QStringLiteral("Cannot lock the settings file %1: %2")
                            .arg(QDir::toNativeSeparators(storeFile_), qt_error_string(reason)));
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (NameLeadsTo(path, fd)) {
                fd_ = fd;
                return true;
            }
            // The holder before us removed this file as it let go: the lock
            // is free, so lock the file now under the name (each time takes
            // another program's whole write, so a few tries are plenty).
            ::close(fd);
            if (++removedUnderUs > 1000)
                return fail(QStringLiteral("The settings file is locked by another program"));
            continue;
        }
        const int reason = errno;
        ::close(fd);
        if (reason != EWOULDBLOCK && reason != EINTR) {
            return fail(QStringLiteral("Cannot lock the settings file %1: %2")
                            .arg(QDir::toNativeSeparators(storeFile_), qt_error_string(reason)));
        }
        if (deadline.hasExpired())
            return fail(QStringLiteral("The settings file is locked by another program"));
        // A write is over in a few milliseconds: look again soon.
        QThread::msleep(2);
    }
}

void SettingsFileLock::Release()
{
    if (!IsHeld())
        return;
    // Remove the name while still holding the lock, so that nobody can lock
    // this file after us and believe it the current one.
    ::unlink(QFile::encodeName(lockPath_).constData());
    ::close(fd_);
    fd_ = -1;
}

}  // namespace quillon
