#include "tests/platform/StoreWriter.h"

#include <cstdio>

#include "platform/SettingsStore.h"

int RunStoreWriter(const QStringList& arguments)
{
    if (arguments.size() != 3)
        return 2;
    const QString& prefix = arguments[1];
    const int count = arguments[2].toInt();
    for (int i = 0; i < count; ++i) {
        quillon::SettingsStore store(arguments[0]);
        if (!store.OpenKey(QString::fromLatin1(kRaceKey), true)
            || !store.WriteInteger(prefix + QString::number(i), i)) {
            std::fprintf(stderr, "write %d failed: %s\n", i, qPrintable(store.LastError()));
            return 1;
        }
        store.CloseKey();
    }
    return 0;
}
