#include "engine/BandEdgeList.h"

#include "engine/NumberText.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <utility>

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

// A radix sort, eleven bits of the key at a time from the lowest: a
// catalogue's tens of thousands of edges in a few straight passes instead
// of a comparison sort's many. Digits all edges share (the sign and the top
// of the exponent, mostly) cost no pass. Returns the items in order, in
// place or in spare, whichever the last pass wrote to.
template <class Item>
const Item* SortByValue(Item* items, Item* spare, std::size_t n)
{
    constexpr int kBits = 11;
    constexpr int kDigits = (64 + kBits - 1) / kBits;
    constexpr std::size_t kBuckets = std::size_t{1} << kBits;
    using Counts = std::array<std::array<std::size_t, kBuckets>, kDigits>;
    const auto counts = std::make_unique<Counts>();  // cleared; too large for a thread's stack
    auto digit = [](std::uint64_t key, int d) { return static_cast<std::size_t>(key >> (kBits * d)) & (kBuckets - 1); };
    for (const Item* item = items; item != items + n; ++item) {
        const std::uint64_t key = OrderKey(item->value);
        for (int d = 0; d < kDigits; ++d) ++(*counts)[static_cast<std::size_t>(d)][digit(key, d)];
    }
    Item* from = items;
    Item* to = spare;
    for (int d = 0; d < kDigits; ++d) {
        auto& count = (*counts)[static_cast<std::size_t>(d)];
        if (std::find(count.begin(), count.end(), n) != count.end()) continue;
        std::size_t start = 0;
        for (std::size_t& c : count) start += std::exchange(c, start);
        for (const Item* item = from; item != from + n; ++item) to[count[digit(OrderKey(item->value), d)]++] = *item;
        std::swap(from, to);
    }
    return from;
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
    unsigned written = 0;
    do {  // at least one digit before the "."
        if (written == fraction && fraction > 0) *--p = '.';
        *--p = static_cast<char>('0' + digits % 10);
        digits /= 10;
        ++written;
    } while (digits != 0 || written <= fraction);
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
