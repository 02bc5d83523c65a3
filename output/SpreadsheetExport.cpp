#include "output/SpreadsheetExport.h"

#include "platform/Seams.h"

namespace quillon {

QByteArray SpreadsheetBytes(const GridSnapshot& grid)
{
    QString text;
    for (const QString& heading : grid.headings) text += heading + QLatin1Char('\t');
    // The heading line carries an extra CR before its line end.
    text += QLatin1String("\r\r\n");
    for (const QStringList& row : grid.rows) {
        for (qsizetype column = 0; column < grid.headings.size(); ++column) {
            if (column < row.size()) text += row.at(column);
            text += QLatin1Char('\t');
        }
        text += QLatin1String("\r\n");
    }
    QByteArray bytes = text.toUtf8();
    bool ascii = true;
    for (const char c : std::as_const(bytes)) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (!ascii) bytes.prepend("\xEF\xBB\xBF");
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
