#include "engine/Catalogue.h"

#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/PipeRecord.h"

#include <algorithm>
#include <set>
#include <string>

namespace quillon {
namespace {

// Case-insensitive text order of the value lists.
struct CaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const
    {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(UpperAscii(x)) < static_cast<unsigned char>(UpperAscii(y));
        });
    }
};

using SortedTexts = std::set<std::string, CaseInsensitiveLess>;

// Walks a row field by field; a field is the text up to the next "|", taken
// as it stands. Past the last "|" every field reads as empty.
class FieldWalker {
public:
    explicit FieldWalker(std::string_view row) : rest_(row) {}
    std::string_view Next()
    {
        const std::size_t end = rest_.find('|');
        if (end == std::string_view::npos) return {};
        const std::string_view field = rest_.substr(0, end);
        rest_.remove_prefix(end + 1);
        return field;
    }

private:
    std::string_view rest_;
};

struct Builder {
    Catalogue& catalogue;
    SortedTexts begins, ends, connectorNames;

    std::unique_ptr<TTransmissionLine> ParseLineRow(std::string_view row)
    {
        auto line = std::make_unique<TTransmissionLine>();
        FieldWalker fields(row);
        line->BeginFrequency = ReadDouble(fields.Next());
        begins.insert(FormatGeneral(line->BeginFrequency));
        line->EndFrequency = ReadDouble(fields.Next());
        ends.insert(FormatGeneral(line->EndFrequency));
        line->CatalogueField3 = fields.Next();
        line->PartNumber = fields.Next();
        line->Kind = fields.Next();
        line->CatalogueField6 = fields.Next();
        line->DeratingKey = ReadNumber(fields.Next());
        line->AttenuationA = ReadDouble(fields.Next());
        line->AttenuationB = ReadDouble(fields.Next());
        line->AveragePowerConstant = ReadDouble(fields.Next());
        line->PeakPower = ReadDouble(fields.Next());
        return line;
    }

    std::unique_ptr<TConnector> ParseConnectorRow(std::string_view row)
    {
        auto connector = std::make_unique<TConnector>();
        FieldWalker fields(row);
        for (int i = 0; i < 11; ++i) fields.Next();
        connector->TypeName = fields.Next();
        connectorNames.insert(connector->TypeName);  // a spelling differing only in case is not added
        connector->Figure1 = ReadNumber(fields.Next());
        connector->Figure2 = ReadNumber(fields.Next());
        connector->Figure3 = ReadNumber(fields.Next());
        connector->Figure4 = ReadNumber(fields.Next());
        for (int i = 17; i <= 22; ++i) {
            const std::string_view partNumber = fields.Next();
            if (!partNumber.empty()) connector->AddPartNumber(std::string(partNumber));
        }
        return connector;
    }

    void Publish()
    {
        catalogue.BeginFrequencies.assign(begins.begin(), begins.end());
        catalogue.EndFrequencies.assign(ends.begin(), ends.end());
        catalogue.ConnectorTypeNames.assign(connectorNames.begin(), connectorNames.end());
    }
};

bool IsBlank(std::string_view row) { return TrimBlanks(row).empty(); }

}  // namespace

LineList Catalogue::Lines() const
{
    LineList lines;
    lines.reserve(AllLines.size());
    for (const auto& line : AllLines) lines.push_back(line.get());
    return lines;
}

void BuildCatalogue(const std::vector<std::string>& rows, Catalogue& catalogue)
{
    Builder builder{catalogue, {}, {}, {}};
    for (const auto& s : catalogue.BeginFrequencies) builder.begins.insert(s);
    for (const auto& s : catalogue.EndFrequencies) builder.ends.insert(s);
    for (const auto& s : catalogue.ConnectorTypeNames) builder.connectorNames.insert(s);

    // The first row is the header, whatever it holds; blank rows (an editor's
    // trailing empty line) carry nothing and are passed over.
    std::size_t first = 1;
    while (first < rows.size() && IsBlank(rows[first])) ++first;
    if (first >= rows.size()) throw LoadError(ListIndexErrorText(0), rows.empty() ? 0 : 1);

    TTransmissionLine* current = nullptr;
    try {
        for (std::size_t i = first; i < rows.size(); ++i) {
            const std::string& row = rows[i];
            if (IsBlank(row)) continue;
            try {
                if (current == nullptr || PipeField(row, 4) != current->PartNumber) {
                    auto line = builder.ParseLineRow(row);
                    line->AddConnector(builder.ParseConnectorRow(row));
                    current = line.get();
                    catalogue.AllLines.push_back(std::move(line));
                } else {
                    current->AddConnector(builder.ParseConnectorRow(row));
                }
            } catch (const LoadError&) {
                throw;
            } catch (const QuillonError& e) {
                throw LoadError(e.message(), i + 1);
            }
        }
    } catch (...) {
        builder.Publish();
        throw;
    }
    builder.Publish();
    SortNumerically(catalogue.BeginFrequencies);
    SortNumerically(catalogue.EndFrequencies);
}

void SortNumerically(std::vector<std::string>& numberTexts)
{
    if (numberTexts.size() < 2) return;
    // Read every text once, then a stable sort: the same order as repeated
    // passes exchanging neighbours only when the first is strictly greater.
    std::vector<long double> keys;
    keys.reserve(numberTexts.size());
    for (const auto& text : numberTexts) keys.push_back(ReadNumber(text));
    std::vector<std::size_t> order(numberTexts.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    std::vector<std::string> sorted;
    sorted.reserve(order.size());
    for (std::size_t i : order) sorted.push_back(std::move(numberTexts[i]));
    numberTexts = std::move(sorted);
}

}  // namespace quillon
