#pragma once
// Memory for the catalogue's records. A catalogue makes its lines and
// connectors by the hundred thousand, one after another, and frees them all
// together: handing them out in file order from blocks of tens of
// kilobytes (growing to a megabyte for a thread that makes many) costs a
// few instructions each instead of a heap request, keeps a line and its
// connectors side by side, and lets a block go back in one piece once
// nothing in it is in use. Any thread may make or free a record.
// Builds that check memory (AddressSanitizer) use the ordinary heap for every
// record, so that an overflow or a leak of one is still seen.

#include <cstddef>

namespace quillon::RecordPool {

// Room for one object of this size, aligned as the heap aligns; never null
// (std::bad_alloc when there is no memory).
void* Allocate(std::size_t size);
// Gives back what Allocate handed out; the block goes when its last object does.
void Release(void* object) noexcept;
// The blocks taken from the heap and not yet given back (none where the
// records use the heap directly): what the tests hold the pool to.
std::size_t BlocksInUse() noexcept;

}  // namespace quillon::RecordPool
