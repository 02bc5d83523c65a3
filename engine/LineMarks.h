#pragma once
// The marks a walk over every line of a text reads instead of its bytes:
// the line ends and "|"s of a stretch of text, a bit a byte, 64 bytes to a
// 64-bit mask, and where the stretch's lines start. The masks are found with
// no wait between them, so that lines then follow one another by the list
// of their starts instead of each waiting for the last one's end.

#include <cstddef>
#include <cstdint>

namespace quillon {

constexpr std::size_t kMarkBlocks = 64;  // 64-byte blocks a stretch holds
constexpr std::size_t kStretch = kMarkBlocks * 64;

// The marks of one stretch of text, and where its lines start.
struct StretchMarks {
    // Line ends and bars, one more block than the stretch: a line starting
    // in its last block is read on into the next.
    std::uint64_t ends[kMarkBlocks + 1];
    std::uint64_t bars[kMarkBlocks + 1];
    // The lines' starts from the stretch's start, in order; a few entries
    // spare for the writes ahead of the count.
    std::uint16_t starts[kStretch + 4];
    std::size_t startCount;
    // The last block's CRs and line ends, for the next stretch's first start;
    // before the first stretch, lastEnds holds its top bit (the text's start
    // starts a line) and lastCr is 0.
    std::uint64_t lastEnds, lastCr;
    // The stretch's bytes above 0x7F, the 64 blocks' marks together: not
    // zero when the stretch is not plain ASCII.
    std::uint64_t high;
    // The text's last bytes, zero past the text's end.
    alignas(64) char tail[kStretch + 64];
};

// Finds the marks of the stretch at `from` of a text ending at `end`. A line
// starts after LF, after CR not followed by LF, and at the text's start; no
// line starts after the text's last line end. Where the processor has the
// 64-byte instructions, a block's marks are found in one step with them.
void MarkStretch(StretchMarks& marks, const char* from, const char* end);

// The same in 16-byte steps, whatever the processor.
void MarkStretchPortable(StretchMarks& marks, const char* from, const char* end);
bool WideLineMarksAvailable();

}  // namespace quillon
