// The price list's index against the literal scan (FindLinear) over lists
// written as a file holds them: every line end, blank, lead and field shape a
// file can have, lines of every length around the widths the index reads in
// one go, and part numbers of every length its hash reads differently.

#include "engine/PriceList.h"
#include "engine/TextEncoding.h"
#include "engine/TextFile.h"
#include "engine/LineMarks.h"

#include <gtest/gtest.h>

#include "tests/engine/TempFolder.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

using namespace quillon;

namespace {

PriceList FromText(const std::string& text)
{
    LargeBuffer buffer = LargeBuffer::Allocate(text.size());
    if (!text.empty()) std::memcpy(buffer.data(), text.data(), text.size());
    return PriceList(std::move(buffer));
}

std::size_t LinesOf(std::string_view text)
{
    std::size_t count = 0;
    ForEachLine(text, [&](std::string_view) { return ++count, true; });
    return count;
}

// Every way of looking a part number up gives the scan's answer.
void ExpectAsTheScan(const PriceList& prices, const std::vector<std::string>& partNumbers)
{
    // The lookups begun ahead, as a caller pricing many lines in a row does.
    constexpr std::size_t kAhead = 4;
    std::vector<PriceList::Lookup> ahead;
    for (std::size_t i = 0; i < kAhead && i < partNumbers.size(); ++i) ahead.push_back(prices.Begin(partNumbers[i]));
    for (std::size_t i = 0; i < partNumbers.size(); ++i) {
        const std::string& pn = partNumbers[i];
        if (i + 1 < partNumbers.size()) prices.Advance(ahead[(i + 1) % ahead.size()]);
        const auto scanned = prices.FindLinear(pn);
        for (const auto& indexed : {prices.Find(pn), prices.Find(pn, ahead[i % ahead.size()])}) {
            ASSERT_EQ(indexed.has_value(), scanned.has_value()) << '"' << pn << '"';
            if (!indexed) continue;
            EXPECT_EQ(indexed->Description, scanned->Description) << '"' << pn << '"';
            EXPECT_EQ(indexed->Price, scanned->Price) << '"' << pn << '"';
        }
        if (i + kAhead < partNumbers.size()) ahead[i % ahead.size()] = prices.Begin(partNumbers[i + kAhead]);
    }
}

struct RandomList {
    std::mt19937 random;

    std::size_t Below(std::size_t n) { return random() % n; }

    // Lengths across the hash's cases (0, 1-3, 4-7, 8-16, beyond) and past the
    // 64 bytes a line is looked at in one go; a few bytes above 0x7F.
    std::string PartNumber()
    {
        static const std::size_t kLengths[] = {0, 1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 24, 31, 33, 60, 70};
        const std::size_t length = kLengths[Below(std::size(kLengths))];
        std::string pn;
        for (std::size_t i = 0; i < length; ++i) {
            const std::size_t kind = Below(20);
            pn += kind == 0 ? static_cast<char>(0x80 + Below(128)) : kind == 1 ? ' ' : static_cast<char>('A' + Below(4));
        }
        return pn;
    }

    // Bytes at or below the space (trimmed) and just above it (kept).
    std::string Blanks()
    {
        static const char* const kBlanks[] = {"", "", "", " ", "\t", "  ", "\x01", "\x1f ", "\x7f", "!"};
        return kBlanks[Below(std::size(kBlanks))];
    }

    std::string LineEnd()
    {
        static const char* const kEnds[] = {"\r\n", "\n", "\r", "\n\r", "\r\r\n"};
        return kEnds[Below(std::size(kEnds))];
    }

    // A line as a price list may hold one, its part number (untrimmed) noted.
    std::string Line(const std::vector<std::string>& known, std::vector<std::string>& seen, std::size_t number)
    {
        static const char kLeads[] = {'A', 'A', 'A', 'A', 'T', '#', ' ', ';', '[', '^', '`', '{', '~', '\t', '|', '\0', 'z'};
        const std::string pn = !known.empty() && Below(3) == 0 ? known[Below(known.size())] : PartNumber();
        const std::string key = Blanks() + pn + Blanks();
        seen.push_back(pn);
        std::string first(1, kLeads[Below(std::size(kLeads))]);
        if (Below(8) == 0) first += std::string(Below(40), 'x');  // the third bar past 64 bytes, or near it
        const std::string description = Below(6) == 0 ? std::string(Below(90), 'd') : "line " + std::to_string(number);
        switch (Below(12)) {
        case 0: return "";
        case 1: return first;                          // no bar at all
        case 2: return first + "|x";                   // one bar
        case 3: return first + "|x|" + key;            // field 3 without its bar
        case 4: return first + "||" + key + "|";       // nothing else
        case 5: return first + "|x|" + key + "|EA|" + description + "|" + std::to_string(Below(1000)) + "|" +
                       std::string(Below(120), 'y');  // a long tail
        default:
            return first + "|x|" + key + "|EA|" + description + "|" + std::to_string(Below(1000)) + "." +
                   std::to_string(Below(100)) + "|";
        }
    }
};

TEST(PriceListIndex, AnswersAsTheScanOverRandomLists)
{
    RandomList list{std::mt19937(4711)};
    for (int round = 0; round < 100; ++round) {
        const std::size_t count = list.Below(round % 3 == 0 ? 40 : 1000);
        std::vector<std::string> known, seen;
        std::string text;
        for (std::size_t i = 0; i < count; ++i) {
            text += list.Line(known, seen, i);
            if (!seen.back().empty() && list.Below(2) == 0) known.push_back(seen.back());
            if (i + 1 < count || list.Below(2) == 0) text += list.LineEnd();  // the last line without an end, or not
        }
        const PriceList prices = FromText(text);
        ASSERT_EQ(prices.LineCount(), LinesOf(text)) << "round " << round;
        ASSERT_EQ(prices.Text(), text);

        std::vector<std::string> probes(seen);
        for (int i = 0; i < 100; ++i) probes.push_back(list.PartNumber());  // mostly absent ones
        for (std::size_t i = 0; i < seen.size(); i += 4) {
            probes.push_back(" " + seen[i]);  // a lookup's blanks are its own: never trimmed
            if (!seen[i].empty()) probes.push_back(seen[i].substr(0, seen[i].size() - 1));
        }
        probes.push_back("");
        ExpectAsTheScan(prices, probes);
        if (HasFatalFailure()) return;
    }
}

// The lines around the text's end, where fewer bytes are left than the index
// reads at once: every cut of one list, so that each line in turn ends the text.
TEST(PriceListIndex, AnswersAsTheScanAtEveryEndOfTheText)
{
    const std::string full =
        "A|x|QXA-1|EA|first|1|\r\n"
        "A|x| QXA-22 |EA|padded|2|\n"
        "A|x|QXA-1|EA|repeated|3|\r"
        "#|x|QXA-333|EA|comment|4|\r\n"
        "A|x|QXA-4444444444444444444|EA|a long part number, its line running well past sixty-four bytes|5|\n\r"
        "A|x|QXA-55\r\n"
        "A|x|QXA-55|EA|after the cut one|6|\r\n"
        "A|x|QXA-6";
    const std::vector<std::string> probes = {"QXA-1", "QXA-22", "QXA-333", "QXA-4444444444444444444", "QXA-55",
                                             "QXA-6", "QXA-", "", "A", "x"};
    for (std::size_t size = 0; size <= full.size(); ++size) {
        const std::string text = full.substr(0, size);
        const PriceList prices = FromText(text);
        ASSERT_EQ(prices.LineCount(), LinesOf(text)) << size;
        ExpectAsTheScan(prices, probes);
        if (HasFatalFailure()) return;
    }
}

// The index reads a text 64 bytes to a mask and some 4 KB of masks at a
// time: each line shape, moved byte by byte across such a boundary, and the
// text cut just after it, gives the scan's answers and line count.
TEST(PriceListIndex, AnswersAsTheScanWithEachLineShapeAcrossTheReadsBoundaries)
{
    struct Shape {
        const char* what;
        std::string text;
    };
    const std::vector<Shape> shapes = {
        {"CR LF", "A|x|QXF-CRLF|EA|one|1|\r\n"},
        {"CR alone", "A|x|QXF-CR|EA|two|2|\r"},
        {"LF alone", "A|x|QXF-LF|EA|three|3|\n"},
        {"LF CR", "A|x|QXF-LFCR|EA|four|4|\n\r"},
        {"empty lines", "\r\n\r\n\n\rA|x|QXF-EMPTY|EA|five|5|\r\n"},
        {"blanks", "A|x|  QXF-BLANK\t|EA|six|6|\r\n"},
        {"skipped", "#|x|QXF-SKIP|EA|seven|7|\r\nA|x|QXF-SKIP|EA|kept|7|\r\n"},
        {"twice", "A|x|QXF-DUP|EA|first|8|\r\nA|x|QXF-DUP|EA|second|9|\r\n"},
        {"two bars", "A|x|QXF-NOBAR\r\n"},
        {"third bar far on", "A|" + std::string(100, 'x') + "|QXF-FAR|EA|far|10|\r\n"},
        {"two bars, long", "A|x|QXF-" + std::string(90, 'z') + "\r\n"},
        {"long tail", "A|x|QXF-TAIL|EA|" + std::string(5000, 't') + "|11|\r\n"},
    };
    const std::vector<std::string> probes = {"QXF-CRLF", "QXF-CR",  "QXF-LF",  "QXF-LFCR", "QXF-EMPTY",
                                             "QXF-BLANK", "QXF-SKIP", "QXF-DUP", "QXF-NOBAR", "QXF-FAR",
                                             "QXF-" + std::string(90, 'z'), "QXF-TAIL", "QXF-NEXT", "QXP-0",
                                             "QXP-1", "QXP-2", "QXF-", ""};
    // Lines of a few lengths, then one cut to length: exactly `size` bytes.
    auto padding = [](std::size_t size) {
        std::string text;
        for (int i = 0; text.size() + 60 < size; ++i)
            text += "A|x|QXP-" + std::to_string(i % 3) + "|EA|" + std::string(static_cast<std::size_t>(i % 7), 'p') + "|1|\r\n";
        if (text.size() < size) text += std::string(size - text.size() - 1, 'q') + "\n";
        return text;
    };
    for (const std::size_t boundary : {std::size_t{64}, std::size_t{4096}, std::size_t{4096 + 64}, std::size_t{8192}}) {
        for (const Shape& shape : shapes) {
            const std::size_t n = shape.text.size();
            // Every byte of the shape on the boundary; of a long one, its first
            // and last hundred or so.
            std::vector<std::size_t> lands;
            for (std::size_t at = 0; at <= n + 1; ++at)
                if (n <= 200 || at < 100 || at + 100 > n) lands.push_back(at);
            for (const std::size_t at : lands) {
                if (at > boundary) continue;
                const std::string head = padding(boundary - at) + shape.text;
                for (const std::string& text :
                     {head + "A|x|QXF-NEXT|EA|next|12|\r\nA|x|QXP-1|EA|last|13|", head, head.substr(0, head.size() - 1)}) {
                    const PriceList prices = FromText(text);
                    ASSERT_EQ(prices.LineCount(), LinesOf(text)) << shape.what << " at " << at << " of " << boundary;
                    ExpectAsTheScan(prices, probes);
                    if (HasFatalFailure() || HasFailure()) {
                        ADD_FAILURE() << shape.what << " at " << at << " of " << boundary << ", " << text.size() << " bytes";
                        return;
                    }
                }
            }
        }
    }
}

// Every byte as a line's first: the index leaves out exactly the lines the scan skips.
TEST(PriceListIndex, SkipsTheLinesTheScanSkips)
{
    std::string text;
    std::vector<std::string> probes;
    for (int c = 0; c < 256; ++c) {
        const std::string pn = "QXL-" + std::to_string(c);
        text += std::string(1, static_cast<char>(c)) + "|x|" + pn + "|EA|lead " + std::to_string(c) + "|1|\r\n";
        probes.push_back(pn);
    }
    const PriceList prices = FromText(text);
    EXPECT_EQ(prices.LineCount(), LinesOf(text));
    ExpectAsTheScan(prices, probes);
}

// Enough part numbers that many share their few stored hash bits with
// another in the same run of slots: each is still found at its own first
// line, never at a line of the other's, and never missed.
TEST(PriceListIndex, FindsEachOfManyPartNumbersAtItsFirstLine)
{
    constexpr int kCount = 60000;
    std::mt19937 random(99);
    std::vector<int> order(kCount);
    for (int i = 0; i < kCount; ++i) order[static_cast<std::size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), random);
    std::string text;
    for (const int pass : {1, 2})
        for (const int i : order)
            text += "A|x|QXM-" + std::to_string(i) + "|EA|pass " + std::to_string(pass) + " of " + std::to_string(i) + "|" +
                    std::to_string(pass) + "|\r\n";
    const PriceList prices = FromText(text);
    ASSERT_EQ(prices.LineCount(), 2u * kCount);
    for (int i = 0; i < kCount; ++i) {
        const auto entry = prices.Find("QXM-" + std::to_string(i));
        ASSERT_TRUE(entry.has_value()) << i;
        EXPECT_EQ(entry->Description, "pass 1 of " + std::to_string(i));
    }
    EXPECT_FALSE(prices.Find("QXM-" + std::to_string(kCount)).has_value());
    // The scan agrees, on a few.
    ExpectAsTheScan(prices, {"QXM-0", "QXM-" + std::to_string(order.back()), "QXM-" + std::to_string(kCount)});
}

// A text of 64 MB or more has slots of 8 bytes: the same answers there.
TEST(PriceListIndex, AnswersAsTheScanOverALargeText)
{
    const std::string filler = "F|x|QXF-FILLER|EA|filler|1|\r\n";
    const std::string head =
        "A|x|QXH-1|EA|first|1|\r\n"
        "A|x| QXH-22\t|EA|padded|2|\n"
        "#|x|QXH-3|EA|comment|3|\r\n"
        "A|x|QXH-1|EA|repeated|4|\r";
    const std::string tail = "A|x|QXT-1|EA|last|5|\r\nA|x|QXT-2|EA|no end|6|";
    const std::size_t fillers = (std::size_t{64} << 20) / filler.size() + 1;
    std::string text;
    text.reserve(head.size() + fillers * filler.size() + tail.size());
    text += head;
    for (std::size_t i = 0; i < fillers; ++i) text += filler;
    text += tail;
    ASSERT_GE(text.size(), std::size_t{64} << 20);

    const PriceList prices = FromText(text);
    EXPECT_EQ(prices.LineCount(), fillers + 6);
    ExpectAsTheScan(prices, {"QXH-1", "QXH-22", "QXH-3", "QXF-FILLER", "QXT-1", "QXT-2", "QXT-3", ""});
}

// Read from its file, the list checks for bytes above 0x7F on its index's
// walk instead of in the read: wherever the first one falls, in whichever
// encoding, it holds the text ReadTextFile gives and answers as the scan.
TEST(PriceListRead, HoldsTheTextAsReadWhereverItsFirstHighByteFalls)
{
    quillon::test::TempFolder folder;
    std::string plain;
    std::vector<std::string> partNumbers;
    for (int i = 0; plain.size() < 5 * kStretch; ++i) {
        partNumbers.push_back("QXR-" + std::to_string(i));
        plain += "TL|G|" + partNumbers.back() + "|FT|read line " + std::to_string(i) + "|" + std::to_string(i) + ".25|\r\n";
    }
    const std::string latin = "\xE9", utf8 = "\xC3\xA9", mark = "\xEF\xBB\xBF";
    struct Case {
        std::size_t at;
        std::string high;
    };
    std::vector<Case> cases = {{0, ""}, {0, latin}, {0, utf8}, {0, mark}, {plain.size() - 1, latin}, {plain.size() - 2, utf8}};
    for (const std::size_t at : {std::size_t{5}, std::size_t{63}, kStretch - 1, kStretch, kStretch + 64, 3 * kStretch + 7})
        for (const std::string& high : {latin, utf8}) cases.push_back({at, high});
    for (const Case& c : cases) {
        std::string bytes = plain;
        bytes.replace(c.at, c.high.size(), c.high);
        SCOPED_TRACE(::testing::PrintToString(c.high) + " at " + std::to_string(c.at));
        const std::string path = folder.File("M_lom.dat", bytes);
        std::optional<FileError> error;
        const PriceList read = PriceList::Read(path, error);
        ASSERT_FALSE(error.has_value());
        TextRead text = ReadTextFile(path);
        ASSERT_FALSE(text.Error.has_value());
        EXPECT_TRUE(read.Text() == text.View());
        const PriceList expected(std::move(text.Text));
        EXPECT_EQ(read.LineCount(), expected.LineCount());
        // The part numbers as the program holds them, some changed by the high byte.
        std::vector<std::string> held = partNumbers;
        ForEachLine(read.Text(), [&](std::string_view line) {
            const std::size_t second = line.find('|', line.find('|') + 1);
            if (second != std::string_view::npos) held.emplace_back(line.substr(second + 1, line.find('|', second + 1) - second - 1));
            return true;
        });
        ExpectAsTheScan(read, held);
    }

    std::optional<FileError> error;
    const PriceList absent = PriceList::Read(folder.Path("absent.dat"), error);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->File, folder.Path("absent.dat"));
    EXPECT_EQ(error->Reason, std::make_error_code(std::errc::no_such_file_or_directory).message());
    EXPECT_TRUE(absent.empty());
}

// The index built by two threads, each walking some pieces of the text and
// filling some parts of the table: the pieces' notes are taken in the
// text's order, a line whose probe runs past its part's end is filled in
// after all parts, and every lookup still finds the first line of its part
// number, as the scan does. Runs of one part number many lines long make
// such probes wherever their place falls.
TEST(PriceListRead, ASecondThreadTakingPiecesOfTheIndexLeavesTheAnswersAsTheScan)
{
    quillon::test::TempFolder folder;
    std::mt19937 random(20261211);
    // Many small lists, so that in some a probe runs past a part's end.
    for (int list = 0; list < 60; ++list) {
        std::vector<std::string> partNumbers;
        std::string text;
        const std::size_t lines = 100 + random() % 500;
        for (std::size_t i = 0; i < lines; ++i) {
            // One line in three repeats one of a few part numbers.
            const bool repeat = random() % 3 == 0;
            const std::string pn = repeat ? "QXS-RUN-" + std::to_string(random() % 5)
                                          : "QXS-" + std::to_string(list) + "-" + std::to_string(i);
            partNumbers.push_back(pn);
            text += "TL|G|" + pn + "|FT|shared line " + std::to_string(i) + "|" + std::to_string(i) + ".5|\n";
        }
        partNumbers.push_back("QXS-ABSENT");
        const std::string path = folder.File("M_lom.dat", text);
        for (const bool helped : {false, true}) {
            SCOPED_TRACE("list " + std::to_string(list) + (helped ? ", helped" : ", alone"));
            IndexFillShare share;
            std::jthread helper;
            if (helped) helper = std::jthread([&] { share.Help(); });
            std::optional<FileError> error;
            const PriceList prices = PriceList::Read(path, error, &share);
            ASSERT_FALSE(error.has_value());
            EXPECT_EQ(prices.LineCount(), lines);
            ExpectAsTheScan(prices, partNumbers);
        }
    }
}

}  // namespace
