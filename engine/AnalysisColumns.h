#pragma once
// The band-edge and run-budget figures of a results row as the window's panel
// and the query tool's extra columns show them: headings and cell texts, in
// one place so that both read the same. They sit beside the fourteen columns
// and never change them.

#include "engine/Analysis.h"
#include "engine/Catalogue.h"
#include "engine/Currencies.h"
#include "engine/ResultRows.h"
#include "engine/RunBudget.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

enum class RowFilling { Interactive, CommandLine };

// The numbers one row of the results stands on, as its filling reads them.
struct RowBasis {
    RowFilling Filling = RowFilling::Interactive;
    double F1 = 0, F2 = 0;  // the band of the row's mid-band figures, MHz
    long double Length = 0;
    bool Feet = true;
    long double Vswr = 1.1L;
    int CurrencyTag = 1;                   // interactive only; the command line shows US dollars
    const ExchangeRates* Rates = nullptr;  // interactive only; none: no rate file
    std::optional<long double> MaxLoss;    // given only when the loss criterion is on
};

// The interactive filling's numbers: the query band, length, units and VSWR
// read from their texts (a text that is no number raises the conversion error,
// as the filling does). maxLoss: the maximum loss when the loss criterion is on.
RowBasis InteractiveRowBasis(const InteractiveFillInputs& inputs, std::optional<long double> maxLoss);
// The command-line filling's numbers for one line: the line's own band, the
// parameter's length and unit, VSWR 1.1. Nothing when the parameter gives no
// length (the results then hide their computed columns).
std::optional<RowBasis> CommandLineRowBasis(const TTransmissionLine& line, std::string_view argument);

// The run budget of one row as numbers, for the window's panel. A figure is
// empty where its cell reads "N/A".
struct RunBudgetFigures {
    std::optional<long double> Reflection;     // the load's reflection coefficient
    std::optional<long double> Mismatch;       // dB
    std::optional<long double> CableLoss;      // dB, the results' total attenuation
    std::optional<long double> ConnectorLoss;  // dB, both ends
    std::optional<long double> InsertionLoss;  // dB, cable and connectors, as the results
    std::optional<long double> System;         // dB, insertion and mismatch loss
    std::optional<long double> Delivered;      // percent
    std::optional<long double> CableCost;      // in the row's currency
    std::optional<LongestRun> Longest;         // in the row's units
};
// Raises the errors the results raise for the same line (a formula without a
// value at the mid-band, a bad exchange rate), which no filled row has met.
RunBudgetFigures ComputeRunBudget(const TTransmissionLine& line, const RowBasis& basis);

// "Attenuation At Band Start (dB/100 ft)", "Attenuation At Band End (dB/100 ft)",
// "Worst Insertion Loss (dB)".
const std::array<std::string, 3>& EdgeHeadings();
// "Mismatch Loss (dB)", "System Loss (dB)", "Power Delivered (%)",
// "Cable Cost (CODE)", "Longest Run (ft)" or "Longest Run (m)". CODE is what
// the price heading shows in its brackets ("$US" as designed, "USD" once an
// interactive filling has set it), taken from the heading itself so the two
// always agree.
std::array<std::string, 5> BudgetHeadings(std::string_view pricePerFootHeading, bool feet);

// Two decimals by the results' rule; "N/A" where the law has no value or, for
// the insertion loss, where the results show "N/A" (a zero length in the
// interactive filling).
std::array<std::string, 3> EdgeCells(const TTransmissionLine& line, const RowBasis& basis);
// Two decimals by the results' rule; the cost as the price cells read
// ("USD 123.45" interactive, "$123.45" command line); "N/A" for the loss,
// delivered-power and cost cells where the results show "N/A" (a zero length
// in the interactive filling), for the mismatch where the VSWR is below 1, for
// the longest run where no maximum loss was given.
std::array<std::string, 5> BudgetCells(const TTransmissionLine& line, const RowBasis& basis);

// True when a filling reached the end of the row: a row where it stopped on an
// error keeps empty cells, and so do its extra columns ("an empty price gives
// an empty cost").
bool RowFilledToEnd(const ResultRow& row);

// Extra columns for a whole filled table, row for row; rows the filling did
// not complete, and every row of a command line without a length, get empty
// cells. Edge columns come before budget columns.
struct ExtraColumns {
    std::vector<std::string> Headings;
    std::vector<std::vector<std::string>> Rows;
};
ExtraColumns InteractiveExtraColumns(const ResultTable& table, const LineList& lines,
                                     const InteractiveFillInputs& inputs, std::optional<long double> maxLoss,
                                     bool edges, bool budget);
ExtraColumns CommandLineExtraColumns(const ResultTable& table, const LineList& lines, std::string_view argument,
                                     bool edges, bool budget);

}  // namespace quillon
