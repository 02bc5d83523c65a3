// The data set loader that start-up and quillon-query share: where the files
// lie, which missing ones it names, and what it has loaded when a catalogue
// row is bad.

#include "engine/DataSet.h"
#include "engine/Errors.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "tests/engine/TempFolder.h"

using namespace quillon;
using quillon::test::TempFolder;

namespace {

const std::string kHeader = "Begin|End|Size|Part|Kind|Jacket|Key|A|B|Avg|Peak|Conn|F1|F2|F3|F4|P1|P2|P3|P4|P5|P6|\r\n";

std::string Row(const std::string& begin, const std::string& part)
{
    return begin + "|960|1/2 in|" + part + "|FOAM|PE|1.5|0.07|0.0002|3|40|N Male|1|1|1|1|" + part + "-NM|||||\r\n";
}

const std::string kPrices = "# prices\r\nTL|Q|QXF-050|FT|half inch foam|2.15|\r\n";

TEST(DataSet, FilesLieBesideTheProgramAndInTheDataFolder)
{
    const DataSetPaths paths = DataSetPathsIn("/opt/quillon", "/home/q/Common Files");
    EXPECT_EQ(paths.Catalogue, "/opt/quillon/Freq_TLine_Connectors.dat");
    EXPECT_EQ(paths.PriceList, "/home/q/Common Files/M_lom.dat");
    EXPECT_EQ(paths.Rates, "/opt/quillon/xcngrate.dat");
    // A data folder that could not be read names the root folder.
    EXPECT_EQ(DataSetPathsIn("/opt/quillon", "").PriceList, "/M_lom.dat");
}

// The name as written wins; else a name that differs only in letter case, the
// first in name order; else the name as written, which the load then reports.
TEST(DataSet, FilesAreFoundWhateverTheLetterCaseOfTheirNames)
{
    struct Case {
        const char* what;
        std::vector<std::string> onDisk;
        std::string found;  // empty: the name as written, not there
    };
    const Case cases[] = {
        {"as written", {"M_lom.dat", "M_LOM.DAT"}, "M_lom.dat"},
        {"as the message spells it", {"M_Lom.dat"}, "M_Lom.dat"},
        {"in capitals", {"M_LOM.DAT"}, "M_LOM.DAT"},
        {"two spellings, none as written", {"m_lom.dat", "M_LOM.DAT"}, "M_LOM.DAT"},
        {"only a folder of that name", {"M_LOM.DAT/"}, ""},
        {"a longer name", {"M_lom.dat.bak", "XM_lom.dat"}, ""},
        {"nothing", {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        for (const std::string& name : c.onDisk) {
            if (name.back() == '/')
                std::filesystem::create_directory(folder.Folder() + "/" + name);
            else
                folder.File(name, kPrices);
        }
        const std::string expected = folder.Folder() + "/" + (c.found.empty() ? kPriceListFileName : c.found);
        EXPECT_EQ(FileInFolder(folder.Folder(), kPriceListFileName), expected);
        EXPECT_EQ(DataSetPathsIn("/nowhere", folder.Folder()).PriceList, expected);
    }
    // A folder that does not exist gives the name as written.
    EXPECT_EQ(FileInFolder("/nowhere/at/all", kPriceListFileName), "/nowhere/at/all/M_lom.dat");
}

TEST(DataSet, TheMissingFilesLineNamesTheFolderAndEachFile)
{
    EXPECT_EQ(MissingFilesDetail("/home/q/Common Files", {"/opt/q/Freq_TLine_Connectors.dat", "/home/q/Common Files/M_lom.dat"}),
              "Data folder: /home/q/Common Files. Missing: /opt/q/Freq_TLine_Connectors.dat, /home/q/Common Files/M_lom.dat.");
    EXPECT_EQ(MissingFilesDetail("", {"/M_lom.dat"}), "Data folder: none recorded. Missing: /M_lom.dat.");
}

TEST(DataSet, LoadsAllThreeInStartUpsOrder)
{
    TempFolder folder;
    folder.File(kCatalogueFileName, kHeader + Row("806", "QXF-050") + Row("824", "QXF-078"));
    folder.File(kPriceListFileName, kPrices);
    folder.File(kRatesFileName, "GBP|1.5|\r\nEUR|1.1|\r\n");
    DataSet data;
    const DataSetLoad load = LoadDataSet(DataSetPathsIn(folder.Folder(), folder.Folder()), data);
    EXPECT_TRUE(load.Loaded());
    EXPECT_EQ(data.catalogue.AllLines.size(), 2u);
    EXPECT_EQ(data.catalogue.BeginFrequencies, (std::vector<std::string>{"806", "824"}));
    ASSERT_TRUE(data.PriceListLines.Find("QXF-050").has_value());
    EXPECT_EQ(data.PriceListLines.Find("QXF-050")->Description, "half inch foam");
    EXPECT_TRUE(data.exchangeRates.HasExchangeRates);
    EXPECT_EQ(data.exchangeRates.Lines, (std::vector<std::string>{"GBP|1.5|", "EUR|1.1|"}));
}

TEST(DataSet, MissingFilesAreNamedAndNothingIsRead)
{
    struct Case {
        const char* what;
        bool catalogue, priceList;
        bool catalogueAsFolder = false;
    };
    const Case cases[] = {
        {"no catalogue", false, true},
        {"no price list", true, false},
        {"neither", false, false},
        {"a folder of the catalogue's name", false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const DataSetPaths paths = DataSetPathsIn(folder.Folder(), folder.Folder());
        if (c.catalogue) folder.File(kCatalogueFileName, kHeader + Row("806", "QXF-050"));
        if (c.catalogueAsFolder) std::filesystem::create_directory(paths.Catalogue);
        if (c.priceList) folder.File(kPriceListFileName, kPrices);
        folder.File(kRatesFileName, "GBP|1.5|\r\n");

        DataSet data;
        const DataSetLoad load = LoadDataSet(paths, data);
        EXPECT_FALSE(load.Loaded());
        std::vector<std::string> missing;
        if (!c.catalogue) missing.push_back(paths.Catalogue);
        if (!c.priceList) missing.push_back(paths.PriceList);
        EXPECT_EQ(load.Missing, missing);
        EXPECT_FALSE(data.exchangeRates.HasExchangeRates);
        EXPECT_TRUE(data.catalogue.AllLines.empty());
        EXPECT_TRUE(data.PriceListLines.empty());
    }
}

TEST(DataSet, WithoutRatesPricesStayInDollars)
{
    TempFolder folder;
    folder.File(kCatalogueFileName, kHeader + Row("806", "QXF-050"));
    folder.File(kPriceListFileName, kPrices);
    DataSet data;
    EXPECT_TRUE(LoadDataSet(DataSetPathsIn(folder.Folder(), folder.Folder()), data).Loaded());
    EXPECT_FALSE(data.exchangeRates.HasExchangeRates);
    EXPECT_TRUE(data.exchangeRates.Lines.empty());
}

TEST(DataSet, ABadRowStopsTheBuildWithTheLinesBeforeItAndThePriceList)
{
    TempFolder folder;
    folder.File(kCatalogueFileName, kHeader + Row("806", "QXF-050") + Row("8x0", "QXF-078") + Row("824", "QXF-114"));
    folder.File(kPriceListFileName, kPrices);
    DataSet data;
    try {
        LoadDataSet(DataSetPathsIn(folder.Folder(), folder.Folder()), data);
        FAIL() << "the bad row raised nothing";
    } catch (const LoadError& error) {
        EXPECT_EQ(error.message(), "'8x0' is not a valid floating point value");
        EXPECT_EQ(error.lineNumber(), 3u);
    }
    EXPECT_EQ(data.catalogue.AllLines.size(), 1u);
    EXPECT_FALSE(data.PriceListLines.empty());
}

// The price list is read beside the catalogue's build; what fails must show
// as it did when the two were read one after the other. (Reading the
// process's own memory file from its start fails, for any user.)
TEST(DataSet, FailuresShowAsWhenTheFilesAreReadInTurn)
{
    const std::string unreadable = "/proc/self/mem";
    struct Case {
        const char* what;
        bool catalogueReadable, badRow, priceListReadable;
        bool raisesBadRow;
        bool unreadableCatalogue, unreadablePriceList;
    };
    const Case cases[] = {
        {"an unreadable catalogue: the price list is not read", false, false, true, false, true, false},
        {"an unreadable price list: no catalogue", true, false, false, false, false, true},
        {"a bad row and an unreadable price list: the price list is what is said", true, true, false, false, false,
         true},
        {"a bad row: raised once the price list is in", true, true, true, true, false, false},
        {"both fine", true, false, true, false, false, false},
        {"both unreadable: the catalogue is what is said", false, false, false, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        DataSetPaths paths = DataSetPathsIn(folder.Folder(), folder.Folder());
        folder.File(kCatalogueFileName, kHeader + Row("806", "QXF-050") + (c.badRow ? Row("8x0", "QXF-078") : ""));
        folder.File(kPriceListFileName, kPrices);
        if (!c.catalogueReadable) paths.Catalogue = unreadable;
        if (!c.priceListReadable) paths.PriceList = c.catalogueReadable ? unreadable : "/proc/self/./mem";

        DataSet data;
        DataSetLoad load;
        bool raised = false;
        try {
            load = LoadDataSet(paths, data);
        } catch (const LoadError& error) {
            raised = true;
            EXPECT_EQ(error.lineNumber(), 3u);
        }
        EXPECT_EQ(raised, c.raisesBadRow);
        EXPECT_TRUE(load.Missing.empty());
        ASSERT_EQ(load.Unreadable.has_value(), c.unreadableCatalogue || c.unreadablePriceList);
        if (load.Unreadable) {
            EXPECT_EQ(load.Unreadable->File, unreadable);
            EXPECT_EQ(load.Unreadable->Reason, "Input/output error");
            EXPECT_TRUE(data.catalogue.AllLines.empty());
            EXPECT_TRUE(data.PriceListLines.empty());
        } else {
            EXPECT_EQ(data.catalogue.AllLines.size(), 1u);
            EXPECT_TRUE(data.PriceListLines.Find("QXF-050").has_value());
        }
    }
}

// A catalogue large enough for its text to go back to the system while it
// is built: the same lines as built from the text held whole, and a bad row
// far in still names its line.
TEST(DataSet, ALargeCatalogueLoadsAsItsTextBuilds)
{
    std::string text = kHeader;
    for (int i = 0; i < 160000; ++i)
        text += Row(std::to_string(100 + i % 700) + "." + std::to_string(i % 10), "QXF-" + std::to_string(i / 2));
    for (const bool badRowAtEnd : {false, true}) {
        SCOPED_TRACE(badRowAtEnd);
        const std::string file = text + (badRowAtEnd ? Row("9x9", "QXF-LAST") + Row("1", "QXF-AFTER") : "");
        ASSERT_GT(file.size(), std::size_t{10} << 20);
        TempFolder folder;
        folder.File(kCatalogueFileName, file);
        folder.File(kPriceListFileName, kPrices);

        Catalogue expected;
        std::optional<std::size_t> expectedBadLine;
        try {
            BuildCatalogue(std::string_view(file), expected);
        } catch (const LoadError& error) {
            expectedBadLine = error.lineNumber();
        }
        DataSet data;
        std::optional<std::size_t> badLine;
        try {
            EXPECT_TRUE(LoadDataSet(DataSetPathsIn(folder.Folder(), folder.Folder()), data).Loaded());
        } catch (const LoadError& error) {
            badLine = error.lineNumber();
        }
        EXPECT_EQ(badLine, expectedBadLine);
        EXPECT_EQ(badLine, badRowAtEnd ? std::optional<std::size_t>(160002) : std::nullopt);
        const Catalogue& got = data.catalogue;
        ASSERT_EQ(got.AllLines.size(), expected.AllLines.size());
        EXPECT_EQ(got.AllLines.size(), 80000u);
        for (std::size_t i = 0; i < got.AllLines.size(); ++i) {
            const TTransmissionLine& x = *got.AllLines[i];
            const TTransmissionLine& y = *expected.AllLines[i];
            ASSERT_EQ(x.PartNumber, y.PartNumber);
            ASSERT_EQ(x.BeginFrequency, y.BeginFrequency);
            ASSERT_EQ(x.Connectors.size(), y.Connectors.size());
            for (std::size_t k = 0; k < x.Connectors.size(); ++k) {
                ASSERT_EQ(x.Connectors[k]->TypeName, y.Connectors[k]->TypeName);
                ASSERT_EQ(x.Connectors[k]->PartNumbers, y.Connectors[k]->PartNumbers);
            }
        }
        EXPECT_EQ(got.BeginFrequencies, expected.BeginFrequencies);
        EXPECT_EQ(got.EndFrequencies, expected.EndFrequencies);
        EXPECT_EQ(got.ConnectorTypeNames, expected.ConnectorTypeNames);
    }
}

}  // namespace
