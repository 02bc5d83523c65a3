#pragma once
// The price list "M_lom.dat": descriptions and US-dollar list prices by part number.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

struct PriceListEntry {
    std::string Description;
    long double Price = 0;  // US dollars
};

class PriceList {
public:
    PriceList() = default;
    explicit PriceList(std::vector<std::string> lines);

    const std::vector<std::string>& Lines() const { return lines_; }
    bool empty() const { return lines_.empty(); }

    // First non-skipped line whose field 3 equals the part number exactly.
    // Answers from an index built with the list; always equal to FindLinear.
    std::optional<PriceListEntry> Find(std::string_view partNumber) const;
    // The literal scan from the first line.
    std::optional<PriceListEntry> FindLinear(std::string_view partNumber) const;

private:
    std::optional<PriceListEntry> EntryAt(std::size_t index) const;

    std::vector<std::string> lines_;
    std::unordered_map<std::string, std::size_t> index_;
};

}  // namespace quillon
