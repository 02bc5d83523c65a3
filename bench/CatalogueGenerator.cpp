#include "bench/CatalogueGenerator.h"

#include <array>
#include <cstdio>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon::bench {
namespace {

constexpr std::array<std::string_view, 12> kConnectorTypes{
    "N Male", "N Female", "7-16 DIN Male", "7-16 DIN Female", "4.3-10 Male", "4.3-10 Female",
    "TNC Male", "BNC Male", "SMA Male", "EIA 7/8 Flange", "EIA 1-5/8 Flange", "CPR Flange"};
constexpr std::array<std::string_view, 4> kKinds{"AIR", "FOAM", "EW", "BRAIDED"};

class Random {
public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}
    // Uniform in [low, high); the engine's raw output keeps the sequence the same everywhere.
    double Real(double low, double high) { return low + (high - low) * (engine_() / 4294967296.0); }
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(engine_() % n); }

private:
    std::mt19937 engine_;
};

std::string Number(const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

}  // namespace

GeneratedFiles GenerateFiles(const GeneratorSizes& sizes)
{
    Random random(sizes.Seed);
    GeneratedFiles files;
    files.Catalogue.reserve((sizes.Rows == 0 ? sizes.Lines * sizes.RowsPerLine : sizes.Rows) * 150);
    files.Catalogue += "Begin MHz|End MHz|Size|Part Number|Type|Jacket|Derating Key|Att A|Att B|Avg Power Const|"
                       "Peak kW|Connector|VSWR|Ins Loss dB|Max GHz|IM3 dBc|Part 1|Part 2|Part 3|Part 4|Part 5|Part 6|\r\n";

    // Price-list records to be shuffled in: one per priced part number.
    std::vector<std::string> priced;
    priced.reserve(sizes.Lines * (1 + 2 * sizes.RowsPerLine));

    for (std::size_t i = 0; i < sizes.Lines; ++i) {
        const std::string_view kind = kKinds[i % kKinds.size()];
        const bool waveguide = kind == "EW";
        const std::string partNumber = "G" + std::to_string(100000 + i) + "-" + std::string(kind.substr(0, 1));
        // Many distinct band edges, covering the query band unless the line is
        // to be left out (as many draws either way, so the rest stays the same).
        const bool outOfBand = i % 40 < sizes.OutOfBandPer40;
        const std::string begin = outOfBand   ? Number("%.3f", random.Real(850, 890))
                                  : waveguide ? Number("%.3f", random.Real(720, 800))
                                              : Number("%.3f", random.Real(0.5, 800));
        const std::string end = Number("%.1f", random.Real(900, 20000));
        const std::string a = waveguide ? Number("%.1f", random.Real(300, 700)) : Number("%.4f", random.Real(0.01, 0.3));
        const std::string b = waveguide ? Number("%.0f", random.Real(500, 3000)) : Number("%.5f", random.Real(0.0001, 0.001));
        const std::string key = Number("%.2f", random.Real(0.3, 4));
        const std::string average = Number("%.2f", random.Real(1, 10));
        const std::string peak = Number("%.0f", random.Real(5, 1000));
        const std::string lineFields = begin + "|" + end + "|" + Number("%.0f", random.Real(1, 60)) + " mm|" + partNumber +
                                       "|" + std::string(kind) + "|PE|" + key + "|" + a + "|" + b + "|" + average + "|" +
                                       peak + "|";
        priced.push_back("TL|G|" + partNumber + "|FT|generated " + std::string(kind) + " line " + std::to_string(i) +
                         ", 50 ohm|" + Number("%.2f", random.Real(0.2, 40)) + "|");
        const std::size_t rows = sizes.Rows == 0 ? sizes.RowsPerLine
                                                 : (i + 1) * sizes.Rows / sizes.Lines - i * sizes.Rows / sizes.Lines;
        for (std::size_t r = 0; r < rows; ++r) {
            const std::string_view type = kConnectorTypes[random.Below(kConnectorTypes.size())];
            const std::string c1 = partNumber + "-C" + std::to_string(r) + "A";
            const std::string c2 = partNumber + "-C" + std::to_string(r) + "B";
            files.Catalogue += lineFields + std::string(type) + "|1.05|0.05|6|-150|" + c1 + "|" + c2 + "|||||\r\n";
            priced.push_back("CN|G|" + c1 + "|EA|" + std::string(type) + " connector for " + partNumber + "|" +
                             Number("%.2f", random.Real(5, 400)) + "|");
            priced.push_back("CN|G|" + c2 + "|EA|" + std::string(type) + " connector, plated|" +
                             Number("%.2f", random.Real(5, 400)) + "|");
        }
    }

    // Fillers and comments up to the wanted size, then one shuffle so the
    // wanted part numbers sit anywhere in the list.
    std::vector<std::string> lines = std::move(priced);
    for (std::size_t n = 0; lines.size() < sizes.PriceListLines; ++n) {
        if (n % 97 == 0)
            lines.push_back("# section " + std::to_string(n));
        else
            lines.push_back("AC|Z|Z" + std::to_string(1000000 + n) + "|EA|accessory " + std::to_string(n) + "|" +
                            Number("%.2f", random.Real(1, 99)) + "|");
    }
    for (std::size_t i = lines.size(); i > 1; --i) std::swap(lines[i - 1], lines[random.Below(i)]);
    files.PriceList.reserve(lines.size() * 60);
    for (const std::string& line : lines) files.PriceList += line + "\r\n";
    return files;
}

}  // namespace quillon::bench
