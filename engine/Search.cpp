#include "engine/Search.h"

#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "engine/PipeRecord.h"
#include "engine/TransmissionLib.h"

#include <array>

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

std::optional<Message> CheckLength(std::string_view length)
{
    long double value = 0;
    if (!TryReadNumber(LocalizeDecimalPoint(std::string(length)), value) || value >= 0) return std::nullopt;
    return Message{MessageKind::Information, "The length value cannot be negative.\r\rPlease check your length value.",
                   false, FocusTarget::Length};
}

std::optional<Message> CheckVswr(std::string_view vswr)
{
    long double value = 0;
    if (!TryReadNumber(LocalizeDecimalPoint(std::string(vswr)), value) || value >= 1) return std::nullopt;
    return Message{MessageKind::Information,
                   "The VSWR value cannot be less than 1.\r\rPlease check your VSWR value.", false, FocusTarget::Vswr};
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
        FocusTarget focus = FocusTarget::Unchanged;
        if (p.MaxLoss == "0") focus = FocusTarget::MaxLoss;
        if (p.Length == "0") focus = FocusTarget::Length;
        out.Messages.push_back({MessageKind::Warning,
                                "You must enter a maximum insertion loss and a length\rwhen querying by insertion loss",
                                true, focus});
        out.Focus = focus;
        valid = false;
        suppressNoLines = true;
    }
    if (!p.Air && !p.Foam && !p.Waveguide && !p.Braided) {
        out.Messages.push_back({MessageKind::Error, "Please select a cable type.", true});
        valid = false;
        suppressNoLines = true;
    }
    // The part-number form computes over the length its argument carries.
    const bool commandLine = !commandLinePartNumber.empty();
    const std::size_t bar = commandLinePartNumber.find('|');
    std::string_view length = p.Length;
    if (commandLine && bar != std::string_view::npos) {
        const std::string_view rest = commandLinePartNumber.substr(bar + 1);
        length = rest.substr(0, rest.find('|'));
    }
    for (const std::optional<Message>& refusal : {CheckLength(length), CheckVswr(p.Vswr)}) {
        if (!refusal) continue;
        out.Messages.push_back(*refusal);
        out.Focus = refusal->Focus;
        valid = false;
        suppressNoLines = true;
    }
    const std::string units = p.Meters ? "Meters" : "Feet";

    if (valid) {
        try {
            if (commandLine) {
                out.Result = SelectByPartNumber(allLines, commandLinePartNumber.substr(0, bar));
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
    // The lookups run ahead of the lines they price: a line's place in the
    // index is fetched kAhead lines before, the price list's line half as far.
    constexpr std::size_t kAhead = 8;
    std::array<PriceList::Lookup, kAhead> ahead;
    std::array<const TTransmissionLine*, kAhead> begunFor{};
    const std::size_t n = lines.size();
    auto begin = [&](std::size_t i) {
        if (i >= n || !lines[i]->Description.empty()) return;
        ahead[i % kAhead] = priceList.Begin(lines[i]->PartNumber);
        begunFor[i % kAhead] = lines[i];
    };
    for (std::size_t i = 0; i < kAhead; ++i) begin(i);
    for (std::size_t i = 0; i < n; ++i) {
        TTransmissionLine& line = *lines[i];
        if (line.Description.empty()) {
            const bool begun = begunFor[i % kAhead] == &line;
            if (auto entry = begun ? priceList.Find(line.PartNumber, ahead[i % kAhead]) : priceList.Find(line.PartNumber)) {
                line.Description = entry->Description;
                line.ListPrice = static_cast<double>(entry->Price);
            }
        }
        begin(i + kAhead);
        if (i + kAhead / 2 < n && begunFor[(i + kAhead / 2) % kAhead] == lines[i + kAhead / 2])
            priceList.Advance(ahead[(i + kAhead / 2) % kAhead]);
        if (progress) progress(i + 1);
    }
}

}  // namespace quillon
