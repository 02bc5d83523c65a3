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
    std::size_t PriceListLines = 500'000;
    std::uint32_t Seed = 20240601;
};

// Every generated line's band covers kQueryBeginning..kQueryEnding, and every
// waveguide's cut-off lies below it, so a query on that band selects every
// line and every cell of its row can be computed.
inline constexpr double kQueryBeginning = 800;
inline constexpr double kQueryEnding = 900;

struct GeneratedFiles {
    std::string Catalogue;  // header and rows, CR LF line ends
    std::string PriceList;  // every line and connector part number priced once, in shuffled order, among fillers and comments
};

GeneratedFiles GenerateFiles(const GeneratorSizes& sizes);

}  // namespace quillon::bench
