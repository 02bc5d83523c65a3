// Fuzz entry from end to end: a catalogue, a price list, exchange rates and a
// query file as the window would load them, the search, and the filling of
// the results table.
//
// The input is up to five parts separated by lines "%%": catalogue, price
// list, exchange rates (no rates file when the part is missing), query file
// (section "data", plus "Currency" for the chosen Tag), and the one-argument
// command line ("PN|100|M"; when missing or empty, the query file's page and
// the interactive filling).

#include "fuzz/Entries.h"
#include "fuzz/FuzzInput.h"

#include "engine/Catalogue.h"
#include "engine/Currencies.h"
#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/PipeRecord.h"
#include "engine/PriceList.h"
#include "engine/ProfileText.h"
#include "engine/TextFile.h"
#include "engine/QueryFileValues.h"
#include "engine/QueryPageRules.h"
#include "engine/ResultRows.h"
#include "engine/Search.h"

#include <algorithm>
#include <string>

namespace quillon::fuzz {

namespace {

std::vector<std::string> PartLines(const std::vector<std::string_view>& parts, std::size_t index)
{
    return index < parts.size() ? SplitLines(parts[index]) : std::vector<std::string>{};
}

// Checks a "%.2f" cell, or a price cell: the prefix, then the amount.
void CheckAmount(const std::string& cell, std::string_view prefix)
{
    Check(cell.compare(0, prefix.size(), prefix) == 0, "a price cell without its currency");
    const std::string amount = cell.substr(prefix.size());
    const std::size_t dot = amount.find('.');
    Check(dot != std::string::npos && amount.size() == dot + 3 && amount.find_first_of("eE") == std::string::npos,
          "a cell not in two decimals");
    Check(amount != "-0.00", "a cell of -0.00");
    Check(IsNumberSyntax(amount), "a cell that is no number");
}

}  // namespace

void SearchEndToEnd(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string_view> parts = Sections(Text(data, size));

    quillon::Catalogue catalogue;
    try {
        BuildCatalogue(PartLines(parts, 0), catalogue);
    } catch (const LoadError&) {
        // The window reports it and goes on with the lines read before.
    }
    const quillon::PriceList prices(PartLines(parts, 1));
    const quillon::ExchangeRates rates{parts.size() > 2, PartLines(parts, 2)};
    const std::vector<std::string> query = ReadIniSection(PartLines(parts, 3), kQuerySection);
    const std::vector<std::string> commandLines = PartLines(parts, 4);
    const std::string commandLine = commandLines.empty() ? std::string() : commandLines.front();

    QueryPageLists lists{catalogue.BeginFrequencies, catalogue.EndFrequencies, catalogue.ConnectorTypeNames,
                         catalogue.ConnectorTypeNames};
    lists.Connector1.insert(lists.Connector1.begin(), "");
    lists.Connector2.insert(lists.Connector2.begin(), "");
    std::vector<Message> messages;
    // A part-number command line starts from the page's command-line
    // defaults; otherwise the query file fills the page.
    const QueryPage page =
        commandLine.empty() ? ApplyQueryFile(QueryPage{}, lists, query, messages) : CommandLineDefaults();
    long double tagNumber = 1;
    int tag = 1;
    if (TryReadNumber(ValueOrDefault(query, "Currency", "1"), tagNumber) && tagNumber >= 1 && tagNumber <= 36)
        tag = static_cast<int>(tagNumber);

    const LineList all = catalogue.Lines();
    const SearchOutcome outcome = RunSearch(page, commandLine, all);
    if (outcome.Error) Check(!outcome.Error->empty(), "a search error without its text");
    if (!outcome.Result) return;
    const LineList& found = *outcome.Result;
    for (const TTransmissionLine* line : found)
        Check(line != nullptr && std::find(all.begin(), all.end(), line) != all.end(), "a result not in the catalogue");
    CompletePrices(found, prices);

    ResultTable table;
    const QueryPage& p = outcome.Page;
    const InteractiveFillInputs inputs{p.BeginningFrequency, p.EndingFrequency, p.Length, !p.Meters, p.Vswr, tag, &rates};
    const std::optional<std::string> error = commandLine.empty() ? FillInteractiveRows(table, found, inputs)
                                                                 : FillCommandLineRows(table, found, commandLine);
    if (error) {
        Check(!error->empty(), "a filling error without its text");
    } else {
        Check(table.Rows.size() == found.size(), "a row for every line");
    }
    const std::string code = CurrentCurrencyCode(rates, tag).Code;
    for (std::size_t r = 0; r < table.Rows.size(); ++r) {
        const ResultRow& row = table.Rows[r];
        if (row[0].empty()) continue;  // not reached before the error
        Check(row[0] == found[r]->PartNumber, "the row of another line");
        for (int c = 4; c <= 11; ++c) {
            const std::string& cell = row[static_cast<std::size_t>(c)];
            if (!cell.empty() && cell != "N/A") CheckAmount(cell, "");
        }
        if (!row[3].empty()) {
            Check(row[3].find_first_of("eE") == std::string::npos && row[3] != "-0", "mid band not in general format");
        }
        for (int c = 12; c <= 13; ++c) {
            const std::string& cell = row[static_cast<std::size_t>(c)];
            if (!cell.empty()) CheckAmount(cell, commandLine.empty() ? code + " " : std::string("$"));
        }
    }
}

}  // namespace quillon::fuzz
