#include "engine/RowFields.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QUILLON_WIDE_SPLIT 1
#endif

namespace quillon {

#if defined(QUILLON_WIDE_SPLIT)

RowFields::Way RowFields::FastestWay()
{
    static const Way fastest = [] {
        __builtin_cpu_init();
        if (!__builtin_cpu_supports("avx512f") || !__builtin_cpu_supports("avx512bw") ||
            !__builtin_cpu_supports("popcnt"))
            return Way::Portable;
        return __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2") ? Way::WideBytes
                                                                                             : Way::Wide;
    }();
    return fastest;
}

// 64 bytes a step: the "|"s' bits at once, then for each 16 bytes their
// places packed together in one instruction. The bytes past the row are
// masked off and never read.
__attribute__((target("avx512f,avx512bw,popcnt"))) void RowFields::SplitWide(std::string_view row)
{
    const char* const base = row.data();
    const std::size_t n = row.size();
    base_ = base;
    std::size_t k = 0;
    const __m512i pipe = _mm512_set1_epi8('|');
    const __m512i sixteen = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    for (std::size_t i = 0; i < n && k < kFields; i += 64) {
        const std::size_t left = n - i;
        const __mmask64 inRow = left >= 64 ? ~__mmask64{0} : (__mmask64{1} << left) - 1;
        const __m512i bytes = _mm512_maskz_loadu_epi8(inRow, base + i);
        std::uint64_t bars = _mm512_mask_cmpeq_epi8_mask(inRow, bytes, pipe);
        // Written whether there or not: those past the count are overwritten or never read.
        for (unsigned quarter = 0; quarter < 4; ++quarter, bars >>= 16) {
            const auto some = static_cast<__mmask16>(bars);
            const __m512i places = _mm512_add_epi32(sixteen, _mm512_set1_epi32(static_cast<int>(i + 16 * quarter)));
            _mm512_storeu_si512(bars_.data() + k, _mm512_maskz_compress_epi32(some, places));
            k += static_cast<std::size_t>(__builtin_popcount(some));
        }
    }
    count_ = k < kFields ? k : kFields;
}

// The same, the line's end found in the same steps: a step's CRs and LFs
// beside its "|"s, those after the first CR or LF left out.
__attribute__((target("avx512f,avx512bw,popcnt"))) const char* RowFields::SplitLineWide(const char* const p,
                                                                                       const char* const end)
{
    base_ = p;
    std::size_t k = 0;
    const __m512i pipe = _mm512_set1_epi8('|');
    const __m512i cr = _mm512_set1_epi8('\r');
    const __m512i lf = _mm512_set1_epi8('\n');
    const __m512i sixteen = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const auto n = static_cast<std::size_t>(end - p);
    std::size_t i = 0;
    for (; i < n; i += 64) {
        const std::size_t left = n - i;
        const __mmask64 inText = left >= 64 ? ~__mmask64{0} : (__mmask64{1} << left) - 1;
        const __m512i bytes = _mm512_maskz_loadu_epi8(inText, p + i);
        const std::uint64_t ends =
            _mm512_mask_cmpeq_epi8_mask(inText, bytes, cr) | _mm512_mask_cmpeq_epi8_mask(inText, bytes, lf);
        if (k < kFields) {
            std::uint64_t bars = _mm512_mask_cmpeq_epi8_mask(inText, bytes, pipe);
            if (ends != 0) bars &= (ends & (0 - ends)) - 1;  // those before the line's end
            for (unsigned quarter = 0; quarter < 4; ++quarter, bars >>= 16) {
                const auto some = static_cast<__mmask16>(bars);
                const __m512i places =
                    _mm512_add_epi32(sixteen, _mm512_set1_epi32(static_cast<int>(i + 16 * quarter)));
                _mm512_storeu_si512(bars_.data() + k, _mm512_maskz_compress_epi32(some, places));
                k += static_cast<std::size_t>(__builtin_popcount(some));
            }
        }
        if (ends != 0) {
            i += static_cast<std::size_t>(__builtin_ctzll(ends));
            break;
        }
    }
    if (i > n) i = n;  // no CR or LF: the line runs to the end of the text
    count_ = k < kFields ? k : kFields;
    return p + i;
}

namespace {

// A step's "|"s, and its CRs and LFs when kLine; nothing past the text's left bytes.
struct Step {
    std::uint64_t bars;
    std::uint64_t ends;
};
template <bool kLine>
__attribute__((target("avx512f,avx512bw"), always_inline)) inline Step ReadStep(const char* at, std::size_t left)
{
    const __mmask64 inText = left >= 64 ? ~__mmask64{0} : (__mmask64{1} << left) - 1;
    const __m512i bytes = _mm512_maskz_loadu_epi8(inText, at);
    Step step{_mm512_mask_cmpeq_epi8_mask(inText, bytes, _mm512_set1_epi8('|')), 0};
    if constexpr (kLine)
        step.ends = _mm512_mask_cmpeq_epi8_mask(inText, bytes, _mm512_set1_epi8('\r')) |
                    _mm512_mask_cmpeq_epi8_mask(inText, bytes, _mm512_set1_epi8('\n'));
    return step;
}

// The n bytes at p split into places32 (room for kFields + 64 places), up
// to their first CR or LF when kLine, whose offset it returns (n when there
// is none); count: of the places found, at most kFields. As SplitWide and
// SplitLineWide, but while the places fit a byte, a step's are gathered in
// one instruction as bytes (not four, as 32-bit words), put after those
// found before in a register, and widened to words once after those steps:
// fewer instructions on a row's longest chain, and no read of places just
// written, which would wait for the writes.
template <bool kLine>
__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,popcnt"), always_inline)) inline std::size_t SplitBytes(
    const char* const p, const std::size_t n, std::uint32_t* const places32, std::size_t& count)
{
    constexpr std::size_t kFields = RowFields::kFields;
    std::size_t k = 0;
    // The steps that lie within the first 256 bytes, whose places fit a byte.
    constexpr std::size_t kByteSteps = 256;
    std::size_t i = 0;
    bool ended = false;
    const __m512i lanes = _mm512_set_epi8(63, 62, 61, 60, 59, 58, 57, 56, 55, 54, 53, 52, 51, 50, 49, 48, 47, 46, 45, 44,
                                          43, 42, 41, 40, 39, 38, 37, 36, 35, 34, 33, 32, 31, 30, 29, 28, 27, 26, 25, 24,
                                          23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2,
                                          1, 0);
    __m512i places = lanes;          // of the step's bytes in the row
    __m512i found = _mm512_setzero_si512();  // the places so far, a byte each
    std::size_t endAt = n;
    for (; i < n && i < kByteSteps && (kLine || k < kFields); i += 64) {
        const Step at = ReadStep<kLine>(p + i, n - i);
        std::uint64_t bars = at.bars;
        if (kLine && at.ends != 0) bars &= (at.ends & (0 - at.ends)) - 1;  // those before the line's end
        if (k < kFields) {
            // The step's places moved up by the k found before, into the
            // lanes from k on (those past the count are overwritten or never read).
            const __m512i gathered = _mm512_maskz_compress_epi8(bars, places);
            const __m512i from = _mm512_sub_epi8(lanes, _mm512_set1_epi8(static_cast<char>(k)));
            found = _mm512_mask_permutexvar_epi8(found, ~std::uint64_t{0} << k, from, gathered);
            k += static_cast<std::size_t>(__builtin_popcountll(bars));
        }
        if (kLine && at.ends != 0) {
            endAt = i + static_cast<std::size_t>(__builtin_ctzll(at.ends));
            ended = true;
            break;
        }
        places = _mm512_add_epi8(places, _mm512_set1_epi8(64));
    }
    static_assert(kFields <= 32, "two widenings hold the fields' places");
    _mm512_storeu_si512(places32, _mm512_maskz_cvtepu8_epi32(0xFFFF, _mm512_maskz_extracti32x4_epi32(0xF, found, 0)));
    _mm512_storeu_si512(places32 + 16, _mm512_maskz_cvtepu8_epi32(0xFFFF, _mm512_maskz_extracti32x4_epi32(0xF, found, 1)));
    // Past the first 256 bytes (a row far longer than usual): 32-bit places, as SplitWide takes them.
    if (!ended) {
        const __m512i sixteen = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
        for (; i < n && (kLine || k < kFields); i += 64) {
            const Step at = ReadStep<kLine>(p + i, n - i);
            std::uint64_t bars = at.bars;
            if (kLine && at.ends != 0) bars &= (at.ends & (0 - at.ends)) - 1;
            if (k < kFields) {
                for (unsigned quarter = 0; quarter < 4; ++quarter, bars >>= 16) {
                    const auto some = static_cast<__mmask16>(bars);
                    const __m512i wordPlaces =
                        _mm512_add_epi32(sixteen, _mm512_set1_epi32(static_cast<int>(i + 16 * quarter)));
                    _mm512_storeu_si512(places32 + k, _mm512_maskz_compress_epi32(some, wordPlaces));
                    k += static_cast<std::size_t>(__builtin_popcount(some));
                }
            }
            if (kLine && at.ends != 0) {
                endAt = i + static_cast<std::size_t>(__builtin_ctzll(at.ends));
                break;
            }
        }
    }
    count = k < kFields ? k : kFields;
    return endAt;
}

}  // namespace

__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,popcnt"))) void RowFields::SplitWideBytes(std::string_view row)
{
    base_ = row.data();
    SplitBytes<false>(row.data(), row.size(), bars_.data(), count_);
}

__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,popcnt"))) const char* RowFields::SplitLineWideBytes(
    const char* const p, const char* const end)
{
    base_ = p;
    return p + SplitBytes<true>(p, static_cast<std::size_t>(end - p), bars_.data(), count_);
}

#else

RowFields::Way RowFields::FastestWay() { return Way::Portable; }
void RowFields::SplitWide(std::string_view row) { SplitPortable(row); }
const char* RowFields::SplitLineWide(const char* p, const char* end)
{
    const char* const lineEnd = FindLineEnd(p, end);
    const auto size = static_cast<std::size_t>(lineEnd - p);
    if (size <= kLongestRow) SplitPortable(std::string_view(p, size));
    return lineEnd;
}
void RowFields::SplitWideBytes(std::string_view row) { SplitPortable(row); }
const char* RowFields::SplitLineWideBytes(const char* p, const char* end) { return SplitLineWide(p, end); }

#endif

}  // namespace quillon
