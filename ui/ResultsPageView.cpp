#include "ui/ResultsPageView.h"

#include <QAbstractItemModel>
#include <QListWidget>
#include <QTableView>

#include "ui/ResultsPage.h"

namespace quillon {
namespace {

// Every column, hidden ones too: the model keeps the texts a hidden column holds.
GridSnapshot Snapshot(const QTableView& grid)
{
    GridSnapshot snapshot;
    const QAbstractItemModel* model = grid.model();
    const int columns = model->columnCount();
    for (int c = 0; c < columns; ++c)
        snapshot.headings << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < columns; ++c) cells << model->data(model->index(r, c), Qt::DisplayRole).toString();
        snapshot.rows << cells;
    }
    const int current = grid.currentIndex().row();
    snapshot.currentRow = current >= 0 && current < snapshot.rows.size() ? current : -1;
    return snapshot;
}

}  // namespace

GridSnapshot TResultsPageView::SpecsGrid() const { return Snapshot(*page_.grdSpecs); }

GridSnapshot TResultsPageView::PartNumbers(int end) const
{
    return Snapshot(end == 2 ? *page_.grdConnectors2 : *page_.grdConnectors);
}

QString TResultsPageView::SelectedConnectorType(int end) const
{
    const QListWidget* list = end == 2 ? page_.lstConnectors2 : page_.lstConnectors;
    const QListWidgetItem* item = list->currentItem();
    return item != nullptr ? item->text() : QString();
}

}  // namespace quillon
