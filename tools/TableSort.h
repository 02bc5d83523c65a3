#pragma once
// --sort and --descending: the printed rows ordered by one column, named by
// its heading, in the order the results grid sorts a column in the window.

#include "tools/TableText.h"

#include <optional>
#include <string_view>
#include <vector>

namespace quillon::tool {

// The column whose heading is the text, or else the one heading equal to it
// aside from letter case; nothing when no heading (or more than one) is.
std::optional<std::size_t> FindColumn(const PrintedTable& table, std::string_view heading);

// Rows by the column's cells: numbers and prices by value, text aside from
// letter case, "N/A" and empty cells last; equal rows keep their order, so a
// table in catalogue order keeps catalogue order among equals. Descending
// reverses the rows that have a value.
void SortRows(PrintedTable& table, std::size_t column, bool descending);
// The order SortRows puts the rows in: for each place, the row that goes there.
std::vector<std::size_t> SortedRows(const PrintedTable& table, std::size_t column, bool descending);

}  // namespace quillon::tool
