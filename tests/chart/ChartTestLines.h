#pragma once
// Lines of invented parts for the chart's tests.

#include "tests/support/TestLines.h"

namespace quillon::charttest {

using quillon::testlines::TestLine;

// A foam coax worked by hand: 0.12229 x sqrt(900) + 0.00026 x 900 = 3.90 dB/100 ft.
inline TTransmissionLine Coax(double begin = 800, double end = 1000)
{
    return TestLine("ZK-100", "FOAM", 0.12229, 0.00026, begin, end);
}

// A waveguide with its cut-off at 1000 MHz and a band reaching below it.
inline TTransmissionLine WaveguideBelowCutOff()
{
    return TestLine("ZW-10", "EW", 1000, 2500, 500, 3000);
}

}  // namespace quillon::charttest
