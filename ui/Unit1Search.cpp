// The search of the main window: the engine checks the query and selects the
// lines; the window shows the messages in order, puts the answers back into
// the query page, completes the prices with the progress bar and fills the
// results grid.

#include "ui/Unit1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTableView>

#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "ui/QtText.h"
#include "ui/QueryPage.h"
#include "engine/ResultRows.h"
#include "ui/ResultsPage.h"
#include "platform/Seams.h"

namespace quillon {
namespace {

void Show(Messages& messages, const Message& message)
{
    if (message.Beep) messages.DefaultBeep();
    const QString text = FromEngine(message.Text);
    switch (message.Kind) {
    case MessageKind::Information: messages.Information(text); break;
    case MessageKind::Warning: messages.Warning(text); break;
    case MessageKind::Error: messages.Error(text); break;
    case MessageKind::Confirmation: messages.Confirmation(text); break;
    }
}

// The search writes "0" into the entry boxes it found empty.
void SetIfChanged(QLineEdit* box, const std::string& before, const std::string& after)
{
    if (after != before) box->setText(FromEngine(after));
}

}  // namespace

void TfrmMain::Search()
{
    TQueryValuesPage& page = *tsQueryValues;
    const QueryPage query = page.ReadQuery();
    const SearchOutcome outcome = session_.Search(query);

    // The frequency check comes before the empty boxes are set to "0"; every
    // later message after it.
    std::size_t next = 0;
    if (query.ByFrequency && CheckFrequencyRange(query.BeginningFrequency, query.EndingFrequency))
        Show(seams_.messages, outcome.Messages.at(next++));
    SetIfChanged(page.edtLength, query.Length, outcome.Page.Length);
    SetIfChanged(page.edtMaxLoss, query.MaxLoss, outcome.Page.MaxLoss);
    SetIfChanged(page.edtVSWR, query.Vswr, outcome.Page.Vswr);
    for (; next < outcome.Messages.size(); ++next) {
        const Message& message = outcome.Messages[next];
        Show(seams_.messages, message);
        if (message.Kind == MessageKind::Warning) {
            // The box that names the loss and length puts the focus where a value is missing.
            if (outcome.Focus == FocusTarget::MaxLoss) page.edtMaxLoss->setFocus();
            if (outcome.Focus == FocusTarget::Length) page.edtLength->setFocus();
        }
    }
    if (outcome.Error) throw QuillonError(*outcome.Error);
    if (outcome.Refused || !outcome.Result) return;

    session_.SetResultLines(*outcome.Result);
    const LineList& lines = session_.ResultLines();
    if (lines.empty()) return;

    page.ProgressBar1->setMaximum(static_cast<int>(lines.size()));
    session_.CompletePrices([&](std::size_t ordinal) { page.ProgressBar1->setValue(static_cast<int>(ordinal)); });
    page.ProgressBar1->setValue(0);

    ApplyStoredCurrency();
    FillResultRows(lines);
    SetSpecsCurrentRow(0);
    ShowPage(kResultsPage);
}

void TfrmMain::FillResultRows(const LineList& lines)
{
    // A refill keeps the current row where the grid still has it.
    const int currentRow = tsResults->grdSpecs->currentIndex().row();
    // The interactive filling reads the query page's texts afresh each time.
    const TQueryValuesPage& page = *tsQueryValues;
    InteractiveFillInputs inputs;
    inputs.BeginningFrequency = ToEngine(page.cbxBeginningFrequency->currentText());
    inputs.EndingFrequency = ToEngine(page.cbxEndingFrequency->currentText());
    inputs.Length = ToEngine(page.edtLength->text());
    inputs.Feet = page.rbFeet->isChecked();
    inputs.Vswr = ToEngine(page.edtVSWR->text());
    inputs.CurrencyTag = CheckedCurrencyTag();
    // The loss criterion's maximum, for the chart's level; a part number from
    // the command line makes the search pass the criteria by.
    std::optional<long double> maxLoss;
    long double value = 0;
    if (page.chkInsertionLoss->isChecked() && session_.CommandLinePartNumber().empty() &&
        TryReadNumber(ToEngine(page.edtMaxLoss->text()), value))
        maxLoss = value;
    std::optional<std::string> error;
    tsResults->SpecsModel->Change(
        [&](ResultTable& table) { error = session_.FillResultRows(table, lines, inputs, maxLoss); });
    const ResultTable& table = tsResults->SpecsModel->table();
    for (int c = 0; c < kResultColumns; ++c)
        tsResults->grdSpecs->setColumnHidden(c, table.Hidden[static_cast<std::size_t>(c)]);
    SetSpecsCurrentRow(currentRow >= 0 && currentRow < tsResults->SpecsModel->rowCount() ? currentRow : 0);
    ChartFollowsResults();
    if (error) throw QuillonError(*error);
}

}  // namespace quillon
