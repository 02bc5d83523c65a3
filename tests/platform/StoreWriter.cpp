#include "tests/platform/StoreWriter.h"

#include <cstdio>

#include "platform/SettingsLock.h"
#include "platform/SettingsStore.h"

namespace {

int WriteMany(const QStringList& arguments)
{
    if (arguments.size() < 3)
        return 2;
    const QString& prefix = arguments[1];
    const int count = arguments[2].toInt();
    const bool report = arguments.size() > 3 && arguments[3] == QLatin1String(kReportFlag);
    for (int i = 0; i < count; ++i) {
        quillon::SettingsStore store(arguments[0]);
        if (!store.OpenKey(QString::fromLatin1(kRaceKey), true)
            || !store.WriteInteger(prefix + QString::number(i), i)) {
            std::fprintf(stderr, "write %d failed: %s\n", i, qPrintable(store.LastError()));
            return 1;
        }
        store.CloseKey();
        if (report) {
            std::printf("wrote %d\n", i);
            std::fflush(stdout);
        }
    }
    return 0;
}

int HoldLock(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return 2;
    quillon::SettingsFileLock lock(arguments[0]);
    QString error;
    if (!lock.Acquire(std::chrono::milliseconds(0), &error)) {
        std::printf("%s\n", qPrintable(error));
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}

int WriteOne(const QStringList& arguments)
{
    if (arguments.size() != 3)
        return 2;
    quillon::SettingsStore store(arguments[0]);
    if (!store.OpenKey(QString::fromLatin1(kRaceKey), true)
        || !store.WriteString(arguments[1], QString(arguments[2].toInt(), QLatin1Char('x')))) {
        std::printf("%s\n", qPrintable(store.LastError()));
        return 1;
    }
    return 0;
}

}  // namespace

std::optional<int> RunStoreChild(const QStringList& arguments)
{
    if (arguments.size() < 2)
        return std::nullopt;
    const QString& flag = arguments[1];
    const QStringList rest = arguments.mid(2);
    if (flag == QLatin1String(kStoreWriterFlag))
        return WriteMany(rest);
    if (flag == QLatin1String(kHoldLockFlag))
        return HoldLock(rest);
    if (flag == QLatin1String(kWriteOneFlag))
        return WriteOne(rest);
    return std::nullopt;
}
