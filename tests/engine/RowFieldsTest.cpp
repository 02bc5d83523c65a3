// Splitting a row both ways the processor may take, against a plain walk
// along the row: the same fields, for rows of every length up to a few
// steps of either way, "|"s anywhere and in any number, and rows that end
// where their memory ends.

#include "engine/RowFields.h"

#include <gtest/gtest.h>

#include <array>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <string_view>

using namespace quillon;

namespace {

std::array<std::string_view, RowFields::kFields> PlainSplit(std::string_view row)
{
    std::array<std::string_view, RowFields::kFields> fields{};
    std::size_t start = 0;
    for (std::string_view& field : fields) {
        const std::size_t bar = row.find('|', start);
        if (bar == std::string_view::npos) break;
        field = row.substr(start, bar - start);
        start = bar + 1;
    }
    return fields;
}

void ExpectSplitAsPlain(RowFields& fields, std::string_view row)
{
    fields.Split(row);
    const auto expected = PlainSplit(row);
    for (std::size_t i = 0; i < RowFields::kFields; ++i) {
        ASSERT_EQ(fields[i], expected[i]) << "field " << i << " of [" << row << "]";
        // A field is a view into the row itself.
        ASSERT_TRUE(expected[i].empty() || fields[i].data() == expected[i].data()) << i;
    }
    ASSERT_TRUE(fields[RowFields::kFields].empty());
}

}  // namespace

TEST(RowFields, BothWaysSplitAsAPlainWalk)
{
    RowFields portable(false);
    RowFields wide;  // the portable way too where the processor lacks the wide one
    if (!RowFields::WideAvailable()) std::cout << "[ NOTE ] no 64-byte instructions here: one way only\n";
    std::mt19937_64 random(20261214);
    for (int round = 0; round < 40'000; ++round) {
        const std::size_t length = round < 400 ? static_cast<std::size_t>(round) : random() % 700;
        // From no "|" to nothing else; now and then line ends and bytes above 0x7F.
        const unsigned barsIn = static_cast<unsigned>(random() % 8);
        std::string row;
        for (std::size_t i = 0; i < length; ++i) {
            const unsigned pick = static_cast<unsigned>(random() % 16);
            row += pick < barsIn ? '|' : pick == 15 ? static_cast<char>(0x80 + random() % 128) : static_cast<char>('A' + pick);
        }
        // The row in memory of its own, a "|" just past its end: a read past the row counts it.
        const auto memory = std::make_unique<char[]>(row.size() + 1);
        std::copy(row.begin(), row.end(), memory.get());
        memory[row.size()] = '|';
        const std::string_view view(memory.get(), row.size());
        ASSERT_NO_FATAL_FAILURE(ExpectSplitAsPlain(portable, view));
        ASSERT_NO_FATAL_FAILURE(ExpectSplitAsPlain(wide, view));
    }
}

TEST(RowFields, ARowOfEveryCountOfBars)
{
    RowFields portable(false);
    RowFields wide;
    for (std::size_t bars = 0; bars <= 90; ++bars) {
        for (const std::size_t fieldLength : {0, 1, 3, 15, 16, 17, 63, 64, 65}) {
            std::string row;
            for (std::size_t i = 0; i < bars; ++i) row += std::string(fieldLength, static_cast<char>('a' + i % 26)) + "|";
            row += "tail";
            ASSERT_NO_FATAL_FAILURE(ExpectSplitAsPlain(portable, row));
            ASSERT_NO_FATAL_FAILURE(ExpectSplitAsPlain(wide, row));
        }
    }
}
