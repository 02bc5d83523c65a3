// Beside the designed controls of the results page: a click on a heading of
// grdSpecs sorts its rows by that column (again to reverse), and the "Run
// Budget" panel shows the selected line's losses and cost with the part
// numbers chosen in the two part-number grids.

#include "ui/Unit1.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

#include "ui/QtText.h"
#include "ui/ResultsPage.h"
#include "ui/RunBudgetPanel.h"

namespace quillon {
namespace {

// The part number in a part-number grid's current row; empty when none.
std::string ChosenPartNumber(const QTableView* grid)
{
    const QModelIndex current = grid->currentIndex();
    if (!current.isValid()) return {};
    return ToEngine(grid->model()->index(current.row(), 0).data(Qt::DisplayRole).toString());
}

}  // namespace

void TfrmMain::ConnectAnalysisHandlers()
{
    TResultsPage& page = *tsResults;
    connect(page.grdSpecs->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { Guarded([this, column] { grdSpecsTitleClick(column); })(); });
    for (QTableView* grid : {page.grdConnectors, page.grdConnectors2})
        connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { UpdateRunBudget(); });
}

void TfrmMain::grdSpecsTitleClick(int column)
{
    TResultsPage& page = *tsResults;
    const TResultTableModel& model = *page.SpecsModel;
    // The first click on a column sorts it ascending, the next one reverses it.
    const auto& sorted = session_.SortedBy();
    const bool reverse = sorted && sorted->Column == column && sorted->Direction == SortDirection::Ascending;
    const SortDirection direction = reverse ? SortDirection::Descending : SortDirection::Ascending;

    std::vector<std::string> cells;
    cells.reserve(static_cast<std::size_t>(model.rowCount()));
    for (int row = 0; row < model.rowCount(); ++row)
        cells.push_back(ToEngine(model.data(model.index(row, column), Qt::DisplayRole).toString()));
    const std::vector<std::size_t> order = session_.SortResultRows(column, cells, direction);

    // The current row moves with its line, so the connector panels and the
    // run budget still show the line they showed.
    fillingSpecs_ = true;
    page.SpecsModel->Reorder(order);
    fillingSpecs_ = false;
    page.grdSpecs->horizontalHeader()->setSortIndicator(
        column, direction == SortDirection::Ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    if (page.grdSpecs->currentIndex().isValid()) page.grdSpecs->scrollTo(page.grdSpecs->currentIndex());
}

void TfrmMain::UpdateRunBudget()
{
    TResultsPage& page = *tsResults;
    const int row = page.grdSpecs->currentIndex().row();
    const ResultTable& table = page.SpecsModel->table();
    std::optional<RunBudgetSheet> sheet;
    if (row >= 0 && static_cast<std::size_t>(row) < table.Rows.size())
        sheet = session_.RunBudgetAt(row, table.Rows[static_cast<std::size_t>(row)],
                                     {ChosenPartNumber(page.grdConnectors), ChosenPartNumber(page.grdConnectors2)});
    page.pnlRunBudget->ShowSheet(sheet);
}

}  // namespace quillon
