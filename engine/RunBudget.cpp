#include "engine/RunBudget.h"

#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/Search.h"

#include <cmath>
#include <limits>

namespace quillon {

std::optional<long double> ReflectionCoefficient(long double S)
{
    if (!std::isfinite(S) || S < 1) return std::nullopt;
    return (S - 1) / (S + 1);
}

std::optional<long double> MismatchLoss(long double S)
{
    if (!ReflectionCoefficient(S)) return std::nullopt;
    // 1 / (1 - G^2) = (S + 1)^2 / 4S: no cancellation for a large S, where
    // G^2 comes close to 1, and in this order no overflow either; exactly 1
    // (no loss) for a matched load.
    const long double S1 = S + 1;
    return 10 * std::log10(S1 / 4 / S * S1);
}

long double SystemLoss(long double insertionLoss, long double mismatchLoss)
{
    return insertionLoss + mismatchLoss;
}

// The results' efficiency law, applied to the loss of the whole system.
long double PowerDelivered(long double systemLoss)
{
    return EfficiencyFrom(systemLoss);
}

long double RunFeet(bool inFeet, long double length)
{
    return inFeet ? length : length * FeetPerMetre;
}

long double CableCost(const ExchangeRates& rates, int currencyTag, double listPricePerFoot, bool inFeet,
                      long double length)
{
    return ConvertPrice(rates, currencyTag, listPricePerFoot) * RunFeet(inFeet, length);
}

namespace {

constexpr int kMaxSteps = 64;  // the straight division lands within an ulp or two

}  // namespace

std::optional<LongestRun> LongestRunWithin(const TTransmissionLine& line, std::string_view units, long double maxLoss,
                                           double beginning, double ending)
{
    if (!std::isfinite(maxLoss) || maxLoss < 0) return std::nullopt;
    // The criterion's own arithmetic throughout, so the answer holds as the
    // search computes it, not just as algebra says.
    auto loss = [&](long double length) { return CriterionCableLoss(line, units, length, beginning, ending); };
    auto within = [&](long double length) { return loss(length) <= maxLoss; };
    long double perUnit = 0;
    try {
        perUnit = loss(1);
    } catch (const QuillonError&) {
        return std::nullopt;  // no attenuation at this band
    }
    if (!(perUnit > 0) || !std::isfinite(perUnit)) return std::nullopt;

    // The straight division lands on the answer or an ulp or two beside it.
    long double length = maxLoss / perUnit;
    if (!std::isfinite(length)) return std::nullopt;
    constexpr long double kDown = -std::numeric_limits<long double>::infinity();
    constexpr long double kUp = std::numeric_limits<long double>::infinity();
    for (int i = 0; i < kMaxSteps && !within(length); ++i) length = std::nextafter(length, kDown);
    for (int i = 0; i < kMaxSteps && within(std::nextafter(length, kUp)); ++i) length = std::nextafter(length, kUp);
    if (!within(length)) return std::nullopt;

    // The figure shown: the largest whole hundredth that the search, reading
    // it from its two-decimal text as it reads the length box, still accepts.
    // Rounding to the nearest hundredth could name a run the search refuses.
    auto accepted = [&](long double cents) {
        return PassesLossCriterion(line, units, ReadNumber(FormatFixed2(cents / 100)), maxLoss, beginning, ending);
    };
    long double cents = std::floor(length * 100) + 1;
    for (int i = 0; i < kMaxSteps && cents > 0 && !accepted(cents); ++i) cents -= 1;
    // Only a run of astronomical length leaves hundredths too fine to count.
    if (!accepted(cents)) return std::nullopt;
    return LongestRun{length, cents / 100};
}

}  // namespace quillon
