#pragma once
// The chart on paper: a heading, the chart as the window draws it and the
// current line's band-edge figures, on one Letter page of the report engine,
// so the print preview, the printer and PDF all take it.

#include <QStringList>

#include "chart/ChartPlan.h"
#include "output/ReportEngine.h"

namespace quillon {

// figures: the lines of text printed under the chart.
TReport ChartReport(const ChartPlan& plan, const QStringList& figures);

}  // namespace quillon
