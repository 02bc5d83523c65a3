#pragma once
// The results page of the main window (tsResults): the results grid with its
// count caption, the two connector lists and the two part-number grids, the
// logo and mail links and the page's buttons. This file builds the controls;
// the search and the main window fill them. Panels added beside the designed
// ones (charts, a run's budget) get builders of their own here and leave the
// grids' columns and cells as they are.

#include <array>
#include <string>
#include <vector>

#include <QWidget>

#include "engine/ResultRows.h"
#include "ui/TextTableModel.h"

class QGroupBox;
class QListWidget;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTableView;

namespace quillon {

class TLinkLabel;
class TRunBudgetPanel;

using TResultTableModel = TTextTableModel<ResultTable>;
using TPartNumberModel = TTextTableModel<PartNumberTable>;

class TResultsPage final : public QWidget
{
    Q_OBJECT

public:
    explicit TResultsPage(QWidget* parent = nullptr);

    QGroupBox* gbxSpecifications;
    QTableView* grdSpecs;
    TResultTableModel* SpecsModel;  // grdSpecs' cells; the current row shows yellow

    QGroupBox* gbxConnector;
    QListWidget* lstConnectors;
    QGroupBox* GroupBox2;
    QListWidget* lstConnectors2;

    QGroupBox* gbxPartNumbers;
    QTableView* grdConnectors;
    TPartNumberModel* ConnectorsModel;  // the current row shows aqua
    QGroupBox* GroupBox3;
    QTableView* grdConnectors2;
    TPartNumberModel* Connectors2Model;

    TLinkLabel* Image2;
    TLinkLabel* lblemail2;
    QPushButton* btnPrint;
    QPushButton* btnClipboard;
    QPushButton* btnNewQuery;
    QPushButton* Button1;

    // Panels beside the designed ones (chart, run budget), one tab each;
    // hidden while it holds none.
    QTabWidget* tabAnalysis;
    // Between the connector ends and the panels: the user sets how the width is shared.
    QSplitter* splitAnalysis;
    void AddAnalysisPanel(QWidget* panel, const QString& title);
    // "Run Budget": the losses and the cost of a run of the current row's line.
    TRunBudgetPanel* pnlRunBudget;

    // Designed widths of grdSpecs' columns and of the part-number grids'.
    static const std::array<int, kResultColumns>& SpecsColumnWidths();
    static const std::array<int, PartNumberTable::kColumns>& PartNumberColumnWidths(int end);

    // Column 2 ("Description") of each part-number grid takes half the grid's
    // width. Done when the page shows and again whenever the page is resized
    // while on show: the maximised size arrives after the page has shown.
    void HalveDescriptionColumns();

protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace quillon
