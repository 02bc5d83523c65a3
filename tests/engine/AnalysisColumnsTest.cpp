// The band-edge and run-budget cells beside the results, in both fillings,
// against hand-worked figures (stated with each case) and the results' own cells.
#include "engine/AnalysisColumns.h"
#include "engine/NumberText.h"
#include "tests/support/TestLines.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

struct Lines {
    std::vector<std::unique_ptr<TTransmissionLine>> owned;
    LineList list;
    TTransmissionLine& Add(const char* pn, double begin, double end, const char* kind, double A, double B, double price)
    {
        auto l = std::make_unique<TTransmissionLine>(testlines::TestLine(pn, kind, A, B, begin, end));
        l->ListPrice = price;
        list.push_back(l.get());
        owned.push_back(std::move(l));
        return *owned.back();
    }
};

using Cells3 = std::array<std::string, 3>;
using Cells5 = std::array<std::string, 5>;

}  // namespace

TEST(AnalysisColumns, Headings)
{
    EXPECT_EQ(EdgeHeadings(), (Cells3{"Attenuation At Band Start (dB/100 ft)", "Attenuation At Band End (dB/100 ft)",
                                      "Worst Insertion Loss (dB)"}));
    EXPECT_EQ(BudgetHeadings("List Price Per Foot ($US)", true),
              (Cells5{"Mismatch Loss (dB)", "System Loss (dB)", "Power Delivered (%)", "Cable Cost ($US)",
                      "Longest Run (ft)"}));
    EXPECT_EQ(BudgetHeadings("List Price Per Foot (GBP)", false)[3], "Cable Cost (GBP)");
    EXPECT_EQ(BudgetHeadings("List Price Per Foot (GBP)", false)[4], "Longest Run (m)");
    EXPECT_EQ(BudgetHeadings("", true)[3], "Cable Cost");
}

TEST(AnalysisColumns, InteractiveCells)
{
    // Coax A = 0.1, B = 0.001 queried at 80-120 MHz over 500 ft with S = 1.5:
    // edges 0.1 sqrt(80) + 0.08 = 0.97443 and 1.21545 dB/100 ft, insertion loss
    // at 120 MHz 6.11187 dB; mismatch 0.17729 dB; system loss 5.53162 + 0.17729
    // = 5.70891 dB; 26.86 % delivered; 3.00 USD/ft x 500 ft = 1500.00.
    Lines l;
    const TTransmissionLine& coax = l.Add("QX-A1", 50, 150, "AIR", 0.1, 0.001, 3.00);
    InteractiveFillInputs in{"80", "120", "500", true, "1.5", 1, nullptr};
    const RowBasis basis = InteractiveRowBasis(in, std::nullopt);
    EXPECT_EQ(basis.F1, 80);  // the query band, not the line's own
    EXPECT_EQ(EdgeCells(coax, basis), (Cells3{"0.97", "1.22", "6.11"}));
    EXPECT_EQ(BudgetCells(coax, basis), (Cells5{"0.18", "5.71", "26.86", "USD 1500.00", "N/A"}));

    // With the loss criterion at 5.5 dB the longest run is 500 ft (5.5 / 0.011).
    EXPECT_EQ(BudgetCells(coax, InteractiveRowBasis(in, 5.5L))[4], "500.00");

    // In a converted currency the cost reads as the price cells do: at 1.5 USD
    // per GBP, 2.00 GBP/ft x 328.08 ft (100 m) = 656.16.
    const ExchangeRates rates{true, {"GBP|1.5|"}};
    InteractiveFillInputs metres{"80", "120", "100", false, "1.5", 20, &rates};
    EXPECT_EQ(BudgetCells(coax, InteractiveRowBasis(metres, std::nullopt))[3], "GBP 656.16");

    // A zero length: "N/A" where the results show it; the mismatch needs no length.
    in.Length = "0";
    EXPECT_EQ(EdgeCells(coax, InteractiveRowBasis(in, std::nullopt)), (Cells3{"0.97", "1.22", "N/A"}));
    EXPECT_EQ(BudgetCells(coax, InteractiveRowBasis(in, std::nullopt)), (Cells5{"0.18", "N/A", "N/A", "N/A", "N/A"}));

    // A VSWR below 1 describes no load.
    in.Length = "500";
    in.Vswr = "0";
    EXPECT_EQ(BudgetCells(coax, InteractiveRowBasis(in, std::nullopt)),
              (Cells5{"N/A", "N/A", "N/A", "USD 1500.00", "N/A"}));

    // A query band reaching down to a waveguide's cut-off (its middle above it).
    const TTransmissionLine& ew = l.Add("QX-W1", 800, 2000, "EW", 1000, 2500, 9.99);
    InteractiveFillInputs cut{"900", "2000", "100", true, "1.1", 1, nullptr};
    EXPECT_EQ(EdgeCells(ew, InteractiveRowBasis(cut, std::nullopt)), (Cells3{"N/A", "2.50", "N/A"}));
}

TEST(AnalysisColumns, CommandLineCells)
{
    // The line's own band 80-120 MHz, 100 m, VSWR 1.1, US dollars as "$":
    // edges 0.97 and 1.22 dB/100 ft; 3.00 USD/ft x 328.08 ft = 984.24.
    Lines l;
    const TTransmissionLine& coax = l.Add("QX-A1", 80, 120, "AIR", 0.1, 0.001, 3.00);
    const auto basis = CommandLineRowBasis(coax, "QX-A1|100|M");
    ASSERT_TRUE(basis);
    EXPECT_EQ(basis->F2, 120);
    EXPECT_EQ(basis->Vswr, 1.1L);
    EXPECT_EQ(EdgeCells(coax, *basis)[0], "0.97");
    const Cells5 cells = BudgetCells(coax, *basis);
    EXPECT_EQ(cells[0], "0.01");  // S = 1.1: 0.00986 dB
    EXPECT_EQ(cells[3], "$984.24");
    EXPECT_EQ(cells[4], "N/A");  // the command line gives no maximum loss

    // A zero length is a length here: numbers, as the command-line results show.
    // System loss = connectors 0.0316228 + mismatch 0.0098591 = 0.0414819 dB.
    const auto zero = CommandLineRowBasis(coax, "QX-A1|0|");
    ASSERT_TRUE(zero);
    EXPECT_EQ(BudgetCells(coax, *zero), (Cells5{"0.01", "0.04", "99.05", "$0.00", "N/A"}));
    EXPECT_EQ(EdgeCells(coax, *zero)[2], FormatFixed2(ConnectorLoss(120, 120)));

    EXPECT_FALSE(CommandLineRowBasis(coax, "QX-A1"));  // no length: the computed columns are hidden
}

TEST(AnalysisColumns, WholeTableFollowsTheRowsTheFillingCompleted)
{
    // The second line is a waveguide queried below its cut-off: the filling
    // stops in its row, which keeps empty cells, extra ones included.
    Lines l;
    l.Add("QX-A1", 50, 150, "AIR", 0.1, 0.001, 3.00);
    l.Add("QX-W1", 50, 150, "EW", 1000, 2500, 9.99);
    l.Add("QX-A2", 50, 150, "AIR", 0.1, 0.001, 3.00);
    const InteractiveFillInputs in{"80", "120", "500", true, "1.5", 1, nullptr};
    ResultTable table;
    ASSERT_TRUE(FillInteractiveRows(table, l.list, in));
    ASSERT_FALSE(RowFilledToEnd(table.Rows[1]));

    const ExtraColumns extras = InteractiveExtraColumns(table, l.list, in, 5.5L, true, true);
    ASSERT_EQ(extras.Headings.size(), 8u);
    EXPECT_EQ(extras.Headings[0], "Attenuation At Band Start (dB/100 ft)");
    EXPECT_EQ(extras.Headings[6], "Cable Cost (USD)");
    EXPECT_EQ(extras.Headings[7], "Longest Run (ft)");
    ASSERT_EQ(extras.Rows.size(), 3u);
    EXPECT_EQ(extras.Rows[0],
              (std::vector<std::string>{"0.97", "1.22", "6.11", "0.18", "5.71", "26.86", "USD 1500.00", "500.00"}));
    EXPECT_EQ(extras.Rows[1], std::vector<std::string>(8));
    EXPECT_EQ(extras.Rows[2], std::vector<std::string>(8));

    const ExtraColumns budgetOnly = InteractiveExtraColumns(table, l.list, in, std::nullopt, false, true);
    ASSERT_EQ(budgetOnly.Headings.size(), 5u);
    EXPECT_EQ(budgetOnly.Rows[0][4], "N/A");

    // The command line without a length hides the computed columns and leaves
    // the extra ones empty too; with one, the line's own band counts.
    ResultTable cl;
    const LineList first{l.list[0]};
    ASSERT_FALSE(FillCommandLineRows(cl, first, "QX-A1"));
    const ExtraColumns hidden = CommandLineExtraColumns(cl, first, "QX-A1", true, true);
    EXPECT_EQ(hidden.Headings[7], "Longest Run (ft)");
    EXPECT_EQ(hidden.Rows[0], std::vector<std::string>(8));
    ASSERT_FALSE(FillCommandLineRows(cl, first, "QX-A1|100|M"));
    const ExtraColumns shown = CommandLineExtraColumns(cl, first, "QX-A1|100|M", true, true);
    EXPECT_EQ(shown.Headings[6], "Cable Cost ($US)");
    EXPECT_EQ(shown.Headings[7], "Longest Run (m)");
    EXPECT_EQ(shown.Rows[0][0], FormatFixed2(*AttenuationAt(*l.list[0], 50)));
    EXPECT_EQ(shown.Rows[0][6], "$984.24");
}
