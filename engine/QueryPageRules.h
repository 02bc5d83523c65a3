#pragma once
// The query page's own rules on its plain form (QueryPage): the window runs
// them for its controls, quillon-query and the query-file tests for a page
// they hold as values.

#include "engine/Search.h"

namespace quillon {

// The page a command line starts from: "Meters" selected, the four cable
// kinds on, the four query-by switches off; the texts are the page's
// built-in ones ("0", "0", "1.1") and the lists stay empty. Applied in this
// order with the click rules: units, Air, Foam, Waveguide, Braided,
// ByFrequency, ByLoss, ByConnector1, ByConnector2.
QueryPage CommandLineDefaults();

}  // namespace quillon
