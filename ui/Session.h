#pragma once
// The run's data and what the main window asks of it, without a widget: the
// data folder and the data set loaded at start-up, the command line, the
// lines of the last search, the remembered query and currency in the
// settings store, and the rows of the results page in prices of the chosen
// currency. The window (TfrmMain) holds one, reads its controls into plain
// values, asks here and puts the answers back into its controls.
//
// What is worked out about the selected line beyond the designed cells
// (curves over the band, band-edge figures, a run's budget) belongs here
// too, beside FillPartNumbers: engine calls on ResultLineAt(row) with the
// query page's values, shown by the results page in panels of their own.
//
// Row r of the results grid always shows ResultLineAt(r): a sort of the grid
// puts the result lines in the order shown (SortResultRows), so the selected
// line, the panels and every output read the line in the row they see.

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "engine/AnalysisColumns.h"
#include "engine/CellOrder.h"
#include "engine/DataSet.h"
#include "engine/ResultRows.h"
#include "engine/Search.h"
#include "persist/RegistrySettings.h"
#include "ui/RunBudgetSheet.h"

namespace quillon {

struct Seams;

class TSession {
public:
    // arguments: the command-line parameters after the program's name.
    TSession(Seams& seams, QStringList arguments);
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    // ---- Start-up

    struct DataFolderReading {
        QString Folder;      // empty when the store names none: the root folder then
        QStringList Errors;  // the error boxes to show, in order
    };
    // The shared data folder, "Path" under the key the maker's programs share.
    // A value that is there but no text raises the store's error.
    DataFolderReading ReadDataFolder() const;

    // Loads the data set: the catalogue and the rates beside the program, the
    // price list in the data folder. False when the catalogue or the price
    // list is missing (nothing is read then); a file that cannot be read or a
    // bad catalogue row raises the error the window shows.
    bool LoadData(const QString& dataFolder);
    // After a LoadData that found files missing: the whole missing-files
    // message, with the line that names the data folder and those files.
    QString MissingFilesText() const { return missingFilesText_; }
    // The connector names fed the two connector boxes only.
    void ReleaseConnectorNames();

    const DataSet& Data() const { return data_; }
    bool HasExchangeRates() const { return data_.exchangeRates.HasExchangeRates; }

    // ---- The command line

    const QStringList& Arguments() const { return arguments_; }
    bool HasArguments() const { return !arguments_.isEmpty(); }
    // Set by a part-number command line; every search of the run then selects by it.
    const std::string& CommandLinePartNumber() const { return commandLinePartNumber_; }
    void SetCommandLinePartNumber(std::string partNumber) { commandLinePartNumber_ = std::move(partNumber); }

    // ---- The remembered query

    // Reads the stored query; from here on the page holds a query worth storing.
    LoadedSettings LoadStoredQuery();
    // The page was set up from a command line: its query is stored at the end.
    void MarkQuerySetUp() { querySetUp_ = true; }
    // Stores the page's query, unless the page was never set up (no catalogue,
    // or a command line that ended the program): the stored query then stays.
    // A page whose two frequency boxes are blank (a part-number command line
    // never fills their lists) holds no query either: only the check mark is
    // kept, so the next start does not open on blank boxes.
    void StoreQuery(const QueryPage& page, bool saveOnExit) const;

    // ---- The search and its results

    // The search's checks and selection over every catalogue line.
    SearchOutcome Search(const QueryPage& page) const;
    // The lines of the last search that ran, in the order the results grid
    // shows them: catalogue order until the grid is sorted.
    const LineList& ResultLines() const { return resultLines_; }
    // The lines of a new search, in catalogue order; no column is sorted.
    void SetResultLines(LineList lines);
    // The result line shown in the grid's row; nullptr for a row that holds none.
    TTransmissionLine* ResultLineAt(int row) const;
    // Descriptions and list prices of the result lines not looked up yet.
    void CompletePrices(const std::function<void(std::size_t)>& progress) const;

    // Fills the results grid from the lines: the command-line filling when the
    // program has exactly one argument, the interactive one otherwise, from
    // the query page's texts and the chosen currency's Tag. On an error the
    // cells reached stay and the error text comes back. maxLoss: the loss
    // criterion's maximum when it is on, for the figures beside the grid.
    [[nodiscard]] std::optional<std::string> FillResultRows(ResultTable& table, const LineList& lines,
                                                            const InteractiveFillInputs& page,
                                                            std::optional<long double> maxLoss = std::nullopt);
    // What a row of the last filling stands on (the query page's numbers as
    // that filling read them, or the line's own band for the command line),
    // for the panels beside the grid. Nothing before a filling, where those
    // texts are no numbers, or for a command line without a length.
    std::optional<RowBasis> RowBasisOf(const TTransmissionLine& line) const;
    // One part-number grid for the connector, in the chosen currency.
    [[nodiscard]] std::optional<std::string> FillPartNumbers(PartNumberTable& table, const TConnector* connector,
                                                             int currencyTag) const;

    // ---- The order shown

    // Sorts the rows by one column of the grid, whose cells are given in the
    // order shown (numbers by value, "N/A" and empty cells last; CellOrder).
    // Equal cells keep catalogue order in both directions. The result lines
    // take the new order; the returned order (element k: the row shown k-th
    // before) is for the grid's cells. With rows that hold no line (a search
    // from the results page that found nothing) only the cells move.
    std::vector<std::size_t> SortResultRows(int column, std::span<const std::string> shownCells,
                                            SortDirection direction);
    // The column the rows were last sorted by and how; none since the search.
    struct RowSort {
        int Column = -1;
        SortDirection Direction = SortDirection::Ascending;
    };
    const std::optional<RowSort>& SortedBy() const { return sortedBy_; }

    // ---- The run budget of a row

    // The budget panel's texts for the line in the row, on what the row's
    // filling read (RowBasisOf), with the prices of the chosen connector part
    // numbers (empty: none chosen). Nothing when the row holds no line or its
    // filling stopped before the row's end: the panel then shows no figures,
    // as the row.
    std::optional<RunBudgetSheet> RunBudgetAt(int row, const ResultRow& shownCells,
                                              const std::array<std::string, 2>& partNumbers) const;

    // ---- The currency

    // What the store holds for the currency to put back before a search.
    StoredCurrency ReadStoredCurrency() const;
    // Keeps the chosen currency for the next run; a store that refuses is logged.
    void StoreCurrency(int tag) const;

private:
    Seams& seams_;
    const QStringList arguments_;
    DataSet data_;
    LineList resultLines_;
    std::vector<std::size_t> catalogueRank_;  // each shown row's place in the search's own order
    std::optional<RowSort> sortedBy_;
    std::optional<InteractiveFillInputs> filling_;  // what the last interactive filling read
    std::optional<long double> fillingMaxLoss_;
    std::string commandLinePartNumber_;
    bool querySetUp_ = false;
    QString missingFilesText_;
};

}  // namespace quillon
