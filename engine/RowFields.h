#pragma once
// Splitting a catalogue row at its "|"s: the first step of every one of a
// catalogue's tens of thousands of rows, so it keeps only where each "|"
// stands and makes a field's view when it is asked for.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/TextFile.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon {

// The row's fields 1 to kFields, each the text before its "|", taken as it
// stands; a field past the last "|" is empty.
class RowFields {
public:
    static constexpr std::size_t kFields = 22;
    // The places are 32-bit: a longer row (far longer than any real one)
    // is to be split another way.
    static constexpr std::size_t kLongestRow = std::size_t{1} << 20;

    // The ways a row may be split, slowest first; all give the same fields.
    // Portable: 16 bytes a step. Wide: 64 bytes a step, where the processor
    // has the 64-byte instructions. WideBytes: the same steps, the places of
    // a step's "|"s gathered as bytes in one instruction while they fit a
    // byte (the row's first 256 bytes), where the processor has the
    // instructions for bytes too.
    enum class Way { Portable, Wide, WideBytes };
    // The fastest way the processor has, but not beyond most.
    explicit RowFields(Way most = Way::WideBytes) : way_(most < FastestWay() ? most : FastestWay()) {}
    static Way FastestWay();
    static bool WideAvailable() { return FastestWay() >= Way::Wide; }
    Way way() const { return way_; }

    // At most kLongestRow bytes.
    void Split(std::string_view row)
    {
        if (way_ == Way::WideBytes) {
            SplitWideBytes(row);
        } else if (way_ == Way::Wide) {
            SplitWide(row);
        } else {
            SplitPortable(row);
        }
    }

    // The line of a text starting at p, up to its CR or LF or the text's
    // end, split as Split splits it (when it is not longer than
    // kLongestRow), in the same pass that finds where the line ends, which
    // it returns.
    const char* SplitLine(const char* p, const char* end)
    {
        if (way_ == Way::WideBytes) return SplitLineWideBytes(p, end);
        if (way_ == Way::Wide) return SplitLineWide(p, end);
        const char* const lineEnd = FindLineEnd(p, end);
        const auto size = static_cast<std::size_t>(lineEnd - p);
        if (size <= kLongestRow) SplitPortable(std::string_view(p, size));
        return lineEnd;
    }

    // Field i, from 0.
    std::string_view operator[](std::size_t i) const
    {
        if (i >= count_) return {};
        const std::size_t start = i == 0 ? 0 : bars_[i - 1] + std::size_t{1};
        return {base_ + start, bars_[i] - start};
    }

private:
    void SplitWide(std::string_view row);
    const char* SplitLineWide(const char* p, const char* end);
    void SplitWideBytes(std::string_view row);
    const char* SplitLineWideBytes(const char* p, const char* end);

    void SplitPortable(std::string_view row)
    {
        const char* const base = row.data();
        const std::size_t n = row.size();
        base_ = base;
        std::size_t k = 0;
        std::size_t i = 0;
#if defined(__SSE2__)
        const __m128i pipe = _mm_set1_epi8('|');
        // Each byte of a block's "|" bits gives its eight places at once
        // from a table, whatever their number, written whether there or not
        // (those past the count are overwritten or never read): no branch
        // and no chain of steps per "|".
        const __m128i zero = _mm_setzero_si128();
        auto block = [&](std::size_t at, unsigned bars) __attribute__((always_inline)) {
            for (unsigned half = 0; half < 2; ++half) {
                const unsigned byte = (bars >> (8 * half)) & 0xff;
                const __m128i places =
                    _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(kBitPlaces[byte].data())), zero);
                const __m128i offset = _mm_set1_epi32(static_cast<int>(at + 8 * half));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(bars_.data() + k),
                                 _mm_add_epi32(_mm_unpacklo_epi16(places, zero), offset));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(bars_.data() + k + 4),
                                 _mm_add_epi32(_mm_unpackhi_epi16(places, zero), offset));
                k += kBitPlaces[byte][8];
            }
        };
        auto barsAt = [&](std::size_t at) {
            return static_cast<unsigned>(
                _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(base + at)), pipe)));
        };
        for (; i + 16 <= n && k < kFields; i += 16) block(i, barsAt(i));
        // The row's last bytes: the block that ends with it, less what was seen.
        if (i < n && n >= 16 && k < kFields) {
            const std::size_t at = n - 16;
            block(at, barsAt(at) & (~0u << (i - at)));
            i = n;
        }
#endif
        for (; i < n && k < kFields; ++i)
            if (base[i] == '|') bars_[k++] = static_cast<std::uint32_t>(i);
        count_ = k < kFields ? k : kFields;
    }

    // For each byte value, the places of its set bits, lowest first, then their count.
    static constexpr std::array<std::array<std::uint8_t, 9>, 256> kBitPlaces = [] {
        std::array<std::array<std::uint8_t, 9>, 256> t{};
        for (std::size_t b = 0; b < t.size(); ++b) {
            std::uint8_t count = 0;
            for (std::uint8_t bit = 0; bit < 8; ++bit)
                if ((b >> bit & 1) != 0) t[b][count++] = bit;
            t[b][8] = count;
        }
        return t;
    }();

    Way way_;
    const char* base_ = nullptr;
    std::size_t count_ = 0;
    // Where the first "|"s stand; room past the last field for the places
    // a step writes ahead (up to 16 a quarter of a 64-byte step).
    std::array<std::uint32_t, kFields + 64> bars_{};
};

}  // namespace quillon
