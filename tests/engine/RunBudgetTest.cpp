// The run budget: mismatch loss, system loss, power delivered, cable cost and
// the longest run within a maximum loss. Each expected value is worked by
// hand from the laws (stated with the case), with its tolerance.
#include "engine/NumberText.h"
#include "engine/RunBudget.h"
#include "engine/Search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace quillon;

namespace {

TTransmissionLine Line(const char* kind, double A, double B, double price = 0)
{
    TTransmissionLine line;
    line.PartNumber = "QX-RUN";
    line.Kind = kind;
    line.AttenuationA = A;
    line.AttenuationB = B;
    line.ListPrice = price;
    return line;
}

}  // namespace

TEST(Mismatch, WorkedLoads)
{
    // G = (S - 1) / (S + 1); ML = -10 log10(1 - G^2). S = 1.5: G = 0.2,
    // -10 log10(0.96) = 0.1772876696043; S = 2: G = 1/3, -10 log10(8/9) =
    // 0.5115252244738; S = 1.1: G = 1/21, -10 log10(440/441) = 0.0098591298165.
    struct Case {
        long double S;
        long double gamma;
        long double loss;
        const char* cell;
    };
    const Case cases[] = {
        {1, 0, 0, "0.00"},
        {1.1L, 1.0L / 21, 0.0098591298165L, "0.01"},
        {1.5L, 0.2L, 0.1772876696043L, "0.18"},
        {2, 1.0L / 3, 0.5115252244738L, "0.51"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(ReflectionCoefficient(c.S));
        EXPECT_NEAR(*ReflectionCoefficient(c.S), c.gamma, 1e-18L) << static_cast<double>(c.S);
        ASSERT_TRUE(MismatchLoss(c.S));
        EXPECT_NEAR(*MismatchLoss(c.S), c.loss, 1e-12L) << static_cast<double>(c.S);
        EXPECT_EQ(FormatFixed2(*MismatchLoss(c.S)), c.cell);
    }
    // The figures as the load's description states them, to three decimals.
    EXPECT_NEAR(*MismatchLoss(1.5L), 0.177L, 5e-4L);
    EXPECT_NEAR(*MismatchLoss(2), 0.512L, 5e-4L);
    EXPECT_EQ(*MismatchLoss(1), 0);  // a matched load loses nothing, exactly

    // The rearranged form agrees with -10 log10(1 - G^2) across loads.
    for (long double S : {1.01L, 1.3L, 3.0L, 10.0L, 100.0L}) {
        const long double g = (S - 1) / (S + 1);
        EXPECT_NEAR(*MismatchLoss(S), -10 * std::log10(1 - g * g), 1e-15L) << static_cast<double>(S);
    }
    // A load reflecting almost everything still has a finite loss.
    EXPECT_TRUE(std::isfinite(*MismatchLoss(std::numeric_limits<long double>::max())));
    // No load has a VSWR below 1.
    for (long double S : {0.999L, 0.0L, -1.0L, std::numeric_limits<long double>::infinity(),
                          std::numeric_limits<long double>::quiet_NaN()}) {
        EXPECT_FALSE(ReflectionCoefficient(S)) << static_cast<double>(S);
        EXPECT_FALSE(MismatchLoss(S)) << static_cast<double>(S);
    }
}

TEST(Mismatch, SystemLossAndPowerDelivered)
{
    // Coax A = 0.1, B = 0.001 at 100 MHz, 500 ft: insertion loss 5.5316227766017
    // dB; with S = 1.5 the system loses 5.7089104462060 dB and delivers
    // 10^(-0.57089104462060) x 100 = 26.860182267900 % of the power.
    const TTransmissionLine coax = Line("AIR", 0.1, 0.001);
    const long double il = InsertionLoss(coax, true, 80, 120, 500);
    EXPECT_NEAR(il, 5.5316227766017L, 1e-12L);
    const long double system = SystemLoss(il, *MismatchLoss(1.5L));
    EXPECT_NEAR(system, 5.7089104462060L, 1e-12L);
    EXPECT_NEAR(PowerDelivered(system), 26.860182267900L, 1e-9L);
    EXPECT_EQ(PowerDelivered(0), 100);
    EXPECT_NEAR(PowerDelivered(3), 50.1187L, 1e-4L);  // 3 dB: half the power
}

TEST(CableCost, PricePerFootTimesTheRunInFeet)
{
    // Hand-worked: 2.50 USD/ft x 150 ft = 375.00; 100 m = 328.08 ft, x 2.50 =
    // 820.20; at 1.5 USD per GBP a 3.00 USD/ft line is 2.00 GBP/ft, x 328.08 ft
    // = 656.16 GBP; at 0.008 USD per JPY 1.20 USD/ft is 150 JPY/ft, x 40 ft = 6000.
    const ExchangeRates none;
    const ExchangeRates rates{true, {"GBP|1.5|", "JPY|0.008|"}};
    struct Case {
        const ExchangeRates* rates;
        int tag;
        double price;
        bool feet;
        long double length;
        long double cost;
    };
    const Case cases[] = {
        {&none, 1, 2.50, true, 150, 375.00L},    {&none, 1, 2.50, false, 100, 820.20L},
        {&rates, 20, 3.00, false, 100, 656.16L}, {&rates, 6, 1.20, true, 40, 6000.00L},
        {&rates, 1, 2.50, true, 150, 375.00L},  // US dollars look up no rate
        {&none, 20, 2.50, true, 150, 375.00L},  // without a rate file prices stay in US dollars
    };
    for (const Case& c : cases)
        EXPECT_NEAR(CableCost(*c.rates, c.tag, c.price, c.feet, c.length), c.cost, 1e-9L) << c.price << " " << c.tag;
    EXPECT_EQ(RunFeet(false, 100), 328.08L);
}

TEST(LongestRun, CableLossEqualsTheMaximumAndTheRowStillPasses)
{
    TTransmissionLine lines[] = {
        Line("AIR", 0.1, 0.001),  // 1.1 dB/100 ft at 100 MHz
        Line("FOAM", 0.12229, 0.00026),
        Line("EW", 1000, 2500),
        Line("BRAIDED", 0.733, 0.0117),
    };
    const double bands[][2] = {{80, 120}, {824, 894}, {1400, 1600}, {30, 88}};
    for (std::size_t i = 0; i < std::size(lines); ++i) {
        TTransmissionLine& line = lines[i];
        const double b = bands[i][0];
        const double e = bands[i][1];
        for (const char* units : {"Feet", "Meters"}) {
            for (long double maxLoss : {3.0L, 5.5L, 0.1234567L, 10.0L, 0.7L}) {
                const auto run = LongestRunWithin(line, units, maxLoss, b, e);
                ASSERT_TRUE(run) << line.Kind << units;
                const long double loss = CriterionCableLoss(line, units, run->Length, b, e);
                const long double above = CriterionCableLoss(line, units, std::nextafter(run->Length, 1e30L), b, e);
                // The largest length within the maximum: its loss is the maximum
                // to the last bit, one step longer is over it.
                EXPECT_LE(loss, maxLoss) << line.Kind << units << static_cast<double>(maxLoss);
                EXPECT_GT(above, maxLoss) << line.Kind << units << static_cast<double>(maxLoss);
                EXPECT_NEAR(loss, maxLoss, maxLoss * 1e-17L);

                // Searched with that length, and with the figure shown, the
                // line still passes; a hundredth more does not.
                const LineList one{&line};
                EXPECT_EQ(SelectByLoss(one, units, run->Length, maxLoss, b, e).size(), 1u);
                const std::string shown = FormatFixed2(run->Shown);
                EXPECT_EQ(SelectByLoss(one, units, ReadNumber(shown), maxLoss, b, e).size(), 1u) << shown;
                EXPECT_TRUE(SelectByLoss(one, units, ReadNumber(shown) + 0.01L, maxLoss, b, e).empty()) << shown;
                EXPECT_LE(run->Shown, run->Length + 1e-9L);
                EXPECT_GT(run->Shown, run->Length - 0.01L);
            }
        }
    }
}

TEST(LongestRun, HandWorkedRuns)
{
    // 1.1 dB/100 ft and 5.5 dB: 5.5 / 0.011 = 500 ft. Per metre the loss is
    // 3.60888 dB/100 m: 5.5 / 0.0360888 = 152.401853206535 m, shown 152.40.
    const TTransmissionLine coax = Line("AIR", 0.1, 0.001);
    const auto feet = LongestRunWithin(coax, "Feet", 5.5L, 80, 120);
    ASSERT_TRUE(feet);
    EXPECT_NEAR(feet->Length, 500.0L, 1e-12L);
    EXPECT_EQ(FormatFixed2(feet->Shown), "500.00");
    const auto metres = LongestRunWithin(coax, "Meters", 5.5L, 80, 120);
    ASSERT_TRUE(metres);
    EXPECT_NEAR(metres->Length, 152.401853206535L, 1e-12L);
    EXPECT_EQ(FormatFixed2(metres->Shown), "152.40");
    // A maximum a hair under 152.41 m's loss still shows 152.40, never 152.41.
    const long double justUnder = CriterionCableLoss(coax, "Meters", 152.41L, 80, 120) - 1e-6L;
    EXPECT_EQ(FormatFixed2(LongestRunWithin(coax, "Meters", justUnder, 80, 120)->Shown), "152.40");
    EXPECT_EQ(FormatFixed2(LongestRunWithin(coax, "Feet", 0, 80, 120)->Shown), "0.00");

    // No answer: a negative maximum, a lossless line, a band at a waveguide's cut-off.
    EXPECT_FALSE(LongestRunWithin(coax, "Feet", -1, 80, 120));
    EXPECT_FALSE(LongestRunWithin(Line("AIR", 0, 0), "Feet", 3, 80, 120));
    EXPECT_FALSE(LongestRunWithin(Line("EW", 1000, 2500), "Feet", 3, 900, 1100));
}
