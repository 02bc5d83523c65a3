#pragma once
// The whole results table as an HTML page, opened at once with whatever the
// desktop associates with it.

#include <QByteArray>
#include <QString>

#include "output/ExportFile.h"
#include "output/ResultsView.h"

namespace quillon {

struct Seams;

// A heading or cell text made safe for the page: "&", "<", ">" and '"' as
// entities, and every character above 127 as a numeric reference, so that
// the page is plain ASCII and reads the same whatever encoding is guessed.
QString HtmlEscaped(const QString& text);

// The page, CR LF after every line: the head, the table with the given
// border (one heading row, one row per grid row, each ending with an opened
// cell), and the closing lines.
QByteArray HtmlPageBytes(const GridSnapshot& grid, int border);

// CreateHtml: asks for the file name in the shared save dialog (its name
// cleared first) under the folder `extension` beside the program, writes the
// page and hands it to the shell. Returns the path written, or empty text
// when the user cancelled or the write failed (the error box has then been
// shown and nothing is opened).
QString CreateHtml(const ResultsView& view, const Seams& seams, SaveDialogState& saveDialog, const QString& extension,
                   int border);

// ToAnHTMLFile1Click.
QString ExportHtml(const ResultsView& view, const Seams& seams, SaveDialogState& saveDialog);

}  // namespace quillon
