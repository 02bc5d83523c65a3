#include "tests/engine/ReferenceCatalogue.h"

#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/PipeRecord.h"
#include "tests/engine/ReferenceNumberRead.h"

#include <algorithm>
#include <array>
#include <set>
#include <string_view>

namespace quillon::test {
namespace {

struct CaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const
    {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(UpperAscii(x)) < static_cast<unsigned char>(UpperAscii(y));
        });
    }
};
using SortedTexts = std::set<std::string, CaseInsensitiveLess>;

template <typename Float>
Float Read(std::string_view text)
{
    Float value = 0;
    if (!ReferenceTryReadNumber(text, value)) throw QuillonError(ConversionErrorText(text));
    return value;
}



std::vector<std::string> InTextOrder(const std::vector<std::string>& initial, const std::vector<double>& values)
{
    SortedTexts texts(initial.begin(), initial.end());
    for (const double value : values) texts.insert(FormatGeneral(value));
    return {texts.begin(), texts.end()};
}

void SortInNumericOrder(std::vector<std::string>& texts)
{
    std::stable_sort(texts.begin(), texts.end(), [](const std::string& a, const std::string& b) {
        return Read<long double>(a) < Read<long double>(b);
    });
}

}  // namespace

std::array<std::string_view, 22> ReferenceSplitRow(std::string_view row)
{
    std::array<std::string_view, 22> fields{};
    std::size_t start = 0;
    for (std::string_view& field : fields) {
        const std::size_t bar = row.find('|', start);
        if (bar == std::string_view::npos) break;
        field = row.substr(start, bar - start);
        start = bar + 1;
    }
    return fields;
}

std::vector<std::string> ReferenceInNumericOrder(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    std::vector<std::string> texts;
    for (const double value : values) {
        std::string text = FormatGeneral(value);
        if (texts.empty() || texts.back() != text) texts.push_back(std::move(text));
    }
    return texts;
}

void ReferenceBuildCatalogue(const std::vector<std::string>& rows, Catalogue& catalogue)
{
    const std::vector<std::string> initialBegins = catalogue.BeginFrequencies, initialEnds = catalogue.EndFrequencies;
    SortedTexts names(catalogue.ConnectorTypeNames.begin(), catalogue.ConnectorTypeNames.end());
    std::vector<double> begins, ends;
    auto connectorOf = [&](const std::array<std::string_view, 22>& f) {
        auto connector = std::make_unique<TConnector>();
        connector->TypeName = f[11];
        names.insert(connector->TypeName);
        connector->Figure1 = Read<long double>(f[12]);
        connector->Figure2 = Read<long double>(f[13]);
        connector->Figure3 = Read<long double>(f[14]);
        connector->Figure4 = Read<long double>(f[15]);
        for (std::size_t i = 16; i < f.size(); ++i)
            if (!f[i].empty()) connector->PartNumbers.push_back(f[i]);
        connector->PartNumberCount = static_cast<std::int32_t>(connector->PartNumbers.size());
        return connector;
    };
    TTransmissionLine* current = nullptr;
    bool anyRow = false;
    for (std::size_t i = 1; i < rows.size(); ++i) {  // the first row is the header
        if (TrimBlanks(rows[i]).empty()) continue;
        anyRow = true;
        const auto f = ReferenceSplitRow(rows[i]);
        try {
            if (current == nullptr || TrimBlanks(f[3]) != current->PartNumber) {
                auto line = std::make_unique<TTransmissionLine>();
                line->BeginFrequency = Read<double>(f[0]);
                begins.push_back(line->BeginFrequency);
                line->EndFrequency = Read<double>(f[1]);
                ends.push_back(line->EndFrequency);
                line->CatalogueField3 = f[2];
                line->PartNumber = f[3];
                line->Kind = f[4];
                line->CatalogueField6 = f[5];
                line->DeratingKey = Read<long double>(f[6]);
                line->AttenuationA = Read<double>(f[7]);
                line->AttenuationB = Read<double>(f[8]);
                line->AveragePowerConstant = Read<double>(f[9]);
                line->PeakPower = Read<double>(f[10]);
                line->AddConnector(connectorOf(f));
                current = line.get();
                catalogue.AllLines.push_back(std::move(line));
            } else {
                current->AddConnector(connectorOf(f));
            }
        } catch (const QuillonError& e) {
            // The lists as far as they got, in text order.
            catalogue.BeginFrequencies = InTextOrder(initialBegins, begins);
            catalogue.EndFrequencies = InTextOrder(initialEnds, ends);
            catalogue.ConnectorTypeNames.assign(names.begin(), names.end());
            throw LoadError(e.message(), i + 1);
        }
    }
    if (!anyRow) throw LoadError(ListIndexErrorText(0), rows.empty() ? 0 : 1);
    if (initialBegins.empty() && initialEnds.empty()) {
        catalogue.BeginFrequencies = ReferenceInNumericOrder(begins);
        catalogue.EndFrequencies = ReferenceInNumericOrder(ends);
    } else {
        catalogue.BeginFrequencies = InTextOrder(initialBegins, begins);
        catalogue.EndFrequencies = InTextOrder(initialEnds, ends);
        SortInNumericOrder(catalogue.BeginFrequencies);
        SortInNumericOrder(catalogue.EndFrequencies);
    }
    catalogue.ConnectorTypeNames.assign(names.begin(), names.end());
}

}  // namespace quillon::test
