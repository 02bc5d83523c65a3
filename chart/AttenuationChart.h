#pragma once
// The attenuation chart drawn with Qt Charts from a ChartPlan: one colour per
// line with its part number in the legend, the current line bolder, the
// results' mid-band figure marked on each line, the query band shaded, the
// maximum-loss level as a dashed line, and a linear or logarithmic frequency
// axis. The window's chart view and the pictures written by the window and by
// quillon-query are all drawn by DrawAttenuationChart.

#include "chart/ChartPlan.h"

#include <QColor>
#include <vector>

class QAbstractAxis;
class QAreaSeries;
class QChart;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace quillon {

// The series the chart was drawn with, owned by the chart; read back by the
// window's tests and by nothing that draws.
struct ChartSeries {
    std::vector<std::vector<QLineSeries*>> Curves;  // per curve of the plan, one series per run
    std::vector<QScatterSeries*> MidBands;          // per curve; nullptr where it has no mark
    QAreaSeries* Band = nullptr;
    QLineSeries* MaxLoss = nullptr;
    QAbstractAxis* Frequency = nullptr;  // QValueAxis, or QLogValueAxis on a logarithmic axis
    QValueAxis* Value = nullptr;
};

// The colour of the chart's n-th line (n from 0), distinct for the eight lines a chart holds.
QColor ChartLineColour(int index);

// Replaces whatever the chart showed with the plan.
ChartSeries DrawAttenuationChart(QChart& chart, const ChartPlan& plan);

}  // namespace quillon
