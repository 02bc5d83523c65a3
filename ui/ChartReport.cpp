#include "ui/ChartReport.h"

#include "chart/ChartPicture.h"

namespace quillon {
namespace {

constexpr double kContentWidthMm = kLetterWidthMm - 2 * kReportMarginMm;
constexpr double kHeadingMm = 12;
constexpr double kFigureLineMm = 5.5;
// The picture is laid out at the window's size and rendered three times as
// fine, about 370 dpi across the page.
constexpr qreal kPrintScale = 3;

}  // namespace

TReport ChartReport(const ChartPlan& plan, const QStringList& figures)
{
    TReport report;
    report.name = QStringLiteral("rptChart");
    report.jobName = QStringLiteral("Attenuation Chart");
    TReportBand band;
    band.elements.push_back(TReportElement::Label(QStringLiteral("Attenuation Against Frequency"),
                                                  {0, 0, kContentWidthMm, 0}, {14.0, true, Qt::black}));
    const double pictureHeight =
        kContentWidthMm * kChartPictureSize.height() / static_cast<double>(kChartPictureSize.width());
    band.elements.push_back(TReportElement::Picture(TChartPicture(plan).Image(kPrintScale),
                                                    {0, kHeadingMm, kContentWidthMm, pictureHeight}, false));
    double y = kHeadingMm + pictureHeight + 6;
    for (qsizetype i = 0; i < figures.size(); ++i) {
        band.elements.push_back(
            TReportElement::Label(figures[i], {0, y, kContentWidthMm, 0}, {10.0, i == 0, Qt::black}));
        y += kFigureLineMm;
    }
    band.height = y;
    report.title = band;
    return report;
}

}  // namespace quillon
