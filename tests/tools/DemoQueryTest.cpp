// The tool on the bundled demo data, checked against figures computed here
// from the catalogue and price list with the loss and power laws.

#include "tests/tools/ToolTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <gtest/gtest.h>

#include <QFile>

#include <algorithm>
#include <cmath>

namespace quillon::tooltest {
namespace {

constexpr double kFeetPerMetre = 3.2808;

std::vector<DemoLine> Covering(double begin, double end)
{
    std::vector<DemoLine> out;
    for (const DemoLine& line : DemoLines())
        if (line.Begin <= begin && line.End >= end) out.push_back(line);
    return out;
}

double Rate(const std::string& code)
{
    for (const std::string& line : Lines(ReadBytes(DemoFile("xcngrate.dat")))) {
        const std::vector<std::string> f = PipeFields(line);
        if (f.size() >= 2 && f[0] == code) return std::stod(f[1]);
    }
    throw std::runtime_error("no rate for " + code);
}

TEST(DemoQuery, ListsEveryCoveringLineInFileOrderWithItsFigures)
{
    bool sawWaveguide = false;
    for (const auto& [begin, end] : {std::pair{824.0, 894.0}, std::pair{1850.0, 1990.0}}) {
        SCOPED_TRACE(begin);
        QStringList args = DemoFileArgs();
        args << "--band" << QString::number(begin) << QString::number(end) << "--length" << "500" << "--meters";
        const ToolRun run = RunTool(args);
        ASSERT_FALSE(run.Crashed);
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Err, "");
        const auto rows = TsvRows(run.Out);
        const std::vector<DemoLine> expected = Covering(begin, end);
        ASSERT_GT(expected.size(), 5u);
        ASSERT_EQ(rows.size(), expected.size() + 1);
        EXPECT_EQ(rows[0][12], "List Price Per Foot (USD)");
        EXPECT_EQ(rows[0][13], "List Price Per Meter (USD)");

        const double f = (begin + end) / 2;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const DemoLine& line = expected[i];
            const std::vector<std::string>& row = rows[i + 1];
            SCOPED_TRACE(line.PartNumber);
            ASSERT_EQ(row.size(), 14u);
            EXPECT_EQ(row[0], line.PartNumber);
            EXPECT_NEAR(std::stod(row[3]), f, 1e-9);
            const double a = DemoAttenuation(line, f);
            const double total = a / 100 * (500 * kFeetPerMetre);
            const double insertion = total + 2 * 0.05 * std::sqrt(f / 1000);
            EXPECT_EQ(row[4], Fixed2(a));
            EXPECT_EQ(row[5], Fixed2(a * kFeetPerMetre));
            EXPECT_EQ(row[6], Fixed2(total));
            EXPECT_EQ(row[7], Fixed2(insertion));
            EXPECT_EQ(row[8], Fixed2(std::pow(10.0, -insertion / 10) * 100));
            EXPECT_EQ(row[9], Fixed2(line.Peak));
            EXPECT_EQ(row[10], Fixed2(std::min(line.AvgConstant / a, line.Peak)));
            const double price = DemoPrice(line.PartNumber);
            EXPECT_EQ(row[12], "USD " + Fixed2(price));
            EXPECT_EQ(row[13], "USD " + Fixed2(price * kFeetPerMetre));
            sawWaveguide = sawWaveguide || line.Kind == "EW";
        }
    }
    EXPECT_TRUE(sawWaveguide) << "the bands should list an elliptical waveguide too";
}

TEST(DemoQuery, WithoutBandTheFirstEntriesOfTheSortedListsApply)
{
    // A freshly started window selects the lowest beginning and the lowest
    // ending frequency, with query by frequency ticked.
    double lowestBegin = 1e300;
    double lowestEnd = 1e300;
    for (const DemoLine& line : DemoLines()) {
        lowestBegin = std::min(lowestBegin, line.Begin);
        lowestEnd = std::min(lowestEnd, line.End);
    }
    const ToolRun run = RunTool(DemoFileArgs());
    ASSERT_FALSE(run.Crashed);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    const auto rows = TsvRows(run.Out);
    const std::vector<DemoLine> expected = Covering(lowestBegin, lowestEnd);
    ASSERT_EQ(rows.size(), expected.size() + 1);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(rows[i + 1][0], expected[i].PartNumber);
        EXPECT_NEAR(std::stod(rows[i + 1][3]), (lowestBegin + lowestEnd) / 2, 1e-9);
        EXPECT_EQ(rows[i + 1][6], "N/A");  // length "0"
    }
}

TEST(DemoQuery, DefaultFilesAreTheOnesBesideTheTool)
{
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const ToolRun explicitFiles = RunTool(DemoFileArgs() << "--band" << "824" << "894");
    const ToolRun defaults = RunTool({"--band", "824", "894"}, {}, elsewhere.path());
    ASSERT_EQ(explicitFiles.ExitCode, 0);
    EXPECT_EQ(defaults.ExitCode, 0) << defaults.Err;
    EXPECT_EQ(defaults.Out, explicitFiles.Out);
}

TEST(DemoQuery, CommaDecimalLocaleChangesNothing)
{
    if (!QLocale("de_DE").decimalPoint().startsWith(',')) GTEST_SKIP() << "no de_DE locale data";
    const QStringList args = DemoFileArgs() << "--band" << "824.5" << "894" << "--length" << "12.5";
    const ToolRun c = RunTool(args, {"LC_ALL=C"});
    const ToolRun de = RunTool(args, {"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"});
    ASSERT_EQ(c.ExitCode, 0) << c.Err;
    EXPECT_EQ(de.ExitCode, 0) << de.Err;
    EXPECT_EQ(de.Out, c.Out);
    EXPECT_NE(c.Out.find("\t859.25\t"), std::string::npos);
}

// RFC 4180 reader: quoted fields may hold commas, quotes (doubled) and line breaks.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text)
{
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') field += text[++i];
            else if (c == '"') quoted = false;
            else field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(field);
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            rows.back().push_back(field);
            field.clear();
            rows.emplace_back();
            ++i;
        } else {
            field += c;
        }
    }
    if (rows.back().empty()) rows.pop_back();
    return rows;
}

TEST(DemoQuery, CsvAndJsonCarryTheSameCellsAsTsv)
{
    const QStringList args = DemoFileArgs() << "--band" << "824" << "894" << "--length" << "100";
    const ToolRun tsv = RunTool(args);
    const ToolRun csv = RunTool(QStringList(args) << "--format" << "csv");
    const ToolRun json = RunTool(QStringList(args) << "--format" << "json");
    ASSERT_EQ(tsv.ExitCode, 0);
    ASSERT_EQ(csv.ExitCode, 0);
    ASSERT_EQ(json.ExitCode, 0);
    const auto rows = TsvRows(tsv.Out);
    ASSERT_GT(rows.size(), 1u);

    EXPECT_EQ(ParseCsv(csv.Out), rows);
    // Descriptions hold commas, so some fields must have been quoted.
    EXPECT_NE(csv.Out.find(",\""), std::string::npos);

    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json.Out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    ASSERT_TRUE(doc.isArray());
    const QJsonArray array = doc.array();
    ASSERT_EQ(static_cast<std::size_t>(array.size()), rows.size() - 1);
    for (qsizetype r = 0; r < array.size(); ++r) {
        const QJsonObject object = array[r].toObject();
        EXPECT_EQ(object.size(), 14);
        for (std::size_t c = 0; c < 14; ++c)
            EXPECT_EQ(object.value(QString::fromStdString(rows[0][c])).toString().toStdString(),
                      rows[static_cast<std::size_t>(r) + 1][c]);
    }
}

TEST(DemoQuery, CurrencyFollowsTheRateFileAndFallsBackToDollarsWithoutIt)
{
    const QStringList args = DemoFileArgs() << "--band" << "824" << "894" << "--currency" << "GBP";
    const ToolRun withRates = RunTool(args);
    ASSERT_EQ(withRates.ExitCode, 0) << withRates.Err;
    const auto rows = TsvRows(withRates.Out);
    ASSERT_GT(rows.size(), 1u);
    EXPECT_EQ(rows[0][12], "List Price Per Foot (GBP)");
    EXPECT_EQ(rows[0][13], "List Price Per Meter (GBP)");
    const double gbp = DemoPrice(rows[1][0]) / Rate("GBP");
    EXPECT_EQ(rows[1][12], "GBP " + Fixed2(gbp));
    EXPECT_EQ(rows[1][13], "GBP " + Fixed2(gbp * kFeetPerMetre));

    // Rates named but missing are an error; rates not named are looked for
    // beside the tool, and without them prices stay in US dollars, with a warning.
    QTemporaryDir empty;
    QStringList noRates = args;
    noRates[noRates.indexOf("--rates") + 1] = empty.filePath("xcngrate.dat");
    EXPECT_EQ(RunTool(noRates).ExitCode, 2);
    const QString tool = empty.filePath("quillon-query");
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLON_QUERY_TOOL), tool));
    noRates.remove(noRates.indexOf("--rates"), 2);
    const ToolRun withoutRates = RunToolAt(tool, noRates);
    ASSERT_EQ(withoutRates.ExitCode, 0) << withoutRates.Err;
    EXPECT_EQ(withoutRates.Err, "warning: " + empty.filePath("xcngrate.dat").toStdString() +
                                    ": no such file; prices stay in US dollars, not GBP\n");
    const auto usdRows = TsvRows(withoutRates.Out);
    EXPECT_EQ(usdRows[0][12], "List Price Per Foot (USD)");
    EXPECT_EQ(usdRows[1][12], "USD " + Fixed2(DemoPrice(rows[1][0])));
}

}  // namespace
}  // namespace quillon::tooltest
