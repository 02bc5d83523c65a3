#include "engine/LargeMemory.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace quillon {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Smaller blocks come from the heap, which has its 2 MB pages already.
constexpr std::size_t kMappedFrom = std::size_t{4} << 20;
// Once the heap is prepared, it serves blocks up to this size too: a data
// file loaded again (new prices, a reloaded catalogue) then lands in memory
// the process has had before instead of fresh pages the system must clear.
constexpr std::size_t kHeapBlocksBelow = std::size_t{32} << 20;
bool heapPrepared = false;

#if defined(__linux__)
std::uintptr_t AlignUp(std::uintptr_t value, std::size_t to) { return (value + to - 1) & ~(std::uintptr_t{to} - 1); }

// An anonymous mapping starting on a 2 MB boundary, marked for 2 MB pages;
// nullptr when the system refuses.
char* MapHugeAligned(std::size_t length)
{
    const std::size_t padded = length + kHugePage;
    void* raw = mmap(nullptr, padded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = AlignUp(start, kHugePage);
    if (aligned > start) munmap(raw, aligned - start);
    const std::uintptr_t end = start + padded;
    if (end > aligned + length) munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
    madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);  // only advice: refused, it stays 4 KB pages
    return reinterpret_cast<char*>(aligned);
}
#endif

#if defined(__linux__) && defined(__GLIBC__)
// The heap's bytes below its first 2 MB boundary can only have 4 KB pages,
// each a fault of its own when first touched: the first data file read
// would land there and fault some hundreds of times. A block that is never
// touched takes that stretch (address space only), so that the next blocks
// start at the boundary, in the stretch marked for 2 MB pages.
void SkipToHugePages(std::uintptr_t boundary)
{
    // The top of the heap, where the next blocks are carved, runs to the break.
    auto topStart = [] { return reinterpret_cast<std::uintptr_t>(sbrk(0)) - mallinfo2().keepcost; };
    const std::uintptr_t start = topStart();
    // A block's own bytes start 16 bytes into its piece of the heap.
    if (start + 64 >= boundary) return;
    static void* skipped = nullptr;  // kept for the process's life
    skipped = std::malloc(boundary - start - 16);
    if (skipped != nullptr && topStart() != boundary) {  // not from the top after all
        std::free(skipped);
        skipped = nullptr;
    }
}
#endif

}  // namespace

void PrepareHeapForLargeData()
{
#if defined(__linux__) && defined(__GLIBC__)
    static bool prepared = false;
    if (prepared) return;
    prepared = true;
    // Grow the heap once by a large reserve (address space only: nothing is
    // touched yet) and mark the reserve for 2 MB pages; blocks up to 32 MB
    // then come from it, and freeing them does not hand the reserve back.
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return;
    const std::size_t reserve =
        std::min<std::size_t>(std::size_t{1} << 30, static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize) / 4);
    if (reserve < 4 * kHugePage) return;
    // One heap for every thread: a thread's own heap would grow in 4 KB
    // pages, and a data set may load on a thread of its own.
    mallopt(M_ARENA_MAX, 1);
    if (mallopt(M_MMAP_THRESHOLD, static_cast<int>(kHeapBlocksBelow)) == 1) heapPrepared = true;
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * reserve - 1));
    const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
    mallopt(M_TOP_PAD, static_cast<int>(reserve));
    void* volatile grow = std::malloc(256 << 10);  // volatile: the pair must not be optimised away
    std::free(grow);
    mallopt(M_TOP_PAD, 16 << 20);
    const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t from = AlignUp(before, kHugePage);
    if (after <= from + kHugePage) return;
    madvise(reinterpret_cast<void*>(from), after - from, MADV_HUGEPAGE);
    SkipToHugePages(from);
#endif
}

void detail::LargeRelease::operator()(char* p) const
{
#if defined(__linux__)
    if (mapped != 0) {
        munmap(p, mapped);
        return;
    }
#endif
    delete[] p;
}

LargeBuffer LargeBuffer::Allocate(std::size_t size) { return Allocate(size, false); }

LargeBuffer LargeBuffer::Allocate(std::size_t size, bool zeroed)
{
    LargeBuffer buffer;
    if (size == 0) return buffer;
#if defined(__linux__)
    // A zeroed block is mapped afresh all the same: the system hands it out
    // zero, where one from the heap would be cleared on top of that.
    if (size >= kMappedFrom && (zeroed || !(heapPrepared && size < kHeapBlocksBelow))) {
        const std::size_t length = AlignUp(size, kHugePage);
        if (char* p = MapHugeAligned(length)) {
            buffer.data_ = std::unique_ptr<char, detail::LargeRelease>(p, detail::LargeRelease{length});
            buffer.size_ = size;
            return buffer;
        }
    }
#endif
    char* p = new (std::nothrow) char[size];
    if (p == nullptr) return buffer;
    buffer.data_ = std::unique_ptr<char, detail::LargeRelease>(p, detail::LargeRelease{0});
    buffer.size_ = size;
    return buffer;
}

LargeBuffer LargeBuffer::AllocateZeroed(std::size_t size)
{
    LargeBuffer buffer = Allocate(size, true);
    if (buffer.data_ && buffer.data_.get_deleter().mapped == 0) std::memset(buffer.data(), 0, buffer.size());
    return buffer;
}

void LargeBuffer::ReleaseFront(std::size_t bytes)
{
#if defined(__linux__)
    if (data_.get_deleter().mapped == 0) return;
    // Mapped blocks start on a 2 MB boundary; whole 2 MB pages go at once.
    const std::size_t end = std::min(bytes, size_) / kHugePage * kHugePage;
    if (end <= released_) return;
    madvise(data_.get() + released_, end - released_, MADV_DONTNEED);
    released_ = end;
#else
    (void)bytes;
#endif
}

}  // namespace quillon
