#pragma once
// What the attenuation chart shows, worked out without Qt: for each line its
// curve over a frequency range in the chart's units, broken where the law has
// no value, the results' mid-band figure, the shaded query band, the
// maximum-loss level and the ranges of both axes. The window and
// quillon-query draw from the same plan, so they draw the same chart.

#include "engine/Analysis.h"
#include "engine/AnalysisColumns.h"
#include "engine/TransmissionLib.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillon {

// More lines than this make a legend nobody can read.
inline constexpr int kMaxChartLines = 8;
// Odd, so that on a linear axis the middle point falls on the band's middle.
inline constexpr int kChartCurvePoints = 201;

struct ChartLineRequest {
    const TTransmissionLine* Line = nullptr;
    double From = 0, To = 0;              // the curve's range, MHz
    std::optional<long double> MidBand;   // where the results take the line's figure, MHz; none: no mark
    int Points = kChartCurvePoints;
    bool Current = false;                 // the results grid's current row: drawn bolder
};

struct ChartRequest {
    std::vector<ChartLineRequest> Lines;  // in legend order; lines past kMaxChartLines are left out
    bool Feet = true;                     // dB/100 ft, else dB/100 m
    std::optional<std::pair<double, double>> ShadedBand;  // the query band, MHz
    std::optional<long double> MaxLossLevel;              // in the chart's units
    FrequencySpacing Spacing = FrequencySpacing::Linear;
};

// A results row's line across its own band, marked at the middle of its
// row's band; without a basis (a command line without a length) unmarked.
ChartLineRequest ChartLineFor(const TTransmissionLine& line, const std::optional<RowBasis>& basis);

// The chart's units, shaded band and maximum-loss level from a row's basis:
// the query band (nothing for the command line, whose rows stand on each
// line's own band), and, with the
// loss criterion on, the attenuation per 100 units at which the query's
// length loses exactly the maximum loss (the search's loss rule turned round).
void ApplyRowBasis(ChartRequest& request, const RowBasis& basis);

struct ChartPoint {
    double Frequency = 0;  // MHz
    double Value = 0;      // dB per 100 units
};

struct ChartCurve {
    std::string PartNumber;
    bool Current = false;
    // Runs of points that have a value; where the law has none (a waveguide
    // at or below its cut-off) the curve stops and, if it has a value again
    // further up, starts a new run. No point is ever invented for a gap.
    std::vector<std::vector<ChartPoint>> Segments;
    std::optional<ChartPoint> MidBand;
};

struct ChartPlan {
    std::vector<ChartCurve> Curves;
    bool Feet = true;
    std::string FrequencyTitle;  // "Frequency (MHz)"
    std::string ValueTitle;      // "Attenuation (dB/100 ft)" or "Attenuation (dB/100m)"
    std::optional<std::pair<double, double>> ShadedBand;
    std::optional<double> MaxLossLevel;
    FrequencySpacing Spacing = FrequencySpacing::Linear;
    double XMin = 0, XMax = 1, YMin = 0, YMax = 1;
};

ChartPlan PlanChart(const ChartRequest& request);

}  // namespace quillon
