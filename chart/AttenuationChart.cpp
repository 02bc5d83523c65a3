#include "chart/AttenuationChart.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScatterSeries>
#include <QValueAxis>

#include <array>
#include <cmath>

namespace quillon {
namespace {

QString Text(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

void HideFromLegend(QChart& chart, QAbstractSeries* series)
{
    for (QLegendMarker* marker : chart.legend()->markers(series)) marker->setVisible(false);
}

// A round step (1, 2 or 5 times a power of ten) giving at most six ticks
// across the span (a small chart has room for no more labels), so a band of
// 824-894 MHz reads 840, 860, 880.
double RoundStep(double span)
{
    const double power = std::pow(10.0, std::floor(std::log10(span / 5)));
    double step = power;
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        step = factor * power;
        if (span / step <= 6) break;
    }
    return step;
}

void RoundTicks(QValueAxis& axis, double min, double max)
{
    const double span = max - min;
    if (!(span > 0)) return;
    const double step = RoundStep(span);
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(std::ceil(min / step) * step);
    axis.setTickInterval(step);
    axis.setLabelFormat(QStringLiteral("%.6g"));
}

// Frequencies to label on a logarithmic axis from min to max: the 1-2-5
// steps of each decade, or every whole multiple of the decade's power when
// the span is short enough that those would leave the axis nearly bare. A
// band inside one decade (1700-2300 MHz) would still get one label or none:
// there the axis is all but linear, and takes the linear axis's round steps.
struct LogLabels {
    std::vector<double> Frequencies;
    bool RoundSteps = false;  // the linear steps, which the logarithmic grid does not meet
};

LogLabels LogLabelFrequencies(double min, double max)
{
    LogLabels out;
    if (!(min > 0) || !(max > min)) return out;
    const bool fine = max / min < 20;
    for (double decade = std::pow(10.0, std::floor(std::log10(min))); decade <= max; decade *= 10)
        for (int m = 1; m <= 9; ++m) {
            if (!fine && m != 1 && m != 2 && m != 5) continue;
            const double f = m * decade;
            if (f >= min * (1 - 1e-12) && f <= max * (1 + 1e-12)) out.Frequencies.push_back(f);
        }
    if (out.Frequencies.size() >= 3) return out;
    out.Frequencies.clear();
    out.RoundSteps = true;
    const double step = RoundStep(max - min);
    const double first = std::ceil(min / step) * step;
    for (int i = 0; first + i * step <= max * (1 + 1e-12); ++i) out.Frequencies.push_back(first + i * step);
    return out;
}

// Qt's logarithmic axis labels only the powers of its base, so a band inside
// one decade would show one label or none. The labels come from a category
// axis laid over it, whose linear range is the logarithm of the frequencies:
// it maps every frequency to the same place as the logarithmic axis does.
// Where the labels are the linear steps, the grid follows them instead of the
// logarithmic axis's decades.
QCategoryAxis* LogFrequencyLabels(QLogValueAxis& axis, double min, double max)
{
    auto* labels = new QCategoryAxis;
    labels->setRange(std::log10(min), std::log10(max));
    labels->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const LogLabels frequencies = LogLabelFrequencies(min, max);
    labels->setGridLineVisible(frequencies.RoundSteps);
    axis.setGridLineVisible(!frequencies.RoundSteps);
    axis.setMinorGridLineVisible(!frequencies.RoundSteps);
    for (double f : frequencies.Frequencies) labels->append(QString::number(f, 'g', 6), std::log10(f));
    return labels;
}

void Attach(QChart& chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y)
{
    chart.addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

}  // namespace

QColor ChartLineColour(int index)
{
    static const std::array<QColor, kMaxChartLines> colours{
        QColor(0x1f, 0x4e, 0xb4), QColor(0xe0, 0x6c, 0x00), QColor(0x1a, 0x93, 0x3a), QColor(0xc8, 0x1e, 0x2b),
        QColor(0x7b, 0x3f, 0xb0), QColor(0x8a, 0x55, 0x2a), QColor(0xd4, 0x3f, 0xa8), QColor(0x10, 0x9a, 0xa8),
    };
    return colours[static_cast<std::size_t>(index) % colours.size()];
}

ChartSeries DrawAttenuationChart(QChart& chart, const ChartPlan& plan)
{
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
    chart.setAnimationOptions(QChart::NoAnimation);
    chart.setBackgroundBrush(Qt::white);
    chart.setBackgroundRoundness(0);
    // Room at the right for the last frequency label, which is centred on the axis end.
    chart.setMargins(QMargins(4, 2, 20, 2));
    chart.layout()->setContentsMargins(0, 0, 0, 0);
    chart.legend()->setAlignment(Qt::AlignTop);
    chart.legend()->setVisible(true);

    ChartSeries out;
    const bool log = plan.Spacing == FrequencySpacing::Logarithmic;
    if (log) {
        auto* axis = new QLogValueAxis;
        axis->setBase(10);
        axis->setMinorTickCount(8);
        axis->setRange(plan.XMin, plan.XMax);
        axis->setLabelsVisible(false);
        axis->setLineVisible(false);
        out.Frequency = axis;
    } else {
        auto* axis = new QValueAxis;
        axis->setRange(plan.XMin, plan.XMax);
        RoundTicks(*axis, plan.XMin, plan.XMax);
        out.Frequency = axis;
    }
    out.Value = new QValueAxis;
    out.Value->setTitleText(Text(plan.ValueTitle));
    out.Value->setRange(plan.YMin, plan.YMax);
    out.Value->applyNiceNumbers();
    out.Value->setLabelFormat(QStringLiteral("%.4g"));
    chart.addAxis(out.Frequency, Qt::AlignBottom);
    chart.addAxis(out.Value, Qt::AlignLeft);
    QAbstractAxis* titled = out.Frequency;
    if (log) {
        titled = LogFrequencyLabels(*static_cast<QLogValueAxis*>(out.Frequency), plan.XMin, plan.XMax);
        chart.addAxis(titled, Qt::AlignBottom);
    }
    titled->setTitleText(Text(plan.FrequencyTitle));
    // Titles as large as the labels, so a chart in a small panel still
    // shows them whole.
    for (QAbstractAxis* axis : {titled, static_cast<QAbstractAxis*>(out.Value)}) {
        QFont font = axis->titleFont();
        font.setPointSizeF(axis->labelsFont().pointSizeF());
        axis->setTitleFont(font);
    }
    const double top = out.Value->max();
    const double bottom = out.Value->min();

    // The query band first, so every curve lies over it.
    if (plan.ShadedBand) {
        auto* upper = new QLineSeries;
        auto* lower = new QLineSeries;
        upper->append(plan.ShadedBand->first, top);
        upper->append(plan.ShadedBand->second, top);
        lower->append(plan.ShadedBand->first, bottom);
        lower->append(plan.ShadedBand->second, bottom);
        out.Band = new QAreaSeries(upper, lower);
        // The area does not own its edges; as its children they go with it
        // when the chart is drawn anew or destroyed.
        upper->setParent(out.Band);
        lower->setParent(out.Band);
        out.Band->setObjectName(QStringLiteral("band"));
        out.Band->setName(QStringLiteral("Query Band"));
        out.Band->setBrush(QColor(255, 214, 102, 110));
        out.Band->setPen(Qt::NoPen);
        Attach(chart, out.Band, out.Frequency, out.Value);
    }

    for (std::size_t i = 0; i < plan.Curves.size(); ++i) {
        const ChartCurve& curve = plan.Curves[i];
        const QColor colour = ChartLineColour(static_cast<int>(i));
        QPen pen(colour);
        pen.setWidthF(curve.Current ? 3.5 : 2.0);
        // Qt Charts draws a solid line segment by segment, and the ends of
        // the segments overlap at every point, a beaded look; a pen of one
        // dash longer than any curve draws it as one path.
        pen.setDashPattern({1e5, 1});
        std::vector<QLineSeries*> runs;
        // An empty run still carries the part number into the legend.
        const std::size_t count = std::max<std::size_t>(curve.Segments.size(), 1);
        for (std::size_t k = 0; k < count; ++k) {
            auto* series = new QLineSeries;
            series->setObjectName(QStringLiteral("curve%1.%2").arg(i).arg(k));
            series->setName(Text(curve.PartNumber));
            series->setPen(pen);
            if (k < curve.Segments.size())
                for (const ChartPoint& p : curve.Segments[k]) series->append(p.Frequency, p.Value);
            Attach(chart, series, out.Frequency, out.Value);
            if (k > 0) HideFromLegend(chart, series);
            runs.push_back(series);
        }
        out.Curves.push_back(std::move(runs));

        QScatterSeries* mark = nullptr;
        if (curve.MidBand) {
            mark = new QScatterSeries;
            mark->setObjectName(QStringLiteral("midBand%1").arg(i));
            mark->setName(Text(curve.PartNumber) + QStringLiteral(" Mid Band"));
            mark->setMarkerShape(QScatterSeries::MarkerShapeCircle);
            mark->setMarkerSize(curve.Current ? 11 : 9);
            mark->setColor(colour);
            mark->setBorderColor(Qt::black);
            mark->append(curve.MidBand->Frequency, curve.MidBand->Value);
            Attach(chart, mark, out.Frequency, out.Value);
            HideFromLegend(chart, mark);
        }
        out.MidBands.push_back(mark);
    }

    if (plan.MaxLossLevel) {
        out.MaxLoss = new QLineSeries;
        out.MaxLoss->setObjectName(QStringLiteral("maxLoss"));
        out.MaxLoss->setName(QStringLiteral("Loss Limit"));
        QPen pen(QColor(0x40, 0x40, 0x40));
        pen.setWidthF(1.5);
        pen.setStyle(Qt::DashLine);
        out.MaxLoss->setPen(pen);
        out.MaxLoss->append(plan.XMin, *plan.MaxLossLevel);
        out.MaxLoss->append(plan.XMax, *plan.MaxLossLevel);
        Attach(chart, out.MaxLoss, out.Frequency, out.Value);
    }
    return out;
}

}  // namespace quillon
