// One libFuzzer target: the entry named by QUILLON_FUZZ_ENTRY_NAME.

#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>

#include "fuzz/Entries.h"

namespace {

quillon::fuzz::Entry entry = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** argv)
{
    // Qt's parsers ask the application for its name now and then.
    static int appArgc = 1;
    static char* appArgv[] = {(*argv)[0], nullptr};
    static QCoreApplication app(appArgc, appArgv);
    for (const quillon::fuzz::NamedEntry& named : quillon::fuzz::AvailableEntries())
        if (named.name == QUILLON_FUZZ_ENTRY_NAME) entry = named.run;
    if (entry == nullptr) {
        std::fprintf(stderr, "no fuzz entry named %s in this build\n", QUILLON_FUZZ_ENTRY_NAME);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    entry(data, size);
    return 0;
}
