#include "tools/QueryRun.h"

#include "tools/AnalysisRun.h"

#include "engine/DataSet.h"
#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/ProfileText.h"
#include "engine/QueryFileValues.h"
#include "engine/QueryPageRules.h"
#include "engine/TextFile.h"
#include "tools/DataCheck.h"
#include "tools/TableSort.h"
#include "tools/TableText.h"

#include <algorithm>

namespace quillon::tool {
namespace {

Message ErrorMessage(std::string text)
{
    return {MessageKind::Error, std::move(text), false};
}

ToolResult& Fail(ToolResult& result, std::string text)
{
    result.Messages.push_back(ErrorMessage(std::move(text)));
    result.ExitCode = 2;
    return result;
}

std::string LoadErrorText(const std::string& path, const LoadError& error)
{
    std::string where = path;
    if (error.lineNumber() != 0) where += ":" + std::to_string(error.lineNumber());
    return where + ": " + error.message();
}

// Rows after the one where a filling stopped stay empty in the grid and tell nothing.
void DropUnfilledRows(ResultTable& table)
{
    auto empty = [](const ResultRow& row) {
        return std::all_of(row.begin(), row.end(), [](const std::string& cell) { return cell.empty(); });
    };
    while (!table.Rows.empty() && empty(table.Rows.back())) table.Rows.pop_back();
}

std::string First(const std::vector<std::string>& items)
{
    return items.empty() ? std::string() : items.front();
}

Message WarningMessage(std::string text)
{
    return {MessageKind::Warning, std::move(text), false};
}

// Data the window would price with silently wrong: the answer stays the
// window's, a warning says why its prices cannot be trusted.
void WarnAboutPrices(const ToolOptions& options, const DataSetPaths& paths, const DataSet& data,
                     std::vector<Message>& messages)
{
    if (!HasUsablePriceEntry(data.PriceListLines))
        messages.push_back(
            WarningMessage(paths.PriceList + ": no entry with a part number and a price; every price shows as 0"));
    if (options.CurrencyTag == 1) return;
    const std::string code(CurrencyCodeForTag(options.CurrencyTag));
    if (!data.exchangeRates.HasExchangeRates)
        messages.push_back(WarningMessage(paths.Rates + ": no such file; prices stay in US dollars, not " + code));
    else if (!HasRateLine(data.exchangeRates, code))
        messages.push_back(WarningMessage(paths.Rates + ": no rate for " + code + "; prices are shown unconverted"));
}

std::string LineLocation(const std::string& cataloguePath, const Catalogue& catalogue, const TTransmissionLine* line)
{
    const TextLines rows = ReadTextLines(cataloguePath);
    const std::vector<std::size_t> numbers = LineRowNumbers(rows.Lines);
    for (std::size_t i = 0; i < catalogue.AllLines.size() && i < numbers.size(); ++i)
        if (catalogue.AllLines[i].get() == line) return cataloguePath + ":" + std::to_string(numbers[i]) + ": ";
    return {};
}

// A search that stopped on a formula of one line (a loss criterion over a
// waveguide below its cut-off, say) names that line. An error the page's own
// values give, with no line at all, names none.
std::string WhereSearchStopped(const std::string& cataloguePath, const Catalogue& catalogue, const QueryPage& page,
                               const std::string& error)
{
    if (RunSearch(page, "", {}).Error) return {};
    for (const auto& line : catalogue.AllLines) {
        const SearchOutcome one = RunSearch(page, "", {line.get()});
        if (one.Error && *one.Error == error)
            return LineLocation(cataloguePath, catalogue, line.get()) + line->PartNumber + ": " + error;
    }
    return {};
}

// A formula or conversion error of the filling names the catalogue line it
// stopped at: the last row the filling reached, which always holds its part number.
std::string WhereFillingStopped(const std::string& cataloguePath, const Catalogue& catalogue, const LineList& lines,
                                const ResultTable& table, const std::string& error)
{
    if (table.Rows.empty()) return error;
    const TTransmissionLine* stopped = lines.at(table.Rows.size() - 1);
    return LineLocation(cataloguePath, catalogue, stopped) + stopped->PartNumber + ": " + error;
}

// The lines in the order the answer lists them: --sort orders the printed
// rows, and the chart of "the listed lines" follows that order. (An unknown
// heading is refused when the answer is printed; the order stays then.)
LineList InListedOrder(const ToolOptions& options, const ResultTable& table, const ExtraColumns& extra,
                       const LineList& lines)
{
    if (!options.SortColumn || options.Analysis.PlotFile.empty()) return lines;
    const PrintedTable printed = PrintedTableOf(table, extra);
    const std::optional<std::size_t> column = FindColumn(printed, *options.SortColumn);
    if (!column || printed.Rows.size() != lines.size()) return lines;
    LineList listed;
    listed.reserve(lines.size());
    for (const std::size_t row : SortedRows(printed, *column, options.Descending)) listed.push_back(lines[row]);
    return listed;
}

}  // namespace

QueryPage QueryPageFor(const ToolOptions& options, const Catalogue& catalogue,
                       const std::vector<std::string>& queryFileLines, std::vector<Message>& messages)
{
    // Start-up fills the four lists and selects their first entries.
    QueryPageLists lists{catalogue.BeginFrequencies, catalogue.EndFrequencies, catalogue.ConnectorTypeNames,
                         catalogue.ConnectorTypeNames};
    QueryPage page;
    page.Connector1 = First(lists.Connector1);
    page.Connector2 = First(lists.Connector2);
    page.BeginningFrequency = First(lists.Beginning);
    page.EndingFrequency = First(lists.Ending);

    if (!options.QueryFile.empty())
        page = ApplyQueryFile(page, lists, ReadIniSection(queryFileLines, kQuerySection), messages);

    // Flags override the file, applied with the page's click rules.
    if (options.BandBeginning) {
        page.BeginningFrequency = *options.BandBeginning;
        page.EndingFrequency = options.BandEnding.value_or(std::string());
        SetByFrequency(page, true);
    }
    if (options.NoBandCriterion) SetByFrequency(page, false);
    if (options.MaxLoss) {
        page.MaxLoss = *options.MaxLoss;
        SetByLoss(page, true);
    }
    if (options.Length) page.Length = *options.Length;
    if (options.Meters) page.Meters = *options.Meters;
    // The connector lists are drop-down lists: a type equal to an entry apart
    // from letter case selects that entry.
    if (options.Connector1) {
        page.Connector1 = lists.Connector1[SelectOrAdd(lists.Connector1, *options.Connector1, true).Index];
        page.ByConnector1 = true;
    }
    if (options.Connector2) {
        page.Connector2 = lists.Connector2[SelectOrAdd(lists.Connector2, *options.Connector2, true).Index];
        page.ByConnector2 = true;
    }
    if (options.Kinds) {
        page.Air = options.Kinds->Air;
        page.Foam = options.Kinds->Foam;
        page.Waveguide = options.Kinds->Waveguide;
        page.Braided = options.Kinds->Braided;
    }
    if (options.Vswr) page.Vswr = *options.Vswr;
    return page;
}

ToolResult RunTool(const ToolOptions& options, const std::string& programFolder)
{
    ToolResult result;
    // Without a path of its own each file is looked for beside the tool.
    DataSetPaths paths = DataSetPathsIn(programFolder, programFolder);
    if (!options.CataloguePath.empty()) paths.Catalogue = options.CataloguePath;
    if (!options.PriceListPath.empty()) paths.PriceList = options.PriceListPath;
    if (!options.RatesPath.empty()) paths.Rates = options.RatesPath;
    // Rates named on the command line are wanted: without them every price
    // would quietly stay in US dollars.
    if (!options.RatesPath.empty() && !IsPresentFile(paths.Rates)) return Fail(result, paths.Rates + ": no such file");
    if (options.Check) {
        const DataCheck check = CheckDataSet(paths);
        result.Listing = check.Listing;
        for (const std::string& text : check.Errors) Fail(result, text);
        if (check.Errors.empty()) result.ExitCode = check.Listing.empty() ? 0 : 1;
        return result;
    }

    DataSet data;
    try {
        const DataSetLoad load = LoadDataSet(paths, data);
        if (!load.Missing.empty()) {
            Fail(result, kMissingFilesMessage);
            for (const std::string& path : load.Missing) Fail(result, path + ": no such file");
            return result;
        }
        if (load.Unreadable) return Fail(result, load.Unreadable->File + ": cannot be read");
    } catch (const LoadError& error) {
        return Fail(result, LoadErrorText(paths.Catalogue, error));
    } catch (const QuillonError& error) {
        return Fail(result, paths.Catalogue + ": " + error.message());
    }
    TextLines queryFileLines;
    if (!options.QueryFile.empty()) {
        queryFileLines = ReadTextLines(options.QueryFile);
        if (queryFileLines.Error) return Fail(result, options.QueryFile + ": cannot be read");
    }
    if (options.Analysis.CurvePartNumber) {
        RunCurve(options.Analysis, data.catalogue, result);
        return result;
    }
    const Catalogue& catalogue = data.catalogue;
    const PriceList& priceList = data.PriceListLines;
    const ExchangeRates& rates = data.exchangeRates;
    const LineList allLines = catalogue.Lines();
    WarnAboutPrices(options, paths, data, result.Messages);

    SearchOutcome outcome;
    std::string searchError;  // the error with the catalogue line it stopped at, when a line is to blame
    if (options.PartNumber) {
        outcome = RunSearch(CommandLineDefaults(), *options.PartNumber, allLines);
    } else {
        const QueryPage page = QueryPageFor(options, catalogue, queryFileLines.Lines, result.Messages);
        outcome = RunSearch(page, "", allLines);
        if (outcome.Error) searchError = WhereSearchStopped(paths.Catalogue, catalogue, page, *outcome.Error);
    }
    result.Messages.insert(result.Messages.end(), outcome.Messages.begin(), outcome.Messages.end());
    ResultTable& table = result.Table.emplace();
    if (outcome.Error) return Fail(result, searchError.empty() ? *outcome.Error : searchError);
    if (!outcome.Result || outcome.Result->empty()) {
        result.ExitCode = 1;
        return result;
    }

    const LineList& lines = *outcome.Result;
    CompletePrices(lines, priceList);
    std::optional<std::string> fillError;
    ResultsBasis basis;
    if (options.PartNumber) {
        fillError = FillCommandLineRows(table, lines, *options.PartNumber);
        basis.Argument = *options.PartNumber;
    } else {
        const QueryPage& page = outcome.Page;
        InteractiveFillInputs inputs;
        inputs.BeginningFrequency = page.BeginningFrequency;
        inputs.EndingFrequency = page.EndingFrequency;
        inputs.Length = page.Length;
        inputs.Feet = !page.Meters;
        inputs.Vswr = page.Vswr;
        inputs.CurrencyTag = options.CurrencyTag;
        inputs.Rates = &rates;
        fillError = FillInteractiveRows(table, lines, inputs);
        basis.Interactive = inputs;
        long double maxLoss = 0;
        if (page.ByLoss && TryReadNumber(page.MaxLoss, maxLoss)) basis.MaxLoss = maxLoss;
    }
    DropUnfilledRows(table);
    if (fillError) return Fail(result, WhereFillingStopped(paths.Catalogue, catalogue, lines, table, *fillError));
    AddAnalysisColumns(options.Analysis, table, lines, basis, result);
    AddListedLinesChart(options.Analysis, InListedOrder(options, table, result.Extra, lines), basis, result);
    result.ExitCode = 0;
    return result;
}

}  // namespace quillon::tool
