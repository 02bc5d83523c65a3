// Worked examples of the loss and power laws; each expected value is the one
// the catalogue's documentation gives, to the digits it gives.
#include "engine/Errors.h"
#include "engine/TransmissionLib.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillon;

namespace {

TTransmissionLine Line(const char* kind, double A, double B, double peak = 0, double constant = 0, long double key = 1)
{
    TTransmissionLine line;
    line.Kind = kind;
    line.AttenuationA = A;
    line.AttenuationB = B;
    line.PeakPower = peak;
    line.AveragePowerConstant = constant;
    line.DeratingKey = key;
    return line;
}

std::string ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const QuillonError& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace

TEST(Attenuation, CoaxWorkedExample)
{
    // A = 0.1, B = 0.001 over 80-120 MHz (f = 100).
    const TTransmissionLine coax = Line("FOAM", 0.1, 0.001);
    EXPECT_NEAR(AttenuationPer100ft(coax, 80, 120), 1.1L, 1e-15);
    EXPECT_NEAR(AttenuationPer100ft(coax, 80, 120) * FeetPerMetre, 3.60888L, 1e-12);
    EXPECT_NEAR(TotalAttenuation(coax, true, 80, 120, 500), 5.5L, 1e-14);
    EXPECT_NEAR(TotalAttenuation(coax, false, 80, 120, 500), 18.0444L, 1e-12);
    EXPECT_NEAR(ConnectorLoss(80, 120), 0.0316228L, 1e-7);
    EXPECT_NEAR(InsertionLoss(coax, true, 80, 120, 500), 5.5316228L, 1e-7);
    EXPECT_NEAR(Efficiency(coax, true, 80, 120, 500), 27.9794L, 1e-4);
    // The band's order does not matter; zero length leaves the connectors alone.
    EXPECT_EQ(AttenuationPer100ft(coax, 120, 80), AttenuationPer100ft(coax, 80, 120));
    EXPECT_EQ(TotalAttenuation(coax, true, 80, 120, 0), 0);
    EXPECT_EQ(InsertionLoss(coax, true, 80, 120, 0), ConnectorLoss(80, 120));
}

TEST(Attenuation, EllipticalWaveguideLaw)
{
    const TTransmissionLine ew = Line("EW", 1000, 2500);
    EXPECT_NEAR(AttenuationPer100ft(ew, 2000, 2000), 2.5L, 1e-15);  // f = 2A gives B / 1000
    EXPECT_NEAR(AttenuationPer100ft(ew, 1400, 1600), 2.86680L, 1e-5);
    EXPECT_NEAR(AttenuationPer100ft(ew, 3000, 3000), 2.38982L, 1e-5);
    // Only the exact upper-case kind uses the waveguide law.
    const TTransmissionLine lower = Line("ew", 1000, 2500);
    EXPECT_NEAR(AttenuationPer100ft(lower, 2000, 2000), 1000 * std::sqrt(2000.0L) + 2500 * 2000.0L, 1e-9);
}

TEST(Attenuation, EfficiencyFromInsertionLoss)
{
    // No loss at all (f = 0, lossless line): 100 %.
    EXPECT_NEAR(Efficiency(Line("AIR", 0, 0), true, 0, 0, 100), 100.0L, 1e-15);
    // A line whose cable loss plus connector loss at 1 MHz is exactly 3 dB.
    const long double cl = ConnectorLoss(1, 1);
    const TTransmissionLine l = Line("AIR", 0, static_cast<double>(3 - cl));
    EXPECT_NEAR(InsertionLoss(l, true, 1, 1, 100), 3.0L, 1e-12);
    EXPECT_NEAR(Efficiency(l, true, 1, 1, 100), 50.1187L, 1e-4);
}

TEST(Attenuation, FailuresCarryTheStandardTexts)
{
    const TTransmissionLine ew = Line("EW", 1000, 2500);
    EXPECT_EQ(ErrorOf([&] { AttenuationPer100ft(ew, 1000, 1000); }), "Floating point division by zero");
    EXPECT_EQ(ErrorOf([&] { AttenuationPer100ft(ew, 800, 900); }), "Invalid floating point operation");
    EXPECT_EQ(ErrorOf([&] { AttenuationPer100ft(Line("EW", 0, 1), 10, 10); }), "Floating point division by zero");
    EXPECT_EQ(ErrorOf([&] { AttenuationPer100ft(Line("EW", 0, 1), 0, 0); }), "Invalid floating point operation");
    EXPECT_EQ(ErrorOf([&] { AttenuationPer100ft(Line("AIR", 1, 1), -10, -10); }), "Invalid floating point operation");
    EXPECT_EQ(ErrorOf([&] { AveragePower(Line("AIR", 0, 0, 10, 5), 100, 100); }), "Floating point division by zero");
    EXPECT_EQ(ErrorOf([&] { AveragePower(Line("AIR", 0, 0, 10, 0), 100, 100); }), "Invalid floating point operation");
    EXPECT_EQ(ErrorOf([&] { VswrDeratingFactor("AIR", 1, 0, 0, 1.5L); }), "Floating point division by zero");
    EXPECT_EQ(ErrorOf([&] { VswrDeratingFactor("AIR", 1, -2, -2, 1.5L); }), "Invalid floating point operation");
    EXPECT_EQ(ErrorOf([&] { VswrDeratingFactor("EW", 1, 0, 0, 1.5L); }), "no error");  // the waveguide formula needs no f
}

TEST(Power, AverageIsCappedByPeak)
{
    const TTransmissionLine l = Line("AIR", 0.1, 0.001, 100, 50);  // 1.1 dB/100 ft at 100 MHz
    EXPECT_NEAR(AveragePower(l, 80, 120), 50 / 1.1L, 1e-12);
    const TTransmissionLine capped = Line("AIR", 0.1, 0.001, 40, 500);
    EXPECT_EQ(AveragePower(capped, 80, 120), 40);
}

TEST(Power, DeratingClassesAndBandsAtTheirLimits)
{
    struct Case { long double key; int cls; };
    for (const Case c : {Case{1.2499L, 1}, {1.25L, 2}, {1.9399L, 2}, {1.94L, 3}, {2.63L, 4}, {3.4999L, 4}, {3.5L, 5}, {9, 5}})
        EXPECT_EQ(DeratingClass(c.key), c.cls) << static_cast<double>(c.key);
    struct Band { long double f; int band; };
    for (const Band b : {Band{3.99L, 1}, {4, 2}, {99.99L, 2}, {100, 3}, {999.9L, 3}, {1000, 4}})
        EXPECT_EQ(DeratingFrequencyBand(b.f), b.band) << static_cast<double>(b.f);
}

TEST(Power, DeratingFactorWorkedExamples)
{
    struct Case { const char* kind; long double key; long double f; long double S; long double factor; long double weight; };
    const Case cases[] = {
        {"EW", 9, 2000, 1.1L, 0.995475L, -1}, {"EW", 1, 10, 1.5L, 0.923077L, -1}, {"EW", 3, 500, 2, 0.8L, -1},
        {"AIR", 1, 2, 1.1L, 0.909091L, 1}, {"FOAM", 4, 2, 1.5L, 0.666667L, 1},
        {"AIR", 1, 50, 1.5L, 0.70780L, 0.79079L}, {"AIR", 1, 450, 1.5L, 0.90409L, 0.05459L},
        {"AIR", 1, 2000, 1.5L, 0.92005L, 0.00855L}, {"FOAM", 3.6L, 450, 1.5L, 0.91673L, 0.01801L},
        {"ew", 1, 450, 1.5L, 0.90409L, 0.05459L},  // lower-case kind: the coax table
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(VswrDeratingFactor(c.kind, c.key, c.f, c.f, c.S), c.factor, 5e-6) << c.kind << " " << static_cast<double>(c.f);
        if (c.weight >= 0) {
            EXPECT_NEAR(DeratingWeight(DeratingClass(c.key), c.f), c.weight, 5e-6);
        }
    }
    // S = 1 never derates.
    for (long double f : {2.0L, 50.0L, 450.0L, 5000.0L}) {
        for (const char* kind : {"AIR", "EW"}) EXPECT_EQ(VswrDeratingFactor(kind, 2, f, f, 1), 1);
    }
}

TEST(Power, ClassOneCurvesMeetAtBandLimits)
{
    EXPECT_NEAR(CubicInLog(std::log10(4.0L), 1.1844L, 0.6676L, 0.7887L, 0.3132L), 1.0L, 3e-4);
    EXPECT_NEAR(DeratingWeight(1, 100), 0.4984L, 1e-4);
    EXPECT_NEAR(DeratingWeight(1, 99.9999L), 0.4984L, 1e-4);
    EXPECT_NEAR(DeratingWeight(1, 1000), 0.0132L, 1e-4);
    EXPECT_NEAR(DeratingWeight(1, 999.999L), 0.0132L, 1e-4);
}
