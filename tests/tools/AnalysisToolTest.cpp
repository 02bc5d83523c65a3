// The tool's curve, picture and band-edge columns on the demo data: curves
// against the loss laws worked here and against the results' own mid-band
// cell, pictures read back as PNG and SVG with no display, and the edge
// columns against the engine's cells and figures worked by hand.

#include "tests/tools/ToolTestSupport.h"

#include "engine/AnalysisColumns.h"
#include "engine/DataSet.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace quillon::tooltest {
namespace {

const std::string kTryHelp = "Try 'quillon-query --help' for more information.\n";
constexpr double kFeetPerMetre = 3.2808;

DemoLine FirstDemoLine(const std::string& partNumber)
{
    for (const DemoLine& line : DemoLines())
        if (line.PartNumber == partNumber) return line;
    throw std::runtime_error("no demo line " + partNumber);
}

ToolRun Curve(const QStringList& args) { return RunTool(DemoFileArgs() << "--curve" << args); }

// Curve cells are in the general format: 15 significant digits.
void ExpectCurveRow(const std::vector<std::string>& row, const DemoLine& line, double f)
{
    ASSERT_EQ(row.size(), 3u);
    EXPECT_NEAR(std::stod(row[0]), f, std::abs(f) * 1e-14);
    const double a = DemoAttenuation(line, f);
    EXPECT_NEAR(std::stod(row[1]), a, a * 1e-13);
    EXPECT_NEAR(std::stod(row[2]), a * kFeetPerMetre, a * 1e-13);
}

TEST(CurveTool, DefaultsRunAcrossTheLinesOwnBandWithTheResultsMidBandInTheMiddle)
{
    for (const char* partNumber : {"QXF-050", "QXW-A13"}) {
        SCOPED_TRACE(partNumber);
        const DemoLine line = FirstDemoLine(partNumber);
        const ToolRun run = Curve({partNumber});
        ASSERT_FALSE(run.Crashed);
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Err, "");
        const auto rows = TsvRows(run.Out);
        ASSERT_EQ(rows.size(), 102u);
        EXPECT_EQ(rows[0], (std::vector<std::string>{"Frequency (MHz)", "Attenuation (dB/100 ft)",
                                                      "Attenuation (dB/100m)"}));
        for (std::size_t i = 1; i < rows.size(); ++i)
            ExpectCurveRow(rows[i], line, line.Begin + (line.End - line.Begin) * static_cast<double>(i - 1) / 100);

        // The middle point is the line's mid-band, and rounds to the results'
        // column 5 for the same line over its own band.
        const ToolRun results = RunTool(DemoFileArgs() << "--part-number" << QString(partNumber) + "|100|F");
        ASSERT_EQ(results.ExitCode, 0) << results.Err;
        const auto resultRows = TsvRows(results.Out);
        ASSERT_GE(resultRows.size(), 2u);
        EXPECT_EQ(rows[51][0], resultRows[1][3]);  // column 4, general format
        EXPECT_EQ(Fixed2(std::stod(rows[51][1])), resultRows[1][4]);
        EXPECT_EQ(Fixed2(std::stod(rows[51][2])), resultRows[1][5]);
    }
}

TEST(CurveTool, RangePointsLogarithmicSpacingAndNoValueBelowCutOff)
{
    const DemoLine coax = FirstDemoLine("QXF-050");
    const ToolRun log = Curve({"QXF-050", "--from", "10", "--to", "1000", "--points", "5", "--log"});
    ASSERT_EQ(log.ExitCode, 0) << log.Err;
    const auto logRows = TsvRows(log.Out);
    ASSERT_EQ(logRows.size(), 6u);
    const double expected[] = {10, 10 * std::sqrt(10.0), 100, 100 * std::sqrt(10.0), 1000};
    for (std::size_t i = 0; i < 5; ++i) ExpectCurveRow(logRows[i + 1], coax, expected[i]);
    EXPECT_EQ(logRows[1][0], "10");
    EXPECT_EQ(logRows[5][0], "1000");

    // QXW-A10 has its cut-off at 1000 MHz: no value there or below, "N/A" in both units.
    const DemoLine waveguide = FirstDemoLine("QXW-A10");
    ASSERT_EQ(waveguide.A, 1000);
    const ToolRun cut = Curve({"QXW-A10", "--from", "500", "--to", "1500", "--points", "5"});
    ASSERT_EQ(cut.ExitCode, 0) << cut.Err;
    const auto cutRows = TsvRows(cut.Out);
    ASSERT_EQ(cutRows.size(), 6u);
    for (std::size_t i = 1; i <= 3; ++i)
        EXPECT_EQ(cutRows[i], (std::vector<std::string>{cutRows[i][0], "N/A", "N/A"}));
    EXPECT_EQ(cutRows[3][0], "1000");
    ExpectCurveRow(cutRows[4], waveguide, 1250);
    ExpectCurveRow(cutRows[5], waveguide, 1500);
}

TEST(CurveTool, CsvAndJsonCarryTheSameCells)
{
    const QStringList args{"QXW-A10", "--from", "900", "--to", "1100", "--points", "3"};
    const auto tsv = TsvRows(Curve(args).Out);
    ASSERT_EQ(tsv.size(), 4u);
    const ToolRun csv = Curve(QStringList(args) << "--format" << "csv");
    ASSERT_EQ(csv.ExitCode, 0);
    const std::vector<std::string> csvLines = Lines(csv.Out);
    ASSERT_EQ(csvLines.size(), 4u);
    EXPECT_NE(csv.Out.find("\r\n"), std::string::npos);
    for (std::size_t i = 0; i < 4; ++i) {
        std::string joined;
        for (std::size_t c = 0; c < 3; ++c) joined += (c ? "," : "") + tsv[i][c];
        EXPECT_EQ(csvLines[i], joined);
    }
    const ToolRun json = Curve(QStringList(args) << "--format" << "json");
    ASSERT_EQ(json.ExitCode, 0);
    const QJsonArray array = QJsonDocument::fromJson(QByteArray::fromStdString(json.Out)).array();
    ASSERT_EQ(array.size(), 3);
    for (qsizetype r = 0; r < 3; ++r)
        for (std::size_t c = 0; c < 3; ++c)
            EXPECT_EQ(array[r].toObject()[QString::fromStdString(tsv[0][c])].toString().toStdString(),
                      tsv[static_cast<std::size_t>(r) + 1][c]);
    EXPECT_EQ(tsv[1][1], "N/A");  // 900 MHz lies below QXW-A10's cut-off
}

TEST(CurveTool, UnknownPartNumbersAndBadRanges)
{
    struct Case {
        const char* name;
        QStringList args;
        int exitCode;
        std::string err;  // empty: any usage error with the hint
    };
    const Case cases[] = {
        {"unknown part number", {"--curve", "NOPE"}, 1, "error: No catalogue line has the part number 'NOPE'\n"},
        {"letter case differs", {"--curve", "qxf-050"}, 1,
         "error: No catalogue line has the part number 'qxf-050'\n"},
        {"from above to", {"--curve", "QXF-050", "--from", "900", "--to", "800"}, 2,
         "error: the first frequency (900) is above the last (800)\n" + kTryHelp},
        {"from above the band's end", {"--curve", "QXF-050", "--from", "40"}, 2,
         "error: the first frequency (40) is above the last (30)\n"},
        {"one point", {"--curve", "QXF-050", "--points", "1"}, 2, ""},
        {"points not whole", {"--curve", "QXF-050", "--points", "1.5"}, 2, ""},
        {"too many points", {"--curve", "QXF-050", "--points", "100001"}, 2, ""},
        {"log from zero", {"--curve", "QXF-050", "--log", "--from", "0", "--to", "10"}, 2,
         "error: --log needs frequencies above 0\n" + kTryHelp},
        {"log from below zero", {"--curve", "QXF-050", "--log", "--from", "-5"}, 2, ""},
        {"from not a number", {"--curve", "QXF-050", "--from", "abc"}, 2,
         "error: 'abc' is not a valid floating point value\n" + kTryHelp},
        {"from without curve", {"--from", "5"}, 2, "error: --from needs --curve\n" + kTryHelp},
        {"log without curve or plot", {"--log"}, 2, ""},
        {"curve with a band", {"--curve", "QXF-050", "--band", "824", "894"}, 2, ""},
        {"curve with edges", {"--curve", "QXF-050", "--edges"}, 2, ""},
        {"curve with a part number", {"--curve", "QXF-050", "--part-number", "QXF-050"}, 2, ""},
        {"picture of no known kind", {"--curve", "QXF-050", "--plot", "chart.gif"}, 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun run = RunTool(DemoFileArgs() << c.args);
        ASSERT_FALSE(run.Crashed);
        EXPECT_EQ(run.ExitCode, c.exitCode);
        EXPECT_EQ(run.Out, "");
        if (!c.err.empty()) {
            EXPECT_EQ(run.Err, c.err);
        } else {
            EXPECT_EQ(run.Err.rfind("error: ", 0), 0u) << run.Err;
            EXPECT_TRUE(run.Err.ends_with(kTryHelp)) << run.Err;
        }
    }
}

// The SVG as XML: its size, and the texts it draws.
struct SvgRead {
    QString viewBox;
    QStringList texts;
    int paths = 0;
    bool wellFormed = false;
};

SvgRead ReadSvg(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    SvgRead out;
    if (!file.open(QIODevice::ReadOnly)) return out;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (!xml.readNext() || !xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("svg")) out.viewBox = xml.attributes().value("viewBox").toString();
        if (xml.name() == QLatin1String("path") || xml.name() == QLatin1String("polyline")) ++out.paths;
        if (xml.name() == QLatin1String("text")) out.texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }
    out.wellFormed = !xml.hasError();
    return out;
}

// With no display at all (and a platform asked for that needs one), the tool
// draws offscreen: the pictures read back, standard error stays quiet and the
// table on standard output is what it is without a picture.
TEST(PlotTool, WritesReadablePicturesWithoutADisplay)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList noDisplay{"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=xcb"};
    const QStringList query = DemoFileArgs() << "--band" << "1850" << "1990" << "--kinds" << "foam,ew" << "--length"
                                             << "200" << "--max-loss" << "6";
    const ToolRun plain = RunTool(query);
    ASSERT_EQ(plain.ExitCode, 0) << plain.Err;
    const std::size_t listed = TsvRows(plain.Out).size() - 1;
    ASSERT_GE(listed, 3u);
    ASSERT_LE(listed, 8u);

    const std::string png = PathIn(dir, "lines.png");
    const ToolRun drawn = RunTool(QStringList(query) << "--plot" << QString::fromStdString(png), noDisplay);
    ASSERT_FALSE(drawn.Crashed);
    EXPECT_EQ(drawn.ExitCode, 0) << drawn.Err;
    EXPECT_EQ(drawn.Err, "");
    EXPECT_EQ(drawn.Out, plain.Out);
    const QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1000, 600));
    // Lines are drawn: many pixels are neither white nor grey.
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 60) ++coloured;
        }
    EXPECT_GT(coloured, 2000);

    const std::string svg = PathIn(dir, "curve.svg");
    const ToolRun curve = RunTool(DemoFileArgs() << "--curve" << "QXW-A10" << "--from" << "500" << "--to" << "3000"
                                                 << "--log" << "--plot" << QString::fromStdString(svg),
                                  noDisplay);
    ASSERT_FALSE(curve.Crashed);
    EXPECT_EQ(curve.ExitCode, 0) << curve.Err;
    EXPECT_EQ(curve.Err, "");
    const SvgRead read = ReadSvg(svg);
    EXPECT_TRUE(read.wellFormed);
    EXPECT_EQ(read.viewBox, QStringLiteral("0 0 1000 600"));
    EXPECT_TRUE(read.texts.contains(QStringLiteral("QXW-A10"))) << read.texts.join('|').toStdString();
    EXPECT_TRUE(read.texts.contains(QStringLiteral("Frequency (MHz)")));
    EXPECT_TRUE(read.texts.contains(QStringLiteral("Attenuation (dB/100 ft)")));
    EXPECT_TRUE(read.texts.contains(QStringLiteral("2000")));  // a label of the logarithmic axis
    EXPECT_GT(read.paths, 5);
}

TEST(PlotTool, DrawsTheFirstEightLinesAndReportsAPictureItCannotWrite)
{
    QTemporaryDir dir;
    const std::string png = PathIn(dir, "many.png");
    const ToolRun many =
        RunTool(DemoFileArgs() << "--band" << "824" << "894" << "--plot" << QString::fromStdString(png));
    ASSERT_EQ(many.ExitCode, 0);
    const std::size_t listed = TsvRows(many.Out).size() - 1;
    ASSERT_GT(listed, 8u);
    EXPECT_EQ(many.Err, "warning: The chart shows the first 8 of the " + std::to_string(listed) + " lines listed.\n");
    EXPECT_FALSE(QImage(QString::fromStdString(png)).isNull());

    const std::string nowhere = PathIn(dir, "missing/chart.png");
    const ToolRun failed = RunTool(DemoFileArgs() << "--curve" << "QXF-050" << "--plot" << QString::fromStdString(nowhere));
    EXPECT_EQ(failed.ExitCode, 2);
    EXPECT_EQ(failed.Err.rfind("error: " + nowhere + ": ", 0), 0u) << failed.Err;
    EXPECT_EQ(TsvRows(failed.Out).size(), 102u);  // the curve itself was printed
    EXPECT_FALSE(QFile::exists(QString::fromStdString(nowhere)));

    // A query that lists nothing draws nothing.
    const std::string none = PathIn(dir, "none.png");
    const ToolRun empty = RunTool(DemoFileArgs() << "--band" << "1" << "100000" << "--plot" << QString::fromStdString(none));
    EXPECT_EQ(empty.ExitCode, 1);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(none)));
}

// With --sort the chart draws the first eight lines as the answer lists
// them, cheapest first, not the first eight of the catalogue.
TEST(PlotTool, DrawsTheFirstEightLinesInTheOrderListed)
{
    QTemporaryDir dir;
    const std::string svg = PathIn(dir, "cheapest.svg");
    const ToolRun sorted = RunTool(DemoFileArgs() << "--band" << "824" << "894" << "--sort"
                                                  << "List Price Per Foot (USD)" << "--plot" << QString::fromStdString(svg));
    ASSERT_EQ(sorted.ExitCode, 0) << sorted.Err;
    const auto rows = TsvRows(sorted.Out);
    ASSERT_GT(rows.size(), 9u);
    const SvgRead read = ReadSvg(svg);
    ASSERT_TRUE(read.wellFormed);
    QStringList drawn, notDrawn;
    for (std::size_t r = 1; r < rows.size(); ++r)
        (read.texts.contains(QString::fromStdString(rows[r][0])) ? drawn : notDrawn) << QString::fromStdString(rows[r][0]);
    QStringList firstEight;
    for (std::size_t r = 1; r <= 8; ++r) firstEight << QString::fromStdString(rows[r][0]);
    EXPECT_EQ(drawn.join(' ').toStdString(), firstEight.join(' ').toStdString()) << "not drawn: " << notDrawn.join(' ').toStdString();
}

// The pictures are drawn by a module beside the tool. A copy of the tool
// without it, or with a file in its place that is not the module, still
// answers the query, and then fails as a picture that cannot be written
// does: its reason on standard error, exit 2, no file.
TEST(PlotTool, WithoutItsChartModuleAnswersAndFailsThePicture)
{
    const QStringList query = DemoFileArgs() << "--curve" << "QXF-050";
    const ToolRun plain = RunTool(query);
    ASSERT_EQ(plain.ExitCode, 0) << plain.Err;

    struct Case {
        const char* name;
        const char* module;  // "" none; "bytes:..." a file of these bytes; else a file to copy
        const char* reason;  // the end of the error
    };
    const Case cases[] = {
        {"missing", "", "cannot open shared object file: No such file or directory\n"},
        {"not a library", "bytes:A note where the module was, long enough to be read as a library's header.\n",
         ": invalid ELF header\n"},
        {"another build's module", QUILLON_FOREIGN_PLOT_MODULE, "not the chart module of this quillon-query\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString tool = dir.filePath("quillon-query");
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLON_QUERY_TOOL), tool));
        const std::string module = PathIn(dir, "quillon-plot.so");
        const std::string kind = c.module;
        if (kind.rfind("bytes:", 0) == 0) {
            WriteBytes(module, kind.substr(6));
        } else if (!kind.empty()) {
            ASSERT_TRUE(QFile::copy(QString::fromStdString(kind), QString::fromStdString(module)));
        }

        const std::string png = PathIn(dir, "chart.png");
        const ToolRun run = RunToolAt(tool, QStringList(query) << "--plot" << QString::fromStdString(png));
        ASSERT_FALSE(run.Crashed);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_EQ(run.Out, plain.Out);
        const std::string start = "error: " + png + ": the chart module could not be loaded: " + module;
        EXPECT_EQ(run.Err.rfind(start, 0), 0u) << run.Err;
        EXPECT_NE(run.Err.find(c.reason, start.size()), std::string::npos) << run.Err;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(png)));

        // Without --plot the copy needs no module at all.
        const ToolRun withoutPicture = RunToolAt(tool, query);
        EXPECT_EQ(withoutPicture.ExitCode, 0) << withoutPicture.Err;
        EXPECT_EQ(withoutPicture.Out, plain.Out);
    }
}

class EdgesTool : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string folder = QUILLON_DEMO_DIR;
        ASSERT_TRUE(LoadDataSet(DataSetPathsIn(folder, folder), data).Loaded());
    }
    static const TTransmissionLine* CatalogueLine(const std::string& partNumber, double begin)
    {
        for (const TTransmissionLine* line : data.catalogue.Lines())
            if (line->PartNumber == partNumber && line->BeginFrequency == begin) return line;
        return nullptr;
    }
    static inline DataSet data;
};

// The three columns follow the fourteen, which stay as they are, and hold the
// engine's cells for each row's line over the query band.
TEST_F(EdgesTool, QueryRowsCarryTheEnginesEdgeCells)
{
    for (const bool feet : {true, false}) {
        SCOPED_TRACE(feet ? "feet" : "metres");
        const QStringList query = DemoFileArgs() << "--band" << "1850" << "1990" << "--length" << "200"
                                                 << (feet ? "--feet" : "--meters");
        const auto plain = TsvRows(RunTool(query).Out);
        const ToolRun run = RunTool(QStringList(query) << "--edges");
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Err, "");
        const auto rows = TsvRows(run.Out);
        ASSERT_EQ(rows.size(), plain.size());
        ASSERT_GT(rows.size(), 5u);
        EXPECT_EQ(std::vector<std::string>(rows[0].begin() + 14, rows[0].end()),
                  (std::vector<std::string>{"Attenuation At Band Start (dB/100 ft)",
                                            "Attenuation At Band End (dB/100 ft)", "Worst Insertion Loss (dB)"}));
        InteractiveFillInputs inputs;
        inputs.BeginningFrequency = "1850";
        inputs.EndingFrequency = "1990";
        inputs.Length = "200";
        inputs.Feet = feet;
        const RowBasis basis = InteractiveRowBasis(inputs, std::nullopt);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            ASSERT_EQ(rows[r].size(), 17u);
            EXPECT_EQ(std::vector<std::string>(rows[r].begin(), rows[r].begin() + 14), plain[r]);
            if (r == 0) continue;
            const std::string band = rows[r][1];
            const TTransmissionLine* line = CatalogueLine(rows[r][0], std::stod(band.substr(0, band.find('-'))));
            ASSERT_NE(line, nullptr) << rows[r][0];
            const auto cells = EdgeCells(*line, basis);
            EXPECT_EQ(std::vector<std::string>(rows[r].begin() + 14, rows[r].end()),
                      std::vector<std::string>(cells.begin(), cells.end()))
                << rows[r][0];
        }
    }
}

TEST_F(EdgesTool, HandWorkedWaveguideWorstAtTheBandStartAndTheNotApplicableCells)
{
    // QXW-A13 (A = 1360, B = 750) over 1850-1990 MHz, 200 ft:
    // at 1850: u = ln(1850/1360 - 1) = -1.02083, 0.75 x e^(u (0.09557 u - 0.13127)) = 0.94735 dB/100 ft;
    // at 1990: u = -0.76957, 0.87805 dB/100 ft; the start is the worse edge:
    // 0.94735 x 2 + 0.05 x 2 x sqrt(1.85) = 1.89470 + 0.13601 = 2.03071 dB.
    auto rowOf = [](const ToolRun& run, const std::string& partNumber) {
        for (const auto& row : TsvRows(run.Out))
            if (!row.empty() && row[0] == partNumber) return row;
        return std::vector<std::string>{};
    };
    const QStringList query = DemoFileArgs() << "--band" << "1850" << "1990" << "--edges";
    const auto row = rowOf(RunTool(QStringList(query) << "--length" << "200"), "QXW-A13");
    ASSERT_EQ(row.size(), 17u);
    EXPECT_EQ(row[14], "0.95");
    EXPECT_EQ(row[15], "0.88");
    EXPECT_EQ(row[16], "2.03");

    // A zero length: the results show "N/A" for the run's losses, and so does the worst insertion loss.
    const auto zero = rowOf(RunTool(query), "QXW-A13");
    ASSERT_EQ(zero.size(), 17u);
    EXPECT_EQ(zero[7], "N/A");
    EXPECT_EQ(std::vector<std::string>(zero.begin() + 14, zero.end()),
              (std::vector<std::string>{"0.95", "0.88", "N/A"}));

    // The command line's rows stand on the line's own band; without a length they show no figures.
    const auto own = TsvRows(RunTool(DemoFileArgs() << "--part-number" << "QXW-A13|200|F" << "--edges").Out);
    ASSERT_EQ(own.size(), 2u);
    const TTransmissionLine* line = CatalogueLine("QXW-A13", 1850);
    ASSERT_NE(line, nullptr);
    const auto cells = EdgeCells(*line, *CommandLineRowBasis(*line, "QXW-A13|200|F"));
    EXPECT_EQ(std::vector<std::string>(own[1].begin() + 14, own[1].end()),
              std::vector<std::string>(cells.begin(), cells.end()));
    const auto bare = TsvRows(RunTool(DemoFileArgs() << "--part-number" << "QXW-A13" << "--edges").Out);
    ASSERT_EQ(bare.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(bare[1].begin() + 14, bare[1].end()), (std::vector<std::string>{"", "", ""}));
}

}  // namespace
}  // namespace quillon::tooltest
