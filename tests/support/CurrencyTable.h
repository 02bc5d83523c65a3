#pragma once
// The 37 items of the "Currency Settings" menu in menu order, typed here
// independently of the program's own table (engine/Currencies.cpp), so that a
// caption, code or Tag changed or swapped there shows in the tests.

#include <array>

namespace quillon::test {

struct CurrencyRow {
    int tag;
    const char* item;     // the menu item's name
    const char* caption;
    const char* code;
    const char* submenu;  // "" directly in "Currency Settings"
};

inline constexpr std::array<CurrencyRow, 37> kCurrencyTable{{
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

}  // namespace quillon::test
