#include "engine/PriceList.h"

#include "engine/PipeRecord.h"

#include <cmath>
#include <limits>

namespace quillon {

PriceList::PriceList(std::vector<std::string> lines) : lines_(std::move(lines))
{
    // Built with the list, so that no search pays for it: one pass keeping the
    // first line of each part number, as the scan would find it.
    index_.reserve(lines_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string& line = lines_[i];
        if (line.empty() || IsSkippedLeadChar(line.front())) continue;
        index_.try_emplace(PipeField(line, 3), i);
    }
}

namespace {

// A line's price is held as a 64-bit float: a text beyond that range is no
// price it can hold, so it counts as a price that is not a number (0), like
// any other, rather than turning into an infinity that shows as a price.
long double PriceOrZero(std::string_view text)
{
    const long double price = NumberOrDefault(text, "0");
    return std::fabs(price) <= std::numeric_limits<double>::max() ? price : 0;
}

}  // namespace

std::optional<PriceListEntry> PriceList::EntryAt(std::size_t index) const
{
    const std::string& line = lines_[index];
    return PriceListEntry{PipeField(line, 5), PriceOrZero(PipeField(line, 6))};
}

std::optional<PriceListEntry> PriceList::FindLinear(std::string_view partNumber) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string& line = lines_[i];
        if (line.empty() || IsSkippedLeadChar(line.front())) continue;
        if (PipeField(line, 3) == partNumber) return EntryAt(i);
    }
    return std::nullopt;
}

std::optional<PriceListEntry> PriceList::Find(std::string_view partNumber) const
{
    const auto it = index_.find(std::string(partNumber));
    if (it == index_.end()) return std::nullopt;
    return EntryAt(it->second);
}

}  // namespace quillon
