#include "engine/AnalysisColumns.h"

#include "engine/Errors.h"
#include "engine/NumberText.h"

namespace quillon {
namespace {

const std::string kNotApplicable = "N/A";

std::string Fixed2OrNA(const std::optional<long double>& value)
{
    return value ? FormatFixed2(*value) : kNotApplicable;
}

// The interactive filling shows "N/A" for the figures of a zero-length run;
// the command-line filling computes them whatever the length.
bool LengthNotApplicable(const RowBasis& basis)
{
    return basis.Filling == RowFilling::Interactive && basis.Length == 0;
}

const ExchangeRates& RatesOf(const RowBasis& basis)
{
    static const ExchangeRates kNoRates;
    return basis.Rates != nullptr ? *basis.Rates : kNoRates;
}

std::string PriceText(const RowBasis& basis, long double amount)
{
    if (basis.Filling == RowFilling::CommandLine) return "$" + FormatFixed2(amount);
    return CurrentCurrencyCode(RatesOf(basis), basis.CurrencyTag).Code + " " + FormatFixed2(amount);
}

}  // namespace

RowBasis InteractiveRowBasis(const InteractiveFillInputs& inputs, std::optional<long double> maxLoss)
{
    RowBasis basis;
    basis.Filling = RowFilling::Interactive;
    basis.F1 = ReadDouble(inputs.BeginningFrequency);
    basis.F2 = ReadDouble(inputs.EndingFrequency);
    basis.Length = ReadNumber(inputs.Length);
    basis.Feet = inputs.Feet;
    basis.Vswr = ReadNumber(inputs.Vswr);
    basis.CurrencyTag = inputs.CurrencyTag;
    basis.Rates = inputs.Rates;
    basis.MaxLoss = maxLoss;
    return basis;
}

std::optional<RowBasis> CommandLineRowBasis(const TTransmissionLine& line, std::string_view argument)
{
    const CommandLineRun run = ReadCommandLineRun(argument);
    if (!run.HasLength) return std::nullopt;
    RowBasis basis;
    basis.Filling = RowFilling::CommandLine;
    basis.F1 = line.BeginFrequency;
    basis.F2 = line.EndFrequency;
    basis.Length = run.Length;
    basis.Feet = run.Feet;
    basis.Vswr = 1.1L;  // the VSWR the command-line results derate for
    return basis;
}

RunBudgetFigures ComputeRunBudget(const TTransmissionLine& line, const RowBasis& basis)
{
    RunBudgetFigures out;
    out.Reflection = ReflectionCoefficient(basis.Vswr);
    out.Mismatch = MismatchLoss(basis.Vswr);
    out.ConnectorLoss = ConnectorLoss(basis.F1, basis.F2);
    if (!LengthNotApplicable(basis)) {
        const long double per100ft = AttenuationPer100ft(line, basis.F1, basis.F2);
        out.CableLoss = TotalAttenuationFrom(per100ft, basis.Feet, basis.Length);
        out.InsertionLoss = InsertionLossFrom(*out.CableLoss, basis.F1, basis.F2);
        if (out.Mismatch) {
            out.System = SystemLoss(*out.InsertionLoss, *out.Mismatch);
            out.Delivered = PowerDelivered(*out.System);
        }
        out.CableCost = basis.Filling == RowFilling::CommandLine
                            ? line.ListPrice * RunFeet(basis.Feet, basis.Length)
                            : CableCost(RatesOf(basis), basis.CurrencyTag, line.ListPrice, basis.Feet, basis.Length);
    }
    if (basis.MaxLoss)
        out.Longest = LongestRunWithin(line, basis.Feet ? "Feet" : "Meters", *basis.MaxLoss, basis.F1, basis.F2);
    return out;
}

const std::array<std::string, 3>& EdgeHeadings()
{
    static const std::array<std::string, 3> headings{
        "Attenuation At Band Start (dB/100 ft)", "Attenuation At Band End (dB/100 ft)", "Worst Insertion Loss (dB)"};
    return headings;
}

std::array<std::string, 5> BudgetHeadings(std::string_view pricePerFootHeading, bool feet)
{
    std::string cost = "Cable Cost";
    const std::size_t open = pricePerFootHeading.rfind('(');
    if (open != std::string_view::npos && pricePerFootHeading.ends_with(')'))
        cost += " " + std::string(pricePerFootHeading.substr(open));
    return {"Mismatch Loss (dB)", "System Loss (dB)", "Power Delivered (%)", cost,
            feet ? "Longest Run (ft)" : "Longest Run (m)"};
}

std::array<std::string, 3> EdgeCells(const TTransmissionLine& line, const RowBasis& basis)
{
    const BandEdges edges = BandEdgeFigures(line, basis.F1, basis.F2, basis.Feet, basis.Length);
    return {Fixed2OrNA(edges.AtStart), Fixed2OrNA(edges.AtEnd),
            LengthNotApplicable(basis) ? kNotApplicable : Fixed2OrNA(edges.InsertionLoss)};
}

std::array<std::string, 5> BudgetCells(const TTransmissionLine& line, const RowBasis& basis)
{
    const RunBudgetFigures b = ComputeRunBudget(line, basis);
    return {Fixed2OrNA(b.Mismatch), Fixed2OrNA(b.System), Fixed2OrNA(b.Delivered),
            b.CableCost ? PriceText(basis, *b.CableCost) : kNotApplicable,
            b.Longest ? FormatFixed2(b.Longest->Shown) : kNotApplicable};
}

bool RowFilledToEnd(const ResultRow& row)
{
    // The interactive filling ends a row with the loss columns (7 to 9), the
    // command-line filling with the prices (13, 14); a command line without a
    // length leaves columns 4 to 12 empty on purpose.
    constexpr std::size_t kAttenuation = 4, kEfficiency = 8, kPricePerMeter = 13;
    return !row[kPricePerMeter].empty() && (!row[kEfficiency].empty() || row[kAttenuation].empty());
}

namespace {

template <typename BasisOf>
ExtraColumns Extras(const ResultTable& table, const LineList& lines, bool feet, bool edges, bool budget,
                    BasisOf&& basisOf)
{
    ExtraColumns out;
    if (edges) out.Headings.insert(out.Headings.end(), EdgeHeadings().begin(), EdgeHeadings().end());
    if (budget) {
        const auto headings = BudgetHeadings(table.Headings[12], feet);
        out.Headings.insert(out.Headings.end(), headings.begin(), headings.end());
    }
    const std::size_t width = out.Headings.size();
    for (std::size_t r = 0; r < table.Rows.size(); ++r) {
        std::vector<std::string> cells(width);
        try {
            const std::optional<RowBasis> basis =
                r < lines.size() && RowFilledToEnd(table.Rows[r]) ? basisOf(*lines[r]) : std::nullopt;
            if (basis) {
                std::size_t c = 0;
                if (edges)
                    for (std::string& cell : EdgeCells(*lines[r], *basis)) cells[c++] = std::move(cell);
                if (budget)
                    for (std::string& cell : BudgetCells(*lines[r], *basis)) cells[c++] = std::move(cell);
            }
        } catch (const QuillonError&) {
            cells.assign(width, std::string());  // no filled row meets one; an unfilled one stays empty
        }
        out.Rows.push_back(std::move(cells));
    }
    return out;
}

}  // namespace

ExtraColumns InteractiveExtraColumns(const ResultTable& table, const LineList& lines,
                                     const InteractiveFillInputs& inputs, std::optional<long double> maxLoss,
                                     bool edges, bool budget)
{
    return Extras(table, lines, inputs.Feet, edges, budget, [&](const TTransmissionLine&) {
        return std::optional<RowBasis>(InteractiveRowBasis(inputs, maxLoss));
    });
}

ExtraColumns CommandLineExtraColumns(const ResultTable& table, const LineList& lines, std::string_view argument,
                                     bool edges, bool budget)
{
    bool feet = true;
    try {
        feet = ReadCommandLineRun(argument).Feet;
    } catch (const QuillonError&) {
        // The filling stopped on the same error; every row stays empty.
    }
    return Extras(table, lines, feet, edges, budget,
                  [&](const TTransmissionLine& line) { return CommandLineRowBasis(line, argument); });
}

}  // namespace quillon
