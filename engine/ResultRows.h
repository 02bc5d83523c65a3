#pragma once
// The 14-column results table: headings and cell texts for a list of lines,
// as the interactive filling and the command-line filling compute them.

#include "engine/Catalogue.h"
#include "engine/Currencies.h"
#include "engine/PriceList.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

inline constexpr int kResultColumns = 14;
using ResultRow = std::array<std::string, kResultColumns>;

// Headings as designed, before any filling changes the two price headings.
const std::array<std::string, kResultColumns>& DesignedResultHeadings();

// The table as the grid holds it; fillings change it in place and leave the
// cells they reached when they stop on an error.
struct ResultTable {
    std::array<std::string, kResultColumns> Headings = DesignedResultHeadings();
    std::vector<ResultRow> Rows;
    std::array<bool, kResultColumns> Hidden{};  // hidden columns stay hidden for the run
};

// What the interactive filling reads from the query page and the currency menu.
struct InteractiveFillInputs {
    std::string BeginningFrequency;  // text of cbxBeginningFrequency
    std::string EndingFrequency;     // text of cbxEndingFrequency
    std::string Length;              // text of edtLength
    bool Feet = true;                // rbFeet selected
    std::string Vswr = "1.1";        // text of edtVSWR
    int CurrencyTag = 1;             // Tag of the checked currency item
    const ExchangeRates* Rates = nullptr;
};

// One part-number grid of the results page: each part number of the chosen
// connector with its description and price from the price list.
struct PartNumberTable {
    static constexpr int kColumns = 3;
    std::array<std::string, kColumns> Headings{"Part Number", "Description", "Price ($US)"};
    std::vector<std::array<std::string, kColumns>> Rows;
};

// Column 9's text for an insertion loss, added to out: always the text of
// FormatFixed2(EfficiencyFrom(insertionLoss)), and the same error where that raises one.
void AppendEfficiencyText(std::string& out, long double insertionLoss);

// Each returns the error text when the filling stopped early (the table then
// holds the cells filled before it), or nothing when every row was filled.
[[nodiscard]] std::optional<std::string> FillInteractiveRows(ResultTable& table, const LineList& lines,
                                                             const InteractiveFillInputs& inputs);
// What the one-parameter command line asks of the results: a part number,
// optionally followed by "|" length "|" unit. Without a second "|" the length
// reads as empty, which raises the conversion error.
struct CommandLineRun {
    bool HasLength = false;
    long double Length = 0;
    bool Feet = true;  // the unit is exactly "M" for metres; any other rest means feet
};
CommandLineRun ReadCommandLineRun(std::string_view argument);

// The filling for a program started with exactly one parameter: a part number,
// optionally followed by "|" length "|" unit.
[[nodiscard]] std::optional<std::string> FillCommandLineRows(ResultTable& table, const LineList& lines,
                                                             std::string_view argument);
// One row per part number of the connector (none without one). A part number
// the price list holds gets its description and its price in the currency of
// the Tag, and the price heading names that currency; one it lacks keeps
// empty cells.
[[nodiscard]] std::optional<std::string> FillPartNumberRows(PartNumberTable& table, const TConnector* connector,
                                                            const PriceList& priceList, const ExchangeRates& rates,
                                                            int currencyTag);

}  // namespace quillon
