#include "ui/Session.h"

#include <numeric>

#include <QFile>

#include "engine/Errors.h"
#include "ui/DataPreload.h"
#include "ui/QtText.h"
#include "ui/RowOrder.h"
#include "platform/Seams.h"
#include "platform/SettingsKeys.h"
#include "platform/TextFile.h"

namespace quillon {

TSession::TSession(Seams& seams, QStringList arguments) : seams_(seams), arguments_(std::move(arguments)) {}

TSession::DataFolderReading TSession::ReadDataFolder() const
{
    DataFolderReading reading;
    SettingsStore store = seams_.Settings();
    const QString key = QString::fromLatin1(kCommonFilesKey);
    if (!store.KeyExists(key))
        reading.Errors << QStringLiteral("Unable to locate Registry Key");
    else if (!store.OpenKey(key, false))
        // Reported below as the missing path; the store's own reason goes to the log.
        qWarning("The key %s cannot be opened: %s", kCommonFilesKey, qUtf8Printable(store.LastError()));

    const QString value = QString::fromLatin1(kDataFolderValue);
    if (store.HasOpenKey() && store.ValueExists(value)) {
        const std::optional<QString> text = store.ReadString(value);
        if (!text) throw QuillonError(ToEngine(store.LastError()));
        reading.Folder = *text;
    } else {
        reading.Errors << QStringLiteral("Unable to create path from Registry");
    }
    store.CloseKey();
    return reading;
}

bool TSession::LoadData(const QString& dataFolder)
{
    const DataSetPaths paths =
        DataSetPathsIn(FilePathForEngine(seams_.paths.ProgramFolder()), FilePathForEngine(dataFolder));
    // Loaded while the splash was up, when those were the same files.
    std::optional<DataSetLoad> preloaded = TDataPreload::TakeFor(paths, data_);
    const DataSetLoad load = preloaded ? std::move(*preloaded) : LoadDataSet(paths, data_);
    if (load.Unreadable) {
        const QString file = QFile::decodeName(QByteArray::fromStdString(load.Unreadable->File));
        throw QuillonError(ToEngine(QStringLiteral("Cannot open file \"%1\"").arg(file)));
    }
    // The message as it always read, then where the files were looked for.
    missingFilesText_ = FromEngine(kMissingFilesMessage) + QLatin1Char('\r') +
                        QFile::decodeName(QByteArray::fromStdString(
                            MissingFilesDetail(FilePathForEngine(dataFolder), load.Missing)));
    return load.Missing.empty();
}

void TSession::ReleaseConnectorNames()
{
    data_.catalogue.ConnectorTypeNames.clear();
    data_.catalogue.ConnectorTypeNames.shrink_to_fit();
}

LoadedSettings TSession::LoadStoredQuery()
{
    querySetUp_ = true;
    SettingsStore store = seams_.Settings();
    return LoadSettings(store);
}

void TSession::StoreQuery(const QueryPage& page, bool saveOnExit) const
{
    if (!querySetUp_) return;
    SettingsStore store = seams_.Settings();
    const bool blankBand = page.BeginningFrequency.empty() && page.EndingFrequency.empty();
    // Nothing is shown: the values written before a refusal stay.
    const bool stored = blankBand ? SaveCheckMarkOnly(store, saveOnExit)
                                  : SaveSettings(store, StoredQueryFromPage(page, saveOnExit));
    if (!stored) qWarning("The query could not be stored: %s", qUtf8Printable(store.LastError()));
}

SearchOutcome TSession::Search(const QueryPage& page) const
{
    return RunSearch(page, commandLinePartNumber_, data_.catalogue.Lines());
}

void TSession::SetResultLines(LineList lines)
{
    resultLines_ = std::move(lines);
    catalogueRank_.resize(resultLines_.size());
    std::iota(catalogueRank_.begin(), catalogueRank_.end(), std::size_t{0});
    sortedBy_.reset();
}

std::vector<std::size_t> TSession::SortResultRows(int column, std::span<const std::string> shownCells,
                                                  SortDirection direction)
{
    const std::size_t count = shownCells.size();
    const bool withLines = catalogueRank_.size() == count;
    // Sorting the cells in catalogue order keeps catalogue order among equal
    // ones, whatever order the rows were shown in before.
    std::vector<std::string> byCatalogue(count);
    std::vector<std::size_t> shownAt(count);
    for (std::size_t row = 0; row < count; ++row) {
        const std::size_t rank = withLines ? catalogueRank_[row] : row;
        byCatalogue[rank] = shownCells[row];
        shownAt[rank] = row;
    }
    std::vector<std::size_t> order = SortedRowOrder(byCatalogue, direction);
    for (std::size_t& row : order) row = shownAt[row];
    if (withLines) {
        ApplyRowOrder(resultLines_, order);
        ApplyRowOrder(catalogueRank_, order);
    }
    sortedBy_ = RowSort{column, direction};
    return order;
}

TTransmissionLine* TSession::ResultLineAt(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= resultLines_.size()) return nullptr;
    return resultLines_[static_cast<std::size_t>(row)];
}

void TSession::CompletePrices(const std::function<void(std::size_t)>& progress) const
{
    quillon::CompletePrices(resultLines_, data_.PriceListLines, progress);
}

std::optional<std::string> TSession::FillResultRows(ResultTable& table, const LineList& lines,
                                                    const InteractiveFillInputs& page,
                                                    std::optional<long double> maxLoss)
{
    // With exactly one argument every filling of the run is the command line's.
    if (arguments_.size() == 1) return FillCommandLineRows(table, lines, ToEngine(arguments_.front()));
    InteractiveFillInputs inputs = page;
    inputs.Rates = &data_.exchangeRates;
    filling_ = inputs;
    fillingMaxLoss_ = maxLoss;
    return FillInteractiveRows(table, lines, inputs);
}

std::optional<RowBasis> TSession::RowBasisOf(const TTransmissionLine& line) const
{
    try {
        if (arguments_.size() == 1) return CommandLineRowBasis(line, ToEngine(arguments_.front()));
        if (filling_) return InteractiveRowBasis(*filling_, fillingMaxLoss_);
    } catch (const QuillonError&) {
        // The filling stopped on the same text; its rows show no figures either.
    }
    return std::nullopt;
}

std::optional<std::string> TSession::FillPartNumbers(PartNumberTable& table, const TConnector* connector,
                                                     int currencyTag) const
{
    return FillPartNumberRows(table, connector, data_.PriceListLines, data_.exchangeRates, currencyTag);
}

std::optional<RunBudgetSheet> TSession::RunBudgetAt(int row, const ResultRow& shownCells,
                                                    const std::array<std::string, 2>& partNumbers) const
{
    const TTransmissionLine* line = ResultLineAt(row);
    if (line == nullptr || !RowFilledToEnd(shownCells)) return std::nullopt;
    const std::optional<RowBasis> basis = RowBasisOf(*line);
    if (!basis) return std::nullopt;  // no length: the row hides its computed columns
    try {
        return MakeRunBudgetSheet(*line, *basis, partNumbers, data_.PriceListLines);
    } catch (const QuillonError&) {
        // The filling of a completed row met none of these.
        return std::nullopt;
    }
}

StoredCurrency TSession::ReadStoredCurrency() const
{
    SettingsStore store = seams_.Settings();
    return quillon::ReadStoredCurrency(store, HasExchangeRates());
}

void TSession::StoreCurrency(int tag) const
{
    // The choice still holds for this run when the store cannot keep it.
    SettingsStore store = seams_.Settings();
    if (!quillon::StoreCurrency(store, tag))
        qWarning("The chosen currency could not be stored: %s", qUtf8Printable(store.LastError()));
}

}  // namespace quillon
