#include "tools/QueryRun.h"

#include "tools/AnalysisRun.h"

#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/DataSet.h"
#include "engine/ProfileText.h"
#include "engine/QueryFileValues.h"
#include "engine/QueryPageRules.h"
#include "engine/TextFile.h"

#include <algorithm>

namespace quillon::tool {
namespace {

Message ErrorMessage(std::string text) { return {MessageKind::Error, std::move(text), false}; }

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

std::string First(const std::vector<std::string>& items) { return items.empty() ? std::string() : items.front(); }

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

    SearchOutcome outcome;
    if (options.PartNumber) {
        outcome = RunSearch(CommandLineDefaults(), *options.PartNumber, allLines);
    } else {
        const QueryPage page = QueryPageFor(options, catalogue, queryFileLines.Lines, result.Messages);
        outcome = RunSearch(page, "", allLines);
    }
    result.Messages.insert(result.Messages.end(), outcome.Messages.begin(), outcome.Messages.end());
    ResultTable& table = result.Table.emplace();
    if (outcome.Error) return Fail(result, *outcome.Error);
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
    if (fillError) return Fail(result, *fillError);
    AddAnalysis(options.Analysis, table, lines, basis, result);
    result.ExitCode = 0;
    return result;
}

}  // namespace quillon::tool
