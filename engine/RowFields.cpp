#include "engine/RowFields.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QUILLON_WIDE_SPLIT 1
#endif

namespace quillon {

#if defined(QUILLON_WIDE_SPLIT)

bool RowFields::WideAvailable()
{
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
               __builtin_cpu_supports("popcnt");
    }();
    return available;
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

#else

bool RowFields::WideAvailable() { return false; }
void RowFields::SplitWide(std::string_view row) { SplitPortable(row); }
const char* RowFields::SplitLineWide(const char* p, const char* end)
{
    const char* const lineEnd = FindLineEnd(p, end);
    const auto size = static_cast<std::size_t>(lineEnd - p);
    if (size <= kLongestRow) SplitPortable(std::string_view(p, size));
    return lineEnd;
}

#endif

}  // namespace quillon
