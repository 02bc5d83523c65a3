// The results page's behaviour: the current row of grdSpecs is the selected
// line, drawn yellow; its connector types fill the two lists, and the type
// chosen in each list fills its part-number grid with descriptions and
// prices, the current part-number row drawn aqua.

#include "ui/Unit1.h"

#include <algorithm>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QTableView>

#include "engine/Errors.h"
#include "ui/QtText.h"
#include "ui/QueryPage.h"
#include "ui/ResultsPage.h"

namespace quillon {

void TfrmMain::ConnectResultsHandlers()
{
    TResultsPage& page = *tsResults;
    connect(page.grdSpecs->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (fillingSpecs_) {
                    tsResults->SpecsModel->SetHighlightedRow(current.row());
                    return;
                }
                Guarded([this, row = current.row()] { grdSpecsRowChanged(row); })();
            });
    connect(page.grdSpecs, &QTableView::clicked, this, Guarded([this] { grdSpecsClick(); }));

    const auto connectors = Guarded([this] { lstConnectorsClick(); });
    connect(page.lstConnectors, &QListWidget::currentRowChanged, this, connectors);
    connect(page.lstConnectors, &QListWidget::itemClicked, this, connectors);
    const auto connectors2 = Guarded([this] { lstConnectors2Click(); });
    connect(page.lstConnectors2, &QListWidget::currentRowChanged, this, connectors2);
    connect(page.lstConnectors2, &QListWidget::itemClicked, this, connectors2);

    // grdConnectorsRowChanged and grdConnectors2RowChanged: the highlight follows.
    connect(page.grdConnectors->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { tsResults->ConnectorsModel->SetHighlightedRow(current.row()); });
    connect(page.grdConnectors2->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { tsResults->Connectors2Model->SetHighlightedRow(current.row()); });

    for (QAction* item : Menu.CurrencyItems)
        connect(item, &QAction::triggered, this, Guarded([this, item] { US1Click(item); }));
}

void TfrmMain::SetSpecsCurrentRow(int row)
{
    TResultsPage& page = *tsResults;
    fillingSpecs_ = true;
    if (row >= 0 && row < page.SpecsModel->rowCount())
        page.grdSpecs->setCurrentIndex(page.SpecsModel->index(row, 0));
    else
        row = -1;
    page.SpecsModel->SetHighlightedRow(row);
    fillingSpecs_ = false;
}

TTransmissionLine* TfrmMain::SelectedLine() const
{
    return session_.ResultLineAt(tsResults->grdSpecs->currentIndex().row());
}

void TfrmMain::grdSpecsRowChanged(int row)
{
    tsResults->SpecsModel->SetHighlightedRow(row);
    grdSpecsClick();
    ChartFollowsSelectedLine();
}

void TfrmMain::grdSpecsClick()
{
    const TQueryValuesPage& query = *tsQueryValues;
    TResultsPage& page = *tsResults;
    FillConnectorList(page.lstConnectors, query.chkConnector, page.grdConnectors, query.cbxConnector);
    FillConnectorList(page.lstConnectors2, query.chkConnector2, page.grdConnectors2, query.cbxConnector2);
}

void TfrmMain::FillConnectorList(QListWidget* list, const QCheckBox* criterion, QTableView* grid,
                                 const QComboBox* combo)
{
    {
        // The handlers of the list run once, below, for the item chosen here.
        const QSignalBlocker quiet(list);
        list->setUpdatesEnabled(false);
        list->clear();
        if (const TTransmissionLine* line = SelectedLine())
            for (const auto& connector : line->Connectors) list->addItem(FromEngine(connector->TypeName));
        int chosen = 0;
        if (criterion->isChecked()) {
            // The queried type; a line found by its part number alone may not
            // have it, and then its first type serves.
            for (int i = 0; i < list->count(); ++i)
                if (list->item(i)->text().compare(combo->currentText(), Qt::CaseInsensitive) == 0) {
                    chosen = i;
                    break;
                }
        }
        if (list->count() > 0) list->setCurrentRow(chosen);
        list->setUpdatesEnabled(true);
    }
    // An empty list empties the grid too, so that it never shows another line's part numbers.
    FillPartNumberGrid(grid, list);
}

void TfrmMain::FillPartNumberGrid(QTableView* grid, const QListWidget* list)
{
    TPartNumberModel* model = grid == tsResults->grdConnectors ? tsResults->ConnectorsModel : tsResults->Connectors2Model;
    const TTransmissionLine* line = SelectedLine();
    const int position = list->currentRow();
    const TConnector* connector = nullptr;
    if (line != nullptr && position >= 0 && static_cast<std::size_t>(position) < line->Connectors.size())
        connector = line->Connectors[static_cast<std::size_t>(position)].get();

    std::optional<std::string> error;
    const int tag = CheckedCurrencyTag();
    model->Change([&](PartNumberTable& table) { error = session_.FillPartNumbers(table, connector, tag); });
    if (error) throw QuillonError(*error);
    if (model->rowCount() > 0) grid->setCurrentIndex(model->index(0, 0));
    // Part numbers are what the user quotes: never cut them short.
    const int end = grid == tsResults->grdConnectors ? 1 : 2;
    grid->resizeColumnToContents(0);
    QHeaderView* header = grid->horizontalHeader();
    header->resizeSection(0, std::max(TResultsPage::PartNumberColumnWidths(end)[0], header->sectionSize(0)));
}

void TfrmMain::lstConnectorsClick() { FillPartNumberGrid(tsResults->grdConnectors, tsResults->lstConnectors); }

void TfrmMain::lstConnectors2Click() { FillPartNumberGrid(tsResults->grdConnectors2, tsResults->lstConnectors2); }

}  // namespace quillon
