#include "engine/BandEdgeList.h"

#include "engine/NumberText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace quillon {
namespace {

// A double's bits as an unsigned number in the order of the values: the
// negatives below the positives, their bits reversed. (-0 sorts just below 0;
// both read as equal values and write as "0".)
std::uint64_t OrderKey(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return (bits >> 63) != 0 ? ~bits : bits | (std::uint64_t{1} << 63);
}

// The items in the order of their values: one pass counting them into
// buckets by the top bits of their keys' spread (about as many buckets as
// items), one placing them there, then each bucket put in order on its own
// (it holds one item or none, mostly): a catalogue's tens of thousands of
// edges in two straight passes instead of a comparison sort's many. Items
// of equal keys keep their order. Returns the items in order, in place or
// in spare.
template <class Item>
const Item* SortByValue(Item* items, Item* spare, std::size_t n)
{
    auto before = [](const Item& a, const Item& b) { return OrderKey(a.value) < OrderKey(b.value); };
    if (n < 2 || n > std::numeric_limits<std::uint32_t>::max()) {
        std::stable_sort(items, items + n, before);
        return items;
    }
    std::uint64_t low = ~std::uint64_t{0}, high = 0;
    for (const Item* item = items; item != items + n; ++item) {
        const std::uint64_t key = OrderKey(item->value);
        low = std::min(low, key);
        high = std::max(high, key);
    }
    // 2^bits buckets at most, about twice the items (fewer buckets hold
    // more to put in order, more cost more to count); never over 2^21.
    const int bits = std::min(static_cast<int>(std::bit_width(n)) + 1, 21);
    const int spread = static_cast<int>(std::bit_width(high - low));
    const int shift = spread > bits ? spread - bits : 0;
    const std::size_t buckets = static_cast<std::size_t>((high - low) >> shift) + 1;
    auto bucket = [&](const Item& item) { return static_cast<std::size_t>((OrderKey(item.value) - low) >> shift); };
    // starts[b + 1] counts bucket b's items, then starts[b] is where it starts.
    std::vector<std::uint32_t> starts(buckets + 1);
    for (const Item* item = items; item != items + n; ++item) ++starts[bucket(*item) + 1];
    for (std::size_t b = 1; b <= buckets; ++b) starts[b] += starts[b - 1];
    // Placed from the last item back, each bucket filled from its end: then
    // starts[b] still tells where b starts, and starts[b + 1] where it ends.
    std::vector<std::uint32_t> ends(starts.begin() + 1, starts.end());
    for (const Item* item = items + n; item != items;) {
        --item;
        spare[--ends[bucket(*item)]] = *item;
    }
    for (std::size_t b = 0; b < buckets; ++b) {
        Item* const first = spare + starts[b];
        Item* const last = spare + starts[b + 1];
        if (last - first < 2) continue;
        if (last - first > 16) {
            // Many edges of one value (a catalogue's lines often share their
            // band) are in order already.
            const auto differ = [](const Item& a, const Item& b) { return OrderKey(a.value) != OrderKey(b.value); };
            if (std::adjacent_find(first, last, differ) != last) std::stable_sort(first, last, before);
            continue;
        }
        for (Item* i = first + 1; i != last; ++i) {
            const Item moving = *i;
            Item* j = i;
            for (; j != first && before(moving, j[-1]); --j) *j = j[-1];
            *j = moving;
        }
    }
    return spare;
}

// An edge's decimal packed in a word: whether there is one, its sign, the
// digits after the ".", and its digits (fewer than 10^15 < 2^50).
constexpr std::uint64_t kPlain = std::uint64_t{1} << 63;
constexpr std::uint64_t kNegative = std::uint64_t{1} << 62;
constexpr int kFractionShift = 50;
constexpr std::uint64_t kDigitsMask = (std::uint64_t{1} << kFractionShift) - 1;

std::uint64_t Pack(const PlainDecimal& decimal)
{
    return kPlain | (decimal.negative ? kNegative : 0) | std::uint64_t{decimal.fraction} << kFractionShift |
           decimal.digits;
}

// "00" to "99", two characters each: a text written two digits a step
// waits on half as many divisions.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> t{};
    for (std::size_t i = 0; i < 100; ++i) {
        t[2 * i] = static_cast<char>('0' + i / 10);
        t[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return t;
}();

// The last two digits of n written before p; n loses them.
inline char* WritePair(std::uint64_t& n, char* p)
{
    p -= 2;
    std::memcpy(p, kDigitPairs.data() + 2 * (n % 100), 2);
    n /= 100;
    return p;
}

// The general format's text of a plain decimal of up to 15 digits: the
// decimal itself, without zeros before its first digit (but the one before
// "."), after its last fraction digit, or a "-" on zero. Written backwards
// into the end of the buffer; returns where it starts.
char* WritePlain(std::uint64_t packed, char* end)
{
    std::uint64_t digits = packed & kDigitsMask;
    auto fraction = static_cast<unsigned>((packed >> kFractionShift) & 0xf);
    while (fraction > 0 && digits % 10 == 0) {
        digits /= 10;
        --fraction;
    }
    char* p = end;
    if (digits == 0) {
        *--p = '0';
        return p;
    }
    // The fraction's digits, zeros before its first included, then the
    // whole part, at least one digit.
    if (fraction > 0) {
        unsigned left = fraction;
        for (; left >= 2; left -= 2) p = WritePair(digits, p);
        if (left == 1) {
            *--p = static_cast<char>('0' + digits % 10);
            digits /= 10;
        }
        *--p = '.';
    }
    while (digits >= 100) p = WritePair(digits, p);
    if (digits >= 10) {
        p = WritePair(digits, p);
    } else {
        *--p = static_cast<char>('0' + digits);
    }
    if ((packed & kNegative) != 0) *--p = '-';
    return p;
}

bool SameText(const std::string& a, const char* b, std::size_t n)
{
    return a.size() == n && std::equal(a.begin(), a.end(), b);
}

static_assert(kPlainDecimalDigits <= 15, "the digits fit the packed word");

}  // namespace

double BandEdgeList::Read(std::string_view text)
{
    Edge edge;
    PlainDecimal decimal;
    // A plain decimal of up to 15 digits is what the general format writes
    // for its value, less any zeros: keeping its digits spares formatting it.
    if (ReadPlainDecimal(text, edge.value, decimal)) {
        edge.decimal = Pack(decimal);
    } else {
        edge.value = ReadDouble(text);  // a bad text raises here, before anything is kept
        edge.decimal = 0;
    }
    edges_.push_back(edge);
    return edge.value;
}

std::vector<std::string> BandEdgeList::TakeInNumericOrder()
{
    // Formatting keeps the order of the values and merges only neighbours,
    // and distinct texts read back as distinct numbers, so this is the order
    // sorting the texts by their numbers gives.
    const std::size_t n = edges_.size();
    // Every pass writes every slot: the spare needs no clearing first.
    const auto spare = std::make_unique_for_overwrite<Edge[]>(n);
    const Edge* const sorted = SortByValue(edges_.data(), spare.get(), n);
    std::size_t distinct = 0;
    for (std::size_t i = 0; i < n; ++i) distinct += i == 0 || sorted[i].value != sorted[i - 1].value;
    std::vector<std::string> texts;
    texts.reserve(distinct);
    // Whether the last text was written from a decimal: two distinct values
    // read from decimals write distinct texts (the same text is the same
    // decimal, read as the same value), so only a formatted text may equal
    // its neighbour.
    bool lastPlain = false;
    for (std::size_t i = 0; i < n; ++i) {
        const Edge& edge = sorted[i];
        if (i > 0 && edge.value == sorted[i - 1].value) continue;
        // Equal values write the same text, whichever edge of them is written.
        if (edge.decimal != 0) {
            char buffer[24];
            char* const end = buffer + sizeof buffer;
            const char* const begin = WritePlain(edge.decimal, end);
            const auto size = static_cast<std::size_t>(end - begin);
            if (texts.empty() || lastPlain || !SameText(texts.back(), begin, size)) texts.emplace_back(begin, size);
            lastPlain = true;
        } else {
            std::string text = FormatGeneral(edge.value);
            if (texts.empty() || texts.back() != text) texts.push_back(std::move(text));
            lastPlain = false;
        }
    }
    std::vector<Edge>().swap(edges_);
    return texts;
}

}  // namespace quillon
