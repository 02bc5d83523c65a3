#include "output/PrintData.h"

#include <QDir>

namespace quillon {

int EntireListPages(int rowCount)
{
    if (rowCount <= 0) return 0;
    return (rowCount + kRowsPerListPage - 1) / kRowsPerListPage;
}

QString LongReportQuestion(int pages)
{
    return QStringLiteral("The report you are about to print is over ") + QString::number(pages) +
           QStringLiteral(" pages long.") + QChar('\r') + QStringLiteral("Are you sure you want to continue?");
}

QList<int> CurrentPageRows(int rowCount, int currentRow)
{
    QList<int> rows;
    if (rowCount < kRowsPerListPage) {
        for (int r = 0; r < rowCount; ++r) rows << r;
        return rows;
    }
    // The grid always has a current row when it has rows; should it not,
    // the page starts at the top.
    const int first = currentRow >= 0 && currentRow < rowCount ? currentRow : 0;
    for (int r = first; r < first + kRowsPerListPage - 1 && r < rowCount; ++r) rows << r;
    return rows;
}

QByteArray EncodeRecord(const QStringList& fields)
{
    QByteArray line;
    for (const QString& field : fields) {
        line += field.toLatin1();
        line += '|';
    }
    line += "\r\n";
    return line;
}

QStringList FitFields(QStringList cells, int count)
{
    while (cells.size() < count) cells << QString();
    while (cells.size() > count) cells.removeLast();
    return cells;
}

QList<QStringList> ListRecords(const GridSnapshot& grid, const QList<int>& rows)
{
    QList<QStringList> records;
    for (int r : rows) {
        const QStringList cells = r >= 0 && r < grid.rows.size() ? grid.rows.at(r) : QStringList();
        records << FitFields(cells, kSpecsFieldCount);
    }
    return records;
}

QStringList SelectedRecord(const ResultsView& view)
{
    QStringList record = FitFields(view.SpecsGrid().CurrentCells(), kSpecsFieldCount);
    for (int end = 1; end <= 2; ++end) {
        record << view.SelectedConnectorType(end);
        record << FitFields(view.PartNumbers(end).CurrentCells(), kPartNumberFieldCount);
    }
    return record;
}

std::optional<FileWriteError> WriteDataFile(const QString& path, const QList<QStringList>& records)
{
    QByteArray bytes;
    for (const QStringList& record : records) bytes += EncodeRecord(record);
    return WriteWholeFile(path, bytes);
}

QString DataFileErrorText(const FileWriteError& error)
{
    return QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(error.File), error.Reason);
}

}  // namespace quillon
