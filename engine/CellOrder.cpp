#include "engine/CellOrder.h"

#include "engine/NumberText.h"
#include "engine/PipeRecord.h"

#include <algorithm>
#include <numeric>

namespace quillon {
namespace {

bool IsCapital(char c)
{
    return c >= 'A' && c <= 'Z';
}

// A price cell's amount: "$12.34" or "USD 12.34".
bool ReadPrice(std::string_view cell, long double& amount)
{
    if (cell.starts_with('$')) return TryReadNumber(cell.substr(1), amount);
    if (cell.size() > 4 && IsCapital(cell[0]) && IsCapital(cell[1]) && IsCapital(cell[2]) && cell[3] == ' ')
        return TryReadNumber(cell.substr(4), amount);
    return false;
}

// A band "806-960": the first "-" after which both sides read as numbers (a
// "-" at the start or inside an exponent belongs to a number).
bool ReadBand(std::string_view cell, long double& begin, long double& end)
{
    for (std::size_t i = cell.find('-', 1); i != std::string_view::npos; i = cell.find('-', i + 1))
        if (TryReadNumber(cell.substr(0, i), begin) && TryReadNumber(cell.substr(i + 1), end)) return true;
    return false;
}

int Sign(long double a, long double b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareText(std::string_view a, std::string_view b)
{
    // Bytes compare as unsigned, as string comparison does, so accented
    // letters sort after the ASCII ones.
    const auto caseless = [](char x, char y) {
        return static_cast<unsigned char>(UpperAscii(x)) < static_cast<unsigned char>(UpperAscii(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), caseless)) return -1;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), caseless)) return 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

int CompareKeys(const CellSortKey& a, const CellSortKey& b)
{
    if (a.Kind != b.Kind) return a.Kind < b.Kind ? -1 : 1;
    switch (a.Kind) {
        case CellSortKey::Group::Number:
            if (const int c = Sign(a.First, b.First)) return c;
            return Sign(a.Second, b.Second);
        case CellSortKey::Group::Text:
            return CompareText(a.Text, b.Text);
        default:
            return 0;
    }
}

bool HasValue(const CellSortKey& key)
{
    return key.Kind == CellSortKey::Group::Number || key.Kind == CellSortKey::Group::Text;
}

}  // namespace

CellSortKey SortKeyOf(std::string_view cell)
{
    CellSortKey key;
    if (cell.empty()) return key;
    if (cell == "N/A") {
        key.Kind = CellSortKey::Group::NotApplicable;
        return key;
    }
    long double first = 0;
    long double second = 0;
    if (TryReadNumber(cell, first) || ReadPrice(cell, first)) {
        key.Kind = CellSortKey::Group::Number;
        key.First = key.Second = first;
        return key;
    }
    if (ReadBand(cell, first, second)) {
        key.Kind = CellSortKey::Group::Number;
        key.First = first;
        key.Second = second;
        return key;
    }
    key.Kind = CellSortKey::Group::Text;
    key.Text = std::string(cell);
    return key;
}

int CompareCells(std::string_view a, std::string_view b)
{
    return CompareKeys(SortKeyOf(a), SortKeyOf(b));
}

std::vector<std::size_t> SortedRowOrder(std::span<const std::string> column, SortDirection direction)
{
    std::vector<CellSortKey> keys;
    keys.reserve(column.size());
    for (const std::string& cell : column) keys.push_back(SortKeyOf(cell));
    std::vector<std::size_t> order(column.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const bool descending = direction == SortDirection::Descending;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t i, std::size_t j) {
        const CellSortKey& a = keys[i];
        const CellSortKey& b = keys[j];
        if (descending && HasValue(a) && HasValue(b)) return CompareKeys(b, a) < 0;
        return CompareKeys(a, b) < 0;
    });
    return order;
}

}  // namespace quillon
