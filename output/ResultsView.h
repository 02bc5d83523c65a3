#pragma once
// What the output commands read from the results page: the grids and lists
// exactly as they are shown. The main window implements it; tests use a
// plain fixture.

#include <QList>
#include <QString>
#include <QStringList>

namespace quillon {

// One grid as shown: its headings, every row's cell texts (hidden columns
// included, with the texts they hold) and the current row (-1: none).
struct GridSnapshot {
    QStringList headings;
    QList<QStringList> rows;
    int currentRow = -1;

    // The cell texts of the current row; empty texts when there is none.
    QStringList CurrentCells() const
    {
        if (currentRow >= 0 && currentRow < rows.size()) return rows.at(currentRow);
        QStringList empty;
        for (int i = 0; i < headings.size(); ++i) empty << QString();
        return empty;
    }
};

class ResultsView {
public:
    virtual ~ResultsView() = default;
    // grdSpecs, the 14-column results grid.
    virtual GridSnapshot SpecsGrid() const = 0;
    // grdConnectors (end 1) and grdConnectors2 (end 2), the part-number grids.
    virtual GridSnapshot PartNumbers(int end) const = 0;
    // The selected item of lstConnectors (end 1) / lstConnectors2 (end 2); empty when none.
    virtual QString SelectedConnectorType(int end) const = 0;
};

}  // namespace quillon
