#pragma once
// Attenuation against frequency beside the results' single mid-band figure:
// curves over a frequency range and the figures at the two edges of a band.
// Where the law has no value (a waveguide at or below its cut-off, a negative
// frequency) the answer says so instead of raising an error, so one bad
// point never costs a whole curve or row.

#include "engine/TransmissionLib.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// Attenuation in dB/100 ft at the frequency f (MHz) by the line's own law, the
// one the results use; nothing at a negative frequency or where the law has no value.
std::optional<long double> AttenuationAt(const TTransmissionLine& line, long double f);

enum class FrequencySpacing { Linear, Logarithmic };

// More points than any screen or file needs; a larger request is refused.
inline constexpr int kMaxCurvePoints = 100000;

enum class CurveRequestProblem {
    None,
    NotFinite,          // a range edge is infinite or not a number
    Reversed,           // from > to
    TooFewPoints,       // fewer than 2
    TooManyPoints,      // more than kMaxCurvePoints
    NonPositiveForLog,  // a logarithmic axis needs both edges above 0
};
CurveRequestProblem CheckCurveRequest(long double from, long double to, int points, FrequencySpacing spacing);

// `points` frequencies from `from` to `to`, evenly spaced on a linear or a
// logarithmic axis; the first is exactly `from`, the last exactly `to`.
// Empty when CheckCurveRequest finds a problem.
std::vector<long double> CurveFrequencies(long double from, long double to, int points, FrequencySpacing spacing);

struct CurvePoint {
    long double Frequency = 0;            // MHz
    std::optional<long double> Per100ft;  // dB/100 ft; nothing where the law has no value
};
std::vector<CurvePoint> AttenuationCurve(const TTransmissionLine& line, long double from, long double to, int points,
                                         FrequencySpacing spacing);

// "Frequency (MHz)", "Attenuation (dB/100 ft)", "Attenuation (dB/100m)".
const std::array<std::string, 3>& CurveHeadings();
// One curve line in the general number format; "N/A" where the law has no value.
std::array<std::string, 3> CurveCells(const CurvePoint& point);

// The figures at the edges of the band [F1, F2] over a run. The worst edge is
// the one with the higher attenuation (F2 on a tie); the run's figures are
// those at the worst edge's frequency, the connector allowance included.
struct BandEdges {
    std::optional<long double> AtStart;  // dB/100 ft at F1
    std::optional<long double> AtEnd;    // dB/100 ft at F2
    // Everything below is empty when either edge has no value: then the band
    // reaches down to a waveguide's cut-off and has no worst case.
    std::optional<double> WorstFrequency;         // F1 or F2, MHz
    std::optional<long double> Worst;             // dB/100 ft at WorstFrequency
    std::optional<long double> TotalAttenuation;  // dB over the run
    std::optional<long double> InsertionLoss;     // dB, cable and both connectors
    std::optional<long double> Efficiency;        // percent
};
BandEdges BandEdgeFigures(const TTransmissionLine& line, double F1, double F2, bool inFeet, long double length);

}  // namespace quillon
