#include "output/ClipboardText.h"

#include <QClipboard>
#include <QGuiApplication>

namespace quillon {
namespace {

const QChar kLineEnd(kClipboardLineEnd);

void AppendGrid(QString& text, const GridSnapshot& grid)
{
    const QStringList cells = grid.CurrentCells();
    for (qsizetype column = 0; column < grid.headings.size(); ++column) {
        text += ClipboardLabel(grid.headings.at(column));
        if (column < cells.size()) text += cells.at(column);
        text += kLineEnd;
    }
}

}  // namespace

QString ClipboardLabel(const QString& heading)
{
    return (heading + QLatin1Char(':')).leftJustified(kClipboardLabelWidth, QLatin1Char(' '));
}

QString ClipboardText(const ResultsView& view)
{
    QString text = QStringLiteral("Transmission Line:") + kLineEnd + kLineEnd;
    AppendGrid(text, view.SpecsGrid());
    text += kLineEnd + QStringLiteral("Connector 1:") + kLineEnd + kLineEnd;
    AppendGrid(text, view.PartNumbers(1));
    text += kLineEnd + QStringLiteral("Connector 2:") + kLineEnd + kLineEnd;
    AppendGrid(text, view.PartNumbers(2));
    return text;
}

void CopyResultsToClipboard(const ResultsView& view)
{
    const QString text = ClipboardText(view);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

}  // namespace quillon
