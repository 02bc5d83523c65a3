#pragma once
// quillon-query --check: every problem of the catalogue, the price list and
// the rates at once, for whoever maintains them before they ship.

#include "engine/Catalogue.h"
#include "engine/Currencies.h"
#include "engine/DataSet.h"
#include "engine/PriceList.h"

#include <string>
#include <vector>

namespace quillon::tool {

struct DataCheck {
    std::string Listing;              // one "file:line: text" line per problem, in file order
    std::vector<std::string> Errors;  // files that are missing or cannot be read: nothing was checked
};

DataCheck CheckDataSet(const DataSetPaths& paths);

// The one-based file line number of each catalogue line, in the order the
// catalogue holds its lines (the first row of each run of rows with one part number).
std::vector<std::size_t> LineRowNumbers(const std::vector<std::string>& rows);

// True when some line of the price list holds a part number and a price
// that reads as a number.
bool HasUsablePriceEntry(const PriceList& priceList);
// True when the rates hold a line for the code, whatever its rate.
bool HasRateLine(const ExchangeRates& rates, const std::string& code);

}  // namespace quillon::tool
