#include "engine/QueryFileValues.h"

#include "engine/PipeRecord.h"
#include "engine/ProfileText.h"

namespace quillon {
namespace {

const char* TrueFalse(bool on) { return on ? "True" : "False"; }

}  // namespace

std::vector<std::string> QueryFileLines(const QueryPage& p)
{
    return {
        "BegFreq=" + p.BeginningFrequency,
        "EndFreq=" + p.EndingFrequency,
        "C1=" + p.Connector1,
        "C2=" + p.Connector2,
        "MaxLoss=" + p.MaxLoss,
        "Length=" + p.Length,
        "VSWR=" + p.Vswr,
        std::string("Units=") + (p.Meters ? "M" : "F"),
        std::string("Foam=") + TrueFalse(p.Foam),
        std::string("Air=") + TrueFalse(p.Air),
        std::string("Waveguide=") + TrueFalse(p.Waveguide),
        std::string("Braided=") + TrueFalse(p.Braided),
        std::string("ByFreq=") + TrueFalse(p.ByFrequency),
        std::string("ByLoss=") + TrueFalse(p.ByLoss),
        std::string("ByC1=") + TrueFalse(p.ByConnector1),
        std::string("ByC2=") + TrueFalse(p.ByConnector2),
    };
}

std::vector<PageValue> QueryFileValues(const std::vector<std::string>& section)
{
    using enum PageControl;
    const auto text = [&](PageControl control, const char* key, const char* fallback) {
        return PageValue{control, ValueOrDefault(section, key, fallback), false};
    };
    const auto flag = [](PageControl control, bool on) { return PageValue{control, {}, on}; };
    const auto kindOn = [&](const char* key) { return UpperAscii(ValueOrDefault(section, key, "False")) != "FALSE"; };
    const auto switchOn = [&](const char* key) { return UpperAscii(ValueOrDefault(section, key, "False")) == "TRUE"; };
    const bool feet = UpperAscii(ValueOrDefault(section, "Units", "Meters")) == "F";
    return {
        text(BeginningFrequency, "BegFreq", "0"),
        text(EndingFrequency, "EndFreq", "0"),
        text(Connector1, "C1", ""),
        text(Connector2, "C2", ""),
        text(MaxLoss, "MaxLoss", "0"),
        text(Length, "Length", "0"),
        text(Vswr, "VSWR", "1.1"),
        flag(feet ? Feet : Meters, true),
        flag(Foam, kindOn("Foam")),
        flag(Air, kindOn("Air")),
        flag(Waveguide, kindOn("Waveguide")),
        flag(Braided, kindOn("Braided")),
        flag(ByFrequency, switchOn("ByFreq")),
        flag(ByLoss, switchOn("ByLoss")),
        flag(ByConnector1, switchOn("ByC1")),
        flag(ByConnector2, switchOn("ByC2")),
    };
}

QueryPage ApplyQueryFile(QueryPage page, QueryPageLists& lists, const std::vector<std::string>& section,
                         std::vector<Message>& messages)
{
    for (const PageValue& value : QueryFileValues(section)) ApplyPageValue(page, lists, value, messages);
    return page;
}

}  // namespace quillon
