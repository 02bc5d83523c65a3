#pragma once
// The whole results table as a tab-separated file that the spreadsheet
// program opens, saved under ".xls" in the folder "xls" beside the program.

#include <QByteArray>
#include <QString>

#include "output/ExportFile.h"
#include "output/ResultsView.h"

namespace quillon {

class SettingsStore;
struct Seams;

// The file's bytes: the heading line (each heading and a TAB, then CR, then
// CR LF), then one line per row (each cell and a TAB, then CR LF). Texts go
// out unquoted; a file of plain ASCII is written as such, any other in UTF-8
// behind a byte-order mark, which spreadsheet programs take as the sign of
// UTF-8 (without it they guess the system's 8-bit code page).
QByteArray SpreadsheetBytes(const GridSnapshot& grid);

// Whether a spreadsheet program is there to open the file; enables the menu
// item "To A Microsoft Excel File".
bool IsExcelRegistered(const SettingsStore& store);

// ToAMicrosoftExcelFile1Click: asks for the file name in excelSave's dialog,
// writes the file and hands it to the shell. Returns the path written, or
// empty text when the user cancelled or the write failed (the error box has
// then been shown and nothing is opened).
QString ExportSpreadsheet(const ResultsView& view, const Seams& seams, SaveDialogState& excelSave);

}  // namespace quillon
