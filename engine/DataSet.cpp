#include "engine/DataSet.h"

#include <utility>

namespace quillon {

DataSetPaths DataSetPathsIn(const std::string& programFolder, const std::string& dataFolder)
{
    return {programFolder + "/" + kCatalogueFileName, dataFolder + "/" + kPriceListFileName,
            programFolder + "/" + kRatesFileName};
}

DataSetLoad LoadDataSet(const DataSetPaths& paths, DataSet& data)
{
    DataSetLoad load;
    // The program's folder is tested first; one message covers both.
    for (const std::string* path : {&paths.Catalogue, &paths.PriceList})
        if (!IsPresentFile(*path)) load.Missing.push_back(*path);
    if (!load.Missing.empty()) return load;

    // Without the rates file there is no currency menu and no conversion.
    data.exchangeRates.HasExchangeRates = IsPresentFile(paths.Rates);
    if (data.exchangeRates.HasExchangeRates) {
        TextLines rates = ReadTextLines(paths.Rates);
        if (rates.Error) {
            load.Unreadable = std::move(rates.Error);
            return load;
        }
        data.exchangeRates.Lines = std::move(rates.Lines);
    }
    TextLines rows = ReadTextLines(paths.Catalogue);
    if (rows.Error) {
        load.Unreadable = std::move(rows.Error);
        return load;
    }
    TextLines prices = ReadTextLines(paths.PriceList);
    if (prices.Error) {
        load.Unreadable = std::move(prices.Error);
        return load;
    }
    data.PriceListLines = PriceList(std::move(prices.Lines));
    // Also collects the band edges (in ascending numeric order) and the
    // connector names.
    BuildCatalogue(rows.Lines, data.catalogue);
    return load;
}

}  // namespace quillon
