#pragma once
// The query filters and the steps of the search as pure functions: the window
// shows the messages in order and applies the outcome to its controls.

#include "engine/Catalogue.h"
#include "engine/PriceList.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The query page as its controls hold it.
struct QueryPage {
    bool ByFrequency = true;
    std::string BeginningFrequency;
    std::string EndingFrequency;
    bool ByLoss = false;
    std::string MaxLoss = "0";
    std::string Length = "0";
    bool Meters = false;  // false: "Feet" selected
    bool ByConnector1 = false;
    std::string Connector1;
    bool ByConnector2 = false;
    std::string Connector2;
    bool Air = true;
    bool Foam = true;
    bool Waveguide = true;
    bool Braided = true;
    std::string Vswr = "1.1";
};

enum class MessageKind { Information, Warning, Error, Confirmation };

struct Message {
    MessageKind Kind;
    std::string Text;  // line breaks are CR, as the boxes show them
    bool Beep = false; // the default beep sounds before the box
};

LineList SelectByPartNumber(const LineList& lines, std::string_view partNumber);
LineList SelectByBand(const LineList& lines, double beginning, double ending);
LineList SelectByConnector(const LineList& lines, std::string_view connectorType);
// The cable loss the loss criterion weighs, dB: attenuation per 100 ft at the
// mid-band (per 100 m when the units are exactly "Meters") / 100 x length.
// The connectors' allowance is not counted.
long double CriterionCableLoss(const TTransmissionLine& line, std::string_view units, long double length,
                               double beginning, double ending);
// The loss criterion for one line: its cable loss over the length at most the
// maximum (within 1e-9 dB, so a line whose loss shows exactly the maximum passes).
bool PassesLossCriterion(const TTransmissionLine& line, std::string_view units, long double length,
                         long double maxLoss, double beginning, double ending);
// Cable loss over the length at most the maximum (within 1e-9 dB, so a line
// whose loss shows exactly the maximum passes). Units "Meters" or "Feet".
LineList SelectByLoss(const LineList& lines, std::string_view units, long double length, long double maxLoss,
                      double beginning, double ending);
LineList SelectByKind(const LineList& lines, bool air, bool foam, bool waveguide, bool braided);

struct QueryCriteria {
    std::string Connector1, Connector2;
    double Beginning = 0, Ending = 0;
    long double Length = 0, MaxLoss = 0;
    std::string Units = "Feet";
    bool ByFrequency = false, ByConnector1 = false, ByConnector2 = false, ByLoss = false;
    bool Air = false, Foam = false, Waveguide = false, Braided = false;
};
LineList RunQuery(const LineList& lines, const QueryCriteria& criteria);

// The frequency check; on failure the information message to show.
std::optional<Message> CheckFrequencyRange(std::string_view beginning, std::string_view ending);

enum class FocusTarget { Unchanged, MaxLoss, Length };

struct SearchOutcome {
    QueryPage Page;                 // the page after the search set empty boxes to "0"
    std::vector<Message> Messages;  // every box, in the order shown
    FocusTarget Focus = FocusTarget::Unchanged;
    bool Refused = false;
    std::optional<LineList> Result;  // the new ResultLines when the query ran
    std::optional<std::string> Error; // a conversion or formula error that ended the search
};

// The search's checks, selection and messages. Price completion, currency and
// filling are the caller's (CompletePrices, FillInteractiveRows); the
// "no lines" message is already in Messages when the result is empty.
SearchOutcome RunSearch(const QueryPage& page, std::string_view commandLinePartNumber, const LineList& allLines);

// Fills Description and ListPrice of lines not yet looked up; progress gets
// the 1-based ordinal of each line as it is done.
void CompletePrices(const LineList& lines, const PriceList& priceList,
                    const std::function<void(std::size_t)>& progress = {});

}  // namespace quillon
