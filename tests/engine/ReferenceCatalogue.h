#pragma once
// The catalogue built as the program first did it: each row split, each
// number read the long way, the value lists made by sorting every value and
// writing each in the general format. The builder of engine/Catalogue.h must
// give the same records, lists, errors and line numbers; the tests hold it
// to this.

#include "engine/Catalogue.h"

#include <string>
#include <vector>

namespace quillon::test {

void ReferenceBuildCatalogue(const std::vector<std::string>& rows, Catalogue& catalogue);

}  // namespace quillon::test
