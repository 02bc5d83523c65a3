#pragma once
// The order in which result cells sort when a grid or the query tool sorts
// rows by a column: numbers as numbers, text as text, "N/A" and empty cells
// after everything else.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// What a cell sorts by, from its text:
// - a number ("12.5", "-3", "1e3");
// - a price, by its amount: a currency code of three capitals, a space and a
//   number ("USD 123.45"), or "$" and a number ("$12.34");
// - a band, by its beginning and then its end: two numbers joined by "-" ("806-960");
// - any other text, as text (letter case aside, then byte by byte);
// - "N/A", then the empty cell, after all of those.
// Numbers, prices and bands sort among one another by value, before text.
struct CellSortKey {
    enum class Group { Number, Text, NotApplicable, Empty };
    Group Kind = Group::Empty;
    long double First = 0;   // the number, the amount, the band's beginning
    long double Second = 0;  // the band's end; First again for a single number
    std::string Text;        // the cell itself, for Group::Text
};
CellSortKey SortKeyOf(std::string_view cell);

// Negative when a sorts before b in ascending order, 0 when they are equal, positive after.
int CompareCells(std::string_view a, std::string_view b);

enum class SortDirection { Ascending, Descending };

// The row order that sorts a column whose cells are given in the rows' order:
// element k is the index of the row to show k-th. The sort is stable: rows
// with equal cells keep their given order in both directions, so sorting the
// catalogue order keeps catalogue order among equals. Descending reverses the
// order of the rows that have a value and keeps "N/A" and empty cells last,
// where they carry nothing to rank.
std::vector<std::size_t> SortedRowOrder(std::span<const std::string> column, SortDirection direction);

}  // namespace quillon
