#include "engine/ResultRows.h"

#include "engine/CheckedMath.h"
#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/TransmissionLib.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace quillon {
namespace {

enum Column {
    kPartNumber, kBand, kDescription, kMidBand, kAttenuationFt, kAttenuationM, kTotal, kInsertion,
    kEfficiency, kPeak, kAverage, kDerated, kPriceFt, kPriceM
};

// A query-page text read as a number when a cell first needs it; a text that
// is no number stops the filling at that cell, as reading the control would.
template <typename Float>
class LazyNumber {
public:
    explicit LazyNumber(const std::string& text) : text_(text) {}
    Float Get()
    {
        if (!read_) {
            if (!TryReadNumber(text_, value_)) ThrowConversionError(text_);
            read_ = true;
        }
        return value_;
    }

private:
    const std::string& text_;
    Float value_{};
    bool read_ = false;
};

// A cell set to a number's text, written into the cell's own storage.
void SetFixed2(std::string& cell, long double value)
{
    cell.clear();
    AppendFixed2(cell, value);
}

void SetBand(std::string& cell, const TTransmissionLine& line)
{
    cell.clear();
    AppendGeneral(cell, line.BeginFrequency);
    cell += '-';
    AppendGeneral(cell, line.EndFrequency);
}

void SetEfficiency(std::string& cell, long double insertionLoss)
{
    cell.clear();
    AppendEfficiencyText(cell, insertionLoss);
}

// Columns 5 and 6; gives the attenuation, which every later column of the row uses.
long double FillAttenuationColumns(ResultRow& row, const TTransmissionLine& line, double F1, double F2)
{
    const long double per100ft = AttenuationPer100ft(line, F1, F2);
    SetFixed2(row[kAttenuationFt], per100ft);
    SetFixed2(row[kAttenuationM], per100ft * FeetPerMetre);
    return per100ft;
}

// Columns 10 to 12; column 12 derates the average power as column 11 shows
// it, by the factor deratingFactor() gives for the row's band and VSWR.
template <typename Factor>
void FillPowerColumns(ResultRow& row, const TTransmissionLine& line, long double per100ft, Factor&& deratingFactor)
{
    SetFixed2(row[kPeak], line.PeakPower);
    SetFixed2(row[kAverage], AveragePowerFrom(line, per100ft));
    const long double shown = ReadNumber(row[kAverage]);
    SetFixed2(row[kDerated], deratingFactor() * shown);
}

// A price cell: the code, the separator and the amount in two decimals.
void PriceCell(std::string& cell, std::string_view code, std::string_view separator, long double amount)
{
    cell.assign(code);
    cell += separator;
    AppendFixed2(cell, amount);
}

// ConvertPrice with the rate looked up once: the first price to convert
// reads it (and meets its error, if any), the rest reuse it.
class PriceConversion {
public:
    PriceConversion(const ExchangeRates& rates, int tag) : rates_(rates), tag_(tag) {}
    long double operator()(long double usd)
    {
        if (!rates_.HasExchangeRates || tag_ == 1) return usd;
        if (!haveRate_) {
            rate_ = ExchangeRate(rates_, CurrencyCodeForTag(tag_));
            haveRate_ = true;
        }
        return checked::Div(usd, rate_);
    }

private:
    const ExchangeRates& rates_;
    int tag_;
    bool haveRate_ = false;
    long double rate_ = 1;
};

// The rows of a filling, each made as the filling reaches it, so that it is
// written while still in the cache; when the filling ends, at the last line
// or at an error, the rows it did not reach follow empty: one row per line,
// as if all had been made first.
class RowsAsReached {
public:
    RowsAsReached(std::vector<ResultRow>& rows, std::size_t count) : rows_(rows), count_(count)
    {
        rows_.clear();
        rows_.reserve(count);
    }
    ResultRow& Next() { return rows_.emplace_back(); }
    void Finish() { rows_.resize(count_); }

private:
    std::vector<ResultRow>& rows_;
    std::size_t count_;
};

void FillLossColumns(ResultRow& row, long double per100ft, bool feet, double F1, double F2, long double length)
{
    const long double total = TotalAttenuationFrom(per100ft, feet, length);
    SetFixed2(row[kTotal], total);
    const long double insertion = InsertionLossFrom(total, F1, F2);
    SetFixed2(row[kInsertion], insertion);
    SetEfficiency(row[kEfficiency], insertion);
}

}  // namespace

void AppendEfficiencyText(std::string& out, long double insertionLoss)
{
    // The text is FormatFixed2(EfficiencyFrom(loss)): 10^(-loss / 10) x 100
    // in long double, to 15 digits, then to hundredths. That text only turns
    // where the value crosses a half-hundredth, so a double power, exact to a
    // few parts in 10^16 (plus the loss's own rounding to double, which counts
    // for 2.6e-16 per unit of the exponent), settles it whenever it lies
    // further from a half than that error and the 15-digit rounding (5e-15)
    // together, with room to spare. Nearer a half, or out of range (where an
    // overflow must still raise its error), the long-double power decides.
    if (std::fabs(insertionLoss) <= 600) {
        const double exponent = static_cast<double>(-insertionLoss / 10);
        const double hundredths = std::pow(10.0, exponent) * 10000;
        if (hundredths < 1e11) {
            const double whole = std::floor(hundredths);
            const double fraction = hundredths - whole;
            const double tolerance = hundredths * (1e-14 + 1e-15 * std::fabs(exponent));
            if (std::fabs(fraction - 0.5) > tolerance) {
                AppendHundredths(out, static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0));
                return;
            }
        }
    }
    AppendFixed2(out, EfficiencyFrom(insertionLoss));
}

const std::array<std::string, kResultColumns>& DesignedResultHeadings()
{
    static const std::array<std::string, kResultColumns> headings{
        "Part Number",
        "Frequency Band (MHz)",
        "Description",
        "Mid Band Frequency (MHz)",
        "Attenuation (dB/100 ft)",
        "Attenuation (dB/100m)",
        "Total Attenuation (dB)",
        "Insertion Loss (dB)",
        "Efficiency (%)",
        "Peak Power (kW)",
        "Avg. Power (kW)",
        "VSWR Derated Avg. Pwr. (kW)",
        "List Price Per Foot ($US)",
        "List Price Per Meter ($US)",
    };
    return headings;
}

std::optional<std::string> FillInteractiveRows(ResultTable& table, const LineList& lines,
                                               const InteractiveFillInputs& inputs)
{
    static const ExchangeRates kNoRates;
    const ExchangeRates& rates = inputs.Rates != nullptr ? *inputs.Rates : kNoRates;
    RowsAsReached rows(table.Rows, lines.size());
    LazyNumber<double> qB(inputs.BeginningFrequency);
    LazyNumber<double> qE(inputs.EndingFrequency);
    LazyNumber<long double> length(inputs.Length);
    LazyNumber<long double> vswr(inputs.Vswr);
    // What is the same for every row is worked out by the first row that
    // needs it, at the cell where the row-by-row filling would first meet
    // it, so that an error stops the filling where it always did.
    std::optional<std::string> midBand;
    std::array<std::optional<long double>, 6> derating;  // waveguide, then the five classes
    std::optional<long double> connectorLoss;
    std::optional<CurrencyCode> currency;
    PriceConversion convert(rates, inputs.CurrencyTag);
    try {
        for (std::size_t r = 0; r < lines.size(); ++r) {
            const TTransmissionLine& line = *lines[r];
            ResultRow& row = rows.Next();
            row[kPartNumber] = line.PartNumber;
            SetBand(row[kBand], line);
            row[kDescription] = line.Description;
            const double b = qB.Get();
            const double e = qE.Get();
            if (!midBand) midBand = FormatGeneral((static_cast<long double>(b) + e) / 2);
            row[kMidBand] = *midBand;
            const long double per100ft = FillAttenuationColumns(row, line, b, e);
            FillPowerColumns(row, line, per100ft, [&] {
                std::optional<long double>& factor =
                    derating[line.Kind == "EW" ? 0 : static_cast<std::size_t>(DeratingClass(line.DeratingKey))];
                if (!factor) factor = VswrDeratingFactor(line.Kind, line.DeratingKey, b, e, vswr.Get());
                return *factor;
            });

            const long double price = convert(line.ListPrice);
            if (!currency) {
                currency = CurrentCurrencyCode(rates, inputs.CurrencyTag);
                table.Headings[kPriceFt] = "List Price Per Foot " + currency->Caption;
                table.Headings[kPriceM] = "List Price Per Meter " + currency->Caption;
            }
            PriceCell(row[kPriceFt], currency->Code, " ", price);
            PriceCell(row[kPriceM], currency->Code, " ", price * FeetPerMetre);

            const long double len = length.Get();
            if (len != 0) {
                const long double total = TotalAttenuationFrom(per100ft, inputs.Feet, len);
                SetFixed2(row[kTotal], total);
                if (!connectorLoss) connectorLoss = ConnectorLoss(b, e);
                const long double insertion = checked::Finite(total + *connectorLoss);
                SetFixed2(row[kInsertion], insertion);
                SetEfficiency(row[kEfficiency], insertion);
            } else {
                row[kTotal] = row[kInsertion] = row[kEfficiency] = "N/A";
            }
        }
    } catch (const QuillonError& error) {
        rows.Finish();
        return error.message();
    }
    rows.Finish();
    return std::nullopt;
}

CommandLineRun ReadCommandLineRun(std::string_view argument)
{
    CommandLineRun run;
    const std::size_t firstBar = argument.find('|');
    run.HasLength = firstBar != std::string_view::npos;
    if (run.HasLength) {
        const std::string_view rest = argument.substr(firstBar + 1);
        const std::size_t secondBar = rest.find('|');
        // Without a second "|" the length field is unterminated and reads as empty.
        run.Length = ReadNumber(secondBar == std::string_view::npos ? std::string_view() : rest.substr(0, secondBar));
        run.Feet = rest.substr(secondBar + 1) != "M";
    }
    return run;
}

std::optional<std::string> FillPartNumberRows(PartNumberTable& table, const TConnector* connector,
                                              const PriceList& priceList, const ExchangeRates& rates, int currencyTag)
{
    table.Rows.assign(connector != nullptr ? connector->PartNumbers.size() : 0, {});
    try {
        for (std::size_t k = 0; k < table.Rows.size(); ++k) {
            auto& row = table.Rows[k];
            row[0] = connector->PartNumbers[k];
            if (const auto entry = priceList.Find(row[0])) {
                row[1] = entry->Description;
                const CurrencyCode currency = CurrentCurrencyCode(rates, currencyTag);
                table.Headings[2] = "Price " + currency.Caption;
                row[2] = currency.Code + " " + FormatFixed2(ConvertPrice(rates, currencyTag, entry->Price));
            }
        }
    } catch (const QuillonError& error) {
        return error.message();
    }
    return std::nullopt;
}

std::optional<std::string> FillCommandLineRows(ResultTable& table, const LineList& lines, std::string_view argument)
{
    std::optional<RowsAsReached> rows;  // made once the argument has been read
    try {
        const CommandLineRun run = ReadCommandLineRun(argument);
        const bool hasLength = run.HasLength;
        const long double length = run.Length;
        const bool feet = run.Feet;
        rows.emplace(table.Rows, lines.size());
        for (std::size_t r = 0; r < lines.size(); ++r) {
            const TTransmissionLine& line = *lines[r];
            ResultRow& row = rows->Next();
            row[kPartNumber] = line.PartNumber;
            SetBand(row[kBand], line);
            row[kDescription] = line.Description;
            if (hasLength) {
                const double F1 = line.BeginFrequency;
                const double F2 = line.EndFrequency;
                row[kMidBand] = FormatGeneral((static_cast<long double>(F1) + F2) / 2);
                const long double per100ft = FillAttenuationColumns(row, line, F1, F2);
                FillLossColumns(row, per100ft, feet, F1, F2, length);
                FillPowerColumns(row, line, per100ft,
                                 [&] { return VswrDeratingFactor(line.Kind, line.DeratingKey, F1, F2, 1.1L); });
            } else {
                for (int c = kMidBand; c <= kDerated; ++c) table.Hidden[static_cast<std::size_t>(c)] = true;
            }
            PriceCell(row[kPriceFt], "", "$", line.ListPrice);
            PriceCell(row[kPriceM], "", "$", line.ListPrice * FeetPerMetre);
        }
    } catch (const QuillonError& error) {
        if (rows) rows->Finish();
        return error.message();
    }
    if (rows) rows->Finish();
    return std::nullopt;
}

}  // namespace quillon
