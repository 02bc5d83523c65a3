// Attenuation at one frequency, curves and band-edge figures. Expected values
// come from the loss laws worked by hand (stated with each case) and from the
// results table itself, with the tolerance each case gives.
#include "engine/Analysis.h"
#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/ResultRows.h"
#include "tests/support/TestLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace quillon;

namespace {

TTransmissionLine Line(const char* kind, double A, double B, double begin = 0, double end = 0)
{
    return testlines::TestLine("QX-TEST", kind, A, B, begin, end);
}

bool Raises(const TTransmissionLine& line, long double f)
{
    try {
        AttenuationPer100ftAt(line, f);
    } catch (const QuillonError&) {
        return true;
    }
    return false;
}

}  // namespace

TEST(AttenuationAt, HandWorkedPoints)
{
    struct Case {
        TTransmissionLine line;
        long double f;
        long double expected;
        long double tolerance;
        const char* source;
    };
    const Case cases[] = {
        {Line("FOAM", 0.12229, 0.00026), 900, 3.9027L, 1e-12L, "0.12229 x sqrt(900) + 0.00026 x 900 = 3.6687 + 0.234"},
        {Line("BRAIDED", 0.12229, 0.00026), 900, 3.9027L, 1e-12L, "braided cable follows the coaxial law"},
        {Line("EW", 1000, 2500), 2000, 2.5L, 1e-15L, "f = 2A: u = 0, so B / 1000"},
        {Line("EW", 1000, 2500), 1500, 2.86680L, 5e-6L, "worked waveguide example, 6 digits"},
        {Line("EW", 1000, 2500), 3000, 2.38982L, 5e-6L, "worked waveguide example, 6 digits"},
        {Line("ew", 1000, 2500), 2000, 1000 * std::sqrt(2000.0L) + 2500 * 2000.0L, 1e-9L,
         "the waveguide law only for the kind spelt exactly EW"},
    };
    for (const Case& c : cases) {
        const auto value = AttenuationAt(c.line, c.f);
        ASSERT_TRUE(value.has_value()) << c.source;
        EXPECT_NEAR(*value, c.expected, c.tolerance) << c.source;
    }
    EXPECT_EQ(FormatFixed2(*AttenuationAt(Line("FOAM", 0.12229, 0.00026), 900)), "3.90");
}

TEST(AttenuationAt, SameLawAsTheResultsWithNoValueWhereTheyRaiseAnError)
{
    // Wherever the results' law raises an error there is no value, and
    // everywhere else the very same number, bit for bit.
    const TTransmissionLine lines[] = {
        Line("AIR", 0.12229, 0.00026),
        Line("BRAIDED", 0.5, 0.01),
        Line("EW", 1000, 2500),
        Line("EW", 0, 2500),  // a cut-off of 0 divides by zero
        Line("EW", 1000, 0),  // no loss at all above cut-off, but none at it either
        Line("AIR", 0, 4),    // 4 x the largest frequency overflows
    };
    const long double huge = std::numeric_limits<long double>::max() / 2;
    const long double frequencies[] = {-10, 0, 1, 999, 1000, 1000.000001L, 1500, 2000, 2987, 1e6L, huge};
    for (const TTransmissionLine& line : lines) {
        for (long double f : frequencies) {
            const bool raises = Raises(line, f);
            const auto value = AttenuationValueAt(line, f);
            EXPECT_EQ(value.has_value(), !raises)
                << line.Kind << " A=" << line.AttenuationA << " f=" << static_cast<double>(f);
            if (value) {
                EXPECT_EQ(*value, AttenuationPer100ftAt(line, f));
            }
        }
    }
    // The mid-band figure is the single-frequency law at (F1 + F2) / 2.
    const TTransmissionLine ew = Line("EW", 1000, 2500);
    EXPECT_EQ(AttenuationPer100ft(ew, 1400, 1600), AttenuationPer100ftAt(ew, 1500));
    EXPECT_EQ(AttenuationPer100ft(ew, 1400, 1600), *AttenuationAt(ew, 1500));
}

TEST(AttenuationAt, NoValueAtOrBelowCutOffOrAtANegativeFrequency)
{
    const TTransmissionLine ew = Line("EW", 1000, 2500);
    for (long double f : {1000.0L, 999.999L, 0.0L, -5.0L}) EXPECT_FALSE(AttenuationAt(ew, f)) << static_cast<double>(f);
    EXPECT_TRUE(AttenuationAt(ew, std::nextafter(1000.0L, 2000.0L)));
    const TTransmissionLine coax = Line("AIR", 0.1, 0.001);
    EXPECT_FALSE(AttenuationAt(coax, -1));
    EXPECT_EQ(AttenuationAt(coax, 0), 0);
    // A waveguide with a negative cut-off would find a value at a negative
    // frequency; no line runs there.
    EXPECT_FALSE(AttenuationAt(Line("EW", -100, 2500), -300));
}

TEST(Curve, EndpointsExactAndPointsEvenlySpaced)
{
    const auto linear = CurveFrequencies(806.3L, 2999.7L, 7, FrequencySpacing::Linear);
    ASSERT_EQ(linear.size(), 7u);
    EXPECT_EQ(linear.front(), 806.3L);
    EXPECT_EQ(linear.back(), 2999.7L);
    const long double step = (2999.7L - 806.3L) / 6;
    for (std::size_t i = 1; i < linear.size(); ++i) EXPECT_NEAR(linear[i] - linear[i - 1], step, 1e-12L) << i;

    // Evenly on a logarithmic axis: a decade per step from 10 to 10000.
    const auto decades = CurveFrequencies(10, 10000, 4, FrequencySpacing::Logarithmic);
    ASSERT_EQ(decades.size(), 4u);
    const long double expected[] = {10, 100, 1000, 10000};
    for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(decades[i] / expected[i], 1.0L, 1e-15L) << i;

    const auto log = CurveFrequencies(806.3L, 2999.7L, 101, FrequencySpacing::Logarithmic);
    ASSERT_EQ(log.size(), 101u);
    EXPECT_EQ(log.front(), 806.3L);
    EXPECT_EQ(log.back(), 2999.7L);
    const long double ratio = std::pow(2999.7L / 806.3L, 1.0L / 100);
    for (std::size_t i = 1; i < log.size(); ++i) EXPECT_NEAR(log[i] / log[i - 1], ratio, 1e-15L) << i;
}

TEST(Curve, RequestsTheCurveCannotMeet)
{
    struct Case {
        long double from, to;
        int points;
        FrequencySpacing spacing;
        CurveRequestProblem problem;
    };
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const long double inf = std::numeric_limits<long double>::infinity();
    const Case cases[] = {
        {806, 960, 101, FrequencySpacing::Linear, CurveRequestProblem::None},
        {-100, 100, 5, FrequencySpacing::Linear, CurveRequestProblem::None},
        {806, 806, 2, FrequencySpacing::Logarithmic, CurveRequestProblem::None},
        {960, 806, 101, FrequencySpacing::Linear, CurveRequestProblem::Reversed},
        {806, 960, 1, FrequencySpacing::Linear, CurveRequestProblem::TooFewPoints},
        {806, 960, 0, FrequencySpacing::Linear, CurveRequestProblem::TooFewPoints},
        {806, 960, kMaxCurvePoints + 1, FrequencySpacing::Linear, CurveRequestProblem::TooManyPoints},
        {0, 960, 101, FrequencySpacing::Logarithmic, CurveRequestProblem::NonPositiveForLog},
        {-1, 960, 101, FrequencySpacing::Logarithmic, CurveRequestProblem::NonPositiveForLog},
        {nan, 960, 101, FrequencySpacing::Linear, CurveRequestProblem::NotFinite},
        {806, inf, 101, FrequencySpacing::Linear, CurveRequestProblem::NotFinite},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckCurveRequest(c.from, c.to, c.points, c.spacing), c.problem) << static_cast<double>(c.from);
        EXPECT_EQ(CurveFrequencies(c.from, c.to, c.points, c.spacing).size(),
                  c.problem == CurveRequestProblem::None ? static_cast<std::size_t>(c.points) : 0u);
    }
}

TEST(Curve, MidBandPointIsTheResultsColumnFive)
{
    // Two lines queried at 824-894 MHz: column 5 of the results and the middle
    // point of a 101-point curve over the query band agree to the bit.
    auto coax = std::make_unique<TTransmissionLine>(Line("FOAM", 0.12229, 0.00026, 806, 960));
    auto ew = std::make_unique<TTransmissionLine>(Line("EW", 600, 2500, 806, 960));
    const LineList lines{coax.get(), ew.get()};
    ResultTable table;
    ASSERT_FALSE(FillInteractiveRows(table, lines, {"824", "894", "100", true, "1.1", 1, nullptr}));
    for (std::size_t r = 0; r < lines.size(); ++r) {
        const auto curve = AttenuationCurve(*lines[r], 824, 894, 101, FrequencySpacing::Linear);
        ASSERT_EQ(curve.size(), 101u);
        EXPECT_EQ(curve[50].Frequency, 859);
        ASSERT_TRUE(curve[50].Per100ft);
        EXPECT_EQ(*curve[50].Per100ft, AttenuationPer100ft(*lines[r], 824, 894));
        EXPECT_EQ(FormatFixed2(*curve[50].Per100ft), table.Rows[r][4]);
        EXPECT_EQ(FormatFixed2(*curve[50].Per100ft * FeetPerMetre), table.Rows[r][5]);
    }
}

TEST(Curve, NoPointAtOrBelowTheCutOffOrAtANegativeFrequency)
{
    const TTransmissionLine ew = Line("EW", 1000, 2500);
    for (FrequencySpacing spacing : {FrequencySpacing::Linear, FrequencySpacing::Logarithmic}) {
        // 500, 600, ... 1500 linear (1000 itself among them); 500 to 4000 in 11 log steps.
        const long double to = spacing == FrequencySpacing::Linear ? 1500 : 4000;
        const auto curve = AttenuationCurve(ew, 500, to, 11, spacing);
        ASSERT_EQ(curve.size(), 11u);
        for (const CurvePoint& p : curve) {
            EXPECT_EQ(p.Per100ft.has_value(), p.Frequency > 1000) << static_cast<double>(p.Frequency);
            if (!p.Per100ft) {
                EXPECT_EQ(CurveCells(p)[1], "N/A");
            }
        }
    }
    EXPECT_EQ(AttenuationCurve(ew, 500, 1500, 11, FrequencySpacing::Linear)[5].Frequency, 1000);

    const auto coax = AttenuationCurve(Line("AIR", 0.1, 0.001), -100, 100, 5, FrequencySpacing::Linear);
    const bool hasValue[] = {false, false, true, true, true};  // -100, -50, 0, 50, 100
    for (std::size_t i = 0; i < coax.size(); ++i) EXPECT_EQ(coax[i].Per100ft.has_value(), hasValue[i]) << i;
}

TEST(Curve, CellsInTheGeneralFormat)
{
    // 1.1 dB/100 ft is 3.60888 dB/100 m (x 3.2808).
    EXPECT_EQ(CurveCells({859, 1.1L}), (std::array<std::string, 3>{"859", "1.1", "3.60888"}));
    EXPECT_EQ(CurveCells({883.5L, std::nullopt}), (std::array<std::string, 3>{"883.5", "N/A", "N/A"}));
    EXPECT_EQ(CurveHeadings()[0], "Frequency (MHz)");
    EXPECT_EQ(CurveHeadings()[2], "Attenuation (dB/100m)");
}

TEST(BandEdges, TheWorseEdgeIsTheWorstOfAFineSweep)
{
    // The waveguide law is lowest at f = 2.987 A; the bands below put that
    // minimum inside, above and below them.
    enum Edge { Start, End };
    struct Case {
        TTransmissionLine line;
        double F1, F2;
        Edge worst;
        bool minimumInside;
    };
    const Case cases[] = {
        {Line("FOAM", 0.12229, 0.00026), 806, 960, End, false}, {Line("BRAIDED", 0.5, 0.01), 1, 3000, End, false},
        {Line("EW", 1000, 2500), 1200, 2000, Start, false},  // falling all the way
        {Line("EW", 1000, 2500), 4000, 6000, End, false},    // rising all the way
        {Line("EW", 1000, 2500), 2000, 4500, Start, true},   // 2.5 at 2000 against 2.464 at 4500
        {Line("EW", 1000, 2500), 2500, 9000, End, true},     // 2.408 at 2500 against 2.876 at 9000
        {Line("EW", 3200, 1800), 5000, 16000, Start, true},
    };
    for (const Case& c : cases) {
        const BandEdges edges = BandEdgeFigures(c.line, c.F1, c.F2, true, 100);
        ASSERT_TRUE(edges.Worst) << c.line.Kind << " " << c.F1;
        EXPECT_EQ(*edges.WorstFrequency, c.worst == Start ? c.F1 : c.F2) << c.line.Kind << " " << c.F1;
        EXPECT_EQ(*edges.Worst, std::max(*edges.AtStart, *edges.AtEnd));

        const auto sweep = AttenuationCurve(c.line, c.F1, c.F2, 20001, FrequencySpacing::Linear);
        long double highest = 0;
        long double lowest = std::numeric_limits<long double>::infinity();
        for (const CurvePoint& p : sweep) {
            ASSERT_TRUE(p.Per100ft);
            highest = std::max(highest, *p.Per100ft);
            lowest = std::min(lowest, *p.Per100ft);
        }
        EXPECT_LE(highest, *edges.Worst * (1 + 1e-15L)) << c.line.Kind << " " << c.F1;
        EXPECT_EQ(lowest < std::min(*edges.AtStart, *edges.AtEnd), c.minimumInside) << c.line.Kind << " " << c.F1;
    }
}

TEST(BandEdges, RunFiguresAtTheWorstEdge)
{
    // Coax A = 0.1, B = 0.001 over 80-120 MHz, 500 ft: the worst edge is 120 MHz,
    // 0.1 x sqrt(120) + 0.12 = 1.2154451150103 dB/100 ft; 6.0772255750517 dB over
    // the run; connectors 0.1 x sqrt(0.12) = 0.0346410161514 dB; insertion loss
    // 6.1118665912030 dB; efficiency 10^(-0.61118665912030) x 100 = 24.480108642890 %.
    const TTransmissionLine coax = Line("AIR", 0.1, 0.001);
    const BandEdges feet = BandEdgeFigures(coax, 80, 120, true, 500);
    EXPECT_NEAR(*feet.AtStart, 0.1L * std::sqrt(80.0L) + 0.08L, 1e-15L);
    EXPECT_EQ(*feet.WorstFrequency, 120);
    EXPECT_NEAR(*feet.Worst, 1.2154451150103L, 1e-12L);
    EXPECT_NEAR(*feet.TotalAttenuation, 6.0772255750517L, 1e-12L);
    EXPECT_NEAR(*feet.InsertionLoss - *feet.TotalAttenuation, 0.0346410161514L, 1e-12L);
    EXPECT_NEAR(*feet.InsertionLoss, 6.1118665912030L, 1e-12L);
    EXPECT_NEAR(*feet.Efficiency, 24.480108642890L, 1e-9L);
    // 500 m is 1640.4 ft.
    const BandEdges metres = BandEdgeFigures(coax, 80, 120, false, 500);
    EXPECT_NEAR(*metres.TotalAttenuation, 1.2154451150103L * 16.404L, 1e-11L);

    // A band reaching down to a waveguide's cut-off has no worst case.
    const BandEdges cut = BandEdgeFigures(Line("EW", 1000, 2500), 800, 1500, true, 100);
    EXPECT_FALSE(cut.AtStart);
    EXPECT_NEAR(*cut.AtEnd, 2.86680L, 5e-6L);
    EXPECT_FALSE(cut.Worst);
    EXPECT_FALSE(cut.WorstFrequency);
    EXPECT_FALSE(cut.InsertionLoss);
    EXPECT_FALSE(cut.Efficiency);
}
