// Start-up: each missing piece gives its messages in order and leaves the
// window usable; a bad catalogue row ends start-up with the error box.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>

#include "tests/ui/Install.h"
#include "platform/TextFile.h"
#include "ui/DataPreload.h"
#include "ui/QueryPage.h"
#include "ui/Unit1.h"
#include "platform/SettingsStore.h"

namespace quillon {
namespace {

constexpr char kDamagedSettings[] = "{ not json";

const QString kNoKey = QStringLiteral("Error: Unable to locate Registry Key");
const QString kNoPath = QStringLiteral("Error: Unable to create path from Registry");
const QString kMissingFiles = QStringLiteral(
    "Error: One or more files needed to run this application are missing.\r"
    "Please check the appropriate directories for 'M_Lom.dat' and 'Freq_TLine_Connectors.dat'.");

// The missing-files box as it reads for this installation: the designed text,
// then the line that says where the files were looked for. Without a recorded
// data folder the price list is looked for in the root folder.
QString MissingFilesBox(const Install& install, bool folderKnown, bool catalogue, bool priceList)
{
    QStringList missing;
    if (!catalogue) missing << install.ProgramFolder() + QStringLiteral("/Freq_TLine_Connectors.dat");
    if (!priceList || !folderKnown)
        missing << (folderKnown ? install.DataFolder() : QString()) + QStringLiteral("/M_lom.dat");
    return kMissingFiles + QStringLiteral("\rData folder: ") +
           (folderKnown ? install.DataFolder() : QStringLiteral("none recorded")) + QStringLiteral(". Missing: ") +
           missing.join(QStringLiteral(", ")) + QLatin1Char('.');
}

QStringList Items(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

struct StartupCase {
    const char* name;
    bool key, path, catalogue, priceList, rates;
    QStringList boxes;
    bool searchEnabled;
    bool loaded;  // lists filled
};

void PrintTo(const StartupCase& c, std::ostream* out) { *out << c.name; }

class Startup : public ::testing::TestWithParam<StartupCase> {};

TEST_P(Startup, ShowsItsMessagesInOrderAndOpensTheWindow)
{
    const StartupCase& c = GetParam();
    // A missing key leaves the data folder empty: the price list is looked for
    // in the root folder, which must not hold one for this case to mean anything.
    ASSERT_FALSE(QFile::exists(QStringLiteral("/M_lom.dat")));
    Install install;
    if (c.key) install.RecordDataFolder(c.path);
    if (c.catalogue) install.WriteCatalogue(FixtureCatalogue());
    if (c.priceList) install.WritePriceList();
    if (c.rates) install.WriteRates();

    auto window = install.Open();
    QStringList boxes = c.boxes;
    for (QString& box : boxes)
        if (box == kMissingFiles) box = MissingFilesBox(install, c.key && c.path, c.catalogue, c.priceList);
    EXPECT_EQ(BoxLines(install.fakes.messages), boxes);
    EXPECT_EQ(window->tsQueryValues->btnSearch->isEnabled(), c.searchEnabled);
    EXPECT_EQ(window->Session().HasExchangeRates(), c.loaded && c.rates);
    EXPECT_EQ(window->Session().Data().catalogue.AllLines.size(), c.loaded ? 5u : 0u);
    EXPECT_EQ(window->tsQueryValues->cbxBeginningFrequency->count() > 0, c.loaded);
    EXPECT_EQ(window->tsQueryValues->cbxConnector2->count() > 0, c.loaded);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("QUILLON"));

    window->show();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Select Query Values"));
    EXPECT_EQ(window->Menu.CurrencySettings1->isVisible(), c.loaded && c.rates);
    EXPECT_EQ(window->size(), QSize(390, 536));
}

INSTANTIATE_TEST_SUITE_P(
    MissingPieces, Startup,
    ::testing::Values(StartupCase{"everything", true, true, true, true, true, {}, true, true},
                      StartupCase{"no_exchange_rates", true, true, true, true, false, {}, true, true},
                      StartupCase{"no_key", false, false, true, true, true, {kNoKey, kNoPath, kMissingFiles}, false,
                                  false},
                      StartupCase{"no_path_value", true, false, true, true, true, {kNoPath, kMissingFiles}, false,
                                  false},
                      StartupCase{"no_catalogue", true, true, false, true, true, {kMissingFiles}, false, false},
                      StartupCase{"no_price_list", true, true, true, false, true, {kMissingFiles}, false, false},
                      StartupCase{"nothing", false, false, false, false, false, {kNoKey, kNoPath, kMissingFiles},
                                  false, false}),
    [](const ::testing::TestParamInfo<StartupCase>& info) { return std::string(info.param.name); });

TEST(StartupLists, AreInNumericOrderWithoutDuplicatesAndFirstEntriesSelected)
{
    Install install;
    install.WriteAll();
    auto window = install.Open();
    const TQueryValuesPage& page = *window->tsQueryValues;
    EXPECT_EQ(Items(page.cbxBeginningFrequency),
              (QStringList{"500", "800", "806", "1700", "1850"}));  // text order would put 1700 first
    EXPECT_EQ(Items(page.cbxEndingFrequency), (QStringList{"700", "960", "2200"}));
    // Sorted without regard to case; a name met again in another spelling is not added.
    const QStringList connectors{"7-16 DIN Male", "EIA Flange", "N Female"};
    EXPECT_EQ(Items(page.cbxConnector), connectors);
    EXPECT_EQ(Items(page.cbxConnector2), connectors);
    for (const QComboBox* box :
         {page.cbxBeginningFrequency, page.cbxEndingFrequency, page.cbxConnector, page.cbxConnector2})
        EXPECT_EQ(box->currentIndex(), 0) << box->objectName().toStdString();
    EXPECT_EQ(page.cbxBeginningFrequency->currentText(), QStringLiteral("500"));
    // The connector names only fed the boxes; the band edges stay for the narrowing rules.
    EXPECT_TRUE(window->Session().Data().catalogue.ConnectorTypeNames.empty());
    EXPECT_EQ(window->Session().Data().catalogue.EndFrequencies.size(), 3u);
    EXPECT_EQ(window->Session().Data().PriceListLines.LineCount(), 3u);
    EXPECT_EQ(window->Session().Data().exchangeRates.Lines.size(), 2u);
}

TEST(StartupErrors, BadCatalogueRowEndsStartUpWithTheConversionError)
{
    Install install;
    install.WriteAll();
    std::vector<std::string> rows = FixtureCatalogue();
    rows.insert(rows.begin() + 3, CatalogueRow("8x0", "960", "QX-9", "FOAM", "N Female"));
    install.WriteCatalogue(rows);

    auto window = install.Open();
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList{"Error: '8x0' is not a valid floating point value"});
    // The lines before the bad row stay; the lists are not filled; the search
    // button keeps its designed, enabled state.
    EXPECT_EQ(window->Session().Data().catalogue.AllLines.size(), 2u);
    EXPECT_EQ(window->tsQueryValues->cbxBeginningFrequency->count(), 0);
    EXPECT_TRUE(window->tsQueryValues->btnSearch->isEnabled());
}

TEST(StartupErrors, TheErrorBoxShowsTheWholeTextPastANulByte)
{
    Install install;
    install.WriteAll();
    std::vector<std::string> rows = FixtureCatalogue();
    using namespace std::string_literals;
    rows.insert(rows.begin() + 3, CatalogueRow("8\0x0"s, "960", "QX-9", "FOAM", "N Female"));
    install.WriteCatalogue(rows);

    auto window = install.Open();
    const QString expected =
        QStringLiteral("'8") + QChar(0) + QStringLiteral("x0' is not a valid floating point value");
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList{QStringLiteral("Error: ") + expected});
}

TEST(StartupErrors, DataFolderStoredAsNumberEndsStartUpWithTheStoreError)
{
    Install install;
    install.WriteAll();
    {
        SettingsStore store(install.SettingsFile());
        ASSERT_TRUE(store.OpenKey(QStringLiteral("Software\\Tarvex\\Common Files"), true));
        ASSERT_TRUE(store.WriteInteger(QStringLiteral("Path"), 7));
    }
    auto window = install.Open();
    const std::vector<MessageRecord> boxes = install.fakes.messages.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageCall::Error);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("Path"))) << boxes[0].text.toStdString();
    EXPECT_EQ(window->Session().Data().catalogue.AllLines.size(), 0u);
}

// The data files in place and a settings file that is no JSON.
void WriteDataAndDamagedSettings(Install& install)
{
    install.WriteCatalogue(FixtureCatalogue());
    install.WritePriceList();
    QFile file(install.SettingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(kDamagedSettings), qint64(sizeof kDamagedSettings - 1));
}

TEST(StartupErrors, DamagedSettingsFileCountsAsMissingKey)
{
    Install install;
    ASSERT_NO_FATAL_FAILURE(WriteDataAndDamagedSettings(install));
    auto window = install.Open();
    EXPECT_EQ(BoxLines(install.fakes.messages),
              (QStringList{kNoKey, kNoPath, MissingFilesBox(install, false, true, true)}));
}

// Data files copied from other systems may carry their names in capitals; the
// program finds them whatever the letter case, and still opens on them.
TEST(StartupLists, DataFilesAreFoundWhateverTheLetterCaseOfTheirNames)
{
    Install install;
    install.WriteAll();
    const QDir program(install.ProgramFolder());
    const QDir data(install.DataFolder());
    ASSERT_TRUE(QFile::rename(program.filePath(QStringLiteral("Freq_TLine_Connectors.dat")),
                              program.filePath(QStringLiteral("FREQ_TLINE_CONNECTORS.DAT"))));
    ASSERT_TRUE(QFile::rename(data.filePath(QStringLiteral("M_lom.dat")), data.filePath(QStringLiteral("M_Lom.dat"))));
    ASSERT_TRUE(QFile::rename(program.filePath(QStringLiteral("xcngrate.dat")),
                              program.filePath(QStringLiteral("XcngRate.DAT"))));

    auto window = install.Open();
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());
    EXPECT_EQ(window->Session().Data().catalogue.AllLines.size(), 5u);
    EXPECT_EQ(window->Session().Data().PriceListLines.LineCount(), 3u);
    EXPECT_TRUE(window->Session().HasExchangeRates());
}

DataSetPaths PathsOf(const Install& install)
{
    return DataSetPathsIn(FilePathForEngine(install.ProgramFolder()), FilePathForEngine(install.DataFolder()));
}

// The load started before the splash is taken once, by a load of the same
// files, with what it met; a load of other files drops it.
TEST(StartupPreload, IsTakenOnceAndOnlyForTheSameFiles)
{
    Install install;
    install.WriteAll();
    TDataPreload::Start(install.fakes.Get());
    DataSet data;
    const std::optional<DataSetLoad> load = TDataPreload::TakeFor(PathsOf(install), data);
    ASSERT_TRUE(load.has_value());
    EXPECT_TRUE(load->Loaded());
    EXPECT_EQ(data.catalogue.AllLines.size(), 5u);
    EXPECT_EQ(data.PriceListLines.LineCount(), 3u);
    DataSet again;
    EXPECT_FALSE(TDataPreload::TakeFor(PathsOf(install), again).has_value());

    TDataPreload::Start(install.fakes.Get());
    DataSetPaths other = PathsOf(install);
    other.PriceList += ".old";
    EXPECT_FALSE(TDataPreload::TakeFor(other, again).has_value());
    EXPECT_FALSE(TDataPreload::TakeFor(PathsOf(install), again).has_value());
    EXPECT_TRUE(again.catalogue.AllLines.empty());
}

// What the early load meets reaches the window as its own load would have
// met it: a bad row's box, with the lines before it.
TEST(StartupPreload, TheWindowShowsWhatTheEarlyLoadMet)
{
    Install install;
    install.WriteAll();
    std::vector<std::string> rows = FixtureCatalogue();
    rows.insert(rows.begin() + 3, CatalogueRow("8x0", "960", "QX-9", "FOAM", "N Female"));
    install.WriteCatalogue(rows);
    TDataPreload::Start(install.fakes.Get());
    auto window = install.Open();
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList{"Error: '8x0' is not a valid floating point value"});
    EXPECT_EQ(window->Session().Data().catalogue.AllLines.size(), 2u);
}

// A data folder changed after the early load started is the window's to
// load: here it holds no price list, and the window says so.
TEST(StartupPreload, AFolderChangedSinceIsLoadedByTheWindow)
{
    Install install;
    install.WriteAll();
    TDataPreload::Start(install.fakes.Get());
    {
        SettingsStore store(install.SettingsFile());
        ASSERT_TRUE(store.OpenKey(QStringLiteral("Software\\Tarvex\\Common Files"), false));
        ASSERT_TRUE(store.WriteString(QStringLiteral("Path"), install.ProgramFolder() + QStringLiteral("/empty")));
    }
    auto window = install.Open();
    const QString folder = install.ProgramFolder() + QStringLiteral("/empty");
    EXPECT_EQ(BoxLines(install.fakes.messages),
              QStringList{kMissingFiles + QStringLiteral("\rData folder: ") + folder + QStringLiteral(". Missing: ") +
                          folder + QStringLiteral("/M_lom.dat.")});
    EXPECT_TRUE(window->Session().Data().catalogue.AllLines.empty());
}

// A damaged settings file is left as it is for the window to meet and report.
TEST(StartupPreload, LeavesADamagedSettingsFileToTheWindow)
{
    Install install;
    ASSERT_NO_FATAL_FAILURE(WriteDataAndDamagedSettings(install));
    TDataPreload::Start(install.fakes.Get());
    QFile file(install.SettingsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(kDamagedSettings));
    file.close();
    auto window = install.Open();
    EXPECT_EQ(BoxLines(install.fakes.messages), (QStringList{kNoKey, kNoPath, MissingFilesBox(install, false, true, true)}));
}

}  // namespace
}  // namespace quillon
