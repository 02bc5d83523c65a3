#include "tests/output/PrintPdf.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace quillon::test {
namespace {

QString Unescape(QString text)
{
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

QString Join(QList<PdfWord> words)
{
    // Reading order: lines by their top (within 1.5 pt), then left to right.
    std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) {
        if (std::abs(a.yMin - b.yMin) > 1.5) return a.yMin < b.yMin;
        return a.xMin < b.xMin;
    });
    QStringList texts;
    for (const PdfWord& w : words) texts << w.text;
    return texts.join(QLatin1Char(' '));
}

}  // namespace

QString PdfText::TextAt(int page, double topMm, double leftMm, double rightMm) const
{
    QList<PdfWord> found;
    const double top = MmToPt(topMm);
    for (const PdfWord& w : words) {
        if (w.page != page || std::abs(w.yMin - top) > 1.5) continue;
        if (w.xMin < MmToPt(leftMm) - 0.5 || w.xMax > MmToPt(rightMm) + 0.5) continue;
        found << w;
    }
    return Join(found);
}

QString PdfText::TextIn(int page, double topMm, double bottomMm, double leftMm, double rightMm) const
{
    QList<PdfWord> found;
    for (const PdfWord& w : words) {
        if (w.page != page || w.yMin < MmToPt(topMm) - 0.5 || w.yMax > MmToPt(bottomMm) + 0.5) continue;
        if (w.xMin < MmToPt(leftMm) - 0.5 || w.xMax > MmToPt(rightMm) + 0.5) continue;
        found << w;
    }
    return Join(found);
}

QString PdfText::PageText(int page) const
{
    QList<PdfWord> found;
    for (const PdfWord& w : words)
        if (w.page == page) found << w;
    return Join(found);
}

const PdfWord* PdfText::Find(int page, const QString& text) const
{
    for (const PdfWord& w : words)
        if (w.page == page && w.text == text) return &w;
    return nullptr;
}

PdfText ReadPdf(const QString& path)
{
    PdfText result;
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    // Without the reader nothing here can be checked: say so, rather than
    // hand back an empty document that some checks would take for one.
    if (!tool.waitForStarted(20000)) {
        ADD_FAILURE() << "pdftotext could not be started (poppler-utils; scripts/setup.sh installs it): "
                      << tool.errorString().toStdString();
        return result;
    }
    if (!tool.waitForFinished(20000)) {
        tool.kill();
        tool.waitForFinished();
        ADD_FAILURE() << "pdftotext did not finish within 20 s on " << path.toStdString();
        return result;
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << path.toStdString() << ": "
                      << tool.readAllStandardError().toStdString();
        return result;
    }
    const QString out = QString::fromUtf8(tool.readAllStandardOutput());

    static const QRegularExpression tag(
        QStringLiteral("<page [^>]*>|<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" "
                       "xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    auto it = tag.globalMatch(out);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            ++result.pageCount;
            continue;
        }
        result.words << PdfWord{result.pageCount,         m.captured(1).toDouble(), m.captured(2).toDouble(),
                                m.captured(3).toDouble(), m.captured(4).toDouble(), Unescape(m.captured(5))};
    }
    return result;
}

}  // namespace quillon::test
