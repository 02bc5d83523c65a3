#include "engine/DataSet.h"

#include <exception>
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
    TextRead rows = ReadTextFile(paths.Catalogue);
    if (rows.Error) {
        load.Unreadable = std::move(rows.Error);
        return load;
    }
    // The catalogue is built, and its text let go, before the price list is
    // read, so that the two files are never both in memory; a bad row is
    // still reported after the price list was read.
    std::exception_ptr badRow;
    try {
        // Also collects the band edges (in ascending numeric order) and the
        // connector names.
        BuildCatalogue(rows.View(), data.catalogue);
    } catch (...) {
        badRow = std::current_exception();
    }
    rows = TextRead();
    TextRead prices = ReadTextFile(paths.PriceList);
    if (prices.Error) {
        // As if the catalogue had not been built: it never is without its prices.
        data.catalogue = Catalogue();
        load.Unreadable = std::move(prices.Error);
        return load;
    }
    data.PriceListLines = PriceList(std::move(prices.Text));
    if (badRow) std::rethrow_exception(badRow);
    return load;
}

}  // namespace quillon
