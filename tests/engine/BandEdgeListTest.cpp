// The band-edge lists against the way they were first made: every value
// sorted, equal ones merged, each written in the general format.

#include "engine/BandEdgeList.h"
#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "tests/engine/ReferenceCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace quillon;

namespace {

// A band edge as a catalogue may spell it: mostly plain decimals, some with
// a "+", blanks, zeros before or after, an exponent, or many digits.
std::string RandomEdgeText(std::mt19937_64& random)
{
    auto below = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
    std::string text;
    if (below(20) == 0) text += ' ';
    if (below(4) == 0) text += below(8) == 0 ? '+' : '-';
    if (below(8) == 0) text += '0';
    const unsigned whole = below(4) == 0 ? 0 : 1 + below(below(3) == 0 ? 17 : 6);
    if (whole == 0) text += below(6) == 0 ? "" : "0";
    for (unsigned i = 0; i < whole; ++i) text += static_cast<char>('0' + (i == 0 ? 1 + below(9) : below(10)));
    if (below(3) != 0) {
        text += '.';
        const unsigned fraction = below(below(3) == 0 ? 18 : 5);
        for (unsigned i = 0; i < fraction; ++i) text += static_cast<char>('0' + below(10));
    }
    if (text.find_first_of("0123456789") == std::string::npos) text += '7';
    if (below(15) == 0) text += "e" + std::to_string(static_cast<int>(below(41)) - 20);
    return text;
}

}  // namespace

TEST(BandEdgeList, AKeptTextIsExactlyWhatTheGeneralFormatWrites)
{
    for (const char* text : {"0", "7", "-7", "0.5", "-0.5", "806", "1850.25", "0.0000000000001", "999999999999999",
                             "-99999999999999", "12345678.90123"})
        EXPECT_TRUE(IsGeneralText(text)) << text;
    for (const char* text : {"", "-", "-0", "+7", "07", "00", "7.", "7.0", "0.50", ".5", "-.5", " 7", "7 ", "7e2",
                             "1.2.3", "1234567890123456", "0.00000000000001", "--7", "7-"})
        EXPECT_FALSE(IsGeneralText(text)) << text;

    std::mt19937_64 random(20261211);
    int kept = 0;
    for (int i = 0; i < 1'000'000; ++i) {
        const std::string text = RandomEdgeText(random);
        double value = 0;
        if (!TryReadNumber(text, value) || !IsGeneralText(text)) continue;
        ++kept;
        ASSERT_EQ(FormatGeneral(value), text);
    }
    EXPECT_GT(kept, 100'000) << "the plain spellings are recognised";
    // Every text the general format writes that is short enough is recognised.
    for (int i = 0; i < 300'000; ++i) {
        const int digits = 1 + static_cast<int>(random() % 15);
        const double value = std::ldexp(static_cast<double>(random() >> 11), -static_cast<int>(random() % 100)) /
                             std::pow(10.0, digits) * ((random() & 1) != 0 ? 1 : -1);
        const std::string text = FormatGeneral(value);
        ASSERT_TRUE(text.size() > 15 || IsGeneralText(text)) << text;
    }
}

TEST(BandEdgeList, SortedTextsAreThoseOfEveryValueFormatted)
{
    // Lists of every size, with repeats, zeros of both signs, values equal
    // but spelt differently, and neighbours the general format merges.
    std::mt19937_64 random(20261212);
    const std::vector<std::string> specials{"0", "-0", "0.0", "-0.000", "5", "5.0", "+5", "05", "-5",
                                            "0.1", "0.10000000000000001", "0.09999999999999999",
                                            "1e-400", "-1e-400", "123456789012345678", "123456789012345677",
                                            "1e300", "-1e300", "0.30000000000000004", "0.3",
                                            // plain decimals at the ends of the digits kept
                                            "0.000000000000001", "-0.000000000000010", "000000000000007",
                                            "999999999999999", "-99999999999999.9", "9999999999999999", "100.000",
                                            "1000000", ".5", "5.", "-.0", "+0.10", "-0.050", "0.0000000000000001",
                                            // zeros after the fraction's last digit across half the places
                                            "0.100000000", "-7.000000000", "12.50000000000", "1234567.80000000",
                                            // no numbers at all
                                            "", "x1", "1,5", "1e400", "--1", "-", "1.2.3", "5 5"};
    for (int round = 0; round < 400; ++round) {
        BandEdgeList list;
        std::vector<double> values;
        const std::size_t count = round < 40 ? static_cast<std::size_t>(round) : 1 + random() % 3000;
        for (std::size_t i = 0; i < count; ++i) {
            std::string text;
            switch (random() % 8) {
            case 0: text = specials[random() % specials.size()]; break;
            case 1:  // the very value of an earlier edge, spelt anew
                if (!values.empty()) {
                    char buffer[64];
                    const double earlier = values[random() % values.size()];
                    text.assign(buffer, std::to_chars(buffer, buffer + sizeof buffer, earlier).ptr);
                    break;
                }
                [[fallthrough]];
            default: text = RandomEdgeText(random); break;
            }
            double value = 0;
            if (!TryReadNumber(text, value)) {
                ASSERT_THROW(list.Read(text), QuillonError) << text;  // and nothing kept
                continue;
            }
            const double read = list.Read(text);
            ASSERT_EQ(std::memcmp(&read, &value, sizeof value), 0) << text;
            values.push_back(value);
        }
        std::vector<double> read;
        list.ForEachValue([&](double value) { read.push_back(value); });
        ASSERT_EQ(read.size(), values.size());
        ASSERT_TRUE(values.empty() || std::memcmp(read.data(), values.data(), values.size() * sizeof(double)) == 0);
        ASSERT_EQ(list.TakeInNumericOrder(), test::ReferenceInNumericOrder(values)) << "round " << round;
        std::size_t left = 0;
        list.ForEachValue([&](double) { ++left; });
        EXPECT_EQ(left, 0u);
    }
}

// Long lists of the shapes that put many edges in one place of the sort or
// spread them evenly: a catalogue's edges, one value over and over, a few
// hundred values repeated, a tight cluster with one edge far off on either
// side, both signs, and whole numbers written as plain decimals.
TEST(BandEdgeList, LongListsOfEveryShapeSortAsTheReference)
{
    std::mt19937_64 random(20261216);
    auto decimal = [&](unsigned whole, unsigned fraction) {
        std::string text = std::to_string(1 + random() % 9);
        for (unsigned i = 1; i < whole; ++i) text += static_cast<char>('0' + random() % 10);
        if (fraction > 0) text += '.';
        for (unsigned i = 0; i < fraction; ++i) text += static_cast<char>('0' + random() % 10);
        return text;
    };
    const std::vector<std::string> few = [&] {
        std::vector<std::string> texts;
        for (int i = 0; i < 300; ++i) texts.push_back(decimal(1 + static_cast<unsigned>(random() % 5), static_cast<unsigned>(random() % 4)));
        return texts;
    }();
    for (int shape = 0; shape < 7; ++shape) {
        for (const std::size_t count : {std::size_t{17}, std::size_t{1'000}, std::size_t{40'000}}) {
            std::vector<std::string> texts;
            for (std::size_t i = 0; i < count; ++i) {
                switch (shape) {
                case 0: texts.push_back(decimal(3 + static_cast<unsigned>(random() % 3), 1 + static_cast<unsigned>(random() % 3))); break;
                case 1: texts.push_back("806.5"); break;
                case 2: texts.push_back(few[random() % few.size()]); break;
                case 3: texts.push_back("1.0000" + std::to_string(100000 + random() % 900000)); break;
                case 4: texts.push_back((random() % 2 != 0 ? "-" : "") + decimal(1 + static_cast<unsigned>(random() % 12), static_cast<unsigned>(random() % 3))); break;
                case 5: texts.push_back(decimal(1 + static_cast<unsigned>(random() % 15), 0)); break;
                default: texts.push_back(RandomEdgeText(random)); break;
                }
            }
            if (shape == 3) {
                texts[random() % count] = "1e300";
                texts[random() % count] = "-0.5";
            }
            BandEdgeList list;
            std::vector<double> values;
            for (const std::string& text : texts) {
                double value = 0;
                if (!TryReadNumber(text, value)) continue;
                values.push_back(list.Read(text));
            }
            ASSERT_EQ(list.TakeInNumericOrder(), test::ReferenceInNumericOrder(values)) << "shape " << shape << ", " << count;
        }
    }
}
