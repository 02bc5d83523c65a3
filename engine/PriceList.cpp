#include "engine/PriceList.h"

#include "engine/PipeRecord.h"
#include "engine/TextFile.h"

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
constexpr int kOffsetBits = 40;
constexpr std::uint64_t kOffsetMask = (std::uint64_t{1} << kOffsetBits) - 1;
// Lookups of one batch are started together, so that their cache misses overlap.
constexpr std::size_t kBatch = 16;

bool Skipped(std::string_view line) { return line.empty() || IsSkippedLeadChar(line.front()); }

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

std::uint64_t HashKey(std::string_view key)
{
    std::uint64_t h = 0x9E3779B97F4A7C15ull * (key.size() + 1);
    const char* p = key.data();
    std::size_t n = key.size();
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t v = 0;
        std::memcpy(&v, p, 8);
        h = (h ^ v) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    }
    std::uint64_t v = 0;
    if (n != 0) std::memcpy(&v, p, n);
    h = (h ^ v) * 0x94D049BB133111EBull;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    return h ^ (h >> 32);
}

std::uint64_t TagOf(std::uint64_t hash) { return hash >> kOffsetBits; }

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
    if (text.size() >= kOffsetMask) {
        // Beyond a terabyte the offsets do not fit a slot: lookups scan.
        ForEachLine(text, [&](std::string_view) { return ++lineCount_, true; });
        return;
    }
    // Lines of a price list run to some fifty bytes; a list of shorter ones
    // makes the table grow.
    std::size_t capacity = PowerOfTwoAtLeast(text.size() / 48 * 3 / 2);
    std::size_t used = 0;
    auto allocate = [&](std::size_t slots) {
        slots_ = LargeBuffer::Allocate(slots * sizeof(std::uint64_t));
        if (slots_.empty()) return false;
        std::memset(slots_.data(), 0, slots_.size());
        mask_ = slots - 1;
        return true;
    };

    struct Pending {
        std::uint64_t hash;
        std::uint64_t offset;
        std::string_view key;
    };
    // The first line of a part number keeps its slot, as the scan would find it.
    auto insert = [this, &used](std::uint64_t hash, std::uint64_t offset, std::string_view key) {
        std::uint64_t* const slots = Slots();
        const std::uint64_t tag = TagOf(hash);
        for (std::uint64_t j = hash & mask_;; j = (j + 1) & mask_) {
            const std::uint64_t slot = slots[j];
            if (slot == 0) {
                slots[j] = (tag << kOffsetBits) | (offset + 1);
                ++used;
                return;
            }
            if ((slot >> kOffsetBits) == tag && KeyOf(LineAt((slot & kOffsetMask) - 1)) == key) return;
        }
    };
    auto grow = [&] {
        const LargeBuffer old = std::move(slots_);
        const auto* oldSlots = reinterpret_cast<const std::uint64_t*>(old.data());
        const std::size_t oldCount = old.size() / sizeof(std::uint64_t);
        if (!allocate(oldCount * 2)) return false;
        used = 0;
        for (std::size_t i = 0; i < oldCount; ++i) {
            if (oldSlots[i] == 0) continue;
            const std::uint64_t offset = (oldSlots[i] & kOffsetMask) - 1;
            const std::string_view key = KeyOf(LineAt(offset));
            insert(HashKey(key), offset, key);
        }
        return true;
    };

    Pending batch[kBatch];
    std::size_t pending = 0;
    // Without the memory for an index, lookups scan.
    bool indexed = allocate(capacity);
    auto flush = [&] {
        for (std::size_t i = 0; i < pending; ++i) insert(batch[i].hash, batch[i].offset, batch[i].key);
        pending = 0;
    };
    ForEachLine(text, [&](std::string_view line) {
        ++lineCount_;
        if (!indexed || Skipped(line)) return true;
        if ((used + pending + 1) * 5 > (mask_ + 1) * 3) {
            flush();
            if (!grow()) {
                indexed = false;
                return true;
            }
        }
        const std::string_view key = KeyOf(line);
        const std::uint64_t hash = HashKey(key);
        __builtin_prefetch(Slots() + (hash & mask_));
        batch[pending++] = {hash, static_cast<std::uint64_t>(line.data() - text_.data()), key};
        if (pending == kBatch) flush();
        return true;
    });
    flush();
    if (!indexed) {
        slots_ = LargeBuffer();
        mask_ = 0;
    }
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
    __builtin_prefetch(Slots() + (lookup.hash_ & mask_));
    return lookup;
}

void PriceList::Advance(const Lookup& lookup) const
{
    if (slots_.empty()) return;
    const std::uint64_t slot = Slots()[lookup.hash_ & mask_];
    if (slot != 0 && (slot >> kOffsetBits) == TagOf(lookup.hash_))
        __builtin_prefetch(text_.data() + (slot & kOffsetMask) - 1);
}

std::optional<PriceListEntry> PriceList::Find(std::string_view partNumber, const Lookup& lookup) const
{
    if (slots_.empty()) return FindLinear(partNumber);
    const std::uint64_t hash = lookup.hash_;
    const std::uint64_t tag = TagOf(hash);
    const std::uint64_t* const slots = Slots();
    for (std::uint64_t j = hash & mask_;; j = (j + 1) & mask_) {
        const std::uint64_t slot = slots[j];
        if (slot == 0) return std::nullopt;
        if ((slot >> kOffsetBits) != tag) continue;
        const std::string_view line = LineAt((slot & kOffsetMask) - 1);
        if (KeyOf(line) == partNumber) return EntryOf(line);
    }
}

}  // namespace quillon
