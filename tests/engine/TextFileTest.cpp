// Reading the program's text files: 8-bit lines at any line end, and a
// failure that names the file and gives the system's reason.

#include "engine/TextFile.h"

#include <gtest/gtest.h>

#include "tests/engine/TempFolder.h"

using namespace quillon;
using quillon::test::TempFolder;

namespace {

TEST(TextFile, LinesEndAtCrLfOrBoth)
{
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(TextFile, ReadsEveryByteOfEveryLine)
{
    TempFolder folder;
    using namespace std::string_literals;
    // High bytes and a NUL stay as they are; a file larger than one read
    // buffer arrives whole.
    const std::string high = "QXF-050|\xE9t\xE9\0x|2.15|"s;
    const std::string longLine(200'000, 'L');
    const TextLines read = ReadTextLines(folder.File("lines.dat", "header\r\n" + high + "\n" + longLine + "\rlast"));
    EXPECT_FALSE(read.Error.has_value());
    EXPECT_EQ(read.Lines, (std::vector<std::string>{"header", high, longLine, "last"}));

    const TextLines empty = ReadTextLines(folder.File("empty.dat", ""));
    EXPECT_FALSE(empty.Error.has_value());
    EXPECT_TRUE(empty.Lines.empty());
}

TEST(TextFile, AFailureNamesTheFileAndTheReason)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.Path("folder.dat"));
    struct Case {
        std::string path;
        std::string reason;
    };
    const Case cases[] = {
        {folder.Path("absent.dat"), std::make_error_code(std::errc::no_such_file_or_directory).message()},
        {folder.Path("folder.dat"), std::make_error_code(std::errc::is_a_directory).message()},
        {folder.Path("absent/inner.dat"), std::make_error_code(std::errc::no_such_file_or_directory).message()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const TextLines read = ReadTextLines(c.path);
        ASSERT_TRUE(read.Error.has_value());
        EXPECT_EQ(read.Error->File, c.path);
        EXPECT_EQ(read.Error->Reason, c.reason);
        EXPECT_TRUE(read.Lines.empty());
    }
}

TEST(TextFile, PresentMeansAnythingButAFolder)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.Path("folder.dat"));
    EXPECT_TRUE(IsPresentFile(folder.File("file.dat", "x")));
    EXPECT_FALSE(IsPresentFile(folder.Path("folder.dat")));
    EXPECT_FALSE(IsPresentFile(folder.Path("absent.dat")));
}

}  // namespace
