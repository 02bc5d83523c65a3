#include "engine/Search.h"

#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/PipeRecord.h"
#include "engine/TransmissionLib.h"

namespace quillon {
namespace {

template <typename Pred>
LineList Select(const LineList& lines, Pred&& pass)
{
    LineList out;
    for (TTransmissionLine* line : lines)
        if (pass(*line)) out.push_back(line);
    return out;
}

// A loss that shows exactly the maximum computes a hair above it in binary;
// it must pass as its row says it does.
constexpr long double kLossTolerance = 1e-9L;

const char* const kNoLinesMessage = "Sorry, no Transmission Lines available for this query.\r\rPlease try again.";

}  // namespace

LineList SelectByPartNumber(const LineList& lines, std::string_view partNumber)
{
    return Select(lines, [&](const TTransmissionLine& l) { return l.PartNumber == partNumber; });
}

LineList SelectByBand(const LineList& lines, double beginning, double ending)
{
    return Select(lines, [&](const TTransmissionLine& l) {
        return l.BeginFrequency <= beginning && l.EndFrequency >= ending;
    });
}

LineList SelectByConnector(const LineList& lines, std::string_view connectorType)
{
    return Select(lines, [&](const TTransmissionLine& l) {
        for (const auto& connector : l.Connectors)
            if (connector->TypeName == connectorType) return true;
        return false;
    });
}

long double CriterionCableLoss(const TTransmissionLine& line, std::string_view units, long double length,
                               double beginning, double ending)
{
    long double a = AttenuationPer100ft(line, beginning, ending);
    if (units == "Meters") a *= FeetPerMetre;
    return a / 100 * length;
}

bool PassesLossCriterion(const TTransmissionLine& line, std::string_view units, long double length,
                         long double maxLoss, double beginning, double ending)
{
    return CriterionCableLoss(line, units, length, beginning, ending) <= maxLoss + kLossTolerance;
}

LineList SelectByLoss(const LineList& lines, std::string_view units, long double length, long double maxLoss,
                      double beginning, double ending)
{
    return Select(lines, [&](const TTransmissionLine& l) {
        return PassesLossCriterion(l, units, length, maxLoss, beginning, ending);
    });
}

LineList SelectByKind(const LineList& lines, bool air, bool foam, bool waveguide, bool braided)
{
    return Select(lines, [&](const TTransmissionLine& l) {
        const std::string kind = UpperAscii(l.Kind);
        return (air && kind == "AIR") || (foam && kind == "FOAM") || (waveguide && kind == "EW") ||
               (braided && kind == "BRAIDED");
    });
}

LineList RunQuery(const LineList& lines, const QueryCriteria& c)
{
    LineList result = lines;
    if (c.ByFrequency) result = SelectByBand(result, c.Beginning, c.Ending);
    if (c.ByConnector1) result = SelectByConnector(result, c.Connector1);
    if (c.ByConnector2) result = SelectByConnector(result, c.Connector2);
    if (c.ByLoss) result = SelectByLoss(result, c.Units, c.Length, c.MaxLoss, c.Beginning, c.Ending);
    if (c.Air || c.Foam || c.Waveguide || c.Braided)
        result = SelectByKind(result, c.Air, c.Foam, c.Waveguide, c.Braided);
    return result;
}

std::optional<Message> CheckFrequencyRange(std::string_view beginning, std::string_view ending)
{
    long double b = 0;
    long double e = 0;
    if (!TryReadNumber(beginning, b) || !TryReadNumber(ending, e))
        return Message{MessageKind::Information,
                       "One or both frequency values contain invalid values.\r\rPlease check your frequency values.",
                       false};
    if (b > e)
        return Message{MessageKind::Information,
                       "The beginning frequency value cannot be greater than the ending frequency value.\r\r"
                       "Please check your frequency values.",
                       false};
    return std::nullopt;
}

SearchOutcome RunSearch(const QueryPage& page, std::string_view commandLinePartNumber, const LineList& allLines)
{
    SearchOutcome out;
    out.Page = page;
    QueryPage& p = out.Page;
    bool valid = true;
    bool suppressNoLines = false;

    if (p.ByFrequency) {
        if (auto message = CheckFrequencyRange(p.BeginningFrequency, p.EndingFrequency)) {
            valid = false;
            out.Messages.push_back(*message);
        }
    }
    if (p.Length.empty()) p.Length = "0";
    if (p.MaxLoss.empty()) p.MaxLoss = "0";
    if (p.Vswr.empty()) p.Vswr = "0";

    if (p.ByLoss && (p.MaxLoss == "0" || p.Length == "0")) {
        out.Messages.push_back({MessageKind::Warning,
                                "You must enter a maximum insertion loss and a length\rwhen querying by insertion loss",
                                true});
        if (p.MaxLoss == "0") out.Focus = FocusTarget::MaxLoss;
        if (p.Length == "0") out.Focus = FocusTarget::Length;
        valid = false;
        suppressNoLines = true;
    }
    if (!p.Air && !p.Foam && !p.Waveguide && !p.Braided) {
        out.Messages.push_back({MessageKind::Error, "Please select a cable type.", true});
        valid = false;
        suppressNoLines = true;
    }
    const std::string units = p.Meters ? "Meters" : "Feet";

    if (valid) {
        try {
            if (!commandLinePartNumber.empty()) {
                out.Result = SelectByPartNumber(allLines, commandLinePartNumber.substr(0, commandLinePartNumber.find('|')));
            } else {
                QueryCriteria c;
                c.Beginning = ReadDouble(LocalizeDecimalPoint(p.BeginningFrequency));
                c.Ending = ReadDouble(LocalizeDecimalPoint(p.EndingFrequency));
                c.Length = ReadNumber(LocalizeDecimalPoint(p.Length));
                c.MaxLoss = ReadNumber(LocalizeDecimalPoint(p.MaxLoss));
                c.Connector1 = p.Connector1;
                c.Connector2 = p.Connector2;
                c.Units = units;
                c.ByFrequency = p.ByFrequency;
                c.ByConnector1 = p.ByConnector1;
                c.ByConnector2 = p.ByConnector2;
                c.ByLoss = p.ByLoss;
                c.Air = p.Air;
                c.Foam = p.Foam;
                c.Waveguide = p.Waveguide;
                c.Braided = p.Braided;
                out.Result = RunQuery(allLines, c);
            }
        } catch (const QuillonError& error) {
            out.Error = error.message();
            return out;
        }
    }
    out.Refused = !valid;
    if ((!valid || out.Result->empty()) && !suppressNoLines)
        out.Messages.push_back({MessageKind::Information, kNoLinesMessage, true});
    return out;
}

void CompletePrices(const LineList& lines, const PriceList& priceList, const std::function<void(std::size_t)>& progress)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        TTransmissionLine& line = *lines[i];
        if (line.Description.empty()) {
            if (auto entry = priceList.Find(line.PartNumber)) {
                line.Description = entry->Description;
                line.ListPrice = static_cast<double>(entry->Price);
            }
        }
        if (progress) progress(i + 1);
    }
}

}  // namespace quillon
