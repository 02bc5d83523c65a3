#pragma once
// The "Run Budget" panel of the results page: for the line in the results
// grid's current row, what the run loses (cable, connectors, the load's
// mismatch), how much power reaches the load, and what the run costs with the
// connector part numbers chosen in the two part-number grids. Labels on the
// left, values with their units right-aligned, as a quote reads.

#include <optional>

#include <QWidget>

#include "ui/RunBudgetSheet.h"

class QLabel;

namespace quillon {

class TRunBudgetPanel final : public QWidget
{
public:
    explicit TRunBudgetPanel(QWidget* parent = nullptr);

    // Shows the sheet's texts; none: the row has no figures and every value is blank.
    void ShowSheet(const std::optional<RunBudgetSheet>& sheet);

    QLabel* lblRunPartNumber;
    QLabel* lblRunLength;
    QLabel* lblRunVswr;
    QLabel* lblRunReflection;
    QLabel* lblRunCableLoss;
    QLabel* lblRunConnectorLoss;
    QLabel* lblRunMismatchLoss;
    QLabel* lblRunSystemLoss;
    QLabel* lblRunPowerDelivered;
    QLabel* lblRunCableCost;
    QLabel* lblRunConnector1;  // caption: the part number chosen for end #1
    QLabel* lblRunConnector1Price;
    QLabel* lblRunConnector2;
    QLabel* lblRunConnector2Price;
    QLabel* lblRunTotal;
    QLabel* lblRunLongestCaption;  // "Longest run within" the maximum loss
    QLabel* lblRunLongest;
};

}  // namespace quillon
