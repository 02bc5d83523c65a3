// The query page's way in and out: the query remembered in the settings store
// (put back at an interactive start, stored when the window goes), query
// files opened and saved from the File menu, and the command line applied at
// start-up. Persist reads and writes the values; the window applies each one
// to its control, so the page's own rules run as they would for the user.

#include "ui/Unit1.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "engine/ProfileText.h"
#include "ui/QtText.h"
#include "engine/QueryFileValues.h"
#include "engine/QueryPageRules.h"
#include "ui/QueryPage.h"
#include "ui/ShowErrors.h"
#include "persist/CommandLine.h"
#include "persist/QueryFiles.h"
#include "persist/RegistrySettings.h"
#include "platform/Seams.h"

namespace quillon {
namespace {

const QString kQueryFileFilter = QStringLiteral("Quillon Files (*.qlx)|*.qlx");
const QString kQueryFileExtension = QStringLiteral(".qlx");

// Letter case as the lists compare it: ASCII letters only, the rule by which
// the catalogue sorted the connector names.
QString UpperAscii(QString text)
{
    for (QChar& c : text)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return text;
}

// Selects the item equal to the text (letter case ignored), adding the text
// first when no item equals it: at the end, or in its sorted place.
void SelectOrAdd(QComboBox* box, const QString& text, bool sorted)
{
    const QString key = UpperAscii(text);
    for (int i = 0; i < box->count(); ++i)
        if (UpperAscii(box->itemText(i)) == key) {
            box->setCurrentIndex(i);
            return;
        }
    int at = box->count();
    if (sorted)
        for (int i = 0; i < box->count(); ++i)
            if (UpperAscii(box->itemText(i)) > key) {
                at = i;
                break;
            }
    box->insertItem(at, text);
    box->setCurrentIndex(at);
}

// Each value goes onto its control as the user would put it there: an entry
// box applies its numeric rule to the text it receives, and a check box that
// is set runs its click rule, both through the controls' own signals.
void ApplyStoredValue(TfrmMain& window, const LoadedValue& value)
{
    TQueryValuesPage& page = *window.tsQueryValues;
    switch (value.Name) {
    case StoredValue::Save: window.Menu.SaveSettingsOnExit1->setChecked(value.Flag); break;
    case StoredValue::BeginningFrequency: SelectOrAdd(page.cbxBeginningFrequency, value.Text, false); break;
    case StoredValue::EndingFrequency: SelectOrAdd(page.cbxEndingFrequency, value.Text, false); break;
    case StoredValue::MaxLoss: page.edtMaxLoss->setText(value.Text); break;
    case StoredValue::Length: page.edtLength->setText(value.Text); break;
    case StoredValue::VSWR: page.edtVSWR->setText(value.Text); break;
    case StoredValue::Connector1: SelectOrAdd(page.cbxConnector, value.Text, true); break;
    case StoredValue::Connector2: SelectOrAdd(page.cbxConnector2, value.Text, true); break;
    // The two buttons form one group, in which one is always selected: a
    // button stored as on is selected, one stored as off leaves the choice to
    // the other. Two buttons stored as off keep the page's "Feet".
    case StoredValue::Meters:
        if (value.Flag) page.rbMeters->setChecked(true);
        break;
    case StoredValue::Feet:
        if (value.Flag) page.rbFeet->setChecked(true);
        break;
    case StoredValue::Air: page.chkAir->setChecked(value.Flag); break;
    case StoredValue::Foam: page.chkFoam->setChecked(value.Flag); break;
    case StoredValue::EW: page.chkWaveguide->setChecked(value.Flag); break;
    case StoredValue::Braided: page.chkBraided->setChecked(value.Flag); break;
    case StoredValue::ByFrequency: page.chkFrequency->setChecked(value.Flag); break;
    case StoredValue::ByLoss: page.chkInsertionLoss->setChecked(value.Flag); break;
    case StoredValue::ByC1: page.chkConnector->setChecked(value.Flag); break;
    case StoredValue::ByC2: page.chkConnector2->setChecked(value.Flag); break;
    }
}

// The section "data" of a query file onto the page, key by key in the order
// a save writes them; a missing or empty key takes its default.
void PutQueryFileOnPage(TQueryValuesPage& page, const std::vector<std::string>& section)
{
    const auto value = [&](const char* key, const char* fallback) {
        return FromEngine(ValueOrDefault(section, key, fallback));
    };
    // A cable kind is on unless the file says FALSE; a query-by switch is off
    // unless it says TRUE.
    const auto kindOn = [&](const char* key) { return UpperAscii(value(key, "False")) != QLatin1String("FALSE"); };
    const auto switchOn = [&](const char* key) { return UpperAscii(value(key, "False")) == QLatin1String("TRUE"); };

    SelectOrAdd(page.cbxBeginningFrequency, value("BegFreq", "0"), false);
    SelectOrAdd(page.cbxEndingFrequency, value("EndFreq", "0"), false);
    SelectOrAdd(page.cbxConnector, value("C1", ""), true);
    SelectOrAdd(page.cbxConnector2, value("C2", ""), true);
    page.edtMaxLoss->setText(value("MaxLoss", "0"));
    page.edtLength->setText(value("Length", "0"));
    page.edtVSWR->setText(value("VSWR", "1.1"));
    (UpperAscii(value("Units", "Meters")) == QLatin1String("F") ? page.rbFeet : page.rbMeters)->setChecked(true);
    page.chkFoam->setChecked(kindOn("Foam"));
    page.chkAir->setChecked(kindOn("Air"));
    page.chkWaveguide->setChecked(kindOn("Waveguide"));
    page.chkBraided->setChecked(kindOn("Braided"));
    page.chkFrequency->setChecked(switchOn("ByFreq"));
    page.chkInsertionLoss->setChecked(switchOn("ByLoss"));
    page.chkConnector->setChecked(switchOn("ByC1"));
    page.chkConnector2->setChecked(switchOn("ByC2"));
}

}  // namespace

void TfrmMain::ConnectSettingsHandlers()
{
    connect(Menu.OpenFile1, &QAction::triggered, this,
            [this] { ShowErrors(seams_.messages, [this] { OpenFile1Click(); }); });
    connect(Menu.SaveQuerySettingsToFile1, &QAction::triggered, this,
            [this] { ShowErrors(seams_.messages, [this] { SaveQuerySettingsToFile1Click(); }); });
}

void TfrmMain::LoadSettings()
{
    // The lists are filled: from here on the page holds a query worth storing.
    settingsReady_ = true;
    SettingsStore store = seams_.Settings();
    // What was read before a failure is applied; the failure itself is not shown.
    for (const LoadedValue& value : quillon::LoadSettings(store).Values) ApplyStoredValue(*this, value);
}

void TfrmMain::SaveSettings()
{
    // After a start that did not set the page up (no catalogue, or a command
    // line that ended the program) the page holds empty lists, not the
    // user's query: the stored query stays as it was.
    if (!settingsReady_) return;
    SettingsStore store = seams_.Settings();
    // A store that refuses a value ends the saving quietly.
    (void)quillon::SaveSettings(store,
                                StoredQueryFromPage(tsQueryValues->ReadQuery(), Menu.SaveSettingsOnExit1->isChecked()));
}

void TfrmMain::ApplyCommandLine()
{
    TQueryValuesPage& page = *tsQueryValues;
    const QueryPage defaults = CommandLineDefaults();
    (defaults.Meters ? page.rbMeters : page.rbFeet)->setChecked(true);
    page.chkAir->setChecked(defaults.Air);
    page.chkFoam->setChecked(defaults.Foam);
    page.chkWaveguide->setChecked(defaults.Waveguide);
    page.chkBraided->setChecked(defaults.Braided);
    page.chkFrequency->setChecked(defaults.ByFrequency);
    page.chkInsertionLoss->setChecked(defaults.ByLoss);
    page.chkConnector->setChecked(defaults.ByConnector1);
    page.chkConnector2->setChecked(defaults.ByConnector2);

    const CommandLine line = ParseCommandLine(Arguments);
    switch (line.Form) {
    case CommandLineForm::QueryFile:
        settingsReady_ = true;
        PutQueryFileOnPage(page, ReadQueryFile(line.QueryFilePath));
        break;
    case CommandLineForm::NotEnoughParameters:
        seams_.messages.Error(line.Error);
        terminated_ = true;
        break;
    case CommandLineForm::PartNumber:
        settingsReady_ = true;
        CommandLinePartNumber = ToEngine(line.CommandLinePartNumber);
        break;
    case CommandLineForm::None: break;
    }
}

void TfrmMain::OpenFile1Click()
{
    QString path;
    if (!Arguments.isEmpty()) {
        // A program started with arguments re-reads argument 2, without a dialog.
        const std::optional<QString> argument = ParseCommandLine(Arguments).OpenFileArgument();
        if (!argument) return;
        path = *argument;
    } else {
        FileDialogRequest OpenDialog1;
        // The folder is offered, not made.
        OpenDialog1.initialFolder = FolderPath(seams_.paths.ProgramFolder(), QLatin1String(kQueryFolderName));
        OpenDialog1.filter = kQueryFileFilter;
        OpenDialog1.defaultExtension = kQueryFileExtension;
        path = seams_.fileDialogs.OpenFile(OpenDialog1);
        if (path.isEmpty()) return;
    }
    PutQueryFileOnPage(*tsQueryValues, ReadQueryFile(path));
}

void TfrmMain::SaveQuerySettingsToFile1Click()
{
    const QString programFolder = seams_.paths.ProgramFolder();
    EnsureFolder(programFolder, QLatin1String(kQueryFolderName));

    FileDialogRequest request;
    request.title = QStringLiteral("Select A File");
    request.initialFolder = FolderPath(programFolder, QLatin1String(kQueryFolderName));
    request.initialName = SaveDialog1.lastName;
    request.filter = kQueryFileFilter;
    request.defaultExtension = kQueryFileExtension;
    request.confirmOverwrite = true;
    const QString path = seams_.fileDialogs.SaveFile(request);
    if (path.isEmpty()) return;
    SaveDialog1.lastName = path;

    if (const std::optional<QString> error = WriteQueryFile(path, QueryFileLines(tsQueryValues->ReadQuery())))
        seams_.messages.Error(*error);
}

}  // namespace quillon
