#pragma once
// The 36 currencies of the "Currency Settings" menu and price conversion with
// the exchange-rate file "xcngrate.dat".

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

struct CurrencyItem {
    int Tag;
    std::string_view ItemName;  // the menu item's component name
    std::string_view Caption;
    std::string_view Code;
    std::string_view Submenu;  // empty for the item directly in "Currency Settings"
};

// Every radio item in menu order (37 items: Tag 1 appears twice, as
// USDollarsUSD1 and its twin US1 in "North America").
std::span<const CurrencyItem> CurrencyMenu();
// The submenu captions in menu order.
std::span<const std::string_view> CurrencySubmenus();
// The code of a Tag ("USD" for 1); empty for an unknown Tag.
std::string_view CurrencyCodeForTag(int tag);

struct ExchangeRates {
    bool HasExchangeRates = false;
    std::vector<std::string> Lines;
};

// The value of one unit of the currency in US dollars: field 2 of the first
// line whose field 1 equals the code exactly; 1 when absent or without a file.
long double ExchangeRate(const ExchangeRates& rates, std::string_view code);

// The code and its caption "(code)" of the checked Tag; "USD" without a file.
struct CurrencyCode {
    std::string Code;
    std::string Caption;
};
CurrencyCode CurrentCurrencyCode(const ExchangeRates& rates, int checkedTag);

// A US-dollar price in the currency of the checked Tag.
long double ConvertPrice(const ExchangeRates& rates, int checkedTag, long double usd);

}  // namespace quillon
