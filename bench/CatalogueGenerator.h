#pragma once
// Large, deterministic catalogue and price-list files for timing the engine
// at a scale far beyond the bundled demo data.

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillon::bench {

struct GeneratorSizes {
    std::size_t Lines = 20'000;         // catalogue line records
    std::size_t RowsPerLine = 3;        // connector rows of each line
    // When set, the catalogue's total number of connector rows instead,
    // spread as evenly as it goes (50,000 rows over 20,000 lines: 2 or 3 each).
    std::size_t Rows = 0;
    // Lines whose band starts above the query's beginning, so that the query
    // band leaves them out: this many in every 40 (7 leaves 82.5 % in).
    std::size_t OutOfBandPer40 = 0;
    std::size_t PriceListLines = 500'000;
    std::uint32_t Seed = 20240601;
};

// Every generated line's band covers kQueryBeginning..kQueryEnding (but the
// OutOfBandPer40 share), and every waveguide's cut-off lies below it, so a
// query on that band selects every such line and every cell of its row can
// be computed.
inline constexpr double kQueryBeginning = 800;
inline constexpr double kQueryEnding = 900;

struct GeneratedFiles {
    std::string Catalogue;  // header and rows, CR LF line ends
    std::string PriceList;  // every line and connector part number priced once, in shuffled order, among fillers and comments
};

GeneratedFiles GenerateFiles(const GeneratorSizes& sizes);

}  // namespace quillon::bench
