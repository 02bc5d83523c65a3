#include "chart/ChartPicture.h"

#include <QBuffer>
#include <QChart>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace quillon {

TChartPicture::TChartPicture(const ChartPlan& plan, QSize size) : size_(size), chart_(new QChart)
{
    series_ = DrawAttenuationChart(*chart_, plan);
    scene_.addItem(chart_);
    scene_.setSceneRect(QRectF(QPointF(0, 0), QSizeF(size_)));
    // Laid out at once: the chart computes its plot area when given its size.
    chart_->setGeometry(scene_.sceneRect());
}

QImage TChartPicture::Image(qreal scale) const
{
    QImage image(size_ * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const_cast<QGraphicsScene&>(scene_).render(&painter, QRectF(image.rect()), scene_.sceneRect());
    return image;
}

QByteArray TChartPicture::Svg() const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size_);
    // The size is written in millimetres; at the 96 dpi of browsers and
    // drawing programs they open it at the chart's own pixel size.
    generator.setResolution(96);
    generator.setViewBox(QRect(QPoint(0, 0), size_));
    generator.setTitle(QStringLiteral("Attenuation against frequency"));
    {
        QPainter painter(&generator);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        const_cast<QGraphicsScene&>(scene_).render(&painter, scene_.sceneRect(), scene_.sceneRect());
    }
    return buffer.data();
}

bool IsSvgFileName(const QString& path) { return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive); }

std::optional<QString> SaveChartPicture(const ChartPlan& plan, const QString& path, QSize size)
{
    const TChartPicture picture(plan, size);
    QByteArray bytes;
    if (IsSvgFileName(path)) {
        bytes = picture.Svg();
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!picture.Image().save(&buffer, "PNG")) return QStringLiteral("the picture could not be encoded");
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return std::nullopt;
}

}  // namespace quillon
