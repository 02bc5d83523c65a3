#include "engine/ResultRows.h"

#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/TransmissionLib.h"

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

std::string Band(const TTransmissionLine& line)
{
    return FormatGeneral(line.BeginFrequency) + "-" + FormatGeneral(line.EndFrequency);
}

// Columns 5 and 6; gives the attenuation, which every later column of the row uses.
long double FillAttenuationColumns(ResultRow& row, const TTransmissionLine& line, double F1, double F2)
{
    const long double per100ft = AttenuationPer100ft(line, F1, F2);
    row[kAttenuationFt] = FormatFixed2(per100ft);
    row[kAttenuationM] = FormatFixed2(per100ft * FeetPerMetre);
    return per100ft;
}

// Columns 10 to 12 for the band F1-F2 and VSWR S; column 12 derates the
// average power as column 11 shows it.
template <typename GetS>
void FillPowerColumns(ResultRow& row, const TTransmissionLine& line, long double per100ft, double F1, double F2,
                      GetS&& vswr)
{
    row[kPeak] = FormatFixed2(line.PeakPower);
    row[kAverage] = FormatFixed2(AveragePowerFrom(line, per100ft));
    const long double shown = ReadNumber(row[kAverage]);
    row[kDerated] = FormatFixed2(VswrDeratingFactor(line.Kind, line.DeratingKey, F1, F2, vswr()) * shown);
}

void FillLossColumns(ResultRow& row, long double per100ft, bool feet, double F1, double F2, long double length)
{
    const long double total = TotalAttenuationFrom(per100ft, feet, length);
    row[kTotal] = FormatFixed2(total);
    const long double insertion = InsertionLossFrom(total, F1, F2);
    row[kInsertion] = FormatFixed2(insertion);
    row[kEfficiency] = FormatFixed2(EfficiencyFrom(insertion));
}

}  // namespace

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
    table.Rows.assign(lines.size(), ResultRow{});
    LazyNumber<double> qB(inputs.BeginningFrequency);
    LazyNumber<double> qE(inputs.EndingFrequency);
    LazyNumber<long double> length(inputs.Length);
    LazyNumber<long double> vswr(inputs.Vswr);
    try {
        for (std::size_t r = 0; r < lines.size(); ++r) {
            const TTransmissionLine& line = *lines[r];
            ResultRow& row = table.Rows[r];
            row[kPartNumber] = line.PartNumber;
            row[kBand] = Band(line);
            row[kDescription] = line.Description;
            const double b = qB.Get();
            const double e = qE.Get();
            row[kMidBand] = FormatGeneral((static_cast<long double>(b) + e) / 2);
            const long double per100ft = FillAttenuationColumns(row, line, b, e);
            FillPowerColumns(row, line, per100ft, b, e, [&] { return vswr.Get(); });

            const CurrencyCode currency = CurrentCurrencyCode(rates, inputs.CurrencyTag);
            const long double price = ConvertPrice(rates, inputs.CurrencyTag, line.ListPrice);
            table.Headings[kPriceFt] = "List Price Per Foot " + currency.Caption;
            table.Headings[kPriceM] = "List Price Per Meter " + currency.Caption;
            row[kPriceFt] = currency.Code + " " + FormatFixed2(price);
            row[kPriceM] = currency.Code + " " + FormatFixed2(price * FeetPerMetre);

            const long double len = length.Get();
            if (len != 0) {
                FillLossColumns(row, per100ft, inputs.Feet, b, e, len);
            } else {
                row[kTotal] = row[kInsertion] = row[kEfficiency] = "N/A";
            }
        }
    } catch (const QuillonError& error) {
        return error.message();
    }
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
    try {
        const CommandLineRun run = ReadCommandLineRun(argument);
        const bool hasLength = run.HasLength;
        const long double length = run.Length;
        const bool feet = run.Feet;
        table.Rows.assign(lines.size(), ResultRow{});
        for (std::size_t r = 0; r < lines.size(); ++r) {
            const TTransmissionLine& line = *lines[r];
            ResultRow& row = table.Rows[r];
            row[kPartNumber] = line.PartNumber;
            row[kBand] = Band(line);
            row[kDescription] = line.Description;
            if (hasLength) {
                const double F1 = line.BeginFrequency;
                const double F2 = line.EndFrequency;
                row[kMidBand] = FormatGeneral((static_cast<long double>(F1) + F2) / 2);
                const long double per100ft = FillAttenuationColumns(row, line, F1, F2);
                FillLossColumns(row, per100ft, feet, F1, F2, length);
                FillPowerColumns(row, line, per100ft, F1, F2, [] { return 1.1L; });
            } else {
                for (int c = kMidBand; c <= kDerated; ++c) table.Hidden[static_cast<std::size_t>(c)] = true;
            }
            row[kPriceFt] = "$" + FormatFixed2(line.ListPrice);
            row[kPriceM] = "$" + FormatFixed2(line.ListPrice * FeetPerMetre);
        }
    } catch (const QuillonError& error) {
        return error.message();
    }
    return std::nullopt;
}

}  // namespace quillon
