#pragma once
// The sixteen values of a query file (section "data") and how a query page
// takes them: defaults for missing keys, the two families of flags and the
// click and entry-box rules of the page.

#include "engine/Search.h"

#include <string>
#include <vector>

namespace quillon {

inline constexpr const char* kQuerySection = "data";

// The sixteen "key=value" lines a save writes, in order.
std::vector<std::string> QueryFileLines(const QueryPage& page);

// The items of the page's four lists; the frequency lists keep their order,
// the connector lists are sorted (case-insensitive).
struct QueryPageLists {
    std::vector<std::string> Beginning, Ending, Connector1, Connector2;
};

// Selects the entry equal to the text (letter case ignored), adding the text
// first when no entry equals it: at the end, or in its sorted place.
std::string SelectOrAdd(std::vector<std::string>& items, const std::string& text, bool sorted);

// The query page after opening a query file whose section lines are given,
// starting from the page as it stood. Entry boxes that receive a non-number
// become "0" and add the information message to `messages`.
QueryPage ApplyQueryFile(QueryPage page, QueryPageLists& lists, const std::vector<std::string>& sectionLines,
                         std::vector<Message>& messages);

// The entry-box rule's message.
inline constexpr const char* kNumericFieldMessage = "This field must contain a numeric value.";

// Empty or a number: kept; anything else: "0" with the message.
bool IsNumericEntry(const std::string& text);

}  // namespace quillon
