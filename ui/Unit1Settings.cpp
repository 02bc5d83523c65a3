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
#include "persist/CommandLine.h"
#include "persist/QueryFiles.h"
#include "platform/Seams.h"

namespace quillon {
namespace {

const QString kQueryFileFilter = QStringLiteral("Quillon Files (*.qlx)|*.qlx");
const QString kQueryFileExtension = QStringLiteral(".qlx");

// The values of a query file's section "data" onto the page, key by key in
// the order a save writes them; a missing or empty key takes its default.
void PutQueryFileOnPage(TQueryValuesPage& page, const std::vector<std::string>& section)
{
    for (const PageValue& value : QueryFileValues(section))
        page.Apply(value.Control, FromEngine(value.Text), value.Flag);
}

}  // namespace

void TfrmMain::ConnectSettingsHandlers()
{
    connect(Menu.OpenFile1, &QAction::triggered, this, Guarded([this] { OpenFile1Click(); }));
    connect(Menu.SaveQuerySettingsToFile1, &QAction::triggered, this,
            Guarded([this] { SaveQuerySettingsToFile1Click(); }));
}

void TfrmMain::LoadSettings()
{
    // What was read before a failure is applied; the failure itself is not shown.
    for (const LoadedValue& value : session_.LoadStoredQuery().Values) {
        // A blank band edge (stored by an earlier version after a part-number
        // run) would open on an empty box that no search can read: the box
        // keeps the catalogue's first entry instead.
        const bool bandEdge = value.Name == StoredValue::BeginningFrequency || value.Name == StoredValue::EndingFrequency;
        if (bandEdge && value.Text.isEmpty()) continue;
        if (const std::optional<PageControl> control = PageControlOf(value.Name))
            tsQueryValues->Apply(*control, value.Text, value.Flag);
        else
            Menu.SaveSettingsOnExit1->setChecked(value.Flag);
    }
}

void TfrmMain::SaveSettings()
{
    session_.StoreQuery(tsQueryValues->ReadQuery(), Menu.SaveSettingsOnExit1->isChecked());
}

void TfrmMain::ApplyCommandLine()
{
    TQueryValuesPage& page = *tsQueryValues;
    for (const PageValue& value : CommandLineDefaultValues()) page.Apply(value.Control, {}, value.Flag);

    const CommandLine line = ParseCommandLine(session_.Arguments());
    switch (line.Form) {
    case CommandLineForm::QueryFile:
        session_.MarkQuerySetUp();
        PutQueryFileOnPage(page, ReadQueryFile(line.QueryFilePath));
        break;
    case CommandLineForm::NotEnoughParameters:
        seams_.messages.Error(line.Error);
        terminated_ = true;
        break;
    case CommandLineForm::PartNumber:
        session_.MarkQuerySetUp();
        session_.SetCommandLinePartNumber(ToEngine(line.CommandLinePartNumber));
        break;
    case CommandLineForm::None: break;
    }
}

void TfrmMain::OpenFile1Click()
{
    QString path;
    if (session_.HasArguments()) {
        // A program started with arguments re-reads argument 2, without a dialog.
        const std::optional<QString> argument = ParseCommandLine(session_.Arguments()).OpenFileArgument();
        if (!argument) return;
        path = *argument;
    } else {
        FileDialogRequest OpenDialog1;
        // The folder is offered, not made.
        OpenDialog1.initialFolder = FolderPath(seams_.paths.UserDataFolder(), QLatin1String(kQueryFolderName));
        OpenDialog1.filter = kQueryFileFilter;
        OpenDialog1.defaultExtension = kQueryFileExtension;
        path = seams_.fileDialogs.OpenFile(OpenDialog1);
        if (path.isEmpty()) return;
    }
    PutQueryFileOnPage(*tsQueryValues, ReadQueryFile(path));
}

void TfrmMain::SaveQuerySettingsToFile1Click()
{
    // In the user's data folder, made when missing: the program's own folder
    // is not the user's to write.
    const QString queryFolder = UserFolder(seams_.paths, QLatin1String(kQueryFolderName));

    FileDialogRequest request;
    request.title = QStringLiteral("Select A File");
    request.initialFolder = queryFolder;
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
