#pragma once
// The data set the program works from, and its one loader. The window loads
// it once at start-up, quillon-query once per run; both go through
// LoadDataSet, so the files' names, where they lie, the order they are read
// in and the message for missing ones are the same for both.
//
// Keep LoadDataSet the one way in: a faster load (reading, parsing, building
// the price index) belongs behind this call, not beside it.

#include <optional>
#include <string>
#include <vector>

#include "engine/Catalogue.h"
#include "engine/Currencies.h"
#include "engine/PriceList.h"
#include "engine/TextFile.h"

namespace quillon {

inline constexpr char kCatalogueFileName[] = "Freq_TLine_Connectors.dat";
inline constexpr char kPriceListFileName[] = "M_lom.dat";
inline constexpr char kRatesFileName[] = "xcngrate.dat";

// Shown when the catalogue or the price list is missing; the line break is a CR.
inline constexpr char kMissingFilesMessage[] =
    "One or more files needed to run this application are missing.\r"
    "Please check the appropriate directories for 'M_Lom.dat' and 'Freq_TLine_Connectors.dat'.";

// The rest of the missing-files message: the data folder and the missing
// files, one line ("Data folder: ... Missing: ..."), to follow it after a CR.
std::string MissingFilesDetail(const std::string& dataFolder, const std::vector<std::string>& missing);

// Where the three files are, in the system's 8-bit file-name encoding.
struct DataSetPaths {
    std::string Catalogue;
    std::string PriceList;
    std::string Rates;  // optional: without it prices stay in US dollars
};

// The catalogue and the rates beside the program, the price list in the
// shared data folder. An empty data folder names the root folder. A file is
// found whatever the letter case of its name on disk (files copied from the
// maker's other systems come as M_LOM.DAT); the name as written wins when
// it is there.
DataSetPaths DataSetPathsIn(const std::string& programFolder, const std::string& dataFolder);

// The file `name` in `folder`, found as DataSetPathsIn finds the data files:
// the name as written when there is such a file, else the first (in name
// order) whose name differs from it only in letter case, else the name as
// written.
std::string FileInFolder(const std::string& folder, const std::string& name);

struct DataSet {
    Catalogue catalogue;          // AllLines, the band-edge lists and the connector names
    PriceList PriceListLines;     // looked up on demand
    ExchangeRates exchangeRates;  // HasExchangeRates and ExchangeRateLines
};

struct DataSetLoad {
    // The catalogue and the price list when not there (a folder of that name
    // is no file), in that order. Nothing was read then: the caller shows
    // kMissingFilesMessage.
    std::vector<std::string> Missing;
    // A file that is there but could not be read; the files before it were read.
    std::optional<FileError> Unreadable;

    bool Loaded() const { return Missing.empty() && !Unreadable; }
};

// Loads into `data`, in start-up's order: checks that the catalogue and the
// price list are there; reads the rates when their file is there; reads the
// catalogue and the price list; builds the catalogue. A bad catalogue row
// raises LoadError (the lines before it stay, the price list is read). When
// the price list cannot be read the catalogue stays empty. (The price list is
// in fact read on a second thread while the catalogue is built, which shows
// in nothing but the time a load takes.)
DataSetLoad LoadDataSet(const DataSetPaths& paths, DataSet& data);

}  // namespace quillon
