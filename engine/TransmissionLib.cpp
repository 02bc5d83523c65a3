#include "engine/TransmissionLib.h"

#include "engine/CheckedMath.h"

#include <array>
#include <cmath>
#include <optional>

namespace quillon {

using namespace checked;

void TConnector::AddPartNumber(std::string partNumber)
{
    PartNumbers.push_back(std::move(partNumber));
    ++PartNumberCount;
}

void TTransmissionLine::AddConnector(std::unique_ptr<TConnector> connector)
{
    Connectors.push_back(std::move(connector));
    ++NextConnector;
    ++ConnectorCount;
}

namespace {

long double MidBand(long double F1, long double F2) { return (F1 + F2) / 2; }

}  // namespace

namespace {

// The two ways of taking the law's steps: the results' way, where a step
// without a value raises the standard error, and the plain way, where it
// yields NaN or infinity for the caller to read as "no value". Both give the
// same bits wherever the checked way succeeds.
struct CheckedSteps {
    static long double Div(long double a, long double b) { return checked::Div(a, b); }
    static long double Ln(long double x) { return checked::Ln(x); }
    static long double Sqrt(long double x) { return checked::Sqrt(x); }
    static long double Exp(long double x) { return checked::Exp(x); }
    static long double Finite(long double x) { return checked::Finite(x); }
};

struct PlainSteps {
    static long double Div(long double a, long double b) { return a / b; }
    static long double Ln(long double x) { return std::log(x); }
    static long double Sqrt(long double x) { return std::sqrt(x); }
    static long double Exp(long double x) { return std::exp(x); }
    static long double Finite(long double x) { return x; }
};

// The attenuation laws, written once, in dB/100 ft at the frequency f (MHz).
template <typename Steps>
long double AttenuationLaw(const TTransmissionLine& line, long double f)
{
    const long double A = line.AttenuationA;
    const long double B = line.AttenuationB;
    if (line.Kind == "EW") {
        // Elliptical waveguide: A is the cut-off frequency; at f = 2A the loss is B / 1000.
        const long double u = Steps::Ln(Steps::Div(f, A) - 1);
        return Steps::Finite(B / 1000 * Steps::Exp(u * (0.09557L * u - 0.13127L)));
    }
    // Coax and braided cable: conductor loss grows with sqrt(f), dielectric loss with f.
    return Steps::Finite(A * Steps::Sqrt(f) + B * f);
}

}  // namespace

long double AttenuationPer100ftAt(const TTransmissionLine& line, long double f)
{
    return AttenuationLaw<CheckedSteps>(line, f);
}

std::optional<long double> AttenuationValueAt(const TTransmissionLine& line, long double f)
{
    const long double value = AttenuationLaw<PlainSteps>(line, f);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

long double AttenuationPer100ft(const TTransmissionLine& line, double F1, double F2)
{
    return AttenuationPer100ftAt(line, MidBand(F1, F2));
}

long double TotalAttenuationFrom(long double per100ft, bool inFeet, long double length)
{
    const long double feet = inFeet ? length : length * FeetPerMetre;
    return Finite(per100ft / 100 * feet);
}

long double TotalAttenuation(const TTransmissionLine& line, bool inFeet, double F1, double F2, long double length)
{
    return TotalAttenuationFrom(AttenuationPer100ft(line, F1, F2), inFeet, length);
}

long double ConnectorLoss(double F1, double F2)
{
    // 0.05 dB x sqrt(f in GHz) at each of the two ends of the run.
    return Sqrt(MidBand(F1, F2) / 1000) * 0.05L * 2;
}

long double InsertionLossFrom(long double totalAttenuation, double F1, double F2)
{
    return Finite(totalAttenuation + ConnectorLoss(F1, F2));
}

long double InsertionLoss(const TTransmissionLine& line, bool inFeet, double F1, double F2, long double length)
{
    return InsertionLossFrom(TotalAttenuation(line, inFeet, F1, F2, length), F1, F2);
}

long double EfficiencyFrom(long double insertionLoss) { return Finite(std::pow(10.0L, -insertionLoss / 10) * 100); }

long double Efficiency(const TTransmissionLine& line, bool inFeet, double F1, double F2, long double length)
{
    return EfficiencyFrom(InsertionLoss(line, inFeet, F1, F2, length));
}

std::string LocalizeDecimalPoint(std::string text)
{
    constexpr char kDecimalSeparator = '.';  // fixed for the whole process
    bool blank = true;
    for (char c : text)
        if (static_cast<unsigned char>(c) > ' ') blank = false;
    if (!blank)
        for (char& c : text)
            if (c == '.') c = kDecimalSeparator;
    return text;
}

long double AveragePowerFrom(const TTransmissionLine& line, long double per100ft)
{
    const long double q = Div(line.AveragePowerConstant, per100ft);
    return q > line.PeakPower ? static_cast<long double>(line.PeakPower) : q;
}

long double AveragePower(const TTransmissionLine& line, double F1, double F2)
{
    return AveragePowerFrom(line, AttenuationPer100ft(line, F1, F2));
}

long double CubicInLog(long double x, long double c0, long double c1, long double c2, long double c3)
{
    return c0 - c1 * x + c2 * x * x - c3 * x * x * x;
}

int DeratingClass(long double k)
{
    if (k < 1.25L) return 1;
    if (k < 1.94L) return 2;
    if (k < 2.63L) return 3;
    if (k < 3.5L) return 4;
    return 5;
}

int DeratingFrequencyBand(long double f)
{
    if (f < 4) return 1;
    if (f < 100) return 2;
    if (f < 1000) return 3;
    return 4;
}

namespace {

// Curve fits of the derating weight by class: cubic in log10(f) below 100 MHz
// and below 1000 MHz, e^(k4 x) above.
struct DeratingFit {
    std::array<long double, 4> band2;
    std::array<long double, 4> band3;
    long double k4;
};

constexpr std::array<DeratingFit, 5> kDeratingFits{{
    {{1.1844L, 0.6676L, 0.7887L, 0.3132L}, {12.219L, 12.2289L, 4.1127L, 0.4642L}, -1.4425L},
    {{1.0978L, 0.4239L, 0.6091L, 0.2903L}, {11.1556L, 11.5292L, 3.9917L, 0.4625L}, -1.7166L},
    {{1.0918L, 0.393L, 0.5676L, 0.2791L}, {8.9158L, 8.8892L, 2.9585L, 0.3285L}, -1.753L},
    {{1.0858L, 0.3621L, 0.5261L, 0.2679L}, {8.5456L, 8.619L, 2.9136L, 0.3299L}, -1.8665L},
    {{1.0246L, 0.1597L, 0.3267L, 0.2148L}, {8.6164L, 8.8046L, 3.0092L, 0.3438L}, -1.9594L},
}};

long double Weight(int deratingClass, int band, long double x)
{
    const DeratingFit& fit = kDeratingFits.at(static_cast<std::size_t>(deratingClass - 1));
    switch (band) {
    case 1: return 1;
    case 2: return CubicInLog(x, fit.band2[0], fit.band2[1], fit.band2[2], fit.band2[3]);
    case 3: return CubicInLog(x, fit.band3[0], fit.band3[1], fit.band3[2], fit.band3[3]);
    default: return Exp(fit.k4 * x);
    }
}

}  // namespace

long double DeratingWeight(int deratingClass, long double f)
{
    return Weight(deratingClass, DeratingFrequencyBand(f), Log10(f));
}

long double VswrDeratingFactor(std::string_view kind, long double deratingKey, long double F1, long double F2,
                               long double S)
{
    if (kind == "EW") return Div(2 * S, S * S + 1);
    const long double f = MidBand(F1, F2);
    const long double x = Log10(f);  // taken before the band is known, so f <= 0 fails even below 4 MHz
    const long double L = Weight(DeratingClass(deratingKey), DeratingFrequencyBand(f), x);
    return Div(2 * S, S * S * (1 + L) + 1 - L);
}

}  // namespace quillon
