#pragma once
// The query remembered between runs: eighteen values in one key of the
// settings store, written when the main window closes and put back at the
// next interactive start; and the chosen currency, kept in the same key.
//
// Who does what:
// - SaveSettings writes what the window hands over, in a fixed order, and
//   stops at the first value the store refuses (those written before stay).
// - LoadSettings only reads. It returns the values it managed to read, in
//   reading order, up to the first one that could not be read. The window
//   applies them in that order, each onto its control (PageControlOf) with
//   the control's own rule, as it applies a query file's values: a list
//   selects the entry equal to the text or appends it (SelectOrAdd), an entry
//   box applies its numeric rule, a check box runs its click rule. A failure
//   thus leaves on the page exactly what was applied before it.
// - The one rule that belongs to the stored query itself, an empty stored
//   VSWR coming back as "1.1", is applied here: the VSWR value handed back is
//   the text to put into the box.
// - Neither shows anything. Whether to save after a start that could not
//   load the catalogue is the window's decision (it should not, so that a
//   broken installation does not wipe the stored query).

#include <optional>
#include <vector>

#include <QString>

#include "engine/QueryPageRules.h"
#include "platform/SettingsKeys.h"

namespace quillon {

class SettingsStore;
struct QueryPage;  // Search.h

// What an empty or missing stored VSWR comes back as.
inline constexpr char kDefaultVswr[] = "1.1";

// The eighteen stored values, named as in the store. Texts are kept exactly
// as the controls show them. The defaults are the window's built-in state.
struct StoredQuery {
    bool Save = true;  // check mark of "Save Settings On Exit"
    QString BeginningFrequency;
    QString EndingFrequency;
    QString MaxLoss = QStringLiteral("0");
    QString Length = QStringLiteral("0");
    QString Connector1;
    QString Connector2;
    bool Meters = false;
    bool Feet = true;
    bool Air = true;
    bool Foam = true;
    bool EW = true;  // elliptical waveguide
    bool Braided = true;
    bool ByFrequency = true;
    bool ByLoss = false;
    bool ByC1 = false;
    bool ByC2 = false;
    QString VSWR = QStringLiteral("1.1");

    friend bool operator==(const StoredQuery&, const StoredQuery&) = default;
};

// The stored query of a query page as the window reads it into the engine's
// form (8-bit texts, taken as Latin-1), with the menu item's check mark.
StoredQuery StoredQueryFromPage(const QueryPage& page, bool save);

// One stored value, by its name in the store.
enum class StoredValue {
    Save,
    BeginningFrequency,
    EndingFrequency,
    MaxLoss,
    Length,
    Connector1,
    Connector2,
    Meters,
    Feet,
    Air,
    Foam,
    EW,
    Braided,
    ByFrequency,
    ByLoss,
    ByC1,
    ByC2,
    VSWR,
};

// The value's name in the store ("BeginningFrequency", "EW", "VSWR", ...).
QString StoredValueName(StoredValue value);
// True for Save and the ten flags (numbers in the store), false for the seven texts.
bool IsStoredFlag(StoredValue value);

// The query page's control a stored value goes onto; nothing for Save, which
// is the menu item's check mark.
std::optional<PageControl> PageControlOf(StoredValue value);

struct LoadedValue {
    StoredValue Name = StoredValue::Save;
    QString Text;       // the seven texts
    bool Flag = false;  // Save and the ten flags

    friend bool operator==(const LoadedValue&, const LoadedValue&) = default;
};

struct LoadedSettings {
    // False when the key is missing: the page keeps its defaults and the menu
    // item its check mark.
    bool KeyFound = false;
    // In reading order: Save; then, only when Save is on, BeginningFrequency,
    // EndingFrequency, MaxLoss, Length, VSWR, Connector1, Connector2, Meters,
    // Feet, Air, Foam, EW, Braided, ByFrequency, ByLoss, ByC1, ByC2. Ends
    // early at the first value that could not be read.
    std::vector<LoadedValue> Values;
    // The value that could not be read (a missing flag, a flag stored as
    // text, a text stored as a number); nothing when no read failed.
    std::optional<StoredValue> FailedAt;
};

// Opens the key (creating it when missing), writes BeginningFrequency,
// EndingFrequency, MaxLoss, Length, Connector1, Connector2, the ten flags,
// VSWR and Save, in that order, and closes it. Stops at the first failure;
// values written before it stay. Other values of the key (Currency) are left
// alone. Returns whether every value was written; the window shows nothing
// either way.
bool SaveSettings(SettingsStore& store, const StoredQuery& query);

// Reads the stored query without creating anything; see LoadedSettings.
LoadedSettings LoadSettings(SettingsStore& store);

// The chosen currency lives in the same key as "Currency", the Tag of its
// menu item. Writes it, creating the key when missing; false when the store
// refused (the choice then lasts for this run only).
bool StoreCurrency(SettingsStore& store, int tag);

// What the store says about the currency to put back before a search.
struct StoredCurrency {
    // False when nothing is stored yet: US dollars.
    bool KeyFound = false;
    // The Tag to choose: the stored one with exchange rates, 1 without (every
    // price is then in US dollars). Nothing when the key cannot be opened or
    // the value is missing or no number: the choice stays as it is.
    std::optional<int> Tag;
};
StoredCurrency ReadStoredCurrency(SettingsStore& store, bool hasExchangeRates);

}  // namespace quillon
