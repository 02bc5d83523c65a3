#include "engine/Currencies.h"

#include "engine/CheckedMath.h"
#include "engine/NumberText.h"
#include "engine/PipeRecord.h"

#include <array>

namespace quillon {
namespace {

constexpr std::array<std::string_view, 7> kSubmenus{
    "Africa", "Asia", "Europe", "Middle East", "North America", "Oceania", "South America"};

constexpr std::array<CurrencyItem, 37> kMenu{{
    {1, "USDollarsUSD1", "US Dollars (USD)", "USD", ""},
    {2, "SouthAfricanRandZAR1", "South African Rand (ZAR)", "ZAR", "Africa"},
    {3, "China1", "Chinese Renminbi (RMB)", "RMB", "Asia"},
    {4, "HongKongDollarsHKD1", "Hong Kong Dollars (HKD)", "HKD", "Asia"},
    {5, "IndianRupeesINR1", "Indian Rupees (INR)", "INR", "Asia"},
    {6, "Yen1", "Japanese Yen (JPY)", "JPY", "Asia"},
    {7, "KoreanWonKRW1", "Korean Won (KRW)", "KRW", "Asia"},
    {8, "PhilipinoPesosPHP1", "Philipino Pesos (PHP)", "PHP", "Asia"},
    {9, "SingaporeDollarsSGD1", "Singapore Dollars (SGD)", "SGD", "Asia"},
    {10, "TaiwanDollarsTWD1", "Taiwan Dollars (TWD)", "TWD", "Asia"},
    {11, "AustrianSchillingsATS1", "Austrian Schillings (ATS)", "ATS", "Europe"},
    {12, "BelgianFrancsBEF1", "Belgian Francs (BEF)", "BEF", "Europe"},
    {13, "SwissFrancsCHF1", "Swiss Francs (CHF)", "CHF", "Europe"},
    {14, "DM1", "German Deutch Marks (DEM)", "DEM", "Europe"},
    {15, "DanishKronesDKK1", "Danish Krones (DKK)", "DKK", "Europe"},
    {16, "SpanishPesetasESP1", "Spanish Pesetas (ESP)", "ESP", "Europe"},
    {17, "Euro1", "Euros (EUR)", "EUR", "Europe"},
    {18, "FinishMarkkasFIM1", "Finish Markkas (FIM)", "FIM", "Europe"},
    {19, "FrenchFranksFRF1", "French Franks (FRF)", "FRF", "Europe"},
    {20, "GBP1", "Pounds Sterling (GBP)", "GBP", "Europe"},
    {21, "GreekDrachmasGRD1", "Greek Drachmas (GRD)", "GRD", "Europe"},
    {22, "IrishPuntsIEP1", "Irish Punts (IEP)", "IEP", "Europe"},
    {23, "ItalianLiraITL1", "Italian Lira (ITL)", "ITL", "Europe"},
    {24, "DutchGildersNLG1", "Dutch Gilders (NLG)", "NLG", "Europe"},
    {25, "NorweiganKronesNOK1", "Norweigan Krones (NOK)", "NOK", "Europe"},
    {26, "PortugeseEscudosPTE1", "Portugese Escudos (PTE)", "PTE", "Europe"},
    {27, "SweedishKronaSEK1", "Sweedish Krona (SEK)", "SEK", "Europe"},
    {28, "UnitedArabEmiratesDirhamAED1", "United Arab Emirates Dirham (AED)", "AED", "Middle East"},
    {29, "SaudiRiyalSAR1", "Saudi Riyal (SAR)", "SAR", "Middle East"},
    {1, "US1", "US Dollars (USD)", "USD", "North America"},
    {30, "Canada1", "Canadian Dollars (CAD)", "CAD", "North America"},
    {31, "MexicanPesosMXP1", "Mexican Pesos (MXP)", "MXP", "North America"},
    {32, "AustralianDollarsAUD1", "Australian Dollars (AUD)", "AUD", "Oceania"},
    {33, "IndonesianRupiahsIDR1", "Indonesian Rupiahs (IDR)", "IDR", "Oceania"},
    {34, "NewZealandDollarsNZD1", "New Zealand Dollars (NZD)", "NZD", "Oceania"},
    {35, "Brazil1", "Brazillian Real (BRL)", "BRL", "South America"},
    {36, "ArgentinaPesosARS1", "Argentina Pesos (ARS)", "ARS", "South America"},
}};

}  // namespace

std::span<const CurrencyItem> CurrencyMenu() { return kMenu; }
std::span<const std::string_view> CurrencySubmenus() { return kSubmenus; }

std::string_view CurrencyCodeForTag(int tag)
{
    for (const CurrencyItem& item : kMenu)
        if (item.Tag == tag) return item.Code;
    return {};
}

long double ExchangeRate(const ExchangeRates& rates, std::string_view code)
{
    if (!rates.HasExchangeRates) return 1;
    for (const std::string& line : rates.Lines)
        if (PipeField(line, 1) == code) return ReadNumber(PipeField(line, 2));
    return 1;
}

CurrencyCode CurrentCurrencyCode(const ExchangeRates& rates, int checkedTag)
{
    std::string code = rates.HasExchangeRates ? std::string(CurrencyCodeForTag(checkedTag)) : std::string("USD");
    return {code, "(" + code + ")"};
}

long double ConvertPrice(const ExchangeRates& rates, int checkedTag, long double usd)
{
    if (!rates.HasExchangeRates || checkedTag == 1) return usd;
    return checked::Div(usd, ExchangeRate(rates, CurrencyCodeForTag(checkedTag)));
}

}  // namespace quillon
