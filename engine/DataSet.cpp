#include "engine/DataSet.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <filesystem>
#include <system_error>
#include <thread>
#include <utility>

namespace quillon {
namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

// The price list read and indexed, or why not.
struct PriceListRead {
    std::optional<FileError> Error;  // set when the file could not be read
    PriceList List;
    IndexFillShare Share;            // the catalogue's thread, when done, takes part of the index's building
    std::exception_ptr Failure;   // anything else that went wrong, raised where the caller waits

    void Run(const std::string& path) noexcept
    {
        try {
            List = PriceList::Read(path, Error, &Share);
        } catch (...) {
            Failure = std::current_exception();
        }
    }
};

}  // namespace

std::string FileInFolder(const std::string& folder, const std::string& name)
{
    const std::string written = folder + "/" + name;
    if (IsPresentFile(written)) return written;
    std::string found;
    std::error_code ec;
    std::filesystem::directory_iterator entry(folder.empty() ? std::string("/") : folder, ec);
    for (; !ec && entry != std::filesystem::directory_iterator(); entry.increment(ec)) {
        const std::string candidate = entry->path().filename().string();
        if (SameIgnoringCase(candidate, name) && IsPresentFile(folder + "/" + candidate) &&
            (found.empty() || candidate < found))
            found = candidate;
    }
    return found.empty() ? written : folder + "/" + found;
}

DataSetPaths DataSetPathsIn(const std::string& programFolder, const std::string& dataFolder)
{
    return {FileInFolder(programFolder, kCatalogueFileName), FileInFolder(dataFolder, kPriceListFileName),
            FileInFolder(programFolder, kRatesFileName)};
}

std::string MissingFilesDetail(const std::string& dataFolder, const std::vector<std::string>& missing)
{
    std::string line = "Data folder: " + (dataFolder.empty() ? std::string("none recorded") : dataFolder) + ". Missing: ";
    for (std::size_t i = 0; i < missing.size(); ++i) line += (i == 0 ? "" : ", ") + missing[i];
    return line + ".";
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
    // The price list is read and indexed on a second core while this one
    // reads and builds the catalogue. What shows is as if they were done one
    // after the other: an unreadable catalogue is reported first, a bad row
    // after the price list was read, and an unreadable price list leaves the
    // catalogue empty.
    PriceListRead prices;
    std::jthread pricer;  // joined on every way out, before `prices` goes
    bool pricesLater = false;
    try {
        pricer = std::jthread([&] { prices.Run(paths.PriceList); });
    } catch (const std::system_error&) {
        pricesLater = true;  // no thread to be had: one after the other, below
    }
    TextRead rows = ReadTextFile(paths.Catalogue);
    if (rows.Error) {
        load.Unreadable = std::move(rows.Error);
        return load;
    }
    if (pricesLater) prices.Run(paths.PriceList);
    std::exception_ptr badRow;
    try {
        // Also collects the band edges (in ascending numeric order) and the
        // connector names. The text goes back as its rows are read, which
        // keeps the peak to the records, the price list and its index.
        BuildCatalogue(std::move(rows.Text), data.catalogue);
    } catch (...) {
        badRow = std::current_exception();
    }
    if (pricer.joinable()) {
        prices.Share.Help();
        pricer.join();
    }
    if (prices.Failure) std::rethrow_exception(prices.Failure);
    if (prices.Error) {
        // As if the catalogue had not been built: it never is without its prices.
        data.catalogue = Catalogue();
        load.Unreadable = std::move(prices.Error);
        return load;
    }
    data.PriceListLines = std::move(prices.List);
    if (badRow) std::rethrow_exception(badRow);
    return load;
}

}  // namespace quillon
