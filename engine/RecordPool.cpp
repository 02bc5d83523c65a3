#include "engine/RecordPool.h"

#include <atomic>
#include <cstdint>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define QUILLON_RECORDS_ON_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
#define QUILLON_RECORDS_ON_HEAP 1
#endif
#endif

namespace quillon::RecordPool {

#if defined(QUILLON_RECORDS_ON_HEAP)

void* Allocate(std::size_t size) { return ::operator new(size); }
void Release(void* object) noexcept { ::operator delete(object); }
std::size_t BlocksInUse() noexcept { return 0; }

#else

namespace {

constexpr std::size_t kAlign = alignof(std::max_align_t);
// 64 KB: a few hundred records a block, so the blocks' own requests are
// rare, while a thread that makes a record or two holds little. A thread
// making many takes larger blocks as it goes, up to 1 MB: a large
// catalogue's records then cost a few dozen heap requests, not hundreds.
constexpr std::size_t kBlockBytes = std::size_t{64} << 10;
constexpr std::size_t kLargestBlockBytes = std::size_t{1} << 20;

// The head of a block; its objects follow. Each object has one of these
// words before it naming its block.
struct alignas(kAlign) Block {
    // The objects not yet freed, plus kHeld while a thread hands out from it.
    std::atomic<std::uint64_t> uses;
};
struct alignas(kAlign) Tag {
    Block* block;
};
constexpr std::uint64_t kHeld = std::uint64_t{1} << 62;

// The block a thread hands out from (plain data: a thread's first use costs nothing).
struct Current {
    Block* block;
    char* next;
    char* end;
    std::uint64_t handedOut;
    std::size_t blockBytes;  // of the thread's next block; 0 before its first
};
thread_local Current current{};

std::atomic<std::size_t> blocksInUse{0};

Block* NewBlock(std::size_t bytes, std::uint64_t uses)
{
    auto* block = new (::operator new(bytes)) Block{{uses}};
    blocksInUse.fetch_add(1, std::memory_order_relaxed);
    return block;
}

void Drop(Block* block, std::uint64_t count) noexcept
{
    if (block->uses.fetch_sub(count, std::memory_order_acq_rel) != count) return;
    blocksInUse.fetch_sub(1, std::memory_order_relaxed);
    ::operator delete(block);
}

// The thread lets go of its block: what it handed out keeps it alive.
void LetGo(Current& c) noexcept
{
    if (c.block != nullptr) Drop(c.block, kHeld - c.handedOut);
    c = Current{nullptr, nullptr, nullptr, 0, c.blockBytes};
}

struct LetGoAtThreadEnd {
    ~LetGoAtThreadEnd() { LetGo(current); }
};

constexpr std::size_t RoundUp(std::size_t n) { return (n + kAlign - 1) / kAlign * kAlign; }

}  // namespace

void* Allocate(std::size_t size)
{
    const std::size_t need = sizeof(Tag) + RoundUp(size == 0 ? 1 : size);
    Current& c = current;
    if (need > static_cast<std::size_t>(c.end - c.next)) {
        if (need > kBlockBytes / 4) {  // a block of its own, freed with the object
            Block* const block = NewBlock(sizeof(Block) + need, 1);
            auto* tag = new (block + 1) Tag{block};
            return tag + 1;
        }
        const std::size_t bytes = c.blockBytes == 0 ? kBlockBytes : c.blockBytes;
        Block* const block = NewBlock(bytes, kHeld);
        thread_local LetGoAtThreadEnd letGo;  // made on the thread's first block
        (void)letGo;
        LetGo(c);
        c.block = block;
        c.next = reinterpret_cast<char*>(block + 1);
        c.end = reinterpret_cast<char*>(block) + bytes;
        c.blockBytes = bytes < kLargestBlockBytes ? 2 * bytes : bytes;
    }
    auto* tag = new (c.next) Tag{c.block};
    c.next += need;
    ++c.handedOut;
    return tag + 1;
}

void Release(void* object) noexcept
{
    if (object == nullptr) return;
    Drop((static_cast<Tag*>(object) - 1)->block, 1);
}

std::size_t BlocksInUse() noexcept { return blocksInUse.load(std::memory_order_relaxed); }

#endif

}  // namespace quillon::RecordPool
