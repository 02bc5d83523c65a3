// Every seed and every kept finding of fuzz/ through the same entries as the
// fuzz targets, in the ordinary build: a finding, once mended, stays mended.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <QCoreApplication>

#include "fuzz/Entries.h"

namespace fs = std::filesystem;

namespace {

const fs::path kFuzzFolder(QUILLON_FUZZ_DIR);

// Every entry the fuzz targets have, whichever layers this build holds.
const char* const kAllEntries[] = {"catalogue",     "price_list",   "exchange_rates", "number_text",
                                   "profile_text",  "search_end_to_end", "news_pages", "settings_file",
                                   "command_line",  "tool_arguments"};

std::vector<fs::path> Inputs(const fs::path& folder)
{
    std::vector<fs::path> files;
    if (fs::is_directory(folder))
        for (const fs::directory_entry& item : fs::directory_iterator(folder))
            if (item.is_regular_file()) files.push_back(item.path());
    std::sort(files.begin(), files.end());
    return files;
}

class FuzzReplay : public ::testing::TestWithParam<quillon::fuzz::NamedEntry> {};

TEST_P(FuzzReplay, SeedsAndFindingsPassTheChecks)
{
    const quillon::fuzz::NamedEntry& entry = GetParam();
    const std::string name(entry.name);
    const std::vector<fs::path> seeds = Inputs(kFuzzFolder / "corpus" / name);
    EXPECT_FALSE(seeds.empty()) << "no seed corpus for " << name;
    std::vector<fs::path> inputs = seeds;
    for (const fs::path& finding : Inputs(kFuzzFolder / "regressions" / name)) inputs.push_back(finding);
    for (const fs::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // A failed check aborts; say first which input it was.
        std::fprintf(stderr, "replaying %s\n", input.string().c_str());
        entry.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, FuzzReplay, ::testing::ValuesIn(quillon::fuzz::AvailableEntries()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FuzzFolders, NameOnlyKnownEntries)
{
    for (const char* kind : {"corpus", "regressions"}) {
        for (const fs::directory_entry& folder : fs::directory_iterator(kFuzzFolder / kind)) {
            const std::string name = folder.path().filename().string();
            EXPECT_NE(std::find(std::begin(kAllEntries), std::end(kAllEntries), name), std::end(kAllEntries))
                << kind << "/" << name << " feeds no entry";
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
