#pragma once
// A small banded report engine: a text pipeline reads a delimited data file
// into records of named fields; a report lays out bands of labels, fields,
// rules, pictures and system values in millimetres on Letter paper and paints
// them. One painting function serves the print preview, the printer and PDF.

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace quillon {

struct TPipelineField {
    QString name;
    int length = 10;  // the declared width in characters; values are not cut to it
};

class TTextPipeline {
public:
    TTextPipeline(QString name, QList<TPipelineField> fields, char delimiter = '|');

    const QString& Name() const { return name_; }
    const QList<TPipelineField>& Fields() const { return fields_; }

    void SetFileName(const QString& fileName) { fileName_ = fileName; }
    const QString& FileName() const { return fileName_; }

    // The cell texts each record of the file was written from, in order. A
    // value may itself hold the delimiter; a line that is exactly its written
    // record then still reads as those values instead of shifted pieces.
    void SetWrittenRecords(QList<QStringList> records) { written_ = std::move(records); }

    // Reads the whole file (as every input file: UTF-8 when valid, else
    // Windows-1252; lines ending at CR LF, CR or LF; empty
    // lines skipped). False with an error text naming the file when it cannot
    // be read.
    bool Open(QString* error = nullptr);
    // Releases the records and the written records.
    void Close();
    bool IsOpen() const { return open_; }

    int RecordCount() const { return static_cast<int>(records_.size()); }
    // A field's value by its name; empty for an unknown name or record.
    QString Value(int record, const QString& field) const;
    int FieldIndex(const QString& field) const;

private:
    QStringList SplitLine(const QByteArray& line, int recordIndex) const;

    QString name_;
    QList<TPipelineField> fields_;
    char delimiter_;
    QString fileName_;
    QList<QStringList> written_;
    QList<QStringList> records_;
    bool open_ = false;
};

enum class TReportAlign { Left, Center, Right };

struct TReportFont {
    double pointSize = 10.0;
    bool bold = false;
    QColor colour = Qt::black;
};

// Millimetres from the left margin and from the top of the band.
struct TReportBox {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;  // texts: 0 is one line of their font
};

enum class TElementKind { Label, Field, Rule, Picture, PrintedAt, PageOfPages };

struct TReportElement {
    TElementKind kind = TElementKind::Label;
    TReportBox box;
    QString text;  // Label: the caption; Field: the pipeline field's name
    TReportFont font;
    TReportAlign align = TReportAlign::Left;
    bool wrap = false;          // texts: wrapped inside the box's height
    double ruleWidthPt = 0.75;  // Rule: the line's thickness in points
    QImage picture;
    bool stretch = true;  // Picture: fills the box; else keeps its shape, left in the box

    static TReportElement Label(const QString& text, TReportBox box, TReportFont font,
                                TReportAlign align = TReportAlign::Left);
    static TReportElement Field(const QString& name, TReportBox box, TReportFont font,
                                TReportAlign align = TReportAlign::Left, bool wrap = false);
    static TReportElement Rule(double x, double y, double length, double widthPt = 0.75);
    static TReportElement Picture(const QImage& picture, TReportBox box, bool stretch);
    static TReportElement PrintedAt(double x, double y, TReportFont font);
    static TReportElement PageOfPages(double x, double y, TReportFont font);
};

struct TReportBand {
    double height = 0.0;  // millimetres
    std::vector<TReportElement> elements;
};

// Letter paper, 6.35 mm margins on every side.
inline constexpr double kLetterWidthMm = 215.9;
inline constexpr double kLetterHeightMm = 279.4;
inline constexpr double kReportMarginMm = 6.35;

// "MM/dd/yyyy" with the time, whatever the user's regional settings.
QString PrintedAtText(const QDateTime& when);

class TReport {
public:
    QString name;
    QString jobName = QStringLiteral("Report");
    std::optional<TReportBand> title;   // first page only, at its top
    std::optional<TReportBand> header;  // every page, under the title
    TReportBand detail;                 // once per record
    std::optional<TReportBand> footer;  // every page, at its foot
    const TTextPipeline* data = nullptr;
    QDateTime printedAt;  // set when the report runs; every page shows the same

    // The records on each page, worked out before anything is painted so that
    // the first page already knows the page count. No records give one page
    // with its title, header and footer.
    QList<QList<int>> Paginate() const;
    int PageCount() const { return static_cast<int>(Paginate().size()); }

    // The one painting function: every page onto the printer, which the
    // caller has set up with SetUpPrinter (the preview hands over its own).
    // False when painting on the printer cannot start.
    bool Print(QPrinter* printer) const;
};

// Letter, portrait, full page (the painter's origin is the paper's corner),
// the margins, and the job name.
void SetUpPrinter(QPrinter& printer, const TReport& report);

// Paints the report into a PDF file. False when the file cannot be written.
bool RenderReportToPdf(const TReport& report, const QString& path);

// The print preview over the report, built but not shown; the user prints
// from it, to a printer or a PDF file. The printer must outlive the dialog.
QPrintPreviewDialog* MakeReportPreview(const TReport& report, QPrinter& printer, QWidget* parent);

// Shows the preview modally and returns when it closes.
void RunReportPreview(const TReport& report, QWidget* parent);

}  // namespace quillon
