#pragma once
// Loading the catalogue "Freq_TLine_Connectors.dat" into line records and the
// sorted value lists that feed the query page.

#include "engine/LargeMemory.h"
#include "engine/TransmissionLib.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// Lines in search and result order; the lines belong to the catalogue.
using LineList = std::vector<TTransmissionLine*>;

struct Catalogue {
    std::vector<std::unique_ptr<TTransmissionLine>> AllLines;  // file order
    // Distinct band edges in the general format; ascending numeric order once
    // BuildCatalogue has returned normally (text order when it stopped on an error).
    std::vector<std::string> BeginFrequencies;
    std::vector<std::string> EndFrequencies;
    // Distinct connector type names, case-insensitive order; the spelling met first stays.
    std::vector<std::string> ConnectorTypeNames;

    LineList Lines() const;  // references to AllLines in file order
};

// Builds the catalogue from the file's lines, header included. A bad row stops
// loading with LoadError (exact conversion text, 1-based file line number);
// the lines completed before it stay in the catalogue. Blank lines are
// passed over. A file without rows after the header raises "List index out
// of bounds (0)".
void BuildCatalogue(const std::vector<std::string>& rows, Catalogue& catalogue);
// The same from the file's whole text, its lines walked in place.
void BuildCatalogue(std::string_view text, Catalogue& catalogue);
// The same from the file's text in a block of its own, which the build takes:
// the memory of the rows read goes back to the system as it goes, so that a
// large catalogue's text and its records are never both whole in memory.
void BuildCatalogue(LargeBuffer text, Catalogue& catalogue);

// Ascending numeric order, equal values keeping their order (the order a
// stable bubble sort gives).
void SortNumerically(std::vector<std::string>& numberTexts);

}  // namespace quillon
