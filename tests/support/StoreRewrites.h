#pragma once
// Counts how often a file is replaced, as the system reports it: every
// rename onto the file's name in its folder, seen through inotify. The
// settings store replaces its file whole on every write, so this counts the
// store's writes from outside, across every store object and process.
// The kernel queues the events as the renames happen: reading them after
// the writes needs no waiting. It merges an event with an identical one
// just before it, so the writes' other events are watched too, to stand
// between two renames.

#include <cstring>
#include <string>

#include <QFileInfo>
#include <QString>

#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace quillon::test {

class StoreRewrites {
public:
    // The file's folder must exist.
    explicit StoreRewrites(const QString& file)
        : name_(QFileInfo(file).fileName().toStdString()),
          fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (fd_ >= 0)
            watching_ = inotify_add_watch(fd_, QFileInfo(file).absolutePath().toLocal8Bit().constData(),
                                          IN_MOVED_TO | IN_MOVED_FROM | IN_CLOSE_WRITE) >= 0;
    }
    ~StoreRewrites()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    StoreRewrites(const StoreRewrites&) = delete;
    StoreRewrites& operator=(const StoreRewrites&) = delete;

    bool Watching() const { return watching_; }

    // Replacements since the last call (or since the start).
    int Take()
    {
        int count = 0;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got <= 0)
                return count;
            for (ssize_t at = 0; at < got;) {
                inotify_event event;
                std::memcpy(&event, buffer + at, sizeof event);
                const char* name = buffer + at + sizeof(inotify_event);
                if ((event.mask & IN_MOVED_TO) != 0 && event.len > 0 && name_ == name)
                    ++count;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
            }
        }
    }

private:
    std::string name_;
    int fd_ = -1;
    bool watching_ = false;
};

}  // namespace quillon::test
