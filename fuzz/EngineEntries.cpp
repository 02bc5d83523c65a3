// Fuzz entries of the engine: catalogue, price list, exchange rates, number
// text and profile text.

#include "fuzz/Entries.h"
#include "fuzz/FuzzInput.h"

#include "engine/Catalogue.h"
#include "engine/Currencies.h"
#include "engine/Errors.h"
#include "engine/LargeMemory.h"
#include "engine/NumberText.h"
#include "engine/PipeRecord.h"
#include "engine/PriceList.h"
#include "engine/ProfileText.h"
#include "engine/TextFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace quillon::fuzz {

namespace {

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    return true;
}

bool LessNoCase(std::string_view a, std::string_view b)
{
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const auto x = static_cast<unsigned char>(UpperAscii(a[i]));
        const auto y = static_cast<unsigned char>(UpperAscii(b[i]));
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

// A text the general format wrote: a plain decimal, never an exponent or "-0".
void CheckGeneralText(const std::string& text)
{
    Check(!text.empty(), "general format: empty");
    Check(text.find_first_of("eE") == std::string::npos, "general format: an exponent");
    Check(text != "-0", "general format: -0");
    Check(IsNumberSyntax(text), "general format: not a number text");
    Check(text.back() != '.', "general format: a trailing point");
    if (text.find('.') != std::string::npos) Check(text.back() != '0', "general format: a trailing zero");
}

// A "%.2f" cell: optional "-", digits, ".", two digits; never "-0.00".
void CheckFixed2Text(const std::string& text)
{
    const std::size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t dot = text.find('.');
    Check(dot != std::string::npos && dot > start && text.size() == dot + 3, "two decimals: shape");
    for (std::size_t i = start; i < text.size(); ++i)
        if (i != dot) Check(text[i] >= '0' && text[i] <= '9', "two decimals: not a digit");
    Check(text != "-0.00", "two decimals: -0.00");
}

}  // namespace

void Catalogue(const std::uint8_t* data, std::size_t size)
{
    quillon::Catalogue catalogue;
    bool complete = true;
    try {
        BuildCatalogue(SplitLines(Text(data, size)), catalogue);
    } catch (const LoadError& error) {
        complete = false;
        Check(!error.message().empty(), "a load error without its text");
    }
    for (const auto& line : catalogue.AllLines) {
        Check(line->ConnectorCount == static_cast<int>(line->Connectors.size()), "connector count");
        Check(line->NextConnector == line->ConnectorCount, "next connector");
        Check(!line->Connectors.empty(), "a line without its first row's connector");
        Check(std::isfinite(line->BeginFrequency) && std::isfinite(line->EndFrequency), "a band edge not finite");
        for (const auto& connector : line->Connectors) {
            Check(connector->PartNumberCount == static_cast<int>(connector->PartNumbers.size()), "part number count");
            Check(connector->PartNumbers.size() <= 6, "more than six part numbers");
            for (const std::string& partNumber : connector->PartNumbers) Check(!partNumber.empty(), "empty part number");
        }
    }
    for (const auto* list : {&catalogue.BeginFrequencies, &catalogue.EndFrequencies}) {
        for (std::size_t i = 0; i < list->size(); ++i) {
            CheckGeneralText((*list)[i]);
            if (complete && i > 0) Check(ReadNumber((*list)[i - 1]) <= ReadNumber((*list)[i]), "band list not sorted");
        }
    }
    const auto& names = catalogue.ConnectorTypeNames;
    for (std::size_t i = 1; i < names.size(); ++i)
        Check(LessNoCase(names[i - 1], names[i]), "connector names not distinct and in order");
}

void PriceList(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> lines = SplitLines(Text(data, size));
    // The list from its lines, and from the bytes as a file holds them (line
    // ends of every kind, the last line with or without its end).
    LargeBuffer bytes = LargeBuffer::Allocate(size);
    if (size != 0) std::memcpy(bytes.data(), data, size);
    const quillon::PriceList fromLines(lines);
    const quillon::PriceList fromText(std::move(bytes));
    Check(fromText.LineCount() == lines.size(), "the list's lines not counted as read");
    // Every part number the list names, and some it does not.
    std::vector<std::string> asked{"", " ", "QX1"};
    for (const std::string& line : lines) {
        asked.push_back(PipeField(line, 3));
        asked.push_back(PipeField(line, 1));
    }
    for (const quillon::PriceList* prices : {&fromLines, &fromText}) {
        for (const std::string& partNumber : asked) {
            const auto indexed = prices->Find(partNumber);
            const auto scanned = prices->FindLinear(partNumber);
            Check(indexed.has_value() == scanned.has_value(), "index and scan disagree on found");
            if (!indexed) continue;
            Check(indexed->Description == scanned->Description, "index and scan disagree on the description");
            Check(indexed->Price == scanned->Price, "index and scan disagree on the price");
            Check(std::fabs(indexed->Price) <= std::numeric_limits<double>::max(), "a price a line cannot hold");
            CheckFixed2Text(FormatFixed2(indexed->Price));
        }
    }
}

void ExchangeRates(const std::uint8_t* data, std::size_t size)
{
    const quillon::ExchangeRates rates{true, SplitLines(Text(data, size))};
    for (const CurrencyItem& item : CurrencyMenu()) {
        const CurrencyCode code = CurrentCurrencyCode(rates, item.Tag);
        Check(code.Code == item.Code && code.Caption == "(" + code.Code + ")", "currency code");
        for (const long double usd : {0.0L, 1.0L, 12.5L, 1e300L}) {
            try {
                const long double price = ConvertPrice(rates, item.Tag, usd);
                Check(std::isfinite(price), "a converted price not finite");
                CheckFixed2Text(FormatFixed2(price));
            } catch (const QuillonError& error) {
                Check(!error.message().empty(), "a conversion error without its text");
            }
        }
    }
}

void NumberText(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = Text(data, size);
    long double extended = 0;
    double plain = 0;
    const bool readExtended = TryReadNumber(text, extended);
    const bool readPlain = TryReadNumber(text, plain);
    Check(IsNumberSyntax(text) || (!readExtended && !readPlain), "read a text that breaks the rule");
    Check(readExtended || !readPlain, "a double read what long double could not");
    // The two types differ only on values past the double's range; a value
    // too small for either reads as zero, however it is written.
    if (readExtended && !readPlain)
        Check(std::fabs(extended) > std::numeric_limits<double>::max(), "a double refused a small value");
    std::vector<long double> values;
    if (readExtended) values.push_back(extended);
    if (readPlain) values.push_back(plain);
    // The raw bytes as a value too: every bit pattern the formats may meet.
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        if (std::isfinite(raw)) values.push_back(raw);
    }
    for (const long double value : values) {
        Check(std::isfinite(value), "read a value that is not finite");
        const std::string general = FormatGeneral(value);
        CheckGeneralText(general);
        long double back = 0;
        Check(TryReadNumber(general, back), "the general format does not read back");
        Check(FormatGeneral(back) == general, "the general format does not read back to itself");
        if (std::fabs(value) >= std::numeric_limits<long double>::min())
            Check(std::fabs(back - value) <= std::fabs(value) * 1e-14L, "the general format is off the value");
        const std::string fixed = FormatFixed2(value);
        CheckFixed2Text(fixed);
        Check(TryReadNumber(fixed, back), "two decimals do not read back");
        Check(FormatFixed2(back) == fixed, "two decimals do not read back to themselves");
        // Rounded once to 15 significant digits, then to the cent.
        Check(std::fabs(back - value) <= 0.005L + std::fabs(value) * 1e-14L + 1e-12L, "two decimals off the value");
    }
}

void ProfileText(const std::uint8_t* data, std::size_t size)
{
    // The input: a profile file, then after a line "%%" the key=value lines to write.
    const std::vector<std::string_view> parts = Sections(Text(data, size));
    const std::vector<std::string> file = SplitLines(parts[0]);
    std::vector<std::string> written;
    if (parts.size() > 1) {
        for (const std::string& line : SplitLines(parts[1])) {
            // What a save writes: a key without "=", blanks around it or a
            // leading ";" or "[" (which would make it a comment or a section).
            const std::size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            const std::string_view key = std::string_view(line).substr(0, eq);
            if (key.empty() || TrimBlanks(key) != key || key.front() == ';' || key.front() == '[') continue;
            written.push_back(line);
        }
    }
    const auto SectionNames = [](const std::vector<std::string>& lines) {
        std::vector<std::string> names;
        for (const std::string& line : lines) {
            const std::string_view trimmed = TrimBlanks(line);
            const std::size_t close = trimmed.find(']');
            if (trimmed.size() >= 2 && trimmed.front() == '[' && close != std::string_view::npos)
                names.emplace_back(TrimBlanks(trimmed.substr(1, close - 1)));
        }
        return names;
    };

    // Saving what was read, one value per key as the reader gives it, changes no value.
    const std::vector<std::string> before = ReadIniSection(file, "data");
    std::vector<std::string> resaved;
    for (const std::string& line : before) {
        const std::string key = line.substr(0, line.find('='));
        bool seen = false;
        for (const std::string& other : resaved) seen = seen || EqualNoCase(other.substr(0, other.find('=')), key);
        if (!seen) resaved.push_back(key + "=" + ValueOrDefault(before, key, ""));
    }
    const std::vector<std::string> reread = ReadIniSection(WriteIniSection(file, "data", resaved), "data");
    for (const std::string& line : resaved) {
        const std::string key = line.substr(0, line.find('='));
        Check(ValueOrDefault(reread, key, "") == ValueOrDefault(before, key, ""), "saving what was read changed it");
    }

    const std::vector<std::string> after = WriteIniSection(file, "data", written);
    const std::vector<std::string> read = ReadIniSection(after, "data");
    // Every written key reads back with its value, blanks around it dropped;
    // the last write of a key counts, an empty value reads as absent.
    std::vector<std::pair<std::string, std::string>> expected;
    for (const std::string& line : written) {
        const std::size_t eq = line.find('=');
        const std::string key = line.substr(0, eq);
        const std::string value(TrimBlanks(std::string_view(line).substr(eq + 1)));
        bool replaced = false;
        for (auto& [k, v] : expected)
            if (EqualNoCase(k, key)) { v = value; replaced = true; }
        if (!replaced) expected.emplace_back(key, value);
    }
    for (const auto& [key, value] : expected) {
        Check(ValueOrDefault(read, key, "\x01") == (value.empty() ? std::string("\x01") : value),
              "a written value does not read back");
    }
    // Every other section reads as before, and none is lost or added.
    std::vector<std::string> names = SectionNames(file);
    std::vector<std::string> namesAfter = SectionNames(after);
    bool hadData = false;
    for (const std::string& name : names) hadData = hadData || EqualNoCase(name, "data");
    if (!hadData && !written.empty()) names.emplace_back("data");
    Check(names == namesAfter, "writing changed the sections");
    for (const std::string& name : names) {
        if (EqualNoCase(name, "data")) continue;
        Check(ReadIniSection(file, name) == ReadIniSection(after, name), "writing changed another section");
    }
}

}  // namespace quillon::fuzz
