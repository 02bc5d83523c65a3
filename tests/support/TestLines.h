#pragma once
// A catalogue line of invented parts for tests that need only its loss law
// and band: power figures the derating accepts, no price.

#include "engine/TransmissionLib.h"

namespace quillon::testlines {

inline TTransmissionLine TestLine(const char* partNumber, const char* kind, double A, double B, double begin,
                                  double end)
{
    TTransmissionLine line;
    line.PartNumber = partNumber;
    line.Kind = kind;
    line.AttenuationA = A;
    line.AttenuationB = B;
    line.BeginFrequency = begin;
    line.EndFrequency = end;
    line.PeakPower = 40;
    line.AveragePowerConstant = 50;
    line.DeratingKey = 1;
    return line;
}

}  // namespace quillon::testlines
