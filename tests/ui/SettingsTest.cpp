// The query page's way in and out through the window: the stored query put
// back at start-up and stored when the window goes, query files opened and
// saved from the File menu, and the command line applied at start-up.

#include <fstream>

#include <QDir>
#include <QFile>
#include <QRadioButton>

#include "tests/ui/SearchFixture.h"
#include "engine/Search.h"
#include "persist/RegistrySettings.h"
#include "platform/SettingsStore.h"

namespace quillon {
namespace {

const QString kSettings = QString::fromLatin1(kSettingsKey);
const QString kNumeric = QStringLiteral("Information: This field must contain a numeric value.");

QStringList ComboItems(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

void WriteLines(const QString& path, const std::vector<std::string>& lines)
{
    std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary);
    for (const std::string& line : lines) out << line << "\r\n";
}

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Settings : public SearchWindow {
protected:
    // The stored query as the window would store it, then any odd values on top.
    void Store(const StoredQuery& query)
    {
        SettingsStore store(install.SettingsFile());
        ASSERT_TRUE(SaveSettings(store, query));
    }
    template <class Change>
    void ChangeStored(Change&& change)
    {
        SettingsStore store(install.SettingsFile());
        ASSERT_TRUE(store.OpenKey(kSettings, true));
        change(store);
    }
    // Every value of the key as "name=text", in the store's order.
    QStringList StoredValues()
    {
        SettingsStore store(install.SettingsFile());
        QStringList values;
        if (const auto all = store.ReadAllValues(kSettings))
            for (const SettingsValueText& value : *all) values << value.name + QLatin1Char('=') + value.text;
        return values;
    }
    // The window opened, not shown: the start-up's boxes stay in the double.
    void Start(QStringList arguments = {})
    {
        window = install.Open(std::move(arguments));
        query = window->tsQueryValues;
        results = window->tsResults;
    }
    // The page as the window would store it.
    StoredQuery Page() const
    {
        return StoredQueryFromPage(query->ReadQuery(), window->Menu.SaveSettingsOnExit1->isChecked());
    }
    // In the user's own folder: an installed program's folder is read-only.
    QString QueryFolder() const { return install.UserDataFolder() + QStringLiteral("/qlx"); }
    void OpenQueryFile(const QString& path)
    {
        install.fakes.fileDialogs.QueueAnswer(path);
        window->Menu.OpenFile1->trigger();
    }
    void SaveQueryFile(const QString& path)
    {
        install.fakes.fileDialogs.QueueAnswer(path);
        window->Menu.SaveQuerySettingsToFile1->trigger();
    }
};

// A first run stores all eighteen values when the window goes, the page's
// built-in state with the first list entries, and the check mark.
TEST_F(Settings, FirstRunStoresEveryValueWithTheCheckMark)
{
    install.WriteAll();
    Start();
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());
    EXPECT_TRUE(window->Menu.SaveSettingsOnExit1->isChecked());
    window.reset();
    EXPECT_EQ(StoredValues(),
              (QStringList{"BeginningFrequency=500", "EndingFrequency=700", "MaxLoss=0", "Length=0",
                           "Connector1=7-16 DIN Male", "Connector2=7-16 DIN Male", "Meters=0", "Feet=1", "Air=1",
                           "Foam=1", "EW=1", "Braided=1", "ByFrequency=1", "ByLoss=0", "ByC1=0", "ByC2=0",
                           "VSWR=1.1", "Save=1"}));
}

// What one run leaves, the next run puts back: a typed frequency at the end of
// its list, a connector type spelled in another case on the existing entry.
TEST_F(Settings, StoredQueryComesBackOnEveryControl)
{
    install.WriteAll();
    Open();
    query->cbxBeginningFrequency->setEditText(QStringLiteral("123.5"));
    query->cbxEndingFrequency->setCurrentText(QStringLiteral("2200"));
    query->chkInsertionLoss->setChecked(true);
    query->edtMaxLoss->setText(QStringLiteral("3.5"));
    query->edtLength->setText(QStringLiteral("150"));
    query->rbMeters->setChecked(true);
    query->chkConnector->setChecked(true);
    query->cbxConnector->setCurrentText(QStringLiteral("N Female"));
    query->cbxConnector2->setCurrentText(QStringLiteral("EIA Flange"));
    query->chkAir->setChecked(false);
    query->chkBraided->setChecked(false);
    query->edtVSWR->setText(QStringLiteral("1.5"));
    const StoredQuery before = Page();
    window.reset();
    ChangeStored([](SettingsStore& store) { store.WriteString(QStringLiteral("Connector2"), QStringLiteral("eia FLANGE")); });

    Start();
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());
    StoredQuery expected = before;
    expected.Connector2 = QStringLiteral("EIA Flange");
    EXPECT_EQ(Page(), expected);
    EXPECT_EQ(ComboItems(query->cbxBeginningFrequency), (QStringList{"500", "800", "806", "1700", "1850", "123.5"}));
    EXPECT_EQ(ComboItems(query->cbxConnector2), (QStringList{"7-16 DIN Male", "EIA Flange", "N Female"}));
    EXPECT_TRUE(query->edtMaxLoss->isEnabled());
}

// With the check mark stored off only the mark comes back; the next exit
// still stores the page as it then is.
TEST_F(Settings, ClearedCheckMarkRestoresOnlyItself)
{
    install.WriteAll();
    StoredQuery stored;
    stored.Save = false;
    stored.Length = QStringLiteral("50");
    stored.Meters = true;
    stored.Feet = false;
    Store(stored);
    Start();
    EXPECT_FALSE(window->Menu.SaveSettingsOnExit1->isChecked());
    EXPECT_EQ(query->edtLength->text(), QStringLiteral("0"));
    EXPECT_TRUE(query->rbFeet->isChecked());
    window.reset();
    const QStringList after = StoredValues();
    EXPECT_TRUE(after.contains(QStringLiteral("Length=0")));
    EXPECT_TRUE(after.contains(QStringLiteral("Save=0")));
}

// Texts go through the entry-box rule; an empty VSWR comes back as "1.1", an
// empty length as an empty box; the loading goes on after a refused text.
TEST_F(Settings, StoredTextsTakeTheEntryBoxRule)
{
    install.WriteAll();
    StoredQuery stored;
    stored.MaxLoss = QStringLiteral("abc");
    stored.Length = QString();
    stored.VSWR = QString();
    stored.Connector1 = QStringLiteral("SMA Male");  // not in the catalogue: its sorted place
    Store(stored);
    Start();
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList{kNumeric});
    EXPECT_EQ(query->edtMaxLoss->text(), QStringLiteral("0"));
    EXPECT_EQ(query->edtLength->text(), QString());
    EXPECT_EQ(query->edtVSWR->text(), QStringLiteral("1.1"));
    EXPECT_EQ(ComboItems(query->cbxConnector), (QStringList{"7-16 DIN Male", "EIA Flange", "N Female", "SMA Male"}));
    EXPECT_EQ(query->cbxConnector->currentText(), QStringLiteral("SMA Male"));
}

// The flags settle through the click rules in reading order; a value that
// cannot be read ends the loading and keeps what came before it.
TEST_F(Settings, FlagsSettleInOrderAndAFailureKeepsWhatCameBefore)
{
    install.WriteAll();
    {
        StoredQuery stored;
        stored.ByFrequency = false;
        stored.ByLoss = true;  // switches query by frequency back on
        Store(stored);
        Start();
        EXPECT_TRUE(query->chkFrequency->isChecked());
        EXPECT_TRUE(query->chkInsertionLoss->isChecked());
        EXPECT_TRUE(query->edtMaxLoss->isEnabled());
        window.reset();
    }
    StoredQuery stored;
    stored.Braided = false;
    stored.ByFrequency = false;
    stored.ByC1 = true;
    Store(stored);
    ChangeStored([](SettingsStore& store) { store.WriteString(QStringLiteral("ByLoss"), QStringLiteral("yes")); });
    Start();
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());
    EXPECT_FALSE(query->chkBraided->isChecked());
    EXPECT_FALSE(query->chkFrequency->isChecked());
    EXPECT_FALSE(query->chkInsertionLoss->isEnabled());
    EXPECT_FALSE(query->chkConnector->isChecked());  // after the failure
}

// The two unit buttons are one group, so one of them is always selected: a
// button stored as on wins, and with both stored off the page keeps "Feet".
TEST_F(Settings, UnitButtonsFromTheTwoStoredFlags)
{
    const struct {
        bool meters, feet, metersShown;
    } cases[] = {{true, false, true}, {false, true, false}, {true, true, false}, {false, false, false}};
    install.WriteAll();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "Meters " << c.meters << " Feet " << c.feet);
        StoredQuery stored;
        stored.Meters = c.meters;
        stored.Feet = c.feet;
        Store(stored);
        Start();
        EXPECT_EQ(query->rbMeters->isChecked(), c.metersShown);
        EXPECT_NE(query->rbFeet->isChecked(), c.metersShown);
        window.reset();
    }
}

// A start that did not set the page up from the catalogue, or a command line
// that ended the program, leaves the stored query as it was.
TEST_F(Settings, AStartThatSetNothingUpLeavesTheStoredQuery)
{
    const struct {
        const char* name;
        bool catalogue, priceList, badRow;
        QStringList arguments;
    } cases[] = {
        {"no price list", true, false, false, {}},
        {"no catalogue", false, true, false, {}},
        {"bad catalogue row", true, true, true, {}},
        {"no catalogue, part number", false, true, false, {"QA-1"}},
        {"FILE alone", true, true, false, {"FILE"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Install broken;
        broken.RecordDataFolder();
        std::vector<std::string> rows = FixtureCatalogue();
        if (c.badRow) rows.push_back(CatalogueRow("8x0", "960", "QX-9", "FOAM", "N Female"));
        if (c.catalogue) broken.WriteCatalogue(rows);
        if (c.priceList) broken.WritePriceList();
        StoredQuery stored;
        stored.BeginningFrequency = QStringLiteral("806");
        stored.Length = QStringLiteral("42");
        {
            SettingsStore store(broken.SettingsFile());
            ASSERT_TRUE(SaveSettings(store, stored));
        }
        const QByteArray before = Bytes(broken.SettingsFile());
        broken.Open(c.arguments).reset();
        EXPECT_FALSE(broken.fakes.messages.Boxes().empty());
        EXPECT_EQ(Bytes(broken.SettingsFile()), before);
    }
}

// A save writes the sixteen lines; opening the file in a fresh window restores
// every control, a connector type holding "=" included.
TEST_F(Settings, SavedQueryFileOpensOnEveryControl)
{
    std::vector<std::string> rows = FixtureCatalogue();
    rows.push_back(CatalogueRow("400", "470", "QE-9", "FOAM", "SMA=Male"));
    install.WriteCatalogue(rows);
    install.WritePriceList();
    install.RecordDataFolder();
    Open();
    query->cbxBeginningFrequency->setEditText(QStringLiteral("123.5"));
    query->cbxEndingFrequency->setCurrentText(QStringLiteral("2200"));
    query->chkInsertionLoss->setChecked(true);
    query->edtMaxLoss->setText(QStringLiteral("3.5"));
    query->edtLength->setText(QStringLiteral("150"));
    query->rbMeters->setChecked(true);
    query->chkConnector2->setChecked(true);
    query->cbxConnector->setCurrentText(QStringLiteral("SMA=Male"));
    query->cbxConnector2->setCurrentText(QStringLiteral("N Female"));
    query->chkFoam->setChecked(false);
    query->chkWaveguide->setChecked(false);
    query->edtVSWR->setText(QStringLiteral("1.5"));
    const StoredQuery saved = Page();

    // Opening offers the qlx folder without making it.
    window->Menu.OpenFile1->trigger();
    ASSERT_EQ(install.fakes.fileDialogs.Requests().size(), 1u);
    const FileDialogRequest open = install.fakes.fileDialogs.Requests()[0].request;
    EXPECT_EQ(open.title, QString());
    EXPECT_EQ(open.initialFolder, QueryFolder());
    EXPECT_EQ(open.filter, QStringLiteral("Quillon Files (*.qlx)|*.qlx"));
    EXPECT_EQ(open.defaultExtension, QStringLiteral(".qlx"));
    EXPECT_FALSE(QFileInfo::exists(QueryFolder()));

    const QString path = QueryFolder() + QStringLiteral("/saved");
    SaveQueryFile(path);
    ASSERT_EQ(install.fakes.fileDialogs.Requests().size(), 2u);
    const FileDialogRequest save = install.fakes.fileDialogs.Requests()[1].request;
    EXPECT_EQ(save.title, QStringLiteral("Select A File"));
    EXPECT_EQ(save.initialFolder, QueryFolder());
    EXPECT_TRUE(save.confirmOverwrite);
    EXPECT_EQ(save.filter, QStringLiteral("Quillon Files (*.qlx)|*.qlx"));
    EXPECT_EQ(save.defaultExtension, QStringLiteral(".qlx"));
    EXPECT_EQ(Bytes(path + QStringLiteral(".qlx")),
              QByteArray("[data]\r\nBegFreq=123.5\r\nEndFreq=2200\r\nC1=SMA=Male\r\nC2=N Female\r\nMaxLoss=3.5\r\n"
                         "Length=150\r\nVSWR=1.5\r\nUnits=M\r\nFoam=False\r\nAir=True\r\nWaveguide=False\r\n"
                         "Braided=True\r\nByFreq=True\r\nByLoss=True\r\nByC1=False\r\nByC2=True\r\n"));
    // The next save offers the name chosen last.
    SaveQueryFile(QString());
    EXPECT_EQ(install.fakes.fileDialogs.Requests()[2].request.initialName, path + QStringLiteral(".qlx"));
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());
    window.reset();

    // The stored query is not what restores the page here.
    {
        SettingsStore store(install.SettingsFile());
        ASSERT_TRUE(store.OpenKey(kSettings, false));
        ASSERT_TRUE(store.WriteBool(QStringLiteral("Save"), false));
    }
    Open();
    OpenQueryFile(path + QStringLiteral(".qlx"));
    StoredQuery expected = saved;
    expected.Save = false;
    EXPECT_EQ(Page(), expected);
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());
    EXPECT_EQ(window->CurrentPage(), TfrmMain::kQueryValuesPage);
}

// Missing keys take their defaults; the two families of flags read
// differently; a refused text shows the information once and the opening goes on.
TEST_F(Settings, QueryFileValuesTakeTheirDefaultsAndRules)
{
    install.WriteAll();
    Open();
    const QString path = install.ProgramFolder() + QStringLiteral("/case.qlx");

    // No section "data": every default.
    WriteLines(path, {"[other]", "BegFreq=806", "Foam=True"});
    OpenQueryFile(path);
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());
    EXPECT_EQ(ComboItems(query->cbxBeginningFrequency), (QStringList{"500", "800", "806", "1700", "1850", "0"}));
    EXPECT_EQ(query->cbxBeginningFrequency->currentText(), QStringLiteral("0"));
    EXPECT_EQ(query->cbxEndingFrequency->currentText(), QStringLiteral("0"));
    EXPECT_EQ(ComboItems(query->cbxConnector), (QStringList{"", "7-16 DIN Male", "EIA Flange", "N Female"}));
    EXPECT_EQ(query->cbxConnector->currentIndex(), 0);
    EXPECT_EQ(query->cbxConnector2->currentIndex(), 0);
    EXPECT_EQ(query->edtVSWR->text(), QStringLiteral("1.1"));
    EXPECT_TRUE(query->rbMeters->isChecked());
    for (const QCheckBox* box : {query->chkAir, query->chkFoam, query->chkWaveguide, query->chkBraided,
                                 query->chkFrequency, query->chkInsertionLoss, query->chkConnector, query->chkConnector2})
        EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
    EXPECT_FALSE(query->edtMaxLoss->isEnabled());

    const struct {
        std::vector<std::string> lines;
        QStringList boxes;
        bool feet, foam, byFrequency, byLoss;
        const char* length;
    } cases[] = {
        {{"Units=f"}, {}, true, false, false, false, "0"},
        {{"Units=Feet"}, {}, false, false, false, false, "0"},
        {{"Foam=yes", "ByFreq=yes"}, {}, false, true, false, false, "0"},
        {{"Foam=fAlSe", "ByFreq=tRuE"}, {}, false, false, true, false, "0"},
        {{"ByFreq=False", "ByLoss=True"}, {}, false, false, true, true, "0"},
        {{"Length=abc", "Units=F"}, {kNumeric}, true, false, false, false, "0"},
        {{"length=12.5"}, {}, false, false, false, false, "12.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.front());
        std::vector<std::string> file = {"[DATA]"};
        file.insert(file.end(), c.lines.begin(), c.lines.end());
        WriteLines(path, file);
        install.fakes.messages.Clear();
        OpenQueryFile(path);
        EXPECT_EQ(BoxLines(install.fakes.messages), c.boxes);
        EXPECT_EQ(query->rbFeet->isChecked(), c.feet);
        EXPECT_EQ(query->chkFoam->isChecked(), c.foam);
        EXPECT_EQ(query->chkFrequency->isChecked(), c.byFrequency);
        EXPECT_EQ(query->chkInsertionLoss->isChecked(), c.byLoss);
        EXPECT_EQ(query->edtLength->text(), QLatin1String(c.length));
    }
}

// A file that cannot be written gives the error naming it; a cancelled
// dialog writes and changes nothing.
TEST_F(Settings, UnwritableQueryFileGivesTheErrorAndCancelChangesNothing)
{
    install.WriteAll();
    Open();
    const QString blocker = install.ProgramFolder() + QStringLiteral("/not-a-folder");
    WriteLines(blocker, {"x"});
    const QString readOnly = install.ProgramFolder() + QStringLiteral("/kept.qlx");
    WriteLines(readOnly, {"[data]", "Length=7"});
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    // The box names the file and the reason.
    const std::pair<QString, QString> cases[] = {{blocker + QStringLiteral("/q.qlx"), QStringLiteral("Not a directory")},
                                                 {readOnly, QStringLiteral("the file is marked read-only")}};
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(path.toStdString());
        install.fakes.messages.Clear();
        SaveQueryFile(path);
        EXPECT_EQ(BoxLines(install.fakes.messages),
                  QStringList{QStringLiteral("Error: Unable to write to ") + QDir::toNativeSeparators(path) +
                              QStringLiteral(": ") + reason});
    }
    EXPECT_EQ(Bytes(readOnly), QByteArray("[data]\r\nLength=7\r\n"));

    install.fakes.messages.Clear();
    const StoredQuery before = Page();
    SaveQueryFile(QString());
    OpenQueryFile(QString());
    EXPECT_EQ(Page(), before);
    EXPECT_EQ(QDir(QueryFolder()).entryList(QDir::Files), QStringList());
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());
}

// "FILE" in any case with a path holding blanks: the file sets the page up
// over the command-line defaults, the search runs at once, and "Open File"
// re-reads argument 2 without a dialog for the rest of the run.
TEST_F(Settings, QueryFileFormOpensTheFileAndSearches)
{
    install.WriteAll();
    QDir(install.ProgramFolder()).mkpath(QStringLiteral("my queries"));
    const QString path = install.ProgramFolder() + QStringLiteral("/my queries/band 800.qlx");
    WriteLines(path, {"[data]", "BegFreq=800", "EndFreq=960", "Length=100", "Foam=True", "Air=False",
                      "Waveguide=False", "Braided=False", "ByFreq=True"});
    Start({QStringLiteral("file"), path});
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());
    EXPECT_EQ(ResultPartNumbers(), QStringList{"QF-2"});  // the one foam line covering 800-960
    EXPECT_EQ(window->CurrentPage(), TfrmMain::kResultsPage);
    // This mode never fills the lists from the catalogue.
    EXPECT_EQ(ComboItems(query->cbxBeginningFrequency), QStringList{"800"});
    EXPECT_EQ(ComboItems(query->cbxConnector), QStringList{""});
    EXPECT_FALSE(results->grdSpecs->isColumnHidden(4));

    query->edtLength->setText(QStringLiteral("5"));
    query->chkAir->setChecked(true);
    window->Menu.OpenFile1->trigger();
    EXPECT_TRUE(install.fakes.fileDialogs.Requests().empty());
    EXPECT_EQ(query->edtLength->text(), QStringLiteral("100"));
    EXPECT_FALSE(query->chkAir->isChecked());
}

// "FILE" without exactly one path: the error box, the program ends, no search.
TEST_F(Settings, FileFormWithoutItsPathEndsTheProgram)
{
    install.WriteAll();
    for (const QStringList& arguments : {QStringList{"FILE"}, QStringList{"File", "a.qlx", "b.qlx"}}) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        install.fakes.messages.Clear();
        Start(arguments);
        EXPECT_EQ(CallLines(install.fakes.messages),
                  QStringList{QStringLiteral("Error: Not enough parameters to run this program")});
        EXPECT_TRUE(window->Terminated());
        EXPECT_TRUE(window->Session().ResultLines().empty());
        EXPECT_EQ(results->SpecsModel->rowCount(), 0);
        window.reset();
    }
    EXPECT_FALSE(SettingsStore(install.SettingsFile()).KeyExists(kSettings));
}

// The part-number form: the command-line defaults, the lines selected by the
// exact part number for the whole run, and the command-line query stored at the end.
TEST_F(Settings, PartNumberFormHoldsForTheWholeRun)
{
    install.WriteAll();
    Start({QStringLiteral("QA-1")});
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());
    EXPECT_EQ(window->Session().CommandLinePartNumber(), "QA-1");
    EXPECT_EQ(ResultPartNumbers(), QStringList{"QA-1"});
    EXPECT_TRUE(query->rbMeters->isChecked());
    EXPECT_TRUE(query->chkAir->isChecked() && query->chkFoam->isChecked() && query->chkWaveguide->isChecked() &&
                query->chkBraided->isChecked());
    EXPECT_FALSE(query->chkFrequency->isChecked());
    EXPECT_EQ(query->cbxBeginningFrequency->count(), 0);
    // A bare part number hides the computed columns.
    for (int column = 0; column < kResultColumns; ++column)
        EXPECT_EQ(results->grdSpecs->isColumnHidden(column), column >= 3 && column <= 11) << column;

    window->show();
    window->btnNewQueryClick();
    query->chkAir->setChecked(false);
    query->chkFrequency->setChecked(true);
    query->cbxBeginningFrequency->setEditText(QStringLiteral("800"));
    query->cbxEndingFrequency->setEditText(QStringLiteral("960"));
    Search();
    EXPECT_EQ(ResultPartNumbers(), QStringList{"QA-1"});
    window.reset();
    const QStringList stored = StoredValues();
    EXPECT_TRUE(stored.contains(QStringLiteral("Meters=1")));
    EXPECT_TRUE(stored.contains(QStringLiteral("BeginningFrequency=800")));
    EXPECT_TRUE(stored.contains(QStringLiteral("Air=0")));
}

// A part-number run leaves its query page with blank band boxes (their lists
// are never filled). That page is not stored: the next ordinary start opens
// on the stored query, or on the catalogue's first entries, and the user can
// leave its boxes without an error. Only the check mark is kept.
TEST_F(Settings, APartNumberRunDoesNotStoreItsBlankPage)
{
    install.WriteAll();
    for (const bool storedBefore : {true, false}) {
        SCOPED_TRACE(storedBefore ? "a stored query" : "nothing stored");
        if (storedBefore) {
            StoredQuery stored;
            stored.BeginningFrequency = QStringLiteral("806");
            stored.EndingFrequency = QStringLiteral("960");
            stored.Length = QStringLiteral("42");
            Store(stored);
        }
        Start({QStringLiteral("QA-1")});
        ASSERT_EQ(ResultPartNumbers(), QStringList{"QA-1"});
        window->Menu.SaveSettingsOnExit1->setChecked(false);
        window.reset();
        if (storedBefore) {
            const QStringList values = StoredValues();
            EXPECT_TRUE(values.contains(QStringLiteral("BeginningFrequency=806"))) << values.join(' ').toStdString();
            EXPECT_TRUE(values.contains(QStringLiteral("Length=42")));
            EXPECT_TRUE(values.contains(QStringLiteral("Save=0")));
            ChangeStored([](SettingsStore& store) { ASSERT_TRUE(store.WriteBool(QStringLiteral("Save"), true)); });
        } else {
            EXPECT_FALSE(SettingsStore(install.SettingsFile()).KeyExists(kSettings));
        }

        Open();
        EXPECT_EQ(query->cbxBeginningFrequency->currentText(), storedBefore ? QStringLiteral("806") : QStringLiteral("500"));
        EXPECT_EQ(query->cbxEndingFrequency->currentText(), storedBefore ? QStringLiteral("960") : QStringLiteral("700"));
        query->cbxBeginningFrequency->setFocus(Qt::OtherFocusReason);
        query->cbxEndingFrequency->setFocus(Qt::MouseFocusReason);
        query->edtLength->setFocus(Qt::MouseFocusReason);
        EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());
        window.reset();
        // The second round starts from a store without a query.
        ASSERT_TRUE(QFile::remove(install.SettingsFile()));
        install.RecordDataFolder();
    }
}

// A store that already holds blank band edges (written by an earlier version
// after a part-number run) opens on the catalogue's first entries.
TEST_F(Settings, BlankStoredBandEdgesKeepTheFirstEntries)
{
    install.WriteAll();
    StoredQuery stored;
    stored.Length = QStringLiteral("42");
    Store(stored);  // both band edges empty
    Open();
    EXPECT_EQ(query->cbxBeginningFrequency->currentText(), QStringLiteral("500"));
    EXPECT_EQ(query->cbxEndingFrequency->currentText(), QStringLiteral("700"));
    EXPECT_EQ(ComboItems(query->cbxBeginningFrequency).count(QString()), 0);
    EXPECT_EQ(query->edtLength->text(), QStringLiteral("42"));
    query->cbxBeginningFrequency->setFocus(Qt::OtherFocusReason);
    query->edtLength->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList());
}

// The rows of the part-number form: the letter case of the part number
// counts, "M" alone means metres, and with a second argument the ordinary
// filling stops at the band it cannot read.
TEST_F(Settings, PartNumberArgumentsGiveTheirRowsOrTheirMessages)
{
    install.WriteAll();
    Start({QStringLiteral("qa-1")});
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList{kNoLines});
    EXPECT_EQ(window->CurrentPage(), TfrmMain::kQueryValuesPage);
    window.reset();

    auto totalFor = [&](const char* argument) {
        install.fakes.messages.Clear();
        Start({QLatin1String(argument)});
        EXPECT_EQ(BoxLines(install.fakes.messages), QStringList()) << argument;
        const QString total = Cell(0, 6);
        window.reset();
        return total.toDouble();
    };
    const double metres = totalFor("QA-1|100|M");
    const double feet = totalFor("QA-1|100|m");
    EXPECT_GT(feet, 0.0);
    EXPECT_EQ(totalFor("QA-1|100|"), feet);
    EXPECT_NEAR(metres, feet * 3.2808, 0.025);

    install.fakes.messages.Clear();
    Start({QStringLiteral("QA-1"), QStringLiteral("unrelated")});
    EXPECT_EQ(BoxLines(install.fakes.messages), QStringList{QStringLiteral("Error: '' is not a valid floating point value")});
    EXPECT_EQ(window->CurrentPage(), TfrmMain::kQueryValuesPage);
    EXPECT_EQ(Cell(0, 0), QStringLiteral("QA-1"));
    EXPECT_EQ(Cell(0, 2), QStringLiteral("Air line"));
    EXPECT_EQ(Cell(0, 3), QString());
}

}  // namespace
}  // namespace quillon
