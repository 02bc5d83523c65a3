#include "engine/LineMarks.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QUILLON_WIDE_MARKS 1
#endif

namespace quillon {
namespace {

struct BlockMarks {
    std::uint64_t cr, lf, bar, high;
};

// The CRs, LFs and bars among the 64 bytes at p, a bit a byte.
[[gnu::always_inline]] inline BlockMarks MarksOf(const char* p)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i pipe = _mm_set1_epi8('|');
    BlockMarks marks{0, 0, 0, 0};
    // The four blocks written out: a loop of them is not unrolled at -O2.
    auto add = [&](int at) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        marks.high |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(block))} << at;
        marks.cr |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, cr)))} << at;
        marks.lf |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)))} << at;
        marks.bar |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, pipe)))} << at;
    };
    add(0);
    add(16);
    add(32);
    add(48);
    return marks;
#else
    BlockMarks marks{0, 0, 0, 0};
    for (int i = 0; i < 64; ++i) {
        const std::uint64_t bit = std::uint64_t{1} << i;
        if (static_cast<unsigned char>(p[i]) > 0x7F) marks.high |= bit;
        if (p[i] == '\r') marks.cr |= bit;
        if (p[i] == '\n') marks.lf |= bit;
        if (p[i] == '|') marks.bar |= bit;
    }
    return marks;
#endif
}

// Where the stretch's bytes are read from: the text itself, or near its end
// a copy of its last bytes, zero past them.
[[gnu::always_inline]] inline const char* StretchBytes(StretchMarks& marks, const char* from, std::size_t available)
{
    if (available >= kStretch + 64) return from;
    std::memset(marks.tail, 0, sizeof marks.tail);
    std::memcpy(marks.tail, from, available);
    return marks.tail;
}

// Notes block k's marks and the lines starting in it.
[[gnu::always_inline]] inline void NoteBlock(StretchMarks& marks, std::size_t k, const BlockMarks& block,
                                             std::uint64_t& lastEnds, std::uint64_t& lastCr, std::size_t& count)
{
    const std::uint64_t ends = block.cr | block.lf;
    marks.ends[k] = ends;
    marks.bars[k] = block.bar;
    // After a line end, but not between the CR and LF of a CR LF.
    std::uint64_t lineStarts = ((ends << 1) | (lastEnds >> 63)) & ~(((block.cr << 1) | (lastCr >> 63)) & block.lf);
    lastEnds = ends;
    lastCr = block.cr;
    // Two starts written whether there or not, the count going up by
    // those there: the usual block holds one or two, with no branch.
    std::uint16_t* const starts = marks.starts;
    const auto at = static_cast<std::uint16_t>(64 * k);
    for (int i = 0; i < 2; ++i) {
        starts[count] = static_cast<std::uint16_t>(at + __builtin_ctzll(lineStarts | (std::uint64_t{1} << 63)));
        count += lineStarts != 0;
        lineStarts &= lineStarts - 1;
    }
    for (; lineStarts != 0; lineStarts &= lineStarts - 1)
        starts[count++] = static_cast<std::uint16_t>(at + __builtin_ctzll(lineStarts));
}

// The block past the stretch, and what the next stretch starts from.
[[gnu::always_inline]] inline void FinishStretch(StretchMarks& marks, const BlockMarks& next, std::size_t available,
                                                 std::uint64_t lastEnds, std::uint64_t lastCr, std::size_t count)
{
    marks.ends[kMarkBlocks] = next.cr | next.lf;
    marks.bars[kMarkBlocks] = next.bar;
    // After the text's last line end no line starts.
    while (count > 0 && marks.starts[count - 1] >= available) --count;
    marks.startCount = count;
    marks.lastEnds = lastEnds;
    marks.lastCr = lastCr;
}

// One stretch's marks, each block's found by marksOf.
template <class BlockMarksOf>
[[gnu::always_inline]] inline void MarkStretchWith(StretchMarks& marks, const char* from, const char* end,
                                                   BlockMarksOf marksOf)
{
    const auto available = static_cast<std::size_t>(end - from);
    const char* const src = StretchBytes(marks, from, available);
    std::uint64_t lastEnds = marks.lastEnds, lastCr = marks.lastCr, high = 0;
    std::size_t count = 0;
    for (std::size_t k = 0; k < kMarkBlocks; ++k) {
        const BlockMarks block = marksOf(src + 64 * k);
        high |= block.high;
        NoteBlock(marks, k, block, lastEnds, lastCr, count);
    }
    marks.high = high;
    FinishStretch(marks, marksOf(src + 64 * kMarkBlocks), available, lastEnds, lastCr, count);
}

#if defined(QUILLON_WIDE_MARKS)
// The same marks in one step of the 64-byte instructions. Not forced inline:
// the stretch's walk is inlined into MarkStretchWide first, and this into it
// there, where the instructions are allowed.
struct WideMarksOf {
    __attribute__((target("avx512f,avx512bw"))) BlockMarks operator()(const char* p) const
    {
        const __m512i bytes = _mm512_loadu_si512(p);
        return {_mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8('\r')),
                _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8('\n')),
                _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8('|')), _mm512_movepi8_mask(bytes)};
    }
};

__attribute__((target("avx512f,avx512bw"))) void MarkStretchWide(StretchMarks& marks, const char* from, const char* end)
{
    MarkStretchWith(marks, from, end, WideMarksOf{});
}
#endif

}  // namespace

bool WideLineMarksAvailable()
{
#if defined(QUILLON_WIDE_MARKS)
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    }();
    return available;
#else
    return false;
#endif
}

void MarkStretchPortable(StretchMarks& marks, const char* from, const char* end)
{
    MarkStretchWith(marks, from, end, [](const char* p) { return MarksOf(p); });
}

void MarkStretch(StretchMarks& marks, const char* from, const char* end)
{
#if defined(QUILLON_WIDE_MARKS)
    if (WideLineMarksAvailable()) return MarkStretchWide(marks, from, end);
#endif
    MarkStretchPortable(marks, from, end);
}

}  // namespace quillon
