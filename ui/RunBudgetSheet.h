#pragma once
// The run budget of one results row as the panel beside the grids shows it:
// texts with their units, worked out from the engine's figures and number
// texts (two decimals by the results' rule, prices as the price cells read).
// No widget: the panel only puts these texts into its labels.

#include <array>
#include <optional>
#include <string>

#include "engine/AnalysisColumns.h"
#include "engine/PriceList.h"

namespace quillon {

struct RunBudgetSheet {
    std::string PartNumber;      // the line's
    std::string Length;          // "500 ft", "100 m"
    std::string Vswr;            // the load's, "1.5"
    std::string Reflection;      // the load's reflection coefficient, "0.20"
    std::string CableLoss;       // "5.50 dB"; "N/A" as the results' total attenuation
    std::string ConnectorLoss;   // both ends, "0.03 dB"
    std::string MismatchLoss;    // "0.18 dB"
    std::string SystemLoss;      // "5.71 dB"
    std::string PowerDelivered;  // "26.86 %"
    std::string CableCost;       // "USD 1500.00"
    // The part numbers chosen for the two ends (empty: none) and their prices
    // in the row's currency; a part number the price list lacks has none.
    std::array<std::string, 2> PartNumbers;
    std::array<std::string, 2> PartPrices;
    // The cable and the chosen connectors, added up as their prices show;
    // "N/A" when one of them has no amount.
    std::string Total;
    // With the loss criterion on: its maximum ("6 dB") and the longest run
    // whose cable loss stays within it ("545.45 ft").
    std::optional<std::string> MaxLoss;
    std::string LongestRun;
};

inline constexpr const char* kNoListPrice = "not in price list";

// Raises the errors the row's filling raises for the same line.
RunBudgetSheet MakeRunBudgetSheet(const TTransmissionLine& line, const RowBasis& basis,
                                  const std::array<std::string, 2>& partNumbers, const PriceList& priceList);

}  // namespace quillon
