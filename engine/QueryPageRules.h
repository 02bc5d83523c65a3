#pragma once
// The query page's own rules on its plain form (QueryPage): the window runs
// them for its controls, quillon-query and the tests for a page held as
// values. A value handed to the page (from the remembered query, a query
// file or the command line) goes onto its control with that control's rule.

#include <cstddef>
#include <string>
#include <vector>

#include "engine/Search.h"

namespace quillon {

// The loss criterion needs a band: query by loss on switches query by
// frequency on, and query by frequency off switches query by loss off.
void SetByFrequency(QueryPage& page, bool on);
void SetByLoss(QueryPage& page, bool on);

// The entry-box rule: empty or a number stays; anything else becomes "0"
// with this information message.
inline constexpr const char* kNumericFieldMessage = "This field must contain a numeric value.";
bool IsNumericEntry(const std::string& text);

// The items of the page's four lists; the frequency lists keep their order,
// the connector lists are sorted (ASCII letters compared without case, as
// the catalogue sorted them).
struct QueryPageLists {
    std::vector<std::string> Beginning, Ending, Connector1, Connector2;
};

struct ListChoice {
    std::size_t Index = 0;  // the entry to select
    bool Added = false;     // the text was inserted there first
};

// Selects the entry equal to the text (letter case ignored), adding the text
// first when no entry equals it: at the end, or in its sorted place.
ListChoice SelectOrAdd(std::vector<std::string>& items, const std::string& text, bool sorted);

// One value for one control of the page.
enum class PageControl {
    BeginningFrequency,
    EndingFrequency,
    Connector1,
    Connector2,
    MaxLoss,
    Length,
    Vswr,
    Meters,  // a units button: on selects it, off leaves the choice to the other
    Feet,
    Air,
    Foam,
    Waveguide,
    Braided,
    ByFrequency,
    ByLoss,
    ByConnector1,
    ByConnector2,
};

struct PageValue {
    PageControl Control = PageControl::BeginningFrequency;
    std::string Text;   // lists and entry boxes
    bool Flag = false;  // units buttons and check boxes
};

// Puts the value onto the plain page as the window puts it onto its control:
// a list selects or adds it, an entry box applies its rule (adding the
// message to `messages`), a check box runs its click rule.
void ApplyPageValue(QueryPage& page, QueryPageLists& lists, const PageValue& value, std::vector<Message>& messages);

// What the command line sets before anything else, in order: "Meters"
// selected, the four cable kinds on, the four query-by switches off.
std::vector<PageValue> CommandLineDefaultValues();

// The page those values give: the built-in texts ("0", "0", "1.1"), empty
// lists, metres, every kind on and every criterion off.
QueryPage CommandLineDefaults();

}  // namespace quillon
