#include "output/SpreadsheetExport.h"

#include "platform/Seams.h"

namespace quillon {

QByteArray SpreadsheetBytes(const GridSnapshot& grid)
{
    QByteArray bytes;
    for (const QString& heading : grid.headings) bytes += heading.toLatin1() + '\t';
    // The heading line carries an extra CR before its line end.
    bytes += "\r\r\n";
    for (const QStringList& row : grid.rows) {
        for (qsizetype column = 0; column < grid.headings.size(); ++column) {
            if (column < row.size()) bytes += row.at(column).toLatin1();
            bytes += '\t';
        }
        bytes += "\r\n";
    }
    return bytes;
}

bool IsExcelRegistered(const SettingsStore& store)
{
    return store.ClassesRootKeyExists(QStringLiteral("Excel.Application"));
}

QString ExportSpreadsheet(const ResultsView& view, const Seams& seams, SaveDialogState& excelSave)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Select A File");
    request.initialFolder = ExportFolder(seams.paths, QStringLiteral("xls"));
    request.initialName = excelSave.lastName;
    request.filter = QStringLiteral("MS Excel Files (*.xls)|*.xls");
    request.defaultExtension = QStringLiteral("xls");
    request.confirmOverwrite = true;

    QString path = seams.fileDialogs.SaveFile(request);
    if (path.isEmpty()) return {};
    excelSave.lastName = path;

    if (!WriteExportFile(path, SpreadsheetBytes(view.SpecsGrid()), seams.messages)) return {};
    seams.shell.Open(path);
    return path;
}

}  // namespace quillon
