#pragma once
// The results page as the output commands read it: the results grid, the two
// part-number grids and the two connector lists, exactly as they are shown.

#include "output/ResultsView.h"

namespace quillon {

class TResultsPage;

class TResultsPageView final : public ResultsView
{
public:
    explicit TResultsPageView(const TResultsPage& page) : page_(page) {}

    GridSnapshot SpecsGrid() const override;
    GridSnapshot PartNumbers(int end) const override;
    QString SelectedConnectorType(int end) const override;

private:
    const TResultsPage& page_;
};

}  // namespace quillon
