#include "engine/QueryFileValues.h"

#include "engine/NumberText.h"
#include "engine/ProfileText.h"

#include <algorithm>

namespace quillon {
namespace {

std::string Upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

const char* TrueFalse(bool on) { return on ? "True" : "False"; }

// The entry-box rule: a text that is neither empty nor a number becomes "0".
std::string EntryBoxText(const std::string& text, std::vector<Message>& messages)
{
    if (IsNumericEntry(text)) return text;
    messages.push_back({MessageKind::Information, kNumericFieldMessage, false});
    return "0";
}

// The page's click rules: query by frequency off also switches query by loss
// off; query by loss on also switches query by frequency on.
void SetByFrequency(QueryPage& page, bool on)
{
    page.ByFrequency = on;
    if (!on) page.ByLoss = false;
}

void SetByLoss(QueryPage& page, bool on)
{
    page.ByLoss = on;
    if (on) page.ByFrequency = true;
}

}  // namespace

bool IsNumericEntry(const std::string& text) { return text.empty() || IsNumberSyntax(text); }

std::string SelectOrAdd(std::vector<std::string>& items, const std::string& text, bool sorted)
{
    const std::string key = Upper(text);
    for (const std::string& item : items)
        if (Upper(item) == key) return item;
    if (sorted) {
        const auto at = std::find_if(items.begin(), items.end(), [&](const std::string& item) { return Upper(item) > key; });
        items.insert(at, text);
    } else {
        items.push_back(text);
    }
    return text;
}

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

QueryPage ApplyQueryFile(QueryPage page, QueryPageLists& lists, const std::vector<std::string>& section,
                         std::vector<Message>& messages)
{
    auto value = [&](const char* key, const char* def) { return ValueOrDefault(section, key, def); };
    page.BeginningFrequency = SelectOrAdd(lists.Beginning, value("BegFreq", "0"), false);
    page.EndingFrequency = SelectOrAdd(lists.Ending, value("EndFreq", "0"), false);
    page.Connector1 = SelectOrAdd(lists.Connector1, value("C1", ""), true);
    page.Connector2 = SelectOrAdd(lists.Connector2, value("C2", ""), true);
    page.MaxLoss = EntryBoxText(value("MaxLoss", "0"), messages);
    page.Length = EntryBoxText(value("Length", "0"), messages);
    page.Vswr = EntryBoxText(value("VSWR", "1.1"), messages);
    page.Meters = Upper(value("Units", "Meters")) != "F";
    // Cable kinds are on unless the file says FALSE; query-by switches are off unless it says TRUE.
    page.Foam = Upper(value("Foam", "False")) != "FALSE";
    page.Air = Upper(value("Air", "False")) != "FALSE";
    page.Waveguide = Upper(value("Waveguide", "False")) != "FALSE";
    page.Braided = Upper(value("Braided", "False")) != "FALSE";
    SetByFrequency(page, Upper(value("ByFreq", "False")) == "TRUE");
    SetByLoss(page, Upper(value("ByLoss", "False")) == "TRUE");
    page.ByConnector1 = Upper(value("ByC1", "False")) == "TRUE";
    page.ByConnector2 = Upper(value("ByC2", "False")) == "TRUE";
    return page;
}

}  // namespace quillon
