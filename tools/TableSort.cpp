#include "tools/TableSort.h"

#include "engine/CellOrder.h"
#include "engine/PipeRecord.h"

#include <utility>

namespace quillon::tool {

std::optional<std::size_t> FindColumn(const PrintedTable& table, std::string_view heading)
{
    for (std::size_t c = 0; c < table.Headings.size(); ++c)
        if (table.Headings[c] == heading) return c;
    std::optional<std::size_t> found;
    for (std::size_t c = 0; c < table.Headings.size(); ++c) {
        if (UpperAscii(table.Headings[c]) != UpperAscii(heading)) continue;
        if (found) return std::nullopt;  // two headings differ in letter case only: name it exactly
        found = c;
    }
    return found;
}

std::vector<std::size_t> SortedRows(const PrintedTable& table, std::size_t column, bool descending)
{
    std::vector<std::string> cells;
    cells.reserve(table.Rows.size());
    for (const auto& row : table.Rows) cells.push_back(column < row.size() ? row[column] : std::string());
    return SortedRowOrder(cells, descending ? SortDirection::Descending : SortDirection::Ascending);
}

void SortRows(PrintedTable& table, std::size_t column, bool descending)
{
    const std::vector<std::size_t> order = SortedRows(table, column, descending);
    std::vector<std::vector<std::string>> sorted;
    sorted.reserve(order.size());
    for (const std::size_t row : order) sorted.push_back(std::move(table.Rows[row]));
    table.Rows = std::move(sorted);
}

}  // namespace quillon::tool
