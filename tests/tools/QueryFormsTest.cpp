// Exit status and messages of the tool, the part-number form and query files.

#include "tests/tools/ToolTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quillon::tooltest {
namespace {

const std::string kNoLines = "information: Sorry, no Transmission Lines available for this query.\n\nPlease try again.\n";
const std::string kReversed =
    "information: The beginning frequency value cannot be greater than the ending frequency value.\n\n"
    "Please check your frequency values.\n";
const std::string kInvalid =
    "information: One or both frequency values contain invalid values.\n\nPlease check your frequency values.\n";
const std::string kLossWarning =
    "warning: You must enter a maximum insertion loss and a length\nwhen querying by insertion loss\n";
const std::string kNoKind = "error: Please select a cable type.\n";
const std::string kNegativeLength =
    "information: The length value cannot be negative.\n\nPlease check your length value.\n";
const std::string kVswrBelowOne = "information: The VSWR value cannot be less than 1.\n\nPlease check your VSWR value.\n";
const std::string kTryHelp = "Try 'quillon-query --help' for more information.\n";

double CoaxAttenuation(const DemoLine& line, double f) { return line.A * std::sqrt(f) + line.B * f; }

struct MessageCase {
    const char* name;
    QStringList args;
    int exitCode;
    std::string err;
};

TEST(ToolMessages, ExitStatusAndMessagesInTheWindowsOrder)
{
    const std::vector<MessageCase> cases = {
        {"reversed band", {"--band", "900", "800"}, 1, kReversed + kNoLines},
        {"band not a number", {"--band", "abc", "894"}, 1, kInvalid + kNoLines},
        {"no line covers the band", {"--band", "1", "100000"}, 1, kNoLines},
        {"loss without length, no kind", {"--band", "824", "894", "--max-loss", "3", "--kinds", ""}, 1,
         kLossWarning + kNoKind},
        {"every check fails", {"--band", "900", "800", "--max-loss", "0", "--kinds", ""}, 1,
         kReversed + kLossWarning + kNoKind},
        {"empty length becomes 0", {"--band", "824", "894", "--max-loss", "2", "--length", ""}, 1, kLossWarning},
        {"band not a number, no band criterion", {"--band", "x", "894", "--no-band-criterion"}, 2,
         "error: 'x' is not a valid floating point value\n"},
        // Refused as the window refuses them, after its other checks.
        {"negative length", {"--band", "824", "894", "--length", "-100"}, 1, kNegativeLength},
        {"VSWR below 1", {"--band", "824", "894", "--vswr", "0.9"}, 1, kVswrBelowOne},
        {"both, after the cable kinds", {"--band", "824", "894", "--length", "-1", "--vswr", "0", "--kinds", ""}, 1,
         kNoKind + kNegativeLength + kVswrBelowOne},
        {"negative length of a part number", {"--part-number", "QXF-050|-100|M"}, 1, kNegativeLength},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun run = RunTool(DemoFileArgs() << c.args);
        ASSERT_FALSE(run.Crashed);
        EXPECT_EQ(run.ExitCode, c.exitCode);
        EXPECT_EQ(run.Err, c.err);
        // No row was filled: the designed headings alone.
        const auto rows = TsvRows(run.Out);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][12], "List Price Per Foot ($US)");
    }
}

TEST(ToolMessages, UsageErrorsExitWithTwoAndPrintNoTable)
{
    const std::vector<std::pair<QStringList, std::string>> cases = {
        {{"--length", "abc"}, "error: 'abc' is not a valid floating point value\n"},
        {{"--vswr", "1,5"}, "error: '1,5' is not a valid floating point value\n"},
        {{"--meters", "--feet"}, ""},
        {{"--currency", "XYZ"}, ""},
        {{"--kinds", "air,steel"}, ""},
        {{"--format", "xml"}, ""},
        {{"--band", "824"}, ""},
        {{"--band=824"}, ""},
        {{"stray"}, ""},
        {{"--bogus"}, ""},
        {{"--band", "824", "894", "--max-loss", "3", "--no-band-criterion"}, ""},
        {{"--part-number", "QXF-158", "--length", "5"}, ""},
        {{"--part-number", "QXF-158", "--band", "824", "894"}, ""},
    };
    for (const auto& [args, err] : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ToolRun run = RunTool(DemoFileArgs() << args);
        ASSERT_FALSE(run.Crashed);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err.rfind("error: ", 0), 0u) << run.Err;
        EXPECT_TRUE(run.Err.ends_with(kTryHelp)) << run.Err;
        if (!err.empty()) {
            EXPECT_EQ(run.Err, err + kTryHelp);
        }
    }
}

TEST(ToolMessages, MissingCatalogueOrPriceListGivesTheProgramsMessage)
{
    QTemporaryDir dir;
    for (const char* which : {"--catalogue", "--price-list"}) {
        SCOPED_TRACE(which);
        QStringList args = DemoFileArgs();
        args[args.indexOf(which) + 1] = dir.filePath("absent.dat");
        const ToolRun run = RunTool(args << "--band" << "824" << "894");
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err.rfind("error: One or more files needed to run this application are missing.\n"
                                "Please check the appropriate directories for 'M_Lom.dat' and "
                                "'Freq_TLine_Connectors.dat'.\n",
                                0),
                  0u)
            << run.Err;
        EXPECT_NE(run.Err.find(PathIn(dir, "absent.dat") + ": no such file"), std::string::npos);
    }
}

TEST(ToolMessages, LossCriterionKeepsLinesWithinTheMaximum)
{
    const ToolRun run = RunTool(DemoFileArgs() << "--band" << "824" << "894" << "--max-loss" << "1" << "--length" << "100");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    std::vector<std::string> expected;
    for (const DemoLine& line : DemoLines())
        if (line.Begin <= 824 && line.End >= 894 && DemoAttenuation(line, 859) <= 1)
            expected.push_back(line.PartNumber);
    ASSERT_FALSE(expected.empty());
    std::vector<std::string> listed;
    const auto rows = TsvRows(run.Out);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        listed.push_back(rows[i][0]);
        EXPECT_LE(std::stod(rows[i][6]), 1.0) << rows[i][0];  // total attenuation over 100 ft
    }
    EXPECT_EQ(listed, expected);
}

TEST(PartNumberForm, PartNumberAloneHidesTheComputedColumns)
{
    const ToolRun run = RunTool(DemoFileArgs() << "--part-number" << "QXF-158");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    const auto rows = TsvRows(run.Out);
    std::vector<DemoLine> expected;
    for (const DemoLine& line : DemoLines())
        if (line.PartNumber == "QXF-158") expected.push_back(line);
    ASSERT_GT(expected.size(), 1u);
    ASSERT_EQ(rows.size(), expected.size() + 1);
    EXPECT_EQ(rows[0][12], "List Price Per Foot ($US)");  // the command-line filling keeps the headings
    const double price = DemoPrice("QXF-158");
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][0], "QXF-158");
        for (std::size_t c = 3; c <= 11; ++c) EXPECT_EQ(rows[i][c], "") << "column " << c + 1;
        EXPECT_EQ(rows[i][12], "$" + Fixed2(price));
        EXPECT_EQ(rows[i][13], "$" + Fixed2(price * 3.2808));
    }
}

TEST(PartNumberForm, LengthAndUnitComputeOverEachLinesOwnBand)
{
    std::vector<DemoLine> lines;
    for (const DemoLine& line : DemoLines())
        if (line.PartNumber == "QXF-158") lines.push_back(line);
    // "M" exactly means metres; any other unit, also an empty one, feet.
    const std::vector<std::pair<QString, double>> forms = {
        {"QXF-158|100|M", 3.2808}, {"QXF-158|100|m", 1}, {"QXF-158|100|", 1}, {"QXF-158|100|Feet", 1}};
    for (const auto& [argument, feetPerUnit] : forms) {
        SCOPED_TRACE(argument.toStdString());
        const ToolRun run = RunTool(DemoFileArgs() << "--part-number" << argument);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        const auto rows = TsvRows(run.Out);
        ASSERT_EQ(rows.size(), lines.size() + 1);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const double f = (lines[i].Begin + lines[i].End) / 2;
            const double a = CoaxAttenuation(lines[i], f);
            EXPECT_NEAR(std::stod(rows[i + 1][3]), f, 1e-9);
            EXPECT_EQ(rows[i + 1][4], Fixed2(a));
            EXPECT_EQ(rows[i + 1][6], Fixed2(a / 100 * 100 * feetPerUnit));
            EXPECT_EQ(rows[i + 1][12].front(), '$');
        }
    }
}

TEST(PartNumberForm, FailuresAndMisses)
{
    const std::vector<MessageCase> cases = {
        {"no second bar", {"--part-number", "QXF-158|100"}, 2, "error: '' is not a valid floating point value\n"},
        {"length not a number", {"--part-number", "QXF-158|abc|M"}, 2,
         "error: 'abc' is not a valid floating point value\n"},
        {"letter case differs", {"--part-number", "qxf-158"}, 1, kNoLines},
        {"unknown part number", {"--part-number", "NOPE|100|M"}, 1, kNoLines},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun run = RunTool(DemoFileArgs() << c.args);
        ASSERT_FALSE(run.Crashed);
        EXPECT_EQ(run.ExitCode, c.exitCode);
        EXPECT_EQ(run.Err, c.err);
        EXPECT_EQ(TsvRows(run.Out).size(), 1u);
    }
}

class QueryFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Write(const std::string& text)
    {
        const std::string path = PathIn(dir, "query.qlx");
        WriteBytes(path, text);
        return QString::fromStdString(path);
    }
    static std::vector<std::string> PartNumbers(const std::string& tsv)
    {
        std::vector<std::string> out;
        const auto rows = TsvRows(tsv);
        for (std::size_t i = 1; i < rows.size(); ++i) out.push_back(rows[i][0]);
        return out;
    }
    static std::vector<std::string> Expected(double begin, double end, const std::vector<std::string>& kinds)
    {
        std::vector<std::string> out;
        for (const DemoLine& line : DemoLines())
            if (line.Begin <= begin && line.End >= end &&
                std::find(kinds.begin(), kinds.end(), line.Kind) != kinds.end())
                out.push_back(line.PartNumber);
        return out;
    }
};

TEST_F(QueryFile, KeysFillThePageAndMissingKindsAreOff)
{
    const QString file = Write("[other]\r\nLength=999\r\n[DATA]\r\nbegfreq=824\r\nEndFreq=894\r\nLength=100\r\n"
                               "Units=F\r\nFoam=True\r\nByFreq=true\r\n");
    const ToolRun run = RunTool(DemoFileArgs() << "--query" << file);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(PartNumbers(run.Out), Expected(824, 894, {"FOAM"}));
    std::vector<DemoLine> lines = DemoLines();
    const auto rows = TsvRows(run.Out);
    const auto line = std::find_if(lines.begin(), lines.end(), [&](const DemoLine& l) {
        return l.PartNumber == rows[1][0] && l.Begin <= 824 && l.End >= 894;
    });
    ASSERT_NE(line, lines.end());
    EXPECT_EQ(rows[1][6], Fixed2(CoaxAttenuation(*line, 859)));  // 100 ft
}

TEST_F(QueryFile, FlagsOverrideTheFile)
{
    // --band ticks query by frequency although the file says False.
    const QString file = Write("[data]\r\nBegFreq=824\r\nEndFreq=894\r\nFoam=True\r\nByFreq=False\r\n");
    const ToolRun run = RunTool(DemoFileArgs() << "--query" << file << "--kinds" << "air,foam" << "--band" << "1850"
                                               << "1990");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(PartNumbers(run.Out), Expected(1850, 1990, {"AIR", "FOAM"}));
}

TEST_F(QueryFile, ByLossSwitchesQueryByFrequencyOnAndBadEntriesBecomeZero)
{
    // ByLoss on ticks ByFreq too; "Length=abc" gives the entry box's message and "0",
    // which the loss check then refuses.
    const QString file = Write("[data]\r\nBegFreq=824\r\nEndFreq=894\r\nMaxLoss=1\r\nLength=abc\r\nUnits=f\r\nFoam=yes\r\n"
                               "ByFreq=False\r\nByLoss=TRUE\r\n");
    const ToolRun run = RunTool(DemoFileArgs() << "--query" << file);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "information: This field must contain a numeric value.\n" + kLossWarning);

    // With a length given on the command line the same file runs.
    const ToolRun fixed = RunTool(DemoFileArgs() << "--query" << file << "--length" << "100");
    ASSERT_EQ(fixed.ExitCode, 0) << fixed.Err;
    EXPECT_EQ(fixed.Err, "information: This field must contain a numeric value.\n");
    std::vector<std::string> expected;
    for (const DemoLine& line : DemoLines())
        if (line.Begin <= 824 && line.End >= 894 && line.Kind == "FOAM" && CoaxAttenuation(line, 859) <= 1)
            expected.push_back(line.PartNumber);
    EXPECT_EQ(PartNumbers(fixed.Out), expected);
}

TEST_F(QueryFile, WithoutDataSectionEveryKindIsOff)
{
    const QString file = Write("[settings]\r\nFoam=True\r\n");
    const ToolRun run = RunTool(DemoFileArgs() << "--query" << file);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, kNoKind);
}

TEST_F(QueryFile, MissingFileIsAnError)
{
    const QString missing = dir.filePath("none.qlx");
    const ToolRun run = RunTool(DemoFileArgs() << "--query" << missing);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Err, "error: " + missing.toStdString() + ": cannot be read\n");
    EXPECT_EQ(run.Out, "");
}

}  // namespace
}  // namespace quillon::tooltest
