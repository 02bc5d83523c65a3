#include "fuzz/Entries.h"

#include <cstdio>
#include <cstdlib>

namespace quillon::fuzz {

void Check(bool condition, const char* what)
{
    if (condition) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

std::vector<NamedEntry> AvailableEntries()
{
    std::vector<NamedEntry> entries{
        {"catalogue", Catalogue},       {"price_list", PriceList},     {"exchange_rates", ExchangeRates},
        {"number_text", NumberText},    {"profile_text", ProfileText}, {"search_end_to_end", SearchEndToEnd},
    };
#ifdef QUILLON_FUZZ_ONLINE
    entries.push_back({"news_pages", NewsPages});
#endif
#ifdef QUILLON_FUZZ_PLATFORM
    entries.push_back({"settings_file", SettingsFile});
#endif
#ifdef QUILLON_FUZZ_PERSIST
    entries.push_back({"command_line", CommandLine});
#endif
#ifdef QUILLON_FUZZ_TOOLS
    entries.push_back({"tool_arguments", ToolArguments});
#endif
    return entries;
}

}  // namespace quillon::fuzz
