#pragma once
// Reading printed reports back: the words of a PDF with their boxes (in
// points from the page's top-left corner, as pdftotext -bbox gives them).

#include <QList>
#include <QString>
#include <QStringList>

namespace quillon::test {

struct PdfWord {
    int page = 0;  // from 1
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text;
};

struct PdfText {
    int pageCount = 0;
    QList<PdfWord> words;

    // The words on a page whose top lies within 1.5 pt of topMm and which lie
    // between leftMm and rightMm (millimetres from the paper's corner), joined
    // by blanks in reading order.
    QString TextAt(int page, double topMm, double leftMm, double rightMm) const;
    // The words on a page lying wholly between the two heights and between
    // leftMm and rightMm, in reading order, joined by blanks.
    QString TextIn(int page, double topMm, double bottomMm, double leftMm, double rightMm) const;
    // Every word of a page, in reading order, joined by blanks.
    QString PageText(int page) const;
    // The first word with this text on the page; nullptr when none.
    const PdfWord* Find(int page, const QString& text) const;
};

// Runs pdftotext -bbox over the file. When the reader is missing or fails
// the test fails with the reason, and the result is empty (no pages).
PdfText ReadPdf(const QString& path);

inline double MmToPt(double mm)
{
    return mm * 72.0 / 25.4;
}

}  // namespace quillon::test
