// The chart rendered offscreen: the curve's pixels lie in the plot area, the
// mark sits on the mid-band figure, the query band is shaded, the frequency
// axis can be logarithmic, and the PNG and SVG files read back.
#include "chart/ChartPicture.h"

#include "tests/chart/ChartTestLines.h"

#include <gtest/gtest.h>

#include <QCategoryAxis>
#include <QChart>
#include <QFile>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScatterSeries>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QValueAxis>

namespace quillon {
namespace {

using charttest::Coax;
using charttest::WaveguideBelowCutOff;

ChartPlan CoaxPlan(const TTransmissionLine& line, FrequencySpacing spacing = FrequencySpacing::Linear)
{
    InteractiveFillInputs inputs;
    inputs.BeginningFrequency = "880";
    inputs.EndingFrequency = "920";
    inputs.Length = "100";
    const RowBasis basis = InteractiveRowBasis(inputs, 10.0L);
    ChartRequest request;
    request.Lines.push_back(ChartLineFor(line, basis));
    request.Lines.back().Current = true;
    ApplyRowBasis(request, basis);
    request.Spacing = spacing;
    return PlanChart(request);
}

struct Pixels {
    int inside = 0, outside = 0;
    int left = INT_MAX, right = INT_MIN;
};

// Pixels of exactly this colour, counted inside the rectangle (the plot area)
// and outside it apart from the legend, where the line's marker shows it too.
Pixels PixelsOf(const QImage& image, QColor colour, QRectF inside, QRectF legend)
{
    Pixels p;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != colour.rgb()) continue;
            const QPointF at(x + 0.5, y + 0.5);
            if (inside.contains(at)) {
                ++p.inside;
                p.left = std::min(p.left, x);
                p.right = std::max(p.right, x);
            } else if (!legend.contains(at)) {
                ++p.outside;
            }
        }
    return p;
}

TEST(ChartPicture, CurveIsDrawnInsideThePlotAreaAcrossTheBand)
{
    const TTransmissionLine coax = Coax(800, 1000);
    const TChartPicture picture(CoaxPlan(coax));
    const QImage image = picture.Image();
    ASSERT_EQ(image.size(), kChartPictureSize);
    const QRectF plot = picture.Chart().plotArea();
    ASSERT_GT(plot.width(), 600);
    ASSERT_GT(plot.height(), 300);
    const QColor colour = ChartLineColour(0);
    // A pen's half width may reach past the area's edge where the curve ends.
    const Pixels p = PixelsOf(image, colour, plot.adjusted(-3, -3, 3, 3), picture.Chart().legend()->geometry());
    EXPECT_GT(p.inside, 500);
    EXPECT_EQ(p.outside, 0);
    // The band is the whole frequency axis: the curve spans it.
    EXPECT_LE(p.left, plot.left() + 3);
    EXPECT_GE(p.right, plot.right() - 3);

    // The mark sits on the mid-band figure: 900 MHz, 3.90 dB/100 ft.
    QScatterSeries* mark = picture.Series().MidBands.at(0);
    ASSERT_NE(mark, nullptr);
    ASSERT_EQ(mark->count(), 1);
    EXPECT_EQ(mark->at(0).x(), 900);
    EXPECT_NEAR(mark->at(0).y(), 3.9027, 1e-4);
    const QPointF centre = picture.Chart().mapToPosition(mark->at(0), mark);
    EXPECT_TRUE(plot.contains(centre));
    EXPECT_EQ(QColor(image.pixel(centre.toPoint())), colour);

    // The query band 880-920 MHz is shaded (a warm tint); the same height beside it is not.
    QLineSeries* curve = picture.Series().Curves.at(0).at(0);
    const double high = picture.Series().Value->max() * 0.95;
    const QColor inBand = image.pixel(picture.Chart().mapToPosition(QPointF(905, high), curve).toPoint());
    const QColor beside = image.pixel(picture.Chart().mapToPosition(QPointF(845, high), curve).toPoint());
    EXPECT_GT(inBand.red() - inBand.blue(), 40) << qPrintable(inBand.name());
    EXPECT_LT(std::abs(beside.red() - beside.blue()), 10) << qPrintable(beside.name());

    // The maximum-loss level: 10 dB over 100 ft is 10 dB/100 ft.
    ASSERT_NE(picture.Series().MaxLoss, nullptr);
    EXPECT_EQ(picture.Series().MaxLoss->at(0).y(), 10);
    EXPECT_EQ(picture.Series().MaxLoss->at(1).y(), 10);
    EXPECT_GE(picture.Series().Value->max(), 10);
}

TEST(ChartPicture, WaveguideSeriesHoldNoPointAtOrBelowCutOff)
{
    const TTransmissionLine waveguide = WaveguideBelowCutOff();
    const TChartPicture picture(CoaxPlan(waveguide));
    ASSERT_EQ(picture.Series().Curves.size(), 1u);
    int points = 0;
    for (const QLineSeries* run : picture.Series().Curves[0])
        for (const QPointF& p : run->points()) {
            EXPECT_GT(p.x(), 1000);
            ++points;
        }
    EXPECT_EQ(points, 160);
    EXPECT_EQ(picture.Series().MidBands.at(0), nullptr);  // 900 MHz is below cut-off: no figure, no mark
}

TEST(ChartPicture, LogarithmicFrequencyAxis)
{
    const TTransmissionLine coax = Coax(10, 1000);
    const TChartPicture picture(CoaxPlan(coax, FrequencySpacing::Logarithmic));
    auto* axis = qobject_cast<QLogValueAxis*>(picture.Series().Frequency);
    ASSERT_NE(axis, nullptr);
    EXPECT_EQ(axis->min(), 10);
    EXPECT_EQ(axis->max(), 1000);
    // 100 MHz, the geometric middle, lies halfway across.
    QLineSeries* curve = picture.Series().Curves.at(0).at(0);
    const QRectF plot = picture.Chart().plotArea();
    EXPECT_NEAR(picture.Chart().mapToPosition(QPointF(100, 1), curve).x(), plot.center().x(), 1.0);
    const Pixels p = PixelsOf(picture.Image(), ChartLineColour(0), plot.adjusted(-3, -3, 3, 3),
                              picture.Chart().legend()->geometry());
    EXPECT_GT(p.inside, 500);
    EXPECT_EQ(p.outside, 0);
}

// Qt labels a logarithmic axis at its base's powers only; the chart labels
// it at round frequencies, with a band inside one decade labelled in steps.
// (The lines' bands hold the query band, 880-920 MHz, so they set the axis.)
TEST(ChartPicture, LogarithmicAxisLabelsRoundFrequenciesAcrossAnySpan)
{
    struct Case {
        double begin, end;
        QStringList labels;
    };
    const Case cases[] = {
        {10, 1000, {"10", "20", "50", "100", "200", "500", "1000"}},
        {300, 3000, {"300", "400", "500", "600", "700", "800", "900", "1000", "2000", "3000"}},
        {850, 1000, {"850", "900", "950", "1000"}},
        {860, 940, {"860", "880", "900", "920", "940"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.begin);
        const TTransmissionLine coax = Coax(c.begin, c.end);
        const TChartPicture picture(CoaxPlan(coax, FrequencySpacing::Logarithmic));
        const QList<QAbstractAxis*> axes = picture.Chart().axes(Qt::Horizontal);
        QCategoryAxis* labels = nullptr;
        for (QAbstractAxis* axis : axes)
            if (auto* category = qobject_cast<QCategoryAxis*>(axis)) labels = category;
        ASSERT_NE(labels, nullptr);
        EXPECT_EQ(labels->categoriesLabels(), c.labels);
        // Each label stands where the logarithmic axis puts its frequency:
        // the labels' axis runs over the frequencies' logarithms.
        const QRectF plot = picture.Chart().plotArea();
        QLineSeries* curve = picture.Series().Curves.at(0).at(0);
        for (const QString& label : labels->categoriesLabels()) {
            const double at = (labels->endValue(label) - labels->min()) / (labels->max() - labels->min());
            EXPECT_NEAR(plot.left() + at * plot.width(), picture.Chart().mapToPosition(QPointF(label.toDouble(), 1), curve).x(),
                        0.5)
                << label.toStdString();
        }
    }
}

TEST(ChartPicture, FilesReadBackAsPngAndSvg)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TTransmissionLine coax = Coax(800, 1000);
    const ChartPlan plan = CoaxPlan(coax);
    for (const char* name : {"chart.png", "chart.SVG"}) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(QLatin1String(name));
        EXPECT_EQ(SaveChartPicture(plan, path), std::nullopt);
        if (IsSvgFileName(path)) {
            QSvgRenderer svg(path);
            ASSERT_TRUE(svg.isValid());
            EXPECT_EQ(svg.viewBox(), QRect(QPoint(0, 0), kChartPictureSize));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray text = file.readAll();
            EXPECT_TRUE(text.contains("ZK-100"));
            EXPECT_TRUE(text.contains("Frequency (MHz)"));
        } else {
            const QImage image(path);
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.size(), kChartPictureSize);
            EXPECT_EQ(image, TChartPicture(plan).Image().convertToFormat(image.format()));
        }
    }
    // A folder that is not there: the reason comes back and no file is left.
    const QString nowhere = dir.filePath(QStringLiteral("missing/chart.png"));
    const std::optional<QString> error = SaveChartPicture(plan, nowhere);
    ASSERT_TRUE(error);
    EXPECT_FALSE(error->isEmpty());
    EXPECT_FALSE(QFile::exists(nowhere));
}

}  // namespace
}  // namespace quillon
