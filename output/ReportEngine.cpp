#include "output/ReportEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <memory>

#include "engine/TextFile.h"
#include "platform/TextFile.h"

namespace quillon {

// ---------------------------------------------------------------- pipeline

TTextPipeline::TTextPipeline(QString name, QList<TPipelineField> fields, char delimiter)
    : name_(std::move(name)), fields_(std::move(fields)), delimiter_(delimiter)
{
}

int TTextPipeline::FieldIndex(const QString& field) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_.at(i).name == field) return i;
    return -1;
}

QString TTextPipeline::Value(int record, const QString& field) const
{
    const int index = FieldIndex(field);
    if (record < 0 || record >= records_.size() || index < 0) return {};
    return records_.at(record).value(index);
}

QStringList TTextPipeline::SplitLine(const QByteArray& line, int recordIndex) const
{
    const int count = static_cast<int>(fields_.size());
    auto fit = [count](QStringList values) {
        while (values.size() < count) values << QString();
        while (values.size() > count) values.removeLast();
        return values;
    };

    // A value holding the delimiter splits into more pieces than the record
    // has fields; the values the line was written from put the field
    // boundaries back where they were.
    if (recordIndex < written_.size()) {
        const QStringList& values = written_.at(recordIndex);
        QByteArray encoded;
        for (const QString& value : values) {
            encoded += value.toLatin1();
            encoded += delimiter_;
        }
        if (values.size() == count && encoded == line) return values;
    }

    QStringList pieces = QString::fromLatin1(line).split(QLatin1Char(delimiter_));
    // Every field ends with the delimiter, so the text after the last one is
    // not a field.
    if (line.endsWith(delimiter_)) pieces.removeLast();
    return fit(pieces);
}

bool TTextPipeline::Open(QString* error)
{
    records_.clear();
    open_ = false;
    const TextLines read = ReadTextLines(FilePathForEngine(fileName_));
    if (read.Error) {
        if (error != nullptr)
            *error = QStringLiteral("Cannot open file \"%1\". %2")
                         .arg(QDir::toNativeSeparators(fileName_), QString::fromLocal8Bit(read.Error->Reason));
        return false;
    }
    int recordIndex = 0;
    for (const std::string& line : read.Lines)
        if (!line.empty()) records_ << SplitLine(QByteArray::fromStdString(line), recordIndex++);
    open_ = true;
    return true;
}

void TTextPipeline::Close()
{
    records_.clear();
    written_.clear();
    open_ = false;
}

// ---------------------------------------------------------------- elements

TReportElement TReportElement::Label(const QString& text, TReportBox box, TReportFont font, TReportAlign align)
{
    TReportElement e;
    e.kind = TElementKind::Label;
    e.text = text;
    e.box = box;
    e.font = font;
    e.align = align;
    return e;
}

TReportElement TReportElement::Field(const QString& name, TReportBox box, TReportFont font, TReportAlign align,
                                     bool wrap)
{
    TReportElement e = Label(name, box, font, align);
    e.kind = TElementKind::Field;
    e.wrap = wrap;
    return e;
}

TReportElement TReportElement::Rule(double x, double y, double length, double widthPt)
{
    TReportElement e;
    e.kind = TElementKind::Rule;
    e.box = {x, y, length, 0.0};
    e.ruleWidthPt = widthPt;
    return e;
}

TReportElement TReportElement::Picture(const QImage& picture, TReportBox box, bool stretch)
{
    TReportElement e;
    e.kind = TElementKind::Picture;
    e.picture = picture;
    e.box = box;
    e.stretch = stretch;
    return e;
}

TReportElement TReportElement::PrintedAt(double x, double y, TReportFont font)
{
    TReportElement e = Label({}, {x, y, 0.0, 0.0}, font);
    e.kind = TElementKind::PrintedAt;
    return e;
}

TReportElement TReportElement::PageOfPages(double x, double y, TReportFont font)
{
    TReportElement e = Label({}, {x, y, 0.0, 0.0}, font);
    e.kind = TElementKind::PageOfPages;
    return e;
}

QString PrintedAtText(const QDateTime& when)
{
    return QLocale::c().toString(when, QStringLiteral("MM/dd/yyyy h:mm:ss AP"));
}

// ---------------------------------------------------------------- painting

namespace {

QFont ReportQFont(const TReportFont& f)
{
    // Arial; where it is missing the font configuration picks its
    // metric-compatible stand-in, so widths stay as laid out.
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(f.pointSize);
    font.setBold(f.bold);
    return font;
}

struct PaintContext {
    QPainter& painter;
    QPrinter& printer;
    double dotsPerMm;
    const TReport& report;
    int record;  // -1 outside the detail band
    int page;    // from 1
    int pageCount;
};

// The line texts of a wrapped value, at most maxLines; when the text needs
// more, the last line shown ends in an ellipsis.
QStringList WrapLines(const QString& text, const QFont& font, QPaintDevice* device, double width, int maxLines)
{
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(width);
        if (lines.size() == maxLines - 1) {
            const QString rest = text.mid(line.textStart());
            const QFontMetricsF metrics(font, device);
            lines << metrics.elidedText(rest.trimmed(), Qt::ElideRight, width);
            break;
        }
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

void PaintText(const PaintContext& c, const TReportElement& e, const QString& text, double bandTop)
{
    if (text.isEmpty()) return;
    const QFont font = ReportQFont(e.font);
    const QFontMetricsF metrics(font, &c.printer);
    const double left = (kReportMarginMm + e.box.x) * c.dotsPerMm;
    const double top = (bandTop + e.box.y) * c.dotsPerMm;
    const double width = e.box.width * c.dotsPerMm;
    const double lineHeight = metrics.height();

    QStringList lines;
    if (e.wrap && width > 0) {
        // A wrapped box holds the lines that mostly fit in its height.
        const int maxLines = std::max(1, static_cast<int>(std::lround(e.box.height * c.dotsPerMm / lineHeight)));
        lines = WrapLines(text, font, &c.printer, width, maxLines);
    } else {
        lines << text;
    }

    c.painter.setFont(font);
    c.painter.setPen(e.font.colour);
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i);
        QString shown = line;
        while (!shown.isEmpty() && shown.back().isSpace()) shown.chop(1);
        const double advance = metrics.horizontalAdvance(shown);
        double x = left;
        if (e.align == TReportAlign::Center) x = left + (width - advance) / 2.0;
        if (e.align == TReportAlign::Right) x = left + width - advance;
        c.painter.drawText(QPointF(x, top + i * lineHeight + metrics.ascent()), shown);
    }
}

void PaintElement(const PaintContext& c, const TReportElement& e, double bandTop)
{
    switch (e.kind) {
        case TElementKind::Label:
            PaintText(c, e, e.text, bandTop);
            break;
        case TElementKind::Field:
            if (c.report.data != nullptr && c.record >= 0)
                PaintText(c, e, c.report.data->Value(c.record, e.text), bandTop);
            break;
        case TElementKind::PrintedAt:
            PaintText(c, e, PrintedAtText(c.report.printedAt), bandTop);
            break;
        case TElementKind::PageOfPages:
            PaintText(c, e, QStringLiteral("Page %1 of %2").arg(c.page).arg(c.pageCount), bandTop);
            break;
        case TElementKind::Rule: {
            const double thickness = e.ruleWidthPt / 72.0 * 25.4 * c.dotsPerMm;
            QPen pen(Qt::black);
            pen.setWidthF(thickness);
            pen.setCapStyle(Qt::FlatCap);
            c.painter.setPen(pen);
            const double y = (bandTop + e.box.y) * c.dotsPerMm + thickness / 2.0;
            const double x = (kReportMarginMm + e.box.x) * c.dotsPerMm;
            c.painter.drawLine(QPointF(x, y), QPointF(x + e.box.width * c.dotsPerMm, y));
            break;
        }
        case TElementKind::Picture: {
            if (e.picture.isNull()) break;
            QRectF target((kReportMarginMm + e.box.x) * c.dotsPerMm, (bandTop + e.box.y) * c.dotsPerMm,
                          e.box.width * c.dotsPerMm, e.box.height * c.dotsPerMm);
            if (!e.stretch) {
                // Fitted whole, at the box's left, centred in its height.
                const QSizeF size = QSizeF(e.picture.size()).scaled(target.size(), Qt::KeepAspectRatio);
                target = QRectF(target.left(), target.top() + (target.height() - size.height()) / 2.0, size.width(),
                                size.height());
            }
            c.painter.drawImage(target, e.picture);
            break;
        }
    }
}

void PaintBand(const PaintContext& c, const TReportBand& band, double bandTop)
{
    for (const TReportElement& e : band.elements) PaintElement(c, e, bandTop);
}

}  // namespace

QList<QList<int>> TReport::Paginate() const
{
    const double top = kReportMarginMm;
    const double footerTop = kLetterHeightMm - kReportMarginMm - (footer ? footer->height : 0.0);
    const double headerHeight = header ? header->height : 0.0;
    const int records = data != nullptr ? data->RecordCount() : 0;

    QList<QList<int>> pages;
    QList<int> page;
    double y = top + (title ? title->height : 0.0) + headerHeight;
    for (int r = 0; r < records; ++r) {
        // A record that does not fit starts a new page; an empty page takes
        // it whatever its height.
        if (y + detail.height > footerTop + 1e-9 && !page.isEmpty()) {
            pages << page;
            page.clear();
            y = top + headerHeight;
        }
        page << r;
        y += detail.height;
    }
    pages << page;
    return pages;
}

bool TReport::Print(QPrinter* printer) const
{
    QPainter painter;
    if (printer == nullptr || !painter.begin(printer)) return false;
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    const QList<QList<int>> pages = Paginate();
    const double dotsPerMm = printer->resolution() / 25.4;
    for (int p = 0; p < pages.size(); ++p) {
        if (p > 0) printer->newPage();
        PaintContext c{painter, *printer, dotsPerMm, *this, -1, p + 1, static_cast<int>(pages.size())};
        double y = kReportMarginMm;
        if (p == 0 && title) {
            PaintBand(c, *title, y);
            y += title->height;
        }
        if (header) {
            PaintBand(c, *header, y);
            y += header->height;
        }
        for (int record : pages.at(p)) {
            c.record = record;
            PaintBand(c, detail, y);
            y += detail.height;
        }
        c.record = -1;
        if (footer) PaintBand(c, *footer, kLetterHeightMm - kReportMarginMm - footer->height);
    }
    return painter.end();
}

void SetUpPrinter(QPrinter& printer, const TReport& report)
{
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(kReportMarginMm, kReportMarginMm, kReportMarginMm, kReportMarginMm),
                           QPageLayout::Millimeter);
    printer.setDocName(report.jobName);
}

bool RenderReportToPdf(const TReport& report, const QString& path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    SetUpPrinter(printer, report);
    return report.Print(&printer) && QFileInfo(path).size() > 0;
}

QPrintPreviewDialog* MakeReportPreview(const TReport& report, QPrinter& printer, QWidget* parent)
{
    auto* preview = new QPrintPreviewDialog(&printer, parent);
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                     [&report](QPrinter* target) { report.Print(target); });
    return preview;
}

void RunReportPreview(const TReport& report, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, report);
    std::unique_ptr<QPrintPreviewDialog> preview(MakeReportPreview(report, printer, parent));
    preview->exec();
}

}  // namespace quillon
