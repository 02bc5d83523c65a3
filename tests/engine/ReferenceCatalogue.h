#pragma once
// The catalogue built as the program first did it: each row split, each
// number read the long way, the value lists made by sorting every value and
// writing each in the general format. The builder of engine/Catalogue.h must
// give the same records, lists, errors and line numbers; the tests hold it
// to this.

#include "engine/Catalogue.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::test {

// Fields 1 to 22 of a row, each the text before its "|"; missing ones are empty.
std::array<std::string_view, 22> ReferenceSplitRow(std::string_view row);

void ReferenceBuildCatalogue(const std::vector<std::string>& rows, Catalogue& catalogue);

// The distinct general-format texts of the values, in ascending order: every
// value sorted, then each written.
std::vector<std::string> ReferenceInNumericOrder(std::vector<double> values);

}  // namespace quillon::test
