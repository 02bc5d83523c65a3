#include "engine/QueryPageRules.h"

namespace quillon {

QueryPage CommandLineDefaults()
{
    QueryPage page;
    page.Meters = true;
    page.Air = page.Foam = page.Waveguide = page.Braided = true;
    page.ByFrequency = page.ByLoss = page.ByConnector1 = page.ByConnector2 = false;
    return page;
}

}  // namespace quillon
