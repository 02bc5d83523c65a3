// What the chart shows, against the results' own cells and the search's loss
// rule: the curve's points, the mid-band mark, the gaps at a waveguide's
// cut-off, the maximum-loss level, the logarithmic spacing and the eight-line
// limit.
#include "chart/ChartPlan.h"

#include "engine/NumberText.h"
#include "engine/ResultRows.h"
#include "engine/RunBudget.h"
#include "tests/chart/ChartTestLines.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quillon {
namespace {

using charttest::Coax;
using charttest::TestLine;
using charttest::WaveguideBelowCutOff;

InteractiveFillInputs Query(const char* beginning, const char* ending, bool feet, const char* length = "100")
{
    InteractiveFillInputs inputs;
    inputs.BeginningFrequency = beginning;
    inputs.EndingFrequency = ending;
    inputs.Length = length;
    inputs.Feet = feet;
    return inputs;
}

ChartPlan PlanFor(const std::vector<const TTransmissionLine*>& lines, const RowBasis& basis,
                  FrequencySpacing spacing = FrequencySpacing::Linear)
{
    ChartRequest request;
    for (const TTransmissionLine* line : lines) request.Lines.push_back(ChartLineFor(*line, basis));
    ApplyRowBasis(request, basis);
    request.Spacing = spacing;
    return PlanChart(request);
}

TEST(ChartPlan, MidBandMarkIsTheResultsMidBandCell)
{
    const TTransmissionLine coax = Coax(800, 1000);
    const TTransmissionLine waveguide = TestLine("ZW-18", "EW", 1360, 750, 1700, 2300);
    const TTransmissionLine braided = TestLine("ZB-06", "BRAIDED", 0.3, 0.0022, 1.5, 3000);
    const LineList lines{const_cast<TTransmissionLine*>(&coax), const_cast<TTransmissionLine*>(&waveguide),
                         const_cast<TTransmissionLine*>(&braided)};
    for (const bool feet : {true, false}) {
        SCOPED_TRACE(feet ? "feet" : "metres");
        const InteractiveFillInputs inputs = Query("850.5", "1999", feet);
        ResultTable table;
        ASSERT_EQ(FillInteractiveRows(table, lines, inputs), std::nullopt);
        const ChartPlan plan = PlanFor({&coax, &waveguide, &braided}, InteractiveRowBasis(inputs, std::nullopt));
        ASSERT_EQ(plan.Curves.size(), 3u);
        EXPECT_EQ(plan.ValueTitle, feet ? "Attenuation (dB/100 ft)" : "Attenuation (dB/100m)");
        for (std::size_t i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE(lines[i]->PartNumber);
            ASSERT_TRUE(plan.Curves[i].MidBand);
            EXPECT_EQ(plan.Curves[i].PartNumber, lines[i]->PartNumber);
            EXPECT_EQ(FormatGeneral(plan.Curves[i].MidBand->Frequency), table.Rows[i][3]);  // column 4
            // Column 5 in dB/100 ft, column 6 in dB/100 m.
            EXPECT_EQ(FormatFixed2(plan.Curves[i].MidBand->Value), table.Rows[i][feet ? 4 : 5]);
        }
    }
}

TEST(ChartPlan, CurveRunsAcrossTheLinesOwnBandInTheQueryUnits)
{
    const TTransmissionLine coax = Coax(800, 1000);
    for (const bool feet : {true, false}) {
        const InteractiveFillInputs inputs = Query("824", "894", feet);
        const ChartPlan plan = PlanFor({&coax}, InteractiveRowBasis(inputs, std::nullopt));
        ASSERT_EQ(plan.Curves.size(), 1u);
        ASSERT_EQ(plan.Curves[0].Segments.size(), 1u);
        const std::vector<ChartPoint>& points = plan.Curves[0].Segments[0];
        ASSERT_EQ(points.size(), static_cast<std::size_t>(kChartCurvePoints));
        EXPECT_EQ(points.front().Frequency, 800);
        EXPECT_EQ(points.back().Frequency, 1000);
        // 201 points over 800-1000 MHz put point 100 on 900 MHz, worked by hand:
        // 0.12229 x 30 + 0.00026 x 900 = 3.9027 dB/100 ft; x 3.2808 = 12.8040 dB/100 m.
        EXPECT_EQ(points[100].Frequency, 900);
        EXPECT_NEAR(points[100].Value, feet ? 3.9027 : 12.80398, 1e-5);
        // The query band is shaded; the axis spans the curve and the band.
        ASSERT_TRUE(plan.ShadedBand);
        EXPECT_EQ(*plan.ShadedBand, std::make_pair(824.0, 894.0));
        EXPECT_EQ(plan.XMin, 800);
        EXPECT_EQ(plan.XMax, 1000);
        EXPECT_EQ(plan.YMin, 0);
        EXPECT_GT(plan.YMax, points.back().Value);
    }
}

// A waveguide's law has no value at or below its cut-off A: the curve starts
// above it, never at a made-up zero, whichever the spacing.
TEST(ChartPlan, NoPointAtOrBelowAWaveguidesCutOff)
{
    const TTransmissionLine waveguide = WaveguideBelowCutOff();  // A = 1000, band 500-3000
    const TTransmissionLine below = TestLine("ZW-20", "EW", 2000, 2500, 500, 1900);
    for (const FrequencySpacing spacing : {FrequencySpacing::Linear, FrequencySpacing::Logarithmic}) {
        SCOPED_TRACE(spacing == FrequencySpacing::Linear ? "linear" : "log");
        RowBasis basis = InteractiveRowBasis(Query("1800", "2200", true), std::nullopt);
        const ChartPlan plan = PlanFor({&waveguide, &below}, basis, spacing);
        ASSERT_EQ(plan.Curves.size(), 2u);
        const ChartCurve& curve = plan.Curves[0];
        ASSERT_EQ(curve.Segments.size(), 1u);
        std::size_t drawn = 0;
        for (const ChartPoint& p : curve.Segments[0]) {
            EXPECT_GT(p.Frequency, 1000);
            EXPECT_TRUE(std::isfinite(p.Value));
            EXPECT_GT(p.Value, 0);
            ++drawn;
        }
        // Linear: points 0..40 of 201 lie at 500..1000 MHz (steps of 12.5), the last exactly on A.
        if (spacing == FrequencySpacing::Linear) {
            EXPECT_EQ(drawn, 160u);
        }
        EXPECT_EQ(curve.Segments[0].back().Frequency, 3000);
        // A band wholly below cut-off draws nothing, but keeps its place (and legend).
        EXPECT_EQ(plan.Curves[1].PartNumber, "ZW-20");
        EXPECT_TRUE(plan.Curves[1].Segments.empty());
        EXPECT_FALSE(plan.Curves[1].MidBand);  // 2000 MHz is its cut-off
    }
}

TEST(ChartPlan, LogarithmicSpacingKeepsEqualRatiosBetweenPoints)
{
    const TTransmissionLine coax = Coax(10, 1000);
    const ChartPlan plan =
        PlanFor({&coax}, InteractiveRowBasis(Query("100", "200", true), std::nullopt), FrequencySpacing::Logarithmic);
    const std::vector<ChartPoint>& points = plan.Curves.at(0).Segments.at(0);
    ASSERT_EQ(points.size(), static_cast<std::size_t>(kChartCurvePoints));
    const double ratio = std::pow(100.0, 1.0 / (kChartCurvePoints - 1));
    for (std::size_t i = 1; i < points.size(); ++i) EXPECT_NEAR(points[i].Frequency / points[i - 1].Frequency, ratio, 1e-9);
    EXPECT_NEAR(points[100].Frequency, 100, 1e-9);  // the geometric middle of 10 and 1000
    EXPECT_EQ(plan.Spacing, FrequencySpacing::Logarithmic);
}

// The level is the attenuation at which the query's length loses exactly the
// maximum loss: a line with exactly that attenuation has the query's length
// as its longest run, by the engine's own rule.
TEST(ChartPlan, MaxLossLevelIsTheLossRuleAtTheQueryLength)
{
    struct Case {
        const char* length;
        bool feet;
        std::optional<long double> maxLoss;
        std::optional<double> level;
    } cases[] = {
        {"200", true, 3.0L, 1.5},   // 3 dB over 200 ft: 1.5 dB/100 ft
        {"200", false, 3.0L, 1.5},  // 3 dB over 200 m: 1.5 dB/100 m
        {"40", true, 2.5L, 6.25},
        {"200", true, std::nullopt, std::nullopt},  // loss criterion off
        {"0.0", true, 3.0L, std::nullopt},          // no length, no level
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.length) + (c.feet ? " ft" : " m"));
        const RowBasis basis = InteractiveRowBasis(Query("900", "1100", c.feet, c.length), c.maxLoss);
        const TTransmissionLine coax = Coax(800, 1200);
        const ChartPlan plan = PlanFor({&coax}, basis);
        ASSERT_EQ(plan.MaxLossLevel.has_value(), c.level.has_value());
        if (!c.level) continue;
        EXPECT_DOUBLE_EQ(*plan.MaxLossLevel, *c.level);
        EXPECT_GE(plan.YMax, *plan.MaxLossLevel);

        // A = 0, B = level / 1000 MHz: exactly the level at the mid-band (in dB/100 ft).
        const double per100ft = c.feet ? *c.level : *c.level / static_cast<double>(FeetPerMetre);
        const TTransmissionLine atLevel = TestLine("ZK-LVL", "FOAM", 0, per100ft / 1000, 800, 1200);
        const auto longest = LongestRunWithin(atLevel, c.feet ? "Feet" : "Meters", *c.maxLoss, 900, 1100);
        ASSERT_TRUE(longest);
        EXPECT_NEAR(static_cast<double>(longest->Length), std::stod(c.length), 1e-9);
    }
}

TEST(ChartPlan, DrawsEightLinesAtMostInTheOrderGiven)
{
    std::vector<TTransmissionLine> lines;
    for (int i = 0; i < 10; ++i)
        lines.push_back(TestLine(("ZK-" + std::to_string(i)).c_str(), "FOAM", 0.1 + i * 0.01, 0.0002, 800, 1000));
    ChartRequest request;
    for (const TTransmissionLine& line : lines) request.Lines.push_back(ChartLineFor(line, std::nullopt));
    const ChartPlan plan = PlanChart(request);
    ASSERT_EQ(plan.Curves.size(), static_cast<std::size_t>(kMaxChartLines));
    for (int i = 0; i < kMaxChartLines; ++i) EXPECT_EQ(plan.Curves[static_cast<std::size_t>(i)].PartNumber, lines[static_cast<std::size_t>(i)].PartNumber);
    // No basis: no mark, no band, no level, and dB/100 ft.
    EXPECT_FALSE(plan.Curves[0].MidBand);
    EXPECT_FALSE(plan.ShadedBand);
    EXPECT_FALSE(plan.MaxLossLevel);
    EXPECT_EQ(plan.ValueTitle, "Attenuation (dB/100 ft)");
}

}  // namespace
}  // namespace quillon
