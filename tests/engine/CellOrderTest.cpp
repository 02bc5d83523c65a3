// Sorting result rows by a column: numbers as numbers, prices by amount,
// bands by beginning then end, text as text, "N/A" and empty cells last,
// equal cells in their given order.
#include "engine/CellOrder.h"
#include "engine/ResultRows.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

using Order = std::vector<std::size_t>;

Order Sorted(const std::vector<std::string>& column, SortDirection direction = SortDirection::Ascending)
{
    return SortedRowOrder(column, direction);
}

}  // namespace

TEST(CellOrder, WhatEachCellSortsBy)
{
    using G = CellSortKey::Group;
    struct Case {
        const char* cell;
        G group;
        long double first, second;
    };
    const Case cases[] = {
        {"12.50", G::Number, 12.5L, 12.5L}, {"-3", G::Number, -3, -3},
        {"1e3", G::Number, 1000, 1000},     {"USD 123.45", G::Number, 123.45L, 123.45L},
        {"GBP -2.00", G::Number, -2, -2},   {"$12.34", G::Number, 12.34L, 12.34L},
        {"806-960", G::Number, 806, 960},   {"883.5-1e3", G::Number, 883.5L, 1000},
        {"QX-100", G::Text, 0, 0},          {"usd 12", G::Text, 0, 0},
        {"US 12", G::Text, 0, 0},           {"Line 50", G::Text, 0, 0},
        {"N/A", G::NotApplicable, 0, 0},    {"", G::Empty, 0, 0},
    };
    for (const Case& c : cases) {
        const CellSortKey key = SortKeyOf(c.cell);
        EXPECT_EQ(key.Kind, c.group) << c.cell;
        if (c.group == G::Number) {
            EXPECT_EQ(key.First, c.first) << c.cell;
            EXPECT_EQ(key.Second, c.second) << c.cell;
        }
    }
}

TEST(CellOrder, ColumnsSortByValue)
{
    struct Case {
        const char* what;
        std::vector<std::string> column;
        Order ascending;
    };
    const Case cases[] = {
        {"numbers, not text order", {"10.00", "9.50", "100.00", "-1.00"}, {3, 1, 0, 2}},
        {"prices by amount", {"USD 123.45", "USD 23.45", "USD 1000.00", "USD 0.00"}, {3, 1, 0, 2}},
        {"dollar prices", {"$9.84", "$12.00", "$3.00"}, {2, 0, 1}},
        {"bands by beginning, then end", {"806-960", "450-470", "806-894", "1700-2200"}, {1, 2, 0, 3}},
        {"text aside from letter case", {"qx-b", "QX-A", "QX-10", "QX-9"}, {2, 3, 1, 0}},
        {"bytes beyond ASCII after the letters", {"\xC3\x96lkabel", "Zeta", "alpha"}, {2, 1, 0}},
        {"numbers before text, N/A and empty last", {"", "N/A", "QX", "2.00", "1.00"}, {4, 3, 2, 1, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(Sorted(c.column), c.ascending) << c.what;
}

TEST(CellOrder, StableWithNotApplicableAndEmptyLastBothWays)
{
    // Rows 1 and 5 are equal (9.50 and 9.5), so are rows 2 and 6 (N/A).
    const std::vector<std::string> column{"10.00", "9.50", "N/A", "", "100.00", "9.5", "N/A"};
    EXPECT_EQ(Sorted(column), (Order{1, 5, 0, 4, 2, 6, 3}));
    // Descending reverses the rows that have a value; equal ones keep their
    // given order, and "N/A" and empty cells stay last.
    EXPECT_EQ(Sorted(column, SortDirection::Descending), (Order{4, 0, 1, 5, 2, 6, 3}));
    EXPECT_TRUE(Sorted({}).empty());
}

TEST(CellOrder, SortsAResultsTableByItsPriceColumn)
{
    // Cheapest first, the two equal prices in catalogue order.
    std::vector<std::unique_ptr<TTransmissionLine>> owned;
    LineList lines;
    const double prices[] = {12.5, 3.25, 12.5, 0.99};
    for (double price : prices) {
        auto l = std::make_unique<TTransmissionLine>();
        l->PartNumber = "QX-" + std::to_string(lines.size() + 1);
        l->BeginFrequency = 50;
        l->EndFrequency = 150;
        l->Kind = "FOAM";
        l->AttenuationA = 0.1;
        l->AttenuationB = 0.001;
        l->PeakPower = 40;
        l->AveragePowerConstant = 50;
        l->ListPrice = price;
        lines.push_back(l.get());
        owned.push_back(std::move(l));
    }
    ResultTable table;
    ASSERT_FALSE(FillInteractiveRows(table, lines, {"80", "120", "0", true, "1.1", 1, nullptr}));
    std::vector<std::string> priceColumn;
    for (const ResultRow& row : table.Rows) priceColumn.push_back(row[12]);
    const Order order = SortedRowOrder(priceColumn, SortDirection::Ascending);
    std::vector<std::string> partNumbers;
    for (std::size_t r : order) partNumbers.push_back(table.Rows[r][0]);
    EXPECT_EQ(partNumbers, (std::vector<std::string>{"QX-4", "QX-2", "QX-1", "QX-3"}));
}
