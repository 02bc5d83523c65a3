#pragma once
// The report data files: which rows a print takes from the results page, the
// "|"-terminated records written for them, and writing the files beside the
// program.

#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "output/ResultsView.h"
#include "platform/TextFile.h"

namespace quillon {

inline constexpr char kListDataFile[] = "list.qlx";
inline constexpr char kSelectedDataFile[] = "selected.qlx";

// Cells of a results row, and of the record of the selected line.
inline constexpr int kSpecsFieldCount = 14;
inline constexpr int kPartNumberFieldCount = 3;
inline constexpr int kSelectedFieldCount = kSpecsFieldCount + 2 * (1 + kPartNumberFieldCount);

// A list of more pages than this asks before printing.
inline constexpr int kRowsPerListPage = 7;
inline constexpr int kPagesThatAsk = 6;

// Pages the whole list is taken to need for the question: rows / 7, rounded up.
int EntireListPages(int rowCount);

// The question asked before a long list; the line break is a CR.
QString LongReportQuestion(int pages);

// Row indexes (0-based) of Current Page: every row when there are fewer than 7,
// else the six rows from the current one, without the rows past the last.
QList<int> CurrentPageRows(int rowCount, int currentRow);

// One record: every field followed by "|", then CR LF, as Latin-1 bytes.
QByteArray EncodeRecord(const QStringList& fields);

// The cells padded with empty texts, or cut, to exactly count fields.
QStringList FitFields(QStringList cells, int count);

// list.qlx records: the 14 cells of each given row of grdSpecs, in order.
QList<QStringList> ListRecords(const GridSnapshot& grid, const QList<int>& rows);

// selected.qlx record: the current results row, then for each end the selected
// connector type and the current part-number row. A missing selection gives
// empty fields.
QStringList SelectedRecord(const ResultsView& view);

// Writes the records as a new file (all or nothing); on failure the error
// names the file and gives the reason.
std::optional<FileWriteError> WriteDataFile(const QString& path, const QList<QStringList>& records);

// The error box's text for a data file that could not be written.
QString DataFileErrorText(const FileWriteError& error);

}  // namespace quillon
