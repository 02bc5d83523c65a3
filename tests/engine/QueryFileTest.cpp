#include "engine/ProfileText.h"
#include "engine/QueryFileValues.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(ProfileText, ReadsOneSectionCaseInsensitively)
{
    const std::vector<std::string> file{"[other]", "BegFreq=1", "[DATA]", "begfreq=806", "C1=N=Male", "Empty=",
                                        "; comment", "noequals", "[next]", "BegFreq=2"};
    const auto section = ReadIniSection(file, "data");
    EXPECT_EQ(section, (std::vector<std::string>{"begfreq=806", "C1=N=Male"}));
    EXPECT_EQ(ValueOrDefault(section, "BegFreq", "0"), "806");
    EXPECT_EQ(ValueOrDefault(section, "c1", ""), "N=Male");
    EXPECT_EQ(ValueOrDefault(section, "Empty", "dflt"), "dflt");
    EXPECT_TRUE(ReadIniSection(file, "missing").empty());
}

TEST(ProfileText, WritingKeepsOtherSectionsKeysAndOrder)
{
    const std::vector<std::string> file{"[top]", "x=1", "", "[Data]", "Keep=me", "BEGFREQ=1", "", "[tail]", "y=2"};
    const auto written = WriteIniSection(file, "data", {"BegFreq=806", "C1=N=Male"});
    EXPECT_EQ(written, (std::vector<std::string>{"[top]", "x=1", "", "[Data]", "Keep=me", "BegFreq=806", "C1=N=Male", "",
                                                 "[tail]", "y=2"}));
    EXPECT_EQ(WriteIniSection({}, "data", {"A=1"}), (std::vector<std::string>{"[data]", "A=1"}));
}

TEST(ProfileText, BlanksAroundTheEqualsSignAndTheValueAreDropped)
{
    const std::vector<std::string> file{"[ data ]", "Units = F", "  Length\t=\t150  ", "C1 =  N Male ",
                                        "VSWR =   ", "Foam=False"};
    const auto section = ReadIniSection(file, "data");
    EXPECT_EQ(section, (std::vector<std::string>{"Units=F", "Length=150", "C1=N Male", "Foam=False"}));
    EXPECT_EQ(ValueOrDefault(section, "VSWR", "1.1"), "1.1") << "a blank value is an empty one";

    // Feet, not metres; a length of 150, not a number with blanks.
    QueryPageLists lists{{"806"}, {"960"}, {"N Male"}, {}};
    std::vector<Message> messages;
    const QueryPage page = ApplyQueryFile(QueryPage{}, lists, section, messages);
    EXPECT_FALSE(page.Meters);
    EXPECT_EQ(page.Length, "150");
    EXPECT_EQ(page.Connector1, "N Male");
    EXPECT_EQ(lists.Connector1, (std::vector<std::string>{"N Male"})) << "no blank-padded twin is added";
    EXPECT_TRUE(messages.empty());

    // Writing finds the blank-padded keys, replaces just their lines and keeps the rest as it stands.
    const auto written = WriteIniSection(file, "data", {"Units=M", "Length=200"});
    EXPECT_EQ(written, (std::vector<std::string>{"[ data ]", "Units=M", "Length=200", "C1 =  N Male ", "VSWR =   ",
                                                 "Foam=False"}));
}

TEST(ProfileText, AKeyOnSeveralLinesIsItsFirstLine)
{
    // Saving replaces a key's first line; a later line of the same key must
    // not stand in for it when the value saved is empty.
    const std::vector<std::string> file{"[data]", "C1=N Male", "Length=100", "c1=BNC", "C1=TNC"};
    EXPECT_EQ(ReadIniSection(file, "data"), (std::vector<std::string>{"C1=N Male", "Length=100"}));
    const auto saved = WriteIniSection(file, "data", {"C1="});
    EXPECT_EQ(saved, (std::vector<std::string>{"[data]", "C1=", "Length=100", "c1=BNC", "C1=TNC"}));
    EXPECT_EQ(ReadIniSection(saved, "data"), (std::vector<std::string>{"Length=100"}));
    EXPECT_EQ(ValueOrDefault(ReadIniSection(saved, "data"), "C1", ""), "");
}

TEST(QueryFile, SaveThenOpenRestoresEveryValue)
{
    QueryPage saved;
    saved.BeginningFrequency = "806";
    saved.EndingFrequency = "960.5";
    saved.Connector1 = "N=Male";
    saved.Connector2 = "BNC";
    saved.MaxLoss = "3";
    saved.Length = "150";
    saved.Vswr = "1.3";
    saved.Meters = true;
    saved.Foam = false;
    saved.ByFrequency = saved.ByLoss = saved.ByConnector1 = true;
    const auto file = WriteIniSection({}, kQuerySection, QueryFileLines(saved));
    ASSERT_EQ(file.size(), 17u);
    EXPECT_EQ(file[8], "Units=M");

    QueryPageLists lists{{"806"}, {"960"}, {"BNC", "N Male"}, {"BNC"}};
    std::vector<Message> messages;
    const QueryPage opened = ApplyQueryFile(QueryPage{}, lists, ReadIniSection(file, "data"), messages);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(QueryFileLines(opened), QueryFileLines(saved));
    EXPECT_EQ(lists.Ending, (std::vector<std::string>{"960", "960.5"}));
    EXPECT_EQ(lists.Connector1, (std::vector<std::string>{"BNC", "N Male", "N=Male"}));
}

TEST(QueryFile, DefaultsAndTheTwoFamiliesOfFlags)
{
    QueryPageLists lists{{"806"}, {"960"}, {"BNC", "n male"}, {"BNC"}};
    std::vector<Message> messages;
    const QueryPage empty = ApplyQueryFile(QueryPage{}, lists, {}, messages);
    EXPECT_EQ(empty.BeginningFrequency, "0");
    EXPECT_EQ(lists.Beginning, (std::vector<std::string>{"806", "0"}));
    EXPECT_EQ(empty.Connector1, "");
    EXPECT_EQ(lists.Connector1.front(), "");
    EXPECT_EQ(empty.Vswr, "1.1");
    EXPECT_TRUE(empty.Meters);
    EXPECT_FALSE(empty.Air || empty.Foam || empty.Waveguide || empty.Braided);
    EXPECT_FALSE(empty.ByFrequency || empty.ByLoss || empty.ByConnector1 || empty.ByConnector2);

    const QueryPage odd = ApplyQueryFile(QueryPage{}, lists,
                                         {"Foam=yes", "Air=false", "ByFreq=yes", "ByLoss=TRUE", "Units=f", "Length=abc",
                                          "C1=N MALE"},
                                         messages);
    EXPECT_TRUE(odd.Foam);
    EXPECT_FALSE(odd.Air);
    EXPECT_TRUE(odd.ByLoss);
    EXPECT_TRUE(odd.ByFrequency) << "query by loss switches query by frequency on";
    EXPECT_FALSE(odd.Meters);
    EXPECT_EQ(odd.Length, "0");
    EXPECT_EQ(odd.Connector1, "n male") << "the list's own spelling is selected";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Text, kNumericFieldMessage);
    EXPECT_TRUE(ApplyQueryFile(QueryPage{}, lists, {"Units=Feet"}, messages).Meters);
}

// The values an opening hands to the page, in the order the window applies
// them: the window and the tool both take this path.
TEST(QueryFile, ValuesComeInSaveOrderWithTheirDefaults)
{
    using enum PageControl;
    const auto controls = [](const std::vector<PageValue>& values) {
        std::vector<PageControl> out;
        for (const PageValue& v : values) out.push_back(v.Control);
        return out;
    };
    const std::vector<PageValue> empty = QueryFileValues({});
    EXPECT_EQ(controls(empty),
              (std::vector<PageControl>{BeginningFrequency, EndingFrequency, Connector1, Connector2, MaxLoss, Length,
                                        Vswr, Meters, Foam, Air, Waveguide, Braided, ByFrequency, ByLoss,
                                        ByConnector1, ByConnector2}));
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < 7; ++i) texts.push_back(empty[i].Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"0", "0", "", "", "0", "0", "1.1"}));
    EXPECT_TRUE(empty[7].Flag) << "Meters when no unit is given";
    for (std::size_t i = 8; i < empty.size(); ++i) EXPECT_FALSE(empty[i].Flag) << i;

    const std::vector<PageValue> feet = QueryFileValues({"Units=f", "Braided=no", "ByC2=true"});
    EXPECT_EQ(feet[7].Control, Feet);
    EXPECT_TRUE(feet[7].Flag);
    EXPECT_TRUE(feet[11].Flag) << "a kind is on unless it says FALSE";
    EXPECT_TRUE(feet[15].Flag) << "a switch is on when it says TRUE in any case";
}

TEST(QueryPageRules, TheLossCriterionNeedsTheBand)
{
    struct Case {
        bool byFrequency, byLoss;  // before
        bool setFrequency;         // true: the frequency box is set, else the loss box
        bool on;
        bool expectFrequency, expectLoss;
    };
    const Case cases[] = {
        {true, true, true, false, false, false},  // frequency off takes the loss off
        {true, false, true, true, true, false},   // frequency on leaves the loss as it was
        {true, true, true, true, true, true},
        {false, false, false, true, true, true},  // loss on puts the frequency on
        {true, true, false, false, true, false},  // loss off leaves the frequency on
    };
    for (const Case& c : cases) {
        QueryPage page;
        page.ByFrequency = c.byFrequency;
        page.ByLoss = c.byLoss;
        if (c.setFrequency)
            SetByFrequency(page, c.on);
        else
            SetByLoss(page, c.on);
        EXPECT_EQ(page.ByFrequency, c.expectFrequency);
        EXPECT_EQ(page.ByLoss, c.expectLoss);
    }
}

TEST(QueryPageRules, TheCommandLineStartsFromMetresEveryKindAndNoCriterion)
{
    using enum PageControl;
    std::vector<std::pair<PageControl, bool>> values;
    for (const PageValue& v : CommandLineDefaultValues()) values.emplace_back(v.Control, v.Flag);
    EXPECT_EQ(values, (std::vector<std::pair<PageControl, bool>>{{Meters, true},
                                                                 {Air, true},
                                                                 {Foam, true},
                                                                 {Waveguide, true},
                                                                 {Braided, true},
                                                                 {ByFrequency, false},
                                                                 {ByLoss, false},
                                                                 {ByConnector1, false},
                                                                 {ByConnector2, false}}));
}
