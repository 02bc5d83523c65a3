#include "engine/Analysis.h"

#include "engine/Errors.h"
#include "engine/NumberText.h"

#include <cmath>

namespace quillon {
namespace {

// A figure of the results' own formulas, or nothing where they raise an error.
template <typename Compute>
std::optional<long double> ValueOf(Compute&& compute)
{
    try {
        return compute();
    } catch (const QuillonError&) {
        return std::nullopt;
    }
}

}  // namespace

std::optional<long double> AttenuationAt(const TTransmissionLine& line, long double f)
{
    // No line carries a negative frequency; a waveguide whose A is negative too
    // would otherwise find a value there.
    if (std::isnan(f) || f < 0) return std::nullopt;
    return AttenuationValueAt(line, f);
}

CurveRequestProblem CheckCurveRequest(long double from, long double to, int points, FrequencySpacing spacing)
{
    if (!std::isfinite(from) || !std::isfinite(to)) return CurveRequestProblem::NotFinite;
    if (from > to) return CurveRequestProblem::Reversed;
    if (points < 2) return CurveRequestProblem::TooFewPoints;
    if (points > kMaxCurvePoints) return CurveRequestProblem::TooManyPoints;
    if (spacing == FrequencySpacing::Logarithmic && from <= 0) return CurveRequestProblem::NonPositiveForLog;
    return CurveRequestProblem::None;
}

std::vector<long double> CurveFrequencies(long double from, long double to, int points, FrequencySpacing spacing)
{
    std::vector<long double> out;
    if (CheckCurveRequest(from, to, points, spacing) != CurveRequestProblem::None) return out;
    const auto n = static_cast<std::size_t>(points);
    out.resize(n);
    const long double steps = static_cast<long double>(n - 1);
    if (spacing == FrequencySpacing::Linear) {
        // Weighted mean of the two edges rather than from + i * step, so an odd
        // count puts its middle point on (from + to) / 2, the results' mid-band.
        for (std::size_t i = 0; i < n; ++i) {
            const long double k = static_cast<long double>(i);
            out[i] = ((steps - k) * from + k * to) / steps;
        }
    } else {
        const long double lnFrom = std::log(from);
        const long double lnTo = std::log(to);
        for (std::size_t i = 0; i < n; ++i) {
            const long double k = static_cast<long double>(i);
            out[i] = std::exp(((steps - k) * lnFrom + k * lnTo) / steps);
        }
    }
    out.front() = from;
    out.back() = to;
    return out;
}

std::vector<CurvePoint> AttenuationCurve(const TTransmissionLine& line, long double from, long double to, int points,
                                         FrequencySpacing spacing)
{
    std::vector<CurvePoint> curve;
    for (long double f : CurveFrequencies(from, to, points, spacing)) curve.push_back({f, AttenuationAt(line, f)});
    return curve;
}

const std::array<std::string, 3>& CurveHeadings()
{
    static const std::array<std::string, 3> headings{"Frequency (MHz)", "Attenuation (dB/100 ft)",
                                                     "Attenuation (dB/100m)"};
    return headings;
}

std::array<std::string, 3> CurveCells(const CurvePoint& point)
{
    if (!point.Per100ft) return {FormatGeneral(point.Frequency), "N/A", "N/A"};
    return {FormatGeneral(point.Frequency), FormatGeneral(*point.Per100ft),
            FormatGeneral(*point.Per100ft * FeetPerMetre)};
}

// Why the two edges suffice for the worst case over a band:
// - the coaxial law A*sqrt(f) + B*f never falls as f rises (A and B are loss
//   coefficients, never negative), so its largest value is at the upper edge;
// - the waveguide law is (B/1000) * e^g(u) with u = ln(f/A - 1) rising with f
//   and g(u) = 0.09557 u^2 - 0.13127 u a parabola opening upwards, lowest at
//   u = 0.13127 / (2 * 0.09557), that is f = 2.987 A: the loss falls towards
//   there and rises beyond it, and a function that falls and then rises takes
//   its largest value over any interval at one of the interval's ends.
BandEdges BandEdgeFigures(const TTransmissionLine& line, double F1, double F2, bool inFeet, long double length)
{
    BandEdges edges;
    edges.AtStart = AttenuationAt(line, F1);
    edges.AtEnd = AttenuationAt(line, F2);
    if (!edges.AtStart || !edges.AtEnd) return edges;

    const bool startIsWorse = *edges.AtStart > *edges.AtEnd;
    const double f = startIsWorse ? F1 : F2;
    const long double worst = startIsWorse ? *edges.AtStart : *edges.AtEnd;
    edges.WorstFrequency = f;
    edges.Worst = worst;
    // The results' own steps, with the connector allowance at the worst edge's
    // frequency as the results take it at the frequency of their attenuation.
    edges.TotalAttenuation = ValueOf([&] { return TotalAttenuationFrom(worst, inFeet, length); });
    if (edges.TotalAttenuation)
        edges.InsertionLoss = ValueOf([&] { return InsertionLossFrom(*edges.TotalAttenuation, f, f); });
    if (edges.InsertionLoss) edges.Efficiency = ValueOf([&] { return EfficiencyFrom(*edges.InsertionLoss); });
    return edges;
}

}  // namespace quillon
