#include "engine/PriceList.h"

#include "engine/PipeRecord.h"
#include "engine/TextFile.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon {
namespace {

// A slot: the line's offset plus one in the low bits, the top bits of the
// part number's hash above them, so that most probes never read the text.
// Slots are 8 bytes with 40 bits of offset; a text under 64 MB (every price
// list seen) has 4-byte slots, twice as many in the same memory, with at
// least 6 bits of hash.
constexpr int kWideOffsetBits = 40;
constexpr int kNarrowTagBits = 6;

template <class Slot>
struct SlotCodec {
    int offsetBits;

    std::uint64_t Tag(std::uint64_t hash) const { return hash >> (64 - (8 * int{sizeof(Slot)} - offsetBits)); }
    Slot Make(std::uint64_t tag, std::uint64_t offset) const { return static_cast<Slot>((tag << offsetBits) | (offset + 1)); }
    bool HasTag(Slot slot, std::uint64_t tag) const { return (slot >> offsetBits) == tag; }
    std::uint64_t Offset(Slot slot) const { return (slot & ((Slot{1} << offsetBits) - 1)) - 1; }
};
// How many lines ahead of its fill a slot is fetched: enough that the fetches'
// waits for memory overlap.
constexpr std::size_t kAhead = 32;

bool Skipped(std::string_view line) { return line.empty() || IsSkippedLeadChar(line.front()); }

// IsSkippedLeadChar as a table, for the index's walk over every line.
constexpr auto kSkippedLead = [] {
    std::array<bool, 256> skipped{};
    for (const char c : std::string_view(" #;[^`{~")) skipped[static_cast<unsigned char>(c)] = true;
    return skipped;
}();

// Field 3 with blanks removed, empty when its "|" is missing: PipeField(line, 3)
// without the copy.
std::string_view KeyOf(std::string_view line)
{
    const char* const base = line.data();
    const std::size_t n = line.size();
    std::size_t start = 0;
    int pipes = 0;
    std::size_t i = 0;
    // True when the "|" at pos is the third.
    auto bar = [&](std::size_t pos) {
        if (++pipes == 2) start = pos + 1;
        return pipes == 3;
    };
#if defined(__SSE2__)
    const __m128i pipe = _mm_set1_epi8('|');
    for (; i + 16 <= n; i += 16) {
        auto bars = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i)), pipe)));
        for (; bars != 0; bars &= bars - 1) {
            const std::size_t pos = i + static_cast<std::size_t>(__builtin_ctz(bars));
            if (bar(pos)) return TrimBlanks(std::string_view(base + start, pos - start));
        }
    }
#endif
    for (; i < n; ++i)
        if (base[i] == '|' && bar(i)) return TrimBlanks(std::string_view(base + start, i - start));
    return {};
}

// The part number blanks-trimmed as TrimBlanks trims it, without the call
// for the usual part number that has no blank at either end.
std::string_view Trimmed(const char* begin, const char* end)
{
    if (begin != end && static_cast<unsigned char>(*begin) > ' ' && static_cast<unsigned char>(end[-1]) > ' ')
        return {begin, static_cast<std::size_t>(end - begin)};
    return TrimBlanks(std::string_view(begin, static_cast<std::size_t>(end - begin)));
}

// What one walk over a line finds: its part number (KeyOf) and where the
// line ends (FindLineEnd), the bytes looked at once for both.
struct LineScan {
    std::string_view key;
    const char* lineEnd;
};

// Any line, however long and wherever it stands: its part number, and with
// wantEnd its end (else lineEnd is left unset once the part number is
// known). Stops at the first CR or LF, as ForEachLine ends a line.
template <bool wantEnd>
LineScan ScanLongLine(const char* const p, const char* const end)
{
    const char* keyStart = p;  // just past the second "|"
    int pipes = 0;
    const char* q = p;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i pipe = _mm_set1_epi8('|');
    for (; end - q >= 16; q += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
        const auto ends = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
        auto bars = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, pipe)));
        if (ends != 0) bars &= (ends & (0u - ends)) - 1;  // only the bars before the line's end
        for (; bars != 0; bars &= bars - 1) {
            const char* const at = q + __builtin_ctz(bars);
            if (++pipes == 2) {
                keyStart = at + 1;
            } else if (pipes == 3) {
                const std::string_view key = Trimmed(keyStart, at);
                if constexpr (!wantEnd) return {key, nullptr};
                // The line's end lies after its third bar, in this block or beyond.
                return {key, ends != 0 ? q + __builtin_ctz(ends) : FindLineEnd(q + 16, end)};
            }
        }
        if (ends != 0) return {{}, q + __builtin_ctz(ends)};
    }
#endif
    for (; q < end; ++q) {
        const char c = *q;
        if (c == '\r' || c == '\n') return {{}, q};
        if (c != '|') continue;
        if (++pipes == 2) {
            keyStart = q + 1;
        } else if (pipes == 3) {
            const std::string_view key = Trimmed(keyStart, q);
            if constexpr (!wantEnd) return {key, nullptr};
            return {key, FindLineEnd(q + 1, end)};
        }
    }
    return {{}, end};
}

// The line starting at p, its part number and its end. A line of a price
// list is shorter than 64 bytes and that far from the text's end: its bytes
// are looked at in one go, and its part number picked from their bars with
// no branch that depends on where they fall.
[[gnu::always_inline]] inline LineScan ScanLine(const char* const p, const char* const end)
{
#if defined(__SSE2__)
    if (end - p >= 64) {
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        const __m128i pipe = _mm_set1_epi8('|');
        // The four blocks written out: a loop of them is not unrolled at -O2.
        auto lineEnds = [&](__m128i block) {
            return std::uint64_t{static_cast<unsigned>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))))};
        };
        auto pipes = [&](__m128i block) {
            return std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, pipe)))};
        };
        const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
        const __m128i b2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32));
        const __m128i b3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 48));
        const std::uint64_t ends = lineEnds(b0) | lineEnds(b1) << 16 | lineEnds(b2) << 32 | lineEnds(b3) << 48;
        std::uint64_t bars = pipes(b0) | pipes(b1) << 16 | pipes(b2) << 32 | pipes(b3) << 48;
        if (ends != 0) {
            bars &= (ends & (0 - ends)) - 1;  // only the bars before the line's end
            const std::uint64_t fromSecond = bars & (bars - 1);
            const std::uint64_t fromThird = fromSecond & (fromSecond - 1);
            const char* const lineEnd = p + __builtin_ctzll(ends);
            if (fromThird == 0) return {{}, lineEnd};  // fewer than three bars: field 3 is missing
            return {Trimmed(p + __builtin_ctzll(fromSecond) + 1, p + __builtin_ctzll(fromThird)), lineEnd};
        }
    }
#endif
    return ScanLongLine<true>(p, end);
}

// The part number of the line starting at p.
std::string_view KeyAt(const char* const p, const char* const end)
{
#if defined(__SSE2__)
    if (end - p >= 64) return ScanLine(p, end).key;
#endif
    return ScanLongLine<false>(p, end).key;
}

std::uint64_t Load64(const char* p)
{
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

std::uint64_t Load32(const char* p)
{
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// The 128-bit product folded to 64 bits: one multiply mixes every input bit
// into the whole result.
__extension__ typedef unsigned __int128 Wide;

std::uint64_t Mix(std::uint64_t a, std::uint64_t b)
{
    const Wide product = static_cast<Wide>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

// Part numbers run to some ten bytes: those up to 16 bytes are read in two
// (overlapping) loads and hashed with two multiplies.
[[gnu::always_inline]] inline std::uint64_t HashKey(std::string_view key)
{
    constexpr std::uint64_t k0 = 0x9E3779B97F4A7C15ull, k1 = 0xBF58476D1CE4E5B9ull, k2 = 0x94D049BB133111EBull;
    const char* p = key.data();
    std::size_t n = key.size();
    std::uint64_t a = 0, b = 0, seed = k0 ^ n;
    if (n > 16) {
        for (; n > 16; p += 16, n -= 16) seed = Mix(Load64(p) ^ k1, Load64(p + 8) ^ seed);
        a = Load64(p + n - 16);
        b = Load64(p + n - 8);
    } else if (n >= 8) {
        a = Load64(p);
        b = Load64(p + n - 8);
    } else if (n >= 4) {
        a = Load32(p);
        b = Load32(p + n - 4);
    } else if (n > 0) {
        a = (std::uint64_t{static_cast<unsigned char>(p[0])} << 16) |
            (std::uint64_t{static_cast<unsigned char>(p[n / 2])} << 8) | static_cast<unsigned char>(p[n - 1]);
    }
    return Mix(Mix(a ^ k1, b ^ seed), k2);
}

// A line's price is held as a 64-bit float: a text beyond that range is no
// price it can hold, so it counts as a price that is not a number (0), like
// any other, rather than turning into an infinity that shows as a price.
long double PriceOrZero(std::string_view text)
{
    const long double price = NumberOrDefault(text, "0");
    return std::fabs(price) <= std::numeric_limits<double>::max() ? price : 0;
}

PriceListEntry EntryOf(std::string_view line)
{
    return PriceListEntry{PipeField(line, 5), PriceOrZero(PipeField(line, 6))};
}

std::size_t PowerOfTwoAtLeast(std::size_t n)
{
    std::size_t p = 16;
    while (p < n) p *= 2;
    return p;
}

}  // namespace

PriceList::PriceList(LargeBuffer text) : text_(std::move(text)) { BuildIndex(); }

PriceList::PriceList(const std::vector<std::string>& lines)
{
    std::size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 1;
    text_ = LargeBuffer::Allocate(size);
    char* p = text_.data();
    for (const std::string& line : lines) {
        std::memcpy(p, line.data(), line.size());
        p += line.size();
        *p++ = '\n';
    }
    BuildIndex();
}

std::string_view PriceList::LineAt(std::uint64_t offset) const
{
    const char* const start = text_.data() + offset;
    const char* const end = text_.data() + text_.size();
    return {start, static_cast<std::size_t>(FindLineEnd(start, end) - start)};
}

void PriceList::BuildIndex()
{
    const std::string_view text(text_.data(), text_.size());
    lineCount_ = 0;
    slots_ = LargeBuffer();
    mask_ = 0;
    if (text.size() >= (std::uint64_t{1} << kWideOffsetBits) - 1) {
        // Beyond a terabyte the offsets do not fit a slot: lookups scan.
        ForEachLine(text, [&](std::string_view) { return ++lineCount_, true; });
        return;
    }
    int bits = 1;
    while (bits < 32 - kNarrowTagBits && (text.size() >> bits) != 0) ++bits;
    narrow_ = (text.size() >> bits) == 0;
    offsetBits_ = narrow_ ? bits : kWideOffsetBits;
    const bool indexed = narrow_ ? IndexWith<std::uint32_t>() : IndexWith<std::uint64_t>();
    if (!indexed) {
        slots_ = LargeBuffer();
        mask_ = 0;
    }
}

template <class Slot>
bool PriceList::IndexWith()
{
    const SlotCodec<Slot> codec{offsetBits_};
    // Lines of a price list run to some fifty bytes, a slot of 8 bytes for
    // every 32 bytes of text (slots of 4 bytes, one for every 16); a list
    // of shorter lines makes the table grow.
    const std::size_t capacity = PowerOfTwoAtLeast(text_.size() / 48 * 3 / 2 * 8 / sizeof(Slot));
    std::size_t used = 0;
    auto slots = [this] { return reinterpret_cast<Slot*>(slots_.data()); };
    auto allocate = [&](std::size_t count) {
        slots_ = LargeBuffer::AllocateZeroed(count * sizeof(Slot));
        if (slots_.empty()) return false;
        mask_ = count - 1;
        return true;
    };

    const char* const base = text_.data();
    const char* const end = base + text_.size();
    // The first line of a part number keeps its slot, as the scan would find it.
    auto insert = [&](std::uint64_t hash, std::uint64_t offset, std::string_view key) {
        Slot* const table = slots();
        const std::uint64_t tag = codec.Tag(hash);
        for (std::uint64_t j = hash & mask_;; j = (j + 1) & mask_) {
            const Slot slot = table[j];
            if (slot == 0) {
                table[j] = codec.Make(tag, offset);
                ++used;
                return;
            }
            if (codec.HasTag(slot, tag) && KeyAt(base + codec.Offset(slot), end) == key) return;
        }
    };
    auto grow = [&] {
        const LargeBuffer old = std::move(slots_);
        const auto* oldSlots = reinterpret_cast<const Slot*>(old.data());
        const std::size_t oldCount = old.size() / sizeof(Slot);
        if (!allocate(oldCount * 2)) return false;
        used = 0;
        for (std::size_t i = 0; i < oldCount; ++i) {
            if (oldSlots[i] == 0) continue;
            const std::uint64_t offset = codec.Offset(oldSlots[i]);
            const std::string_view key = KeyAt(base + offset, end);
            insert(HashKey(key), offset, key);
        }
        return true;
    };

    // Each line's slot is fetched when its line is read and filled kAhead
    // lines later, in the lines' order, so that every fill finds its slot
    // fetched a steady distance ahead.
    struct Pending {
        std::uint64_t hash;
        std::uint64_t offset;
        std::string_view key;
    };
    Pending ahead[kAhead];
    std::size_t read = 0, filled = 0;  // lines begun and filled, counted without end
    auto fillAll = [&] {
        for (; filled < read; ++filled) {
            const Pending& next = ahead[filled % kAhead];
            insert(next.hash, next.offset, next.key);
        }
    };
    // Without the memory for an index, lookups scan.
    bool indexed = allocate(capacity);
    for (const char* p = base; p < end;) {
        ++lineCount_;
        const LineScan line = ScanLine(p, end);
        if (indexed && line.lineEnd != p && !kSkippedLead[static_cast<unsigned char>(*p)]) {
            if ((used + (read - filled) + 1) * 5 > (mask_ + 1) * 3) {
                fillAll();
                if (!grow()) indexed = false;
            }
            if (indexed) {
                const std::uint64_t hash = HashKey(line.key);
                __builtin_prefetch(slots() + (hash & mask_));
                if (read - filled == kAhead) {
                    const Pending& next = ahead[filled++ % kAhead];
                    insert(next.hash, next.offset, next.key);
                }
                ahead[read++ % kAhead] = {hash, static_cast<std::uint64_t>(p - base), line.key};
            }
        }
        // Past the line's end as ForEachLine steps: CR LF is one end.
        p = line.lineEnd;
        if (p < end) p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
    }
    if (indexed) fillAll();
    return indexed;
}

std::optional<PriceListEntry> PriceList::FindLinear(std::string_view partNumber) const
{
    std::optional<PriceListEntry> found;
    ForEachLine(std::string_view(text_.data(), text_.size()), [&](std::string_view line) {
        if (Skipped(line) || KeyOf(line) != partNumber) return true;
        found = EntryOf(line);
        return false;
    });
    return found;
}

std::optional<PriceListEntry> PriceList::Find(std::string_view partNumber) const
{
    if (slots_.empty()) return FindLinear(partNumber);
    Lookup lookup;
    lookup.hash_ = HashKey(partNumber);
    return Find(partNumber, lookup);
}

PriceList::Lookup PriceList::Begin(std::string_view partNumber) const
{
    Lookup lookup;
    if (slots_.empty()) return lookup;
    lookup.hash_ = HashKey(partNumber);
    __builtin_prefetch(slots_.data() + (lookup.hash_ & mask_) * (narrow_ ? 4 : 8));
    return lookup;
}

template <class Slot>
const char* PriceList::LineOfSlot(std::uint64_t hash) const
{
    const SlotCodec<Slot> codec{offsetBits_};
    const Slot slot = reinterpret_cast<const Slot*>(slots_.data())[hash & mask_];
    return slot != 0 && codec.HasTag(slot, codec.Tag(hash)) ? text_.data() + codec.Offset(slot) : nullptr;
}

void PriceList::Advance(const Lookup& lookup) const
{
    if (slots_.empty()) return;
    const char* const line = narrow_ ? LineOfSlot<std::uint32_t>(lookup.hash_) : LineOfSlot<std::uint64_t>(lookup.hash_);
    if (line != nullptr) __builtin_prefetch(line);
}

template <class Slot>
std::optional<PriceListEntry> PriceList::FindWith(std::string_view partNumber, std::uint64_t hash) const
{
    const SlotCodec<Slot> codec{offsetBits_};
    const std::uint64_t tag = codec.Tag(hash);
    const auto* const slots = reinterpret_cast<const Slot*>(slots_.data());
    const char* const end = text_.data() + text_.size();
    for (std::uint64_t j = hash & mask_;; j = (j + 1) & mask_) {
        const Slot slot = slots[j];
        if (slot == 0) return std::nullopt;
        if (!codec.HasTag(slot, tag)) continue;
        const std::uint64_t offset = codec.Offset(slot);
        if (KeyAt(text_.data() + offset, end) == partNumber) return EntryOf(LineAt(offset));
    }
}

std::optional<PriceListEntry> PriceList::Find(std::string_view partNumber, const Lookup& lookup) const
{
    if (slots_.empty()) return FindLinear(partNumber);
    return narrow_ ? FindWith<std::uint32_t>(partNumber, lookup.hash_) : FindWith<std::uint64_t>(partNumber, lookup.hash_);
}

}  // namespace quillon
