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

// A radix sort, a byte of the key at a time from the lowest: a catalogue's
// tens of thousands of edges in a few straight passes instead of a
// comparison sort's many. Bytes all edges share (the sign and the top of
// the exponent, mostly) cost no pass. Returns the items in order, in place
// or in spare, whichever the last pass wrote to.
template <class Item>
const Item* SortByValue(Item* items, Item* spare, std::size_t n)
{
    constexpr int kBytes = 8;
    std::array<std::array<std::size_t, 256>, kBytes> counts{};
    for (const Item* item = items; item != items + n; ++item) {
        const std::uint64_t key = OrderKey(item->value);
        for (int b = 0; b < kBytes; ++b) ++counts[static_cast<std::size_t>(b)][(key >> (8 * b)) & 0xff];
    }
    Item* from = items;
    Item* to = spare;
    for (int b = 0; b < kBytes; ++b) {
        auto& count = counts[static_cast<std::size_t>(b)];
        if (std::find(count.begin(), count.end(), n) != count.end()) continue;
        std::size_t start = 0;
        for (std::size_t& c : count) start += std::exchange(c, start);
        for (const Item* item = from; item != from + n; ++item) to[count[(OrderKey(item->value) >> (8 * b)) & 0xff]++] = *item;
        std::swap(from, to);
    }
    return from;
}

}  // namespace

void BandEdgeList::Add(double value, std::string_view text)
{
    Edge edge;
    edge.value = value;
    // Most fields hold the very text the general format writes for their
    // value: keeping it spares writing it again.
    edge.size = text.size() <= sizeof edge.text && IsGeneralText(text) ? static_cast<std::uint8_t>(text.size()) : 0;
    if (edge.size != 0) std::memcpy(edge.text, text.data(), edge.size);
    edges_.push_back(edge);
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
    for (std::size_t i = 0; i < n; ++i) {
        const Edge& edge = sorted[i];
        if (i > 0 && edge.value == sorted[i - 1].value) continue;
        std::string text = edge.size != 0 ? std::string(edge.text, edge.size) : FormatGeneral(edge.value);
        if (texts.empty() || texts.back() != text) texts.push_back(std::move(text));
    }
    std::vector<Edge>().swap(edges_);
    return texts;
}

}  // namespace quillon
