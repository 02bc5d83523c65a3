#include "output/HtmlExport.h"

#include "platform/Seams.h"

namespace quillon {

QString HtmlEscaped(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const char32_t code : text.toUcs4()) {
        switch (code) {
            case U'&':
                escaped += QLatin1String("&amp;");
                break;
            case U'<':
                escaped += QLatin1String("&lt;");
                break;
            case U'>':
                escaped += QLatin1String("&gt;");
                break;
            case U'"':
                escaped += QLatin1String("&quot;");
                break;
            default:
                if (code > 127)
                    escaped += QStringLiteral("&#%1;").arg(static_cast<quint32>(code));
                else
                    escaped += QChar(static_cast<char16_t>(code));
        }
    }
    return escaped;
}

QByteArray HtmlPageBytes(const GridSnapshot& grid, int border)
{
    QStringList lines;
    lines << QStringLiteral("<HTML>") << QStringLiteral("<HEAD><TITLE>Tarvex Quillon Results</TITLE></HEAD>")
          << QStringLiteral("<BODY>") << QStringLiteral("<H1><CENTER>Tarvex Quillon Results</CENTER></H1>")
          << QStringLiteral("<TABLE BORDER = %1 >").arg(border);

    QString heading = QStringLiteral("<TR><TD>");
    for (const QString& text : grid.headings)
        heading += QStringLiteral("<B>") + HtmlEscaped(text) + QStringLiteral("</B></TD><TD>");
    lines << heading + QStringLiteral("</TR>");

    for (const QStringList& row : grid.rows) {
        QString line = QStringLiteral("<TR><TD>");
        for (qsizetype column = 0; column < grid.headings.size(); ++column) {
            if (column < row.size()) line += HtmlEscaped(row.at(column));
            line += QStringLiteral("</TD><TD>");
        }
        lines << line + QStringLiteral("</TR>");
    }

    lines << QStringLiteral("</TABLE>") << QStringLiteral("</BODY>") << QStringLiteral("</HTML>");

    QByteArray bytes;
    for (const QString& line : lines) bytes += line.toLatin1() + "\r\n";
    return bytes;
}

QString CreateHtml(const ResultsView& view, const Seams& seams, SaveDialogState& saveDialog, const QString& extension,
                   int border)
{
    // Cleared before every use, so a cancel never falls back on an earlier name.
    saveDialog.lastName.clear();

    FileDialogRequest request;
    request.title = QStringLiteral("Select A File");
    request.initialFolder = ExportFolder(seams.paths, extension);
    request.initialName = saveDialog.lastName;
    request.filter = extension + QStringLiteral(" Files (*.") + extension + QStringLiteral(")|*.") + extension;
    request.defaultExtension = extension;
    request.confirmOverwrite = true;

    QString path = seams.fileDialogs.SaveFile(request);
    if (path.isEmpty()) return {};
    saveDialog.lastName = path;

    if (!WriteExportFile(path, HtmlPageBytes(view.SpecsGrid(), border), seams.messages)) return {};
    seams.shell.Open(path);
    return path;
}

QString ExportHtml(const ResultsView& view, const Seams& seams, SaveDialogState& saveDialog)
{
    return CreateHtml(view, seams, saveDialog, QStringLiteral("html"), 3);
}

}  // namespace quillon
