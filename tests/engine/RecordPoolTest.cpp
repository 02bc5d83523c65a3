// The records' pool: objects of every size from several threads, freed on
// other threads in shuffled order, each keeping its bytes to itself until
// freed, and every block back on the heap once its objects are gone. (Builds
// that check memory give each record to the heap, hold no blocks, and their
// leak check sees a record never freed.)

#include "engine/Catalogue.h"
#include "engine/RecordPool.h"
#include "engine/TransmissionLib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace quillon;

namespace {

struct Made {
    unsigned char* bytes;
    std::size_t size;
    unsigned char mark;
};

bool Intact(const Made& m)
{
    return std::all_of(m.bytes, m.bytes + m.size, [&](unsigned char b) { return b == m.mark; });
}

}  // namespace

TEST(RecordPool, ObjectsKeepTheirBytesAcrossThreadsAndEveryBlockGoesBack)
{
    // Sizes of the records and around them, up to ones that take a block of their own.
    static const std::size_t kSizes[] = {1, 15, 16, 17, 144, 272, 1000, 16000, 16385, 70000};
    const std::size_t blocksBefore = RecordPool::BlocksInUse();
    constexpr int kThreads = 4;
    constexpr int kPerThread = 3000;
    std::vector<std::vector<Made>> made(kThreads);
    std::vector<std::thread> makers;
    for (int t = 0; t < kThreads; ++t) {
        makers.emplace_back([&, t] {
            std::mt19937 random(static_cast<unsigned>(t));
            for (int i = 0; i < kPerThread; ++i) {
                const std::size_t size = kSizes[random() % std::size(kSizes)];
                auto* bytes = static_cast<unsigned char*>(RecordPool::Allocate(size));
                const auto mark = static_cast<unsigned char>(random());
                std::memset(bytes, mark, size);
                made[static_cast<std::size_t>(t)].push_back({bytes, size, mark});
            }
        });
    }
    for (std::thread& maker : makers) maker.join();

    std::vector<Made> all;
    for (const auto& list : made) all.insert(all.end(), list.begin(), list.end());
    for (const Made& m : all) {
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(m.bytes) % alignof(std::max_align_t), 0u) << m.size;
        ASSERT_TRUE(Intact(m)) << m.size;
    }
    // Freed in shuffled order on two threads, while the rest stays whole.
    std::shuffle(all.begin(), all.end(), std::mt19937(7));
    const std::size_t half = all.size() / 2;
    std::thread first([&] {
        for (std::size_t i = 0; i < half; ++i) RecordPool::Release(all[i].bytes);
    });
    first.join();
    for (std::size_t i = half; i < all.size(); ++i) ASSERT_TRUE(Intact(all[i])) << all[i].size;
    std::thread second([&] {
        for (std::size_t i = half; i < all.size(); ++i) RecordPool::Release(all[i].bytes);
    });
    second.join();
    EXPECT_EQ(RecordPool::BlocksInUse(), blocksBefore);
}

// A catalogue built on a thread of its own and freed on another leaves no block behind.
TEST(RecordPool, AFreedCatalogueGivesItsBlocksBack)
{
    const std::size_t blocksBefore = RecordPool::BlocksInUse();
    std::string text = "Begin|End|Size|Part|Type|...\n";
    for (int line = 0; line < 3000; ++line)
        for (int option = 0; option < 3; ++option)
            text += "800|960|7/8 in|QZ" + std::to_string(line) + "|FOAM|PE|1|0.5|0.001|2|40|Option " +
                    std::to_string(option) + " Male Right Angle|1.05|0.05|6|-150|QZ" + std::to_string(line) +
                    "-C" + std::to_string(option) + "||||||\n";
    auto catalogue = std::make_unique<Catalogue>();
    std::thread([&] { BuildCatalogue(std::string_view(text), *catalogue); }).join();
    ASSERT_EQ(catalogue->AllLines.size(), 3000u);
    EXPECT_EQ(catalogue->AllLines[2999]->ConnectorAt(2).TypeName, "Option 2 Male Right Angle");
    std::thread([&] { catalogue.reset(); }).join();
    EXPECT_EQ(RecordPool::BlocksInUse(), blocksBefore);
}
