#include "chart/ChartPlan.h"

#include <algorithm>
#include <cmath>

namespace quillon {
namespace {

// A logarithmic axis cannot reach zero; a band that starts there is drawn
// from a thousandth of its top, well below anything a line is used at.
constexpr double kLogFloorRatio = 1e-3;

struct Range {
    double Min = 0, Max = 0;
    bool Empty = true;
    void Add(double v)
    {
        if (!std::isfinite(v)) return;
        Min = Empty ? v : std::min(Min, v);
        Max = Empty ? v : std::max(Max, v);
        Empty = false;
    }
};

std::optional<double> InUnits(const std::optional<long double>& per100ft, bool feet)
{
    if (!per100ft) return std::nullopt;
    const auto value = static_cast<double>(feet ? *per100ft : *per100ft * FeetPerMetre);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

ChartLineRequest ChartLineFor(const TTransmissionLine& line, const std::optional<RowBasis>& basis)
{
    ChartLineRequest request;
    request.Line = &line;
    request.From = line.BeginFrequency;
    request.To = line.EndFrequency;
    // The results' own mid-band: (F1 + F2) / 2 of the row's band, in long double.
    if (basis) request.MidBand = (static_cast<long double>(basis->F1) + basis->F2) / 2;
    return request;
}

void ApplyRowBasis(ChartRequest& request, const RowBasis& basis)
{
    request.Feet = basis.Feet;
    // The command line's rows stand on each line's own band, which its curve
    // spans anyway: only a query's band says something when shaded.
    request.ShadedBand.reset();
    if (basis.Filling == RowFilling::Interactive)
        request.ShadedBand = std::make_pair(std::min(basis.F1, basis.F2), std::max(basis.F1, basis.F2));
    request.MaxLossLevel.reset();
    // The search passes a line when a / 100 * length <= maximum loss, a in dB
    // per 100 of the query's units; the level is the a where both sides meet.
    if (basis.MaxLoss && basis.Length > 0) {
        const long double level = *basis.MaxLoss * 100 / basis.Length;
        if (std::isfinite(level)) request.MaxLossLevel = level;
    }
}

ChartPlan PlanChart(const ChartRequest& request)
{
    ChartPlan plan;
    plan.Feet = request.Feet;
    plan.Spacing = request.Spacing;
    plan.FrequencyTitle = CurveHeadings()[0];
    plan.ValueTitle = CurveHeadings()[request.Feet ? 1 : 2];
    const bool log = request.Spacing == FrequencySpacing::Logarithmic;

    Range x, y;
    const std::size_t count = std::min<std::size_t>(request.Lines.size(), kMaxChartLines);
    for (std::size_t i = 0; i < count; ++i) {
        const ChartLineRequest& line = request.Lines[i];
        if (line.Line == nullptr) continue;
        ChartCurve curve;
        curve.PartNumber = line.Line->PartNumber;
        curve.Current = line.Current;
        double from = std::min(line.From, line.To);
        const double to = std::max(line.From, line.To);
        if (log && from <= 0) from = to * kLogFloorRatio;
        if (!log || to > 0) {
            x.Add(from);
            x.Add(to);
            std::vector<ChartPoint> run;
            for (const CurvePoint& point : AttenuationCurve(*line.Line, from, to, line.Points, request.Spacing)) {
                const std::optional<double> value = InUnits(point.Per100ft, request.Feet);
                if (!value) {
                    if (!run.empty()) curve.Segments.push_back(std::move(run));
                    run.clear();
                    continue;
                }
                run.push_back({static_cast<double>(point.Frequency), *value});
                y.Add(*value);
            }
            if (!run.empty()) curve.Segments.push_back(std::move(run));
        }
        if (line.MidBand && (!log || *line.MidBand > 0)) {
            if (const std::optional<double> value = InUnits(AttenuationAt(*line.Line, *line.MidBand), request.Feet)) {
                curve.MidBand = ChartPoint{static_cast<double>(*line.MidBand), *value};
                x.Add(curve.MidBand->Frequency);
                y.Add(*value);
            }
        }
        plan.Curves.push_back(std::move(curve));
    }

    if (request.ShadedBand && (!log || request.ShadedBand->first > 0)) {
        plan.ShadedBand = request.ShadedBand;
        x.Add(request.ShadedBand->first);
        x.Add(request.ShadedBand->second);
    }
    if (request.MaxLossLevel) {
        plan.MaxLossLevel = static_cast<double>(*request.MaxLossLevel);
        y.Add(*plan.MaxLossLevel);
    }

    // Frequencies: exactly the span drawn, widened only when it is one point.
    if (x.Empty) {
        plan.XMin = log ? 1 : 0;
        plan.XMax = log ? 10 : 1;
    } else if (x.Min < x.Max) {
        plan.XMin = x.Min;
        plan.XMax = x.Max;
    } else if (log) {
        plan.XMin = x.Min / 1.1;
        plan.XMax = x.Max * 1.1;
    } else {
        const double half = std::max(1.0, std::abs(x.Min) * 0.05);
        plan.XMin = x.Min - half;
        plan.XMax = x.Max + half;
    }
    // Attenuation from zero (losses are never negative on a sound catalogue),
    // with a little room above the highest value.
    plan.YMin = y.Empty ? 0 : std::min(0.0, y.Min);
    plan.YMax = y.Empty ? 1 : y.Max + 0.05 * (y.Max - plan.YMin);
    if (!(plan.YMax > plan.YMin)) plan.YMax = plan.YMin + 1;
    return plan;
}

}  // namespace quillon
