// Splitting a row each way the processor may take, against a plain walk
// along the row: the same fields, for rows of every length up to a few
// steps of either way, "|"s anywhere and in any number, and rows whose
// memory ends with them.

#include "engine/RowFields.h"
#include "engine/TextFile.h"
#include "tests/engine/ReferenceCatalogue.h"

#include <gtest/gtest.h>

#include <array>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace quillon;
using quillon::test::ReferenceSplitRow;

namespace {

static_assert(RowFields::kFields == 22, "a catalogue row has 22 fields, as the reference splits it");

void ExpectSplitAsPlain(RowFields& fields, std::string_view row)
{
    fields.Split(row);
    const auto expected = ReferenceSplitRow(row);
    for (std::size_t i = 0; i < RowFields::kFields; ++i) {
        ASSERT_EQ(fields[i], expected[i]) << "field " << i << " of [" << row << "]";
        // A field is a view into the row itself.
        ASSERT_TRUE(expected[i].empty() || fields[i].data() == expected[i].data()) << i;
    }
    ASSERT_TRUE(fields[RowFields::kFields].empty());
}

// The three ways a row is split, each the fastest the processor has where
// it lacks the way asked for.
struct EveryWay {
    RowFields portable{RowFields::Way::Portable};
    RowFields wide{RowFields::Way::Wide};
    RowFields bytes{RowFields::Way::WideBytes};

    void ExpectSplitAsPlain(std::string_view row)
    {
        for (RowFields* fields : {&portable, &wide, &bytes}) ASSERT_NO_FATAL_FAILURE(::ExpectSplitAsPlain(*fields, row));
    }
};

}  // namespace

TEST(RowFields, EachWaySplitsAsAPlainWalk)
{
    EveryWay ways;
    if (!RowFields::WideAvailable()) std::cout << "[ NOTE ] no 64-byte instructions here: one way only\n";
    if (RowFields::FastestWay() != RowFields::Way::WideBytes)
        std::cout << "[ NOTE ] no gathering of bytes here: the byte way is not compared\n";
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
        ASSERT_NO_FATAL_FAILURE(ways.ExpectSplitAsPlain(std::string_view(memory.get(), row.size())));
    }
}

TEST(RowFields, ARowOfEveryCountOfBars)
{
    EveryWay ways;
    for (std::size_t bars = 0; bars <= 90; ++bars) {
        for (const std::size_t fieldLength : {0, 1, 3, 15, 16, 17, 63, 64, 65}) {
            std::string row;
            for (std::size_t i = 0; i < bars; ++i) row += std::string(fieldLength, static_cast<char>('a' + i % 26)) + "|";
            row += "tail";
            ASSERT_NO_FATAL_FAILURE(ways.ExpectSplitAsPlain(row));
        }
    }
}

// A text's lines split in the pass that finds their ends, both ways, against
// ForEachLine's ends and the plain walk along each line: CR, LF and CR LF
// anywhere, lines of every length, the last one with or without its end.
TEST(RowFields, LinesSplitWhereTheirEndsAreFound)
{
    EveryWay ways;
    std::mt19937_64 random(20261215);
    for (int round = 0; round < 4'000; ++round) {
        std::string text;
        const std::size_t length = random() % 900;
        const unsigned ends = 1 + static_cast<unsigned>(random() % 3);  // of 64: from long lines to short
        // Of 64 too: from lines whose fields end within their first bytes to
        // long lines of few "|"s.
        const unsigned bars = 1 + static_cast<unsigned>(random() % 16);
        for (std::size_t i = 0; i < length; ++i) {
            const unsigned pick = static_cast<unsigned>(random() % 64);
            text += pick < ends ? "\r\n"[random() % 2] : pick < ends + bars ? '|' : static_cast<char>('a' + pick % 26);
        }
        // In memory of its own, a "|" and an LF past its end: a read past the text counts them.
        const auto memory = std::make_unique<char[]>(text.size() + 2);
        std::copy(text.begin(), text.end(), memory.get());
        memory[text.size()] = '|';
        memory[text.size() + 1] = '\n';
        const char* const begin = memory.get();
        const char* const end = begin + text.size();
        std::vector<std::string_view> lines;
        ForEachLine(std::string_view(begin, text.size()), [&](std::string_view line) {
            lines.push_back(line);
            return true;
        });
        for (RowFields* fields : {&ways.portable, &ways.wide, &ways.bytes}) {
            const char* p = begin;
            for (const std::string_view line : lines) {
                ASSERT_EQ(p, line.data());
                const char* const lineEnd = fields->SplitLine(p, end);
                ASSERT_EQ(lineEnd, line.data() + line.size()) << "round " << round;
                const auto expected = ReferenceSplitRow(line);
                for (std::size_t i = 0; i < RowFields::kFields; ++i)
                    ASSERT_EQ((*fields)[i], expected[i]) << "field " << i << " of [" << line << "]";
                p = lineEnd;
                if (p < end) p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
            }
            ASSERT_EQ(p, end);
        }
    }
}
