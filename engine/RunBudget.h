#pragma once
// The run budget beside the results: what the load's mismatch costs, how much
// power reaches the load, what the cable of the run costs and how long a run
// stays within a maximum loss. Arithmetic in long double, as the results.

#include "engine/Currencies.h"
#include "engine/TransmissionLib.h"

#include <optional>
#include <string_view>

namespace quillon {

// Reflection coefficient (S - 1) / (S + 1) of a load with VSWR S; nothing for
// S below 1 or not finite, which no load has.
std::optional<long double> ReflectionCoefficient(long double S);

// Mismatch loss -10 log10(1 - G^2) in dB for a load with VSWR S (S = 1.5 gives
// 0.177 dB, S = 2 gives 0.512 dB, S = 1 gives 0); nothing where G has no value.
std::optional<long double> MismatchLoss(long double S);

// Insertion loss of the run (cable and connectors) plus the mismatch loss, dB.
long double SystemLoss(long double insertionLoss, long double mismatchLoss);

// Share of the power that reaches the load, percent: 10^(-system loss / 10) x 100.
long double PowerDelivered(long double systemLoss);

// The run's length in feet: a length in metres times FeetPerMetre.
long double RunFeet(bool inFeet, long double length);

// List price per foot in the chosen currency (as the results convert it)
// times the run's length in feet. Raises the conversion errors of ConvertPrice.
long double CableCost(const ExchangeRates& rates, int currencyTag, double listPricePerFoot, bool inFeet,
                      long double length);

// The longest run whose cable loss stays within the maximum loss, in the
// units of the query ("Meters" or "Feet").
struct LongestRun {
    // The largest length whose loss, computed as the loss criterion computes
    // it, is at most the maximum: the loss there equals the maximum to the
    // last bit the arithmetic can tell.
    long double Length = 0;
    // The figure to show with two decimals: the largest whole hundredth that
    // the search accepts when it reads it back from that text (never rounded
    // up past what the criterion accepts).
    long double Shown = 0;
};
// Nothing when the line has no attenuation there (no value, or a lossless
// line that no length could exhaust) or the maximum loss is negative.
std::optional<LongestRun> LongestRunWithin(const TTransmissionLine& line, std::string_view units, long double maxLoss,
                                           double beginning, double ending);

}  // namespace quillon
