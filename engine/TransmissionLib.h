#pragma once
// The catalogue records and the engineering formulas: attenuation, insertion
// loss, efficiency, power ratings and VSWR derating. Arithmetic is done in
// long double; a failing operation raises QuillonError with the standard
// floating-point texts instead of letting NaN or infinity into a cell.

#include "engine/PartNumberList.h"
#include "engine/RecordPool.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// One connector option of a line: its type name and up to six part numbers.
// (The widest members come first: a large catalogue holds millions of these,
// and the padding between them would be a tenth of its size.)
class TConnector {
public:
    // The figures start at 0, cleared here as plain bytes: as the members'
    // own starting values the compiler stored each through the
    // floating-point stack and read it back for the next, a wait on every
    // record a catalogue makes.
    TConnector() noexcept
    {
        std::memset(&Figure1, 0, sizeof Figure1);
        std::memset(&Figure2, 0, sizeof Figure2);
        std::memset(&Figure3, 0, sizeof Figure3);
        std::memset(&Figure4, 0, sizeof Figure4);
    }

    long double Figure1, Figure2, Figure3, Figure4;
    std::string TypeName;
    PartNumberList PartNumbers;
    std::int32_t PartNumberCount = 0;

    void AddPartNumber(std::string partNumber);
    std::string PartNumberAt(int index) const { return PartNumbers.at(static_cast<std::size_t>(index)); }

    // Made and freed by the hundred thousand with the catalogue.
    static void* operator new(std::size_t size) { return RecordPool::Allocate(size); }
    static void operator delete(void* connector) noexcept { RecordPool::Release(connector); }
};

// One catalogue line; owns its connectors.
class TTransmissionLine {
public:
    std::int32_t ConnectorCount = 0;
    std::int32_t NextConnector = 0;
    double BeginFrequency = 0;  // MHz
    double EndFrequency = 0;    // MHz
    std::string CatalogueField3;
    std::string PartNumber;
    std::string Kind;  // "AIR", "FOAM", "EW", "BRAIDED"
    std::string CatalogueField6;
    long double DeratingKey = 0;
    double AttenuationA = 0;
    double AttenuationB = 0;
    double PeakPower = 0;             // kW
    double AveragePowerConstant = 0;  // kW x dB/100 ft
    std::vector<std::unique_ptr<TConnector>> Connectors;
    std::string Description;  // from the price list; empty until looked up
    double ListPrice = 0;     // US dollars per foot; 0 until looked up

    void AddConnector(std::unique_ptr<TConnector> connector);
    const TConnector& ConnectorAt(int index) const { return *Connectors.at(static_cast<std::size_t>(index)); }

    // Made and freed by the ten thousand with the catalogue, beside their connectors.
    static void* operator new(std::size_t size) { return RecordPool::Allocate(size); }
    static void operator delete(void* line) noexcept { RecordPool::Release(line); }
};

// The program's single conversion factor between feet and metres.
inline constexpr long double FeetPerMetre = 3.2808L;

// Attenuation in dB/100 ft at the mid-band frequency (F1 + F2) / 2, MHz.
// Kind exactly "EW": elliptical waveguide law; every other kind: coaxial law.
long double AttenuationPer100ft(const TTransmissionLine& line, double F1, double F2);
// The same law at one frequency f, MHz; the mid-band value is this at (F1 + F2) / 2.
long double AttenuationPer100ftAt(const TTransmissionLine& line, long double f);
// The same law where "no value" is an answer, not an error: nothing where
// AttenuationPer100ftAt raises one (a waveguide at or below its cut-off A, a
// coax at a negative frequency, an overflow), the same number everywhere else.
std::optional<long double> AttenuationValueAt(const TTransmissionLine& line, long double f);
long double TotalAttenuation(const TTransmissionLine& line, bool inFeet, double F1, double F2, long double length);
// 0.05 dB x sqrt(f in GHz) for each of the two connector ends.
long double ConnectorLoss(double F1, double F2);
long double InsertionLoss(const TTransmissionLine& line, bool inFeet, double F1, double F2, long double length);
long double Efficiency(const TTransmissionLine& line, bool inFeet, double F1, double F2, long double length);
// The same laws from an attenuation already computed for the line and band,
// for callers that need several figures of one line.
long double TotalAttenuationFrom(long double per100ft, bool inFeet, long double length);
long double InsertionLossFrom(long double totalAttenuation, double F1, double F2);
long double EfficiencyFrom(long double insertionLoss);
long double AveragePowerFrom(const TTransmissionLine& line, long double per100ft);
// Replaces "." by the process decimal separator, which is always "." here.
std::string LocalizeDecimalPoint(std::string text);

// Average power rating, kW: the constant over the attenuation, capped at the peak rating.
long double AveragePower(const TTransmissionLine& line, double F1, double F2);
// c0 - c1*x + c2*x^2 - c3*x^3
long double CubicInLog(long double x, long double c0, long double c1, long double c2, long double c3);
int DeratingClass(long double deratingKey);        // 1..5
int DeratingFrequencyBand(long double midBandMHz); // 1..4
long double DeratingWeight(int deratingClass, long double midBandMHz);
long double VswrDeratingFactor(std::string_view kind, long double deratingKey, long double F1, long double F2,
                               long double S);

}  // namespace quillon
