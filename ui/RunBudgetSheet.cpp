#include "ui/RunBudgetSheet.h"

#include "engine/NumberText.h"

namespace quillon {
namespace {

const std::string kNotApplicable = "N/A";

std::string WithUnit(const std::optional<long double>& value, const char* unit)
{
    return value ? FormatFixed2(*value) + " " + unit : kNotApplicable;
}

// What a shown amount adds to a total: the amount as its two decimals read,
// so that the total is the sum of the figures above it.
long double AsShown(long double amount)
{
    return ReadNumber(FormatFixed2(amount));
}

}  // namespace

RunBudgetSheet MakeRunBudgetSheet(const TTransmissionLine& line, const RowBasis& basis,
                                  const std::array<std::string, 2>& partNumbers, const PriceList& priceList)
{
    const RunBudgetFigures figures = ComputeRunBudget(line, basis);
    const char* unit = basis.Feet ? "ft" : "m";

    RunBudgetSheet sheet;
    sheet.PartNumber = line.PartNumber;
    sheet.Length = FormatGeneral(basis.Length) + " " + unit;
    sheet.Vswr = FormatGeneral(basis.Vswr);
    sheet.Reflection = figures.Reflection ? FormatFixed2(*figures.Reflection) : kNotApplicable;
    sheet.CableLoss = WithUnit(figures.CableLoss, "dB");
    sheet.ConnectorLoss = WithUnit(figures.ConnectorLoss, "dB");
    sheet.MismatchLoss = WithUnit(figures.Mismatch, "dB");
    sheet.SystemLoss = WithUnit(figures.System, "dB");
    sheet.PowerDelivered = WithUnit(figures.Delivered, "%");
    sheet.CableCost = figures.CableCost ? PriceCellText(basis, *figures.CableCost) : kNotApplicable;

    bool totalKnown = figures.CableCost.has_value();
    long double total = totalKnown ? AsShown(*figures.CableCost) : 0;
    for (std::size_t end = 0; end < partNumbers.size(); ++end) {
        sheet.PartNumbers[end] = partNumbers[end];
        if (partNumbers[end].empty()) continue;  // no connector to choose at this end
        const std::optional<PriceListEntry> entry = priceList.Find(partNumbers[end]);
        if (!entry) {
            sheet.PartPrices[end] = kNoListPrice;
            totalKnown = false;
            continue;
        }
        const long double price = PriceInRowCurrency(basis, entry->Price);
        sheet.PartPrices[end] = PriceCellText(basis, price);
        total += AsShown(price);
    }
    sheet.Total = totalKnown ? PriceCellText(basis, total) : kNotApplicable;

    if (basis.MaxLoss) {
        sheet.MaxLoss = FormatGeneral(*basis.MaxLoss) + " dB";
        sheet.LongestRun = figures.Longest ? FormatFixed2(figures.Longest->Shown) + " " + unit : kNotApplicable;
    }
    return sheet;
}

}  // namespace quillon
