#pragma once
// Pictures of the attenuation chart away from any window: a chart drawn from
// the plan on a scene of its own, rendered to an image or to SVG, and written
// to a PNG or SVG file. The window copies, saves and prints these; the
// headless tool writes them.

#include "chart/AttenuationChart.h"

#include <QByteArray>
#include <QGraphicsScene>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace quillon {

// The size a saved chart is laid out at, in pixels (SVG: user units).
inline constexpr QSize kChartPictureSize{1000, 600};

// A chart laid out at a fixed size on a scene of its own (it needs a
// QApplication, as every Qt Charts chart does).
class TChartPicture {
public:
    explicit TChartPicture(const ChartPlan& plan, QSize size = kChartPictureSize);
    TChartPicture(const TChartPicture&) = delete;
    TChartPicture& operator=(const TChartPicture&) = delete;

    QChart& Chart() const { return *chart_; }
    const ChartSeries& Series() const { return series_; }
    QSize Size() const { return size_; }

    // Every pixel scaled by `scale` (for print), on white.
    QImage Image(qreal scale = 1) const;
    QByteArray Svg() const;

private:
    QSize size_;
    QGraphicsScene scene_;
    QChart* chart_;  // owned by the scene
    ChartSeries series_;
};

// True when the file name asks for SVG (".svg", any letter case); PNG otherwise.
bool IsSvgFileName(const QString& path);

// Writes the chart as PNG or SVG by the file's name, all or nothing. The
// system's reason when it cannot, nothing when it did.
std::optional<QString> SaveChartPicture(const ChartPlan& plan, const QString& path, QSize size = kChartPictureSize);

}  // namespace quillon
