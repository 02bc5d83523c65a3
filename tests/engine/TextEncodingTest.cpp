// Text as files bring it: valid UTF-8 is UTF-8, anything else Windows-1252;
// and the 8-bit form writers choose where every character fits.

#include "engine/TextEncoding.h"

#include <gtest/gtest.h>

#include "engine/TextFile.h"
#include "tests/engine/TempFolder.h"

using namespace quillon;
using namespace std::string_literals;

namespace {

TEST(TextEncoding, ValidUtf8StaysAndEverythingElseIsWindows1252)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::string text;  // UTF-8
    };
    const Case cases[] = {
        {"ASCII with a NUL", "QX-1|\0|7/8\"|"s, "QX-1|\0|7/8\"|"s},
        {"UTF-8",
         "C\xC3\xA2"
         "ble \xE2\x82\xAC \xF0\x9F\x93\xA1",
         "C\xC3\xA2"
         "ble \xE2\x82\xAC \xF0\x9F\x93\xA1"},
        {"UTF-8 behind a byte-order mark",
         "\xEF\xBB\xBF"
         "C\xC3\xA2"
         "ble",
         "C\xC3\xA2"
         "ble"},
        {"Windows-1252 letters and signs",
         "C\xE2"
         "ble \x80 \x93q\x94 \xB0",
         "C\xC3\xA2"
         "ble \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D \xC2\xB0"},
        {"the five unassigned bytes keep their code points", "\x81\x8D\x8F\x90\x9D",
         "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        // One bad sequence anywhere makes the whole file 8-bit.
        {"UTF-8 with one stray byte", "\xC3\xA2 \xE9", "\xC3\x83\xC2\xA2 \xC3\xA9"},
        {"an overlong slash", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
        {"a surrogate half", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},
        {"a sequence cut at the end", "ok \xE2\x82", "ok \xC3\xA2\xE2\x80\x9A"},
        {"a mark before 8-bit text", "\xEF\xBB\xBF\xE9", "\xC3\xAF\xC2\xBB\xC2\xBF\xC3\xA9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DecodeFileText(c.bytes), c.text);
        EXPECT_TRUE(IsValidUtf8(c.text));
    }
}

TEST(TextEncoding, EightBitWhereEveryCharacterFits)
{
    struct Case {
        std::string text;                        // UTF-8
        std::optional<std::string> windows1252;  // nothing: a character has no place there
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"C\xC3\xA2"
         "ble \xE2\x82\xAC \xC2\xB5 \xC3\xBF",
         "C\xE2"
         "ble \x80 \xB5 \xFF"},
        {"\xC2\x81\xC2\x9D", "\x81\x9D"},
        {"Omega \xCE\xA9", std::nullopt},
        {"\xC2\x85", std::nullopt},  // a C1 control Windows-1252 puts an ellipsis in place of
        {"\xE9", std::nullopt},      // not UTF-8 at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Utf8ToWindows1252(c.text), c.windows1252);
        const std::string written = EightBitWherePossible(c.text);
        EXPECT_EQ(written, c.windows1252.value_or(c.text));
        // What was written reads back as the text, whichever form it took.
        if (IsValidUtf8(c.text)) {
            EXPECT_EQ(DecodeFileText(written), c.text);
        }
    }
    // Every byte of the code page goes there and back.
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string text = Windows1252ToUtf8(all);
    EXPECT_EQ(Utf8ToWindows1252(text), all);
}

// The check reads many bytes at a time: a single high byte is seen wherever
// it falls, in a whole block or in the few bytes after the last one.
TEST(TextEncoding, OneHighByteAnywhereIsNoAscii)
{
    for (std::size_t size = 0; size <= 200; ++size) {
        const std::string plain(size, '\x7F');
        EXPECT_TRUE(IsAscii(plain)) << size;
        for (std::size_t at = 0; at < size; ++at) {
            for (const char high : {'\x80', '\xFF'}) {
                std::string text = plain;
                text[at] = high;
                EXPECT_FALSE(IsAscii(text)) << size << " at " << at;
            }
        }
    }
}

TEST(TextEncoding, TheReaderDecodesWholeFilesBeforeSplittingThem)
{
    quillon::test::TempFolder folder;
    const TextLines utf8 = ReadTextLines(folder.File("prices.dat",
                                                     "\xEF\xBB\xBF# prices\r\nTL|Q|QA-1|FT|C\xC3\xA2"
                                                     "ble|2|\r\n"));
    EXPECT_EQ(utf8.Lines, (std::vector<std::string>{"# prices",
                                                    "TL|Q|QA-1|FT|C\xC3\xA2"
                                                    "ble|2|"}));
    const TextLines eightBit = ReadTextLines(folder.File("old.dat",
                                                         "TL|Q|QA-1|FT|C\xE2"
                                                         "ble|2|\r\n"));
    EXPECT_EQ(eightBit.Lines, (std::vector<std::string>{"TL|Q|QA-1|FT|C\xC3\xA2"
                                                        "ble|2|"}));
}

}  // namespace
