#include "tools/DataCheck.h"

#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/PipeRecord.h"
#include "engine/TextFile.h"
#include "engine/TransmissionLib.h"

#include <cmath>
#include <initializer_list>
#include <limits>
#include <map>
#include <optional>
#include <set>

namespace quillon::tool {
namespace {

bool IsBlankRow(const std::string& row)
{
    return TrimBlanks(row).empty();
}

class Problems {
public:
    void Add(const std::string& file, std::size_t lineNumber, const std::string& text)
    {
        listing_ += file;
        if (lineNumber != 0) listing_ += ":" + std::to_string(lineNumber);
        listing_ += ": " + text + "\n";
    }
    std::string Take() { return std::move(listing_); }

private:
    std::string listing_;
};

// The error a row gives when the catalogue is built from it alone (after the
// first row of its part number when it continues one), as start-up would
// report it; nothing for a good row.
std::optional<std::string> RowError(const std::string& header, const std::string* lineRow, const std::string& row)
{
    std::vector<std::string> rows{header};
    if (lineRow != nullptr) rows.push_back(*lineRow);
    rows.push_back(row);
    Catalogue one;
    try {
        BuildCatalogue(rows, one);
    } catch (const LoadError& error) {
        // A bad first row is reported on its own line already.
        if (error.lineNumber() == rows.size()) return error.message();
    } catch (const QuillonError& error) {
        return error.message();
    }
    return std::nullopt;
}

// Fields 17 to 22 of a row as the catalogue takes them: as they stand, empty ones left out.
std::vector<std::string> ConnectorPartNumbers(std::string_view row)
{
    std::vector<std::string> numbers;
    for (int field = 1; field <= 22; ++field) {
        const std::size_t end = row.find('|');
        if (end == std::string_view::npos) break;
        if (field >= 17 && end > 0) numbers.emplace_back(row.substr(0, end));
        row.remove_prefix(end + 1);
    }
    return numbers;
}

struct PriceEntry {
    std::size_t LineNumber = 0;
    bool HasPrice = false;
};

// A price as the list holds it: a number within the range of the 64-bit
// float it is kept in; the problem's text otherwise.
std::optional<std::string> PriceProblem(const std::string& text)
{
    if (text.empty()) return "no price";
    long double value = 0;
    if (!TryReadNumber(text, value)) return ConversionErrorText(text);
    if (std::fabs(value) > std::numeric_limits<double>::max()) return "'" + text + "' is beyond the range of a price";
    return std::nullopt;
}

std::map<std::string, PriceEntry> CheckPriceList(const std::string& path, const std::vector<std::string>& lines,
                                                 Problems& problems)
{
    std::map<std::string, PriceEntry> entries;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || IsSkippedLeadChar(line.front()) || IsBlankRow(line)) continue;
        const std::size_t number = i + 1;
        const std::string partNumber = PipeField(line, 3);
        if (partNumber.empty()) {
            problems.Add(path, number, "no part number");
            continue;
        }
        const auto [it, added] = entries.try_emplace(partNumber, PriceEntry{number, false});
        if (!added) {
            problems.Add(path, number,
                         partNumber + ": already listed on line " + std::to_string(it->second.LineNumber) +
                             "; this line is never used");
            continue;
        }
        if (const std::optional<std::string> problem = PriceProblem(PipeField(line, 6)))
            problems.Add(path, number, partNumber + ": " + *problem);
        else
            it->second.HasPrice = true;
    }
    return entries;
}

void CheckRates(const std::string& path, const std::vector<std::string>& lines, Problems& problems)
{
    std::set<std::string> menuCodes;
    for (const CurrencyItem& item : CurrencyMenu()) menuCodes.insert(std::string(item.Code));
    std::map<std::string, std::size_t> seen;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || IsSkippedLeadChar(line.front()) || IsBlankRow(line)) continue;
        const std::size_t number = i + 1;
        const std::string code = PipeField(line, 1);
        if (menuCodes.count(code) == 0) {
            problems.Add(path, number, "'" + code + "' is no currency of the menu; this line is never used");
            continue;
        }
        const auto [it, added] = seen.try_emplace(code, number);
        if (!added) {
            problems.Add(path, number,
                         code + ": already listed on line " + std::to_string(it->second) + "; this line is never used");
            continue;
        }
        const std::string text = PipeField(line, 2);
        long double rate = 0;
        if (!TryReadNumber(text, rate))
            problems.Add(path, number, code + ": " + ConversionErrorText(text));
        else if (rate == 0)
            problems.Add(path, number, code + ": Floating point division by zero");
        else if (!(rate > 0) || !std::isfinite(rate))
            problems.Add(path, number, code + ": '" + text + "' is no rate");
    }
}

void CheckCatalogue(const std::string& path, const std::vector<std::string>& rows,
                    const std::map<std::string, PriceEntry>& prices, const std::string& priceListPath,
                    Problems& problems)
{
    std::size_t first = 1;
    while (first < rows.size() && IsBlankRow(rows[first])) ++first;
    if (first >= rows.size()) {
        problems.Add(path, rows.empty() ? 0 : 1, ListIndexErrorText(0));
        return;
    }
    const std::string& header = rows.front();
    const std::string* lineRow = nullptr;  // the first row of the current part number
    std::string partNumber;
    std::set<std::string> connectorNumbersSeen;
    for (std::size_t i = first; i < rows.size(); ++i) {
        const std::string& row = rows[i];
        if (IsBlankRow(row)) continue;
        const std::size_t number = i + 1;
        const bool continues = lineRow != nullptr && PipeField(row, 4) == partNumber;
        if (!continues) {
            lineRow = &row;
            partNumber = PipeField(row, 4);
        }
        if (const std::optional<std::string> error = RowError(header, continues ? lineRow : nullptr, row)) {
            problems.Add(path, number, (partNumber.empty() ? std::string() : partNumber + ": ") + *error);
            continue;
        }
        if (!continues) {
            Catalogue one;
            BuildCatalogue({header, row}, one);
            const TTransmissionLine& line = *one.AllLines.front();
            // The loss law over the line's own band: a line no query can list without an error.
            try {
                (void)AttenuationPer100ft(line, line.BeginFrequency, line.EndFrequency);
            } catch (const QuillonError& error) {
                problems.Add(path, number, partNumber + ": " + error.message() + " (loss over its own band)");
            }
            if (prices.count(partNumber) == 0)
                problems.Add(path, number, partNumber + ": not in the price list " + priceListPath);
        }
        for (const std::string& connectorNumber : ConnectorPartNumbers(row)) {
            const auto it = prices.find(connectorNumber);
            if (it != prices.end() && it->second.HasPrice) continue;
            if (!connectorNumbersSeen.insert(connectorNumber).second) continue;
            problems.Add(path, number,
                         "connector part number " + connectorNumber +
                             (it == prices.end() ? ": not in the price list " + priceListPath : ": without a price"));
        }
    }
}

}  // namespace

std::vector<std::size_t> LineRowNumbers(const std::vector<std::string>& rows)
{
    std::vector<std::size_t> numbers;
    std::optional<std::string> current;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (IsBlankRow(rows[i])) continue;
        std::string partNumber = PipeField(rows[i], 4);
        if (current && *current == partNumber) continue;
        current = std::move(partNumber);
        numbers.push_back(i + 1);
    }
    return numbers;
}

bool HasUsablePriceEntry(const PriceList& priceList)
{
    bool found = false;
    ForEachLine(priceList.Text(), [&](std::string_view line) {
        if (line.empty() || IsSkippedLeadChar(line.front())) return true;
        found = !PipeField(line, 3).empty() && !PriceProblem(PipeField(line, 6));
        return !found;
    });
    return found;
}

bool HasRateLine(const ExchangeRates& rates, const std::string& code)
{
    for (const std::string& line : rates.Lines)
        if (PipeField(line, 1) == code) return true;
    return false;
}

DataCheck CheckDataSet(const DataSetPaths& paths)
{
    DataCheck check;
    for (const std::string* path : {&paths.Catalogue, &paths.PriceList})
        if (!IsPresentFile(*path)) check.Errors.push_back(*path + ": no such file");
    if (!check.Errors.empty()) return check;
    const TextLines rows = ReadTextLines(paths.Catalogue);
    const TextLines prices = ReadTextLines(paths.PriceList);
    TextLines rates;
    const bool hasRates = IsPresentFile(paths.Rates);
    if (hasRates) rates = ReadTextLines(paths.Rates);
    for (const TextLines* read : std::initializer_list<const TextLines*>{&rows, &prices, &rates})
        if (read->Error) check.Errors.push_back(read->Error->File + ": cannot be read: " + read->Error->Reason);
    if (!check.Errors.empty()) return check;

    // Problems are listed file by file, each in line order.
    Problems priceProblems;
    const std::map<std::string, PriceEntry> entries = CheckPriceList(paths.PriceList, prices.Lines, priceProblems);
    Problems problems;
    CheckCatalogue(paths.Catalogue, rows.Lines, entries, paths.PriceList, problems);
    check.Listing = problems.Take() + priceProblems.Take();
    if (hasRates) {
        Problems rateProblems;
        CheckRates(paths.Rates, rates.Lines, rateProblems);
        check.Listing += rateProblems.Take();
    }
    return check;
}

}  // namespace quillon::tool
