#pragma once
// Rows put in a new order: element k of an order names the row to show k-th.
// A sort of the results moves the grid's cells and the session's result lines
// by the same order, so that each row still shows its own line.

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

namespace quillon {

// True when the order names each of `count` rows exactly once.
inline bool IsRowOrder(std::span<const std::size_t> order, std::size_t count)
{
    if (order.size() != count) return false;
    std::vector<bool> seen(count, false);
    for (const std::size_t row : order) {
        if (row >= count || seen[row]) return false;
        seen[row] = true;
    }
    return true;
}

// The rows in the order given; the order must name each row once.
template <class T>
void ApplyRowOrder(std::vector<T>& rows, std::span<const std::size_t> order)
{
    std::vector<T> ordered;
    ordered.reserve(order.size());
    for (const std::size_t row : order) ordered.push_back(std::move(rows[row]));
    rows = std::move(ordered);
}

}  // namespace quillon
