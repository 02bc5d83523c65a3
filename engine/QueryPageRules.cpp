#include "engine/QueryPageRules.h"

#include <algorithm>

#include "engine/NumberText.h"
#include "engine/PipeRecord.h"

namespace quillon {
namespace {

// The list's selected entry after the value went in.
void SelectInList(std::vector<std::string>& items, std::string& selected, const std::string& text, bool sorted)
{
    selected = items[SelectOrAdd(items, text, sorted).Index];
}

// What an entry box holds after receiving a text.
std::string EntryBoxText(const std::string& text, std::vector<Message>& messages)
{
    if (IsNumericEntry(text)) return text;
    messages.push_back({MessageKind::Information, kNumericFieldMessage, false});
    return "0";
}

}  // namespace

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

bool IsNumericEntry(const std::string& text) { return text.empty() || IsNumberSyntax(text); }

ListChoice SelectOrAdd(std::vector<std::string>& items, const std::string& text, bool sorted)
{
    const std::string key = UpperAscii(text);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (UpperAscii(items[i]) == key) return {i, false};
    auto at = items.end();
    if (sorted)
        at = std::find_if(items.begin(), items.end(), [&](const std::string& item) { return UpperAscii(item) > key; });
    const auto index = static_cast<std::size_t>(at - items.begin());
    items.insert(at, text);
    return {index, true};
}

void ApplyPageValue(QueryPage& page, QueryPageLists& lists, const PageValue& value, std::vector<Message>& messages)
{
    using enum PageControl;
    switch (value.Control) {
    case BeginningFrequency: SelectInList(lists.Beginning, page.BeginningFrequency, value.Text, false); break;
    case EndingFrequency: SelectInList(lists.Ending, page.EndingFrequency, value.Text, false); break;
    case Connector1: SelectInList(lists.Connector1, page.Connector1, value.Text, true); break;
    case Connector2: SelectInList(lists.Connector2, page.Connector2, value.Text, true); break;
    case MaxLoss: page.MaxLoss = EntryBoxText(value.Text, messages); break;
    case Length: page.Length = EntryBoxText(value.Text, messages); break;
    case Vswr: page.Vswr = EntryBoxText(value.Text, messages); break;
    case Meters:
        if (value.Flag) page.Meters = true;
        break;
    case Feet:
        if (value.Flag) page.Meters = false;
        break;
    case Air: page.Air = value.Flag; break;
    case Foam: page.Foam = value.Flag; break;
    case Waveguide: page.Waveguide = value.Flag; break;
    case Braided: page.Braided = value.Flag; break;
    case ByFrequency: SetByFrequency(page, value.Flag); break;
    case ByLoss: SetByLoss(page, value.Flag); break;
    case ByConnector1: page.ByConnector1 = value.Flag; break;
    case ByConnector2: page.ByConnector2 = value.Flag; break;
    }
}

std::vector<PageValue> CommandLineDefaultValues()
{
    using enum PageControl;
    return {{Meters, {}, true},        {Air, {}, true},    {Foam, {}, true},         {Waveguide, {}, true},
            {Braided, {}, true},       {ByFrequency, {}, false}, {ByLoss, {}, false}, {ByConnector1, {}, false},
            {ByConnector2, {}, false}};
}

QueryPage CommandLineDefaults()
{
    QueryPage page;
    QueryPageLists lists;
    std::vector<Message> messages;
    for (const PageValue& value : CommandLineDefaultValues()) ApplyPageValue(page, lists, value, messages);
    return page;
}

}  // namespace quillon
