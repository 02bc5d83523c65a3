#pragma once
// The lock that keeps two programs' writes to the settings store apart: an
// advisory lock (flock) on "<store file>.lock" beside the store. The system
// drops such a lock the moment its holder ends, however it ends, so a program
// killed in the middle of a write never keeps the others out; only a holder
// that is alive and stuck makes the next writer wait, and then only up to the
// wait it is given.
//
// The holder removes the lock file before it lets go, so the folder holds
// nothing but the store between writes. A waiter that then gets the lock on
// the removed file notices (the name no longer leads to the file it locked)
// and tries again on the file now under that name.

#include <chrono>

#include <QString>

namespace quillon {

class SettingsFileLock {
public:
    explicit SettingsFileLock(const QString& storeFile);
    ~SettingsFileLock();
    SettingsFileLock(const SettingsFileLock&) = delete;
    SettingsFileLock& operator=(const SettingsFileLock&) = delete;

    // Takes the lock, waiting up to `wait` while another program holds it.
    // False with *error naming the reason: the system's own for a lock file
    // that cannot be made or locked, or that another program kept it.
    bool Acquire(std::chrono::milliseconds wait, QString* error);
    void Release();
    bool IsHeld() const { return fd_ >= 0; }

    const QString& LockFilePath() const { return lockPath_; }

private:
    QString storeFile_;
    QString lockPath_;
    int fd_ = -1;
};

}  // namespace quillon
