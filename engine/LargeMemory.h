#pragma once
// Memory for the data files and what is built from them. A catalogue and
// a price list run to tens or hundreds of megabytes; touching that much
// fresh memory a 4 KB page at a time costs a page fault per page, which on
// some machines (virtual ones most of all) outweighs all the parsing. Where
// the system offers 2 MB pages, both the big buffers and the heap ask for
// them; elsewhere this is ordinary memory.

#include <cstddef>
#include <memory>
#include <utility>

namespace quillon {

// Lets the heap grow in 2 MB pages from here on, for every thread's
// allocations. Called once, first thing in a program's main, before any
// other thread starts; harmless to call again and where the system cannot.
void PrepareHeapForLargeData();

namespace detail {
struct LargeRelease {
    std::size_t mapped = 0;  // 0: from the heap
    void operator()(char* p) const;
};
}  // namespace detail

// A block of uninitialised bytes that owns its memory; large blocks come
// in 2 MB pages where the system has them.
class LargeBuffer {
public:
    LargeBuffer() = default;
    // A block moved from is empty, never a size without its memory.
    LargeBuffer(LargeBuffer&& other) noexcept
        : data_(std::move(other.data_)),
          size_(std::exchange(other.size_, 0)),
          released_(std::exchange(other.released_, 0))
    {
    }
    LargeBuffer& operator=(LargeBuffer&& other) noexcept
    {
        data_ = std::move(other.data_);
        size_ = std::exchange(other.size_, 0);
        released_ = std::exchange(other.released_, 0);
        return *this;
    }
    // Nothing when the memory cannot be had.
    static LargeBuffer Allocate(std::size_t size);
    // As Allocate, every byte zero. Fresh mapped memory is zero already:
    // only a block from the heap is cleared, so that a large table is not
    // written twice before its first use.
    static LargeBuffer AllocateZeroed(std::size_t size);

    char* data() { return data_.get(); }
    const char* data() const { return data_.get(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Forgets the bytes past size (which must not grow); the memory stays.
    void Shrink(std::size_t size) { size_ = size < size_ ? size : size_; }
    // Hands the memory of the first `bytes` bytes back to the system, in
    // whole pages, for a reader that walks a large block once from the
    // front; what those bytes held is lost. A block from the heap keeps its
    // memory.
    void ReleaseFront(std::size_t bytes);

private:
    static LargeBuffer Allocate(std::size_t size, bool zeroed);

    std::unique_ptr<char, detail::LargeRelease> data_;
    std::size_t size_ = 0;
    std::size_t released_ = 0;  // bytes handed back from the front
};

}  // namespace quillon
