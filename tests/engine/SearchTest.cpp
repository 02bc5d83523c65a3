#include "engine/Search.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>

using namespace quillon;

namespace {

const char* const kNoLines = "Sorry, no Transmission Lines available for this query.\r\rPlease try again.";
const char* const kInvalid = "One or both frequency values contain invalid values.\r\rPlease check your frequency values.";
const char* const kOrder =
    "The beginning frequency value cannot be greater than the ending frequency value.\r\rPlease check your frequency values.";
const char* const kLossWarning = "You must enter a maximum insertion loss and a length\rwhen querying by insertion loss";
const char* const kNegativeLength = "The length value cannot be negative.\r\rPlease check your length value.";
const char* const kVswrBelowOne = "The VSWR value cannot be less than 1.\r\rPlease check your VSWR value.";

struct Catalog {
    std::vector<std::unique_ptr<TTransmissionLine>> owned;
    LineList all;
    TTransmissionLine& Add(const char* pn, double begin, double end, const char* kind, double A, double B,
                           std::vector<const char*> connectors = {"N Male"})
    {
        auto l = std::make_unique<TTransmissionLine>();
        l->PartNumber = pn;
        l->BeginFrequency = begin;
        l->EndFrequency = end;
        l->Kind = kind;
        l->AttenuationA = A;
        l->AttenuationB = B;
        for (const char* type : connectors) {
            auto c = std::make_unique<TConnector>();
            c->TypeName = type;
            l->AddConnector(std::move(c));
        }
        all.push_back(l.get());
        owned.push_back(std::move(l));
        return *owned.back();
    }
};

std::vector<std::string> PartNumbers(const LineList& lines)
{
    std::vector<std::string> out;
    for (auto* l : lines) out.push_back(l->PartNumber);
    return out;
}

QueryPage Page(const char* begin, const char* end)
{
    QueryPage p;
    p.BeginningFrequency = begin;
    p.EndingFrequency = end;
    return p;
}

}  // namespace

TEST(Filters, BandIsInclusiveAndResultKeepsCatalogueOrder)
{
    Catalog c;
    c.Add("EXACT", 80, 120, "AIR", 0.1, 0.001);
    c.Add("ABOVE", 81, 120, "AIR", 0.1, 0.001);
    c.Add("WIDE", 30, 960, "AIR", 0.1, 0.001);
    c.Add("POINT", 100, 100, "AIR", 0.1, 0.001);
    EXPECT_EQ(PartNumbers(SelectByBand(c.all, 80, 120)), (std::vector<std::string>{"EXACT", "WIDE"}));
    EXPECT_EQ(PartNumbers(SelectByBand(c.all, 100, 100)), (std::vector<std::string>{"EXACT", "ABOVE", "WIDE", "POINT"}));
}

TEST(Filters, LossEqualToTheMaximumPasses)
{
    Catalog c;
    c.Add("A", 80, 120, "AIR", 0.1, 0.001);  // 1.1 dB/100 ft: 5.5 dB over 500 ft
    EXPECT_EQ(SelectByLoss(c.all, "Feet", 500, 5.5L, 80, 120).size(), 1u);
    EXPECT_EQ(SelectByLoss(c.all, "Feet", 500, 5.49L, 80, 120).size(), 0u);
    // The same length in metres is 3.2808 times the loss.
    EXPECT_EQ(SelectByLoss(c.all, "Meters", 500, 18.0444L, 80, 120).size(), 1u);
    EXPECT_EQ(SelectByLoss(c.all, "Meters", 500, 18.04L, 80, 120).size(), 0u);
    EXPECT_EQ(SelectByLoss(c.all, "Feet", 500, 0, 80, 120).size(), 0u);
}

TEST(Filters, ConnectorIsCaseSensitiveKindIsNot)
{
    Catalog c;
    c.Add("A", 1, 2, "Air", 0, 0, {"N Male", "BNC"});
    c.Add("B", 1, 2, "FOAM", 0, 0, {"n male"});
    c.Add("C", 1, 2, "ew", 0, 0, {"BNC"});
    c.Add("D", 1, 2, "LEAKY", 0, 0, {"BNC"});
    EXPECT_EQ(PartNumbers(SelectByConnector(c.all, "N Male")), (std::vector<std::string>{"A"}));
    EXPECT_EQ(PartNumbers(SelectByKind(c.all, true, false, true, true)), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(PartNumbers(SelectByPartNumber(c.all, "a")), (std::vector<std::string>{}));

    QueryCriteria both;
    both.ByConnector1 = both.ByConnector2 = true;
    both.Connector1 = "N Male";
    both.Connector2 = "BNC";
    EXPECT_EQ(PartNumbers(RunQuery(c.all, both)), (std::vector<std::string>{"A"}));
    both.Connector1 = both.Connector2 = "BNC";
    EXPECT_EQ(PartNumbers(RunQuery(c.all, both)), (std::vector<std::string>{"A", "C", "D"}));
}

TEST(Search, MessageSequences)
{
    Catalog c;
    c.Add("A", 80, 120, "AIR", 0.1, 0.001);
    struct Case {
        const char* name;
        QueryPage page;
        std::vector<std::pair<MessageKind, std::string>> messages;
        FocusTarget focus;
        bool ran;
    };
    QueryPage badFreq = Page("abc", "120");
    QueryPage reversed = Page("120", "80");
    QueryPage lossBothZero = Page("80", "120");
    lossBothZero.ByLoss = true;
    QueryPage lossLengthZero = lossBothZero;
    lossLengthZero.MaxLoss = "3";
    QueryPage lossMaxZero = lossBothZero;
    lossMaxZero.Length = "100";
    QueryPage zeroPointZero = lossBothZero;
    zeroPointZero.MaxLoss = "0.0";
    zeroPointZero.Length = "100";
    QueryPage noKind = Page("80", "120");
    noKind.Air = noKind.Foam = noKind.Waveguide = noKind.Braided = false;
    QueryPage everything = Page("x", "120");
    everything.ByLoss = true;
    everything.Air = everything.Foam = everything.Waveguide = everything.Braided = false;
    QueryPage nothingFound = Page("1000", "2000");
    QueryPage found = Page("80", "120");
    QueryPage negativeLength = Page("80", "120");
    negativeLength.Length = "-100";
    QueryPage vswrBelowOne = Page("80", "120");
    vswrBelowOne.Vswr = "0.99";
    QueryPage vswrOne = Page("80", "120");
    vswrOne.Vswr = "1";
    vswrOne.Length = "-0";
    QueryPage emptyVswr = Page("80", "120");
    emptyVswr.Vswr = "";  // the search makes it "0"
    QueryPage allRefused = everything;
    allRefused.Length = "-1e-3";
    allRefused.Vswr = ".5";

    const Case cases[] = {
        {"bad frequency", badFreq, {{MessageKind::Information, kInvalid}, {MessageKind::Information, kNoLines}}, FocusTarget::Unchanged, false},
        {"reversed", reversed, {{MessageKind::Information, kOrder}, {MessageKind::Information, kNoLines}}, FocusTarget::Unchanged, false},
        {"loss both zero", lossBothZero, {{MessageKind::Warning, kLossWarning}}, FocusTarget::Length, false},
        {"loss length zero", lossLengthZero, {{MessageKind::Warning, kLossWarning}}, FocusTarget::Length, false},
        {"loss max zero", lossMaxZero, {{MessageKind::Warning, kLossWarning}}, FocusTarget::MaxLoss, false},
        {"0.0 is not refused", zeroPointZero, {{MessageKind::Information, kNoLines}}, FocusTarget::Unchanged, true},
        {"no kind", noKind, {{MessageKind::Error, "Please select a cable type."}}, FocusTarget::Unchanged, false},
        {"all three", everything,
         {{MessageKind::Information, kInvalid}, {MessageKind::Warning, kLossWarning}, {MessageKind::Error, "Please select a cable type."}},
         FocusTarget::Length, false},
        {"nothing found", nothingFound, {{MessageKind::Information, kNoLines}}, FocusTarget::Unchanged, true},
        {"found", found, {}, FocusTarget::Unchanged, true},
        {"negative length", negativeLength, {{MessageKind::Information, kNegativeLength}}, FocusTarget::Length, false},
        {"VSWR below 1", vswrBelowOne, {{MessageKind::Information, kVswrBelowOne}}, FocusTarget::Vswr, false},
        {"VSWR 1 and length -0 pass", vswrOne, {}, FocusTarget::Unchanged, true},
        {"empty VSWR", emptyVswr, {{MessageKind::Information, kVswrBelowOne}}, FocusTarget::Vswr, false},
        {"every check in its order", allRefused,
         {{MessageKind::Information, kInvalid},
          {MessageKind::Warning, kLossWarning},
          {MessageKind::Error, "Please select a cable type."},
          {MessageKind::Information, kNegativeLength},
          {MessageKind::Information, kVswrBelowOne}},
         FocusTarget::Vswr, false},
    };
    for (const Case& k : cases) {
        const SearchOutcome out = RunSearch(k.page, "", c.all);
        std::vector<std::pair<MessageKind, std::string>> got;
        for (const Message& m : out.Messages) got.emplace_back(m.Kind, m.Text);
        EXPECT_EQ(got, k.messages) << k.name;
        EXPECT_EQ(out.Focus, k.focus) << k.name;
        EXPECT_EQ(out.Result.has_value(), k.ran) << k.name;
        EXPECT_EQ(out.Refused, !k.ran) << k.name;
        for (const Message& m : out.Messages) EXPECT_EQ(m.Beep, m.Kind != MessageKind::Information || m.Text == kNoLines) << k.name;
    }
}

TEST(Search, EmptyBoxesBecomeZeroAndBadFrequencyWithoutCriterionIsAnError)
{
    Catalog c;
    c.Add("A", 80, 120, "AIR", 0.1, 0.001);
    QueryPage p = Page("x", "120");
    p.ByFrequency = false;
    p.Length = p.MaxLoss = "";
    SearchOutcome out = RunSearch(p, "", c.all);
    EXPECT_EQ(out.Page.Length, "0");
    EXPECT_EQ(out.Page.MaxLoss, "0");
    EXPECT_EQ(out.Page.Vswr, "1.1");
    ASSERT_TRUE(out.Error);
    EXPECT_EQ(*out.Error, "'x' is not a valid floating point value");
    EXPECT_FALSE(out.Result);
    EXPECT_TRUE(out.Messages.empty());
}

TEST(Search, CommandLinePartNumberReplacesTheCriteriaButNotTheChecks)
{
    Catalog c;
    c.Add("QX1", 80, 120, "AIR", 0.1, 0.001);
    c.Add("QX2", 80, 120, "FOAM", 0.1, 0.001);
    c.Add("QX1", 800, 900, "EW", 500, 1000);
    QueryPage p = Page("", "");  // the lists stay empty in this mode
    p.ByFrequency = false;
    p.Air = false;
    SearchOutcome out = RunSearch(p, "QX1|100|M", c.all);
    ASSERT_TRUE(out.Result);
    EXPECT_EQ(out.Result->size(), 2u);
    EXPECT_EQ(RunSearch(p, "qx1", c.all).Result->size(), 0u);
    // The length its argument carries is checked as the page's would be.
    out = RunSearch(p, "QX1|-100|M", c.all);
    EXPECT_FALSE(out.Result);
    ASSERT_EQ(out.Messages.size(), 1u);
    EXPECT_EQ(out.Messages[0].Text, kNegativeLength);
    p.Foam = p.Waveguide = p.Braided = false;
    out = RunSearch(p, "QX1", c.all);
    EXPECT_FALSE(out.Result);
    ASSERT_EQ(out.Messages.size(), 1u);
    EXPECT_EQ(out.Messages[0].Text, "Please select a cable type.");
}

// Lookups run ahead of the lines they price; every line must still get
// what a lookup of its own gives, in runs longer than the look-ahead, with
// lines listed twice (near and far apart), lines done already, lines the
// list lacks and entries without a description.
TEST(Search, PriceCompletionAheadGivesEachLineItsOwnPrice)
{
    std::mt19937 random(77);
    std::vector<std::string> priceLines;
    for (int i = 0; i < 400; ++i)
        if (random() % 4 != 0)
            priceLines.push_back("A|x|QP" + std::to_string(i) + "|FT|" + (i % 5 == 0 ? "" : "part " + std::to_string(i)) +
                                 "|" + std::to_string(i) + ".25|");
    const PriceList prices(priceLines);
    for (int round = 0; round < 30; ++round) {
        Catalog c;
        const int count = static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) {
            TTransmissionLine& line = c.Add(("QP" + std::to_string(random() % 420)).c_str(), 1, 2, "AIR", 0, 0);
            if (random() % 6 == 0) {
                line.Description = "Kept";
                line.ListPrice = 3;
            }
        }
        LineList lines = c.all;
        for (int repeat = static_cast<int>(random() % 12); repeat > 0 && !c.all.empty(); --repeat)
            lines.insert(lines.begin() + static_cast<long>(random() % (lines.size() + 1)), c.all[random() % c.all.size()]);
        std::vector<std::pair<std::string, double>> expected;
        for (const TTransmissionLine* line : c.all) {
            if (!line->Description.empty()) {
                expected.emplace_back(line->Description, line->ListPrice);
            } else if (const auto entry = prices.Find(line->PartNumber)) {
                expected.emplace_back(entry->Description, static_cast<double>(entry->Price));
            } else {
                expected.emplace_back("", 0);
            }
        }
        std::size_t calls = 0;
        CompletePrices(lines, prices, [&](std::size_t i) { EXPECT_EQ(i, ++calls); });
        EXPECT_EQ(calls, lines.size());
        for (std::size_t i = 0; i < c.all.size(); ++i) {
            EXPECT_EQ(c.all[i]->Description, expected[i].first) << c.all[i]->PartNumber;
            EXPECT_EQ(c.all[i]->ListPrice, expected[i].second) << c.all[i]->PartNumber;
        }
    }
}

TEST(Search, PriceCompletionLooksUpOnlyLinesNotYetDone)
{
    Catalog c;
    c.Add("QX1", 1, 2, "AIR", 0, 0);
    c.Add("QX9", 1, 2, "AIR", 0, 0);
    TTransmissionLine& done = c.Add("QX2", 1, 2, "AIR", 0, 0);
    done.Description = "Kept";
    done.ListPrice = 7;
    const PriceList prices({"A|x|QX1|FT|Half-inch foam|2.5|", "A|x|QX2|FT|Replaced?|9|"});
    std::vector<std::size_t> progress;
    CompletePrices(c.all, prices, [&](std::size_t i) { progress.push_back(i); });
    EXPECT_EQ(progress, (std::vector<std::size_t>{1, 2, 3}));
    EXPECT_EQ(c.all[0]->Description, "Half-inch foam");
    EXPECT_EQ(c.all[0]->ListPrice, 2.5);
    EXPECT_TRUE(c.all[1]->Description.empty());
    EXPECT_EQ(c.all[2]->Description, "Kept");
    EXPECT_EQ(c.all[2]->ListPrice, 7);
}
