#pragma once
// The sixteen values of a query file (section "data"): the lines a save
// writes, and the values an opening puts onto the page, in the same order,
// each missing or empty key taking its default.

#include <string>
#include <vector>

#include "engine/QueryPageRules.h"
#include "engine/Search.h"

namespace quillon {

inline constexpr const char* kQuerySection = "data";

// The sixteen "key=value" lines a save writes, in order.
std::vector<std::string> QueryFileLines(const QueryPage& page);

// The values of the section's lines for the page, in the order a save
// writes the keys. A cable kind is on unless its value says FALSE; a
// query-by switch is off unless its value says TRUE; "F" in any letter case
// selects Feet and anything else Meters.
std::vector<PageValue> QueryFileValues(const std::vector<std::string>& sectionLines);

// The plain page after opening a query file whose section lines are given,
// starting from the page as it stood: QueryFileValues applied with
// ApplyPageValue. Entry boxes that receive a non-number become "0" and add
// the information message to `messages`.
QueryPage ApplyQueryFile(QueryPage page, QueryPageLists& lists, const std::vector<std::string>& sectionLines,
                         std::vector<Message>& messages);

}  // namespace quillon
