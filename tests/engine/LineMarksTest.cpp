// The marks of line ends and "|"s found with the 64-byte instructions must be
// those found 16 bytes at a time, stretch after stretch, wherever a line end,
// a CR LF or the text's end falls.

#include "engine/LineMarks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace quillon;

namespace {

// Walks the text stretch by stretch with one way of marking; the marks of
// each stretch in turn.
std::vector<StretchMarks> Walk(const std::string& text, void (*mark)(StretchMarks&, const char*, const char*))
{
    std::vector<StretchMarks> stretches;
    auto marks = std::make_unique<StretchMarks>();
    marks->lastEnds = std::uint64_t{1} << 63;
    marks->lastCr = 0;
    const char* const end = text.data() + text.size();
    for (const char* from = text.data(); from < end; from += kStretch) {
        mark(*marks, from, end);
        stretches.push_back(*marks);
    }
    return stretches;
}

void ExpectSameMarks(const std::string& text)
{
    const std::vector<StretchMarks> wide = Walk(text, MarkStretch);
    const std::vector<StretchMarks> portable = Walk(text, MarkStretchPortable);
    ASSERT_EQ(wide.size(), portable.size());
    for (std::size_t s = 0; s < wide.size(); ++s) {
        const StretchMarks& a = wide[s];
        const StretchMarks& b = portable[s];
        SCOPED_TRACE("stretch " + std::to_string(s) + " of a text of " + std::to_string(text.size()) + " bytes");
        ASSERT_TRUE(std::equal(a.ends, a.ends + kMarkBlocks + 1, b.ends));
        ASSERT_TRUE(std::equal(a.bars, a.bars + kMarkBlocks + 1, b.bars));
        ASSERT_EQ(a.startCount, b.startCount);
        ASSERT_TRUE(std::equal(a.starts, a.starts + a.startCount, b.starts));
        ASSERT_EQ(a.lastEnds, b.lastEnds);
        ASSERT_EQ(a.lastCr, b.lastCr);
        ASSERT_EQ(a.high, b.high);
        const std::string_view stretch = std::string_view(text).substr(s * kStretch, kStretch);
        ASSERT_EQ(a.high != 0, std::any_of(stretch.begin(), stretch.end(), [](char c) { return static_cast<unsigned char>(c) > 0x7F; }));
    }
}

TEST(LineMarks, WideMarksAreThoseFoundSixteenBytesAtATime)
{
    if (!WideLineMarksAvailable()) GTEST_SKIP() << "this processor has no 64-byte instructions";
    std::mt19937 random(20261210);
    // Mostly text, with line ends, CR LFs and bars thick enough to fall on
    // every side of a block's and a stretch's edges.
    const std::string alphabet = "abc|||\r\n\n \r\n";
    const char kHigh = '\xE9';  // a byte above 0x7F, here and there
    std::vector<std::size_t> sizes = {0, 1, 63, 64, 65, kStretch - 1, kStretch, kStretch + 1, kStretch + 63,
                                      kStretch + 64, kStretch + 65, 2 * kStretch + 64, 3 * kStretch + 7};
    for (int i = 0; i < 40; ++i) sizes.push_back(std::uniform_int_distribution<std::size_t>(0, 4 * kStretch)(random));
    for (const std::size_t size : sizes) {
        std::string text(size, 'a');
        for (char& c : text) c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
        ExpectSameMarks(text);
        // A byte above 0x7F in some stretches, at their edges or anywhere.
        if (size > 0) {
            for (const std::size_t at : {std::size_t{0}, kStretch - 1, kStretch + 64, size - 1, size / 2})
                if (at < size && std::uniform_int_distribution<int>(0, 1)(random) == 0) text[at] = kHigh;
            ExpectSameMarks(text);
        }
        // A CR as a stretch's last byte with its LF the next one's first.
        if (size > kStretch + 1) {
            text[kStretch - 1] = '\r';
            text[kStretch] = '\n';
            ExpectSameMarks(text);
        }
    }
}

}  // namespace
