// The catalogue builder against the plain builder it replaced, over random
// files: the same records to the last bit, the same value lists in the
// same order, the same error at the same line, also when lists were filled
// before and when a bad row stops the build.

#include "engine/Catalogue.h"
#include "engine/Errors.h"
#include "engine/LargeMemory.h"
#include "tests/engine/ReferenceCatalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace quillon;

namespace {

template <typename Float>
void Bits(std::string& out, Float v)
{
    constexpr std::size_t kBytes = sizeof(Float) > sizeof(double) ? 10 : sizeof(Float);
    unsigned char bytes[sizeof(Float)] = {};
    std::memcpy(bytes, &v, sizeof v);
    for (std::size_t i = 0; i < kBytes; ++i) {
        out += "0123456789abcdef"[bytes[i] >> 4];
        out += "0123456789abcdef"[bytes[i] & 15];
    }
    out += ' ';
}

// Everything a build leaves behind, numbers by their bits.
std::string Describe(const Catalogue& c, const std::string& error)
{
    std::string out = "error: " + error + "\n";
    for (const auto& line : c.AllLines) {
        out += "line [" + line->CatalogueField3 + "][" + line->PartNumber + "][" + line->Kind + "][" +
               line->CatalogueField6 + "][" + line->Description + "] " + std::to_string(line->ConnectorCount) + " " +
               std::to_string(line->NextConnector) + " ";
        for (const double v : {line->BeginFrequency, line->EndFrequency, line->AttenuationA, line->AttenuationB,
                               line->PeakPower, line->AveragePowerConstant, line->ListPrice})
            Bits(out, v);
        Bits(out, line->DeratingKey);
        out += "\n";
        for (const auto& connector : line->Connectors) {
            out += "  connector [" + connector->TypeName + "] " + std::to_string(connector->PartNumberCount) + " ";
            for (const long double v : {connector->Figure1, connector->Figure2, connector->Figure3, connector->Figure4})
                Bits(out, v);
            for (const std::string& part : connector->PartNumbers) out += "[" + part + "]";
            out += "\n";
        }
    }
    for (const auto* list : {&c.BeginFrequencies, &c.EndFrequencies, &c.ConnectorTypeNames}) {
        out += "list";
        for (const std::string& text : *list) out += " [" + text + "]";
        out += "\n";
    }
    return out;
}

template <class Build>
std::string BuiltBy(Build&& build, const Catalogue& start)
{
    Catalogue catalogue;
    catalogue.BeginFrequencies = start.BeginFrequencies;
    catalogue.EndFrequencies = start.EndFrequencies;
    catalogue.ConnectorTypeNames = start.ConnectorTypeNames;
    std::string error = "none";
    try {
        build(catalogue);
    } catch (const LoadError& e) {
        error = std::string(e.what()) + " @" + std::to_string(e.lineNumber());
    }
    return Describe(catalogue, error);
}

// A random catalogue file: runs of rows of one part number, numbers in many
// spellings (and now and then a bad one), figures repeating from row to row
// with near-misses among them, more connector type names than any short
// list holds, short and long rows, rows of many empty fields, blank rows.
std::vector<std::string> RandomCatalogue(std::mt19937_64& random)
{
    auto below = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    auto pick = [&](const auto& pool) { return std::string(pool[below(std::size(pool))]); };
    static const char* const kNumbers[] = {"806", "960.5", "0", "-0", "1.50", "0.125", " 12", "12 ", "1e3", "+7",
                                           ".5", "5.", "0.000", "450.12345678901234", "450.123456789012345678",
                                           "1e-400", "-3.25", "0.1", "0.10", "99999999999999999999", "7"};
    static const char* const kBad[] = {"x1", "", "1,5", "1e400", "--1", "one", "."};
    static const char* const kFigures[] = {"1.05", "1.05", "1.05", "1.050", "1.05 ", " 1.05", "1.0500000000000000001",
                                           "1.0500000000000000002", "0.05", "6", "-150", "-0", "0", "1e1",
                                           "1.05000000000001", "1.05000000000002", "2.05000000000001", "1.0502"};
    static const char* const kTypes[] = {"N Male", "n male", "N MALE", "7-16 DIN Female", "EIA 1-5/8 Flange", "BNC", "",
                                         "EIA 1-5/8 Flangf", "FIA 1-5/8 Flange", "N Male A", "N Male B"};
    static const char* const kParts[] = {"", "", "P1", "G100-C0A", "Q-0123456789-0123456789-0123456789-XYZ"};
    static const char* const kLineParts[] = {"QX1", "QX1", "QX1 ", " QX1", "qx1", "QX2", "",
                                             "QX1-0000A", "QX1-0000B", "RX1-0000A", "QX1-0000000000A", "QX1-0000000000B"};
    // Half the files are sound throughout; the others may stop anywhere.
    const bool faults = below(2) == 0;
    auto fault = [&](std::size_t oneIn) { return faults && below(oneIn) == 0; };
    auto number = [&] { return fault(200) ? pick(kBad) : below(3) == 0 ? pick(kNumbers)
                                                                               : std::to_string(below(100000)) + "." +
                                                                                     std::to_string(below(1000)); };
    std::vector<std::string> rows{"Begin|End|Size|Part|Type|..."};
    const std::size_t count = below(4) == 0 ? below(4) : below(150);
    std::string part = pick(kLineParts);
    for (std::size_t r = 0; r < count; ++r) {
        if (below(25) == 0) {
            rows.push_back(below(2) == 0 ? "" : "  ");
            continue;
        }
        const std::string previous = part;
        if (below(3) == 0) part = below(4) == 0 ? pick(kLineParts) : "L" + std::to_string(below(40));
        std::string row = number() + "|" + number() + "|7/8 in|" + part + "|FOAM|PE|" + number() + "|" + number() + "|" +
                          number() + "|" + number() + "|" + number() + "|";
        // A further row of a line is read for its connector only: its other
        // fields may hold anything, "|" close upon "|" or long texts.
        if (part == previous && below(4) == 0) {
            row = "|" + pick(kNumbers) + "||" + part + "|";
            for (int f = 4; f < 11; ++f) row += (below(2) == 0 ? "" : pick(kParts)) + "|";
        }
        row += (below(3) == 0 ? "Type " + std::to_string(below(90)) : pick(kTypes)) + "|";
        for (int f = 0; f < 4; ++f) row += (fault(300) ? pick(kBad) : pick(kFigures)) + "|";
        for (int p = 0; p < 6; ++p) row += pick(kParts) + "|";
        if (fault(40)) row.resize(below(row.size() + 1));  // cut short
        if (below(20) == 0) row += "extra|fields|";
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

TEST(CatalogueBuild, EveryFormOfTheBuildMatchesThePlainBuilder)
{
    std::mt19937_64 random(20261213);
    for (int round = 0; round < 1500; ++round) {
        std::vector<std::string> rows = RandomCatalogue(random);
        // Now and then a row longer than a megabyte, the long text anywhere in it.
        if (round % 100 == 3 && rows.size() > 1) {
            std::string& row = rows[1 + random() % (rows.size() - 1)];
            row.insert(random() % (row.size() + 1), std::string((std::size_t{1} << 20) + 100, 'W'));
        }
        Catalogue start;  // now and then lists filled before
        if (round % 5 == 1) {
            start.BeginFrequencies = {"900", "1e3", "0.5"};
            start.ConnectorTypeNames = {"bnc", "Z Female"};
        }
        if (round % 5 == 2) start.EndFrequencies = {"12"};
        std::string text;
        for (const std::string& row : rows) text += row + (round % 2 == 0 ? "\r\n" : "\n");
        const std::string expected = BuiltBy([&](Catalogue& c) { test::ReferenceBuildCatalogue(rows, c); }, start);
        ASSERT_EQ(BuiltBy([&](Catalogue& c) { BuildCatalogue(rows, c); }, start), expected) << "round " << round;
        ASSERT_EQ(BuiltBy([&](Catalogue& c) { BuildCatalogue(std::string_view(text), c); }, start), expected)
            << "round " << round;
        ASSERT_EQ(BuiltBy(
                      [&](Catalogue& c) {
                          LargeBuffer block = LargeBuffer::Allocate(text.size());
                          if (!text.empty()) std::memcpy(block.data(), text.data(), text.size());
                          BuildCatalogue(std::move(block), c);
                      },
                      start),
                  expected)
            << "round " << round;
    }
}
