// Reading the program's text files: lines at any line end in UTF-8, and a
// failure that names the file and gives the system's reason.

#include "engine/TextFile.h"
#include "engine/TextEncoding.h"
#include "engine/LargeMemory.h"

#include <gtest/gtest.h>

#include "tests/engine/TempFolder.h"

#include <algorithm>
#include <cstring>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <random>
#include <thread>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using quillon::test::TempFolder;

namespace {

TEST(TextFile, LinesEndAtCrLfOrBoth)
{
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitLines("").empty());
}

// The lines as a byte-at-a-time walk finds them.
std::vector<std::string> LinesOneByteAtATime(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
            open = true;
        }
    }
    if (open) lines.push_back(line);
    return lines;
}

// Line ends fall anywhere in the blocks the walk looks at together: before,
// inside and across them, and a CR LF split between two blocks.
TEST(TextFile, LineEndsAreFoundWhereverTheyFall)
{
    std::mt19937 random(1210);
    const char alphabet[] = {'a', '|', '\r', '\n', '\0', '\xE9'};
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 70, ' ');
        for (char& c : text) c = alphabet[random() % (random() % 3 == 0 ? 6 : 2)];
        SCOPED_TRACE(::testing::PrintToString(text));
        const std::vector<std::string> expected = LinesOneByteAtATime(text);
        ASSERT_EQ(SplitLines(text), expected);
        // Stopping after a line reads no further.
        if (expected.size() >= 2) {
            std::vector<std::string> seen;
            ForEachLine(text, [&](std::string_view line) {
                seen.emplace_back(line);
                return seen.size() < 2;
            });
            ASSERT_EQ(seen, std::vector<std::string>(expected.begin(), expected.begin() + 2));
        }
    }
}

// A file that cannot tell its size (a pipe) is read to its end all the same.
TEST(TextFile, ReadsAPipeWhole)
{
    TempFolder folder;
    const std::string path = folder.Path("pipe.dat");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    std::string text;
    for (int i = 0; i < 20'000; ++i) text += "TL|G|QX" + std::to_string(i) + "|FT|pipe line|1.25|\r\n";
    std::thread writer([&] { std::ofstream(path, std::ios::binary) << text; });
    const TextRead read = ReadTextFile(path);
    writer.join();
    ASSERT_FALSE(read.Error.has_value());
    EXPECT_EQ(read.View(), text);
}

TEST(TextFile, ReadsEveryByteOfEveryLine)
{
    TempFolder folder;
    using namespace std::string_literals;
    // A NUL stays as it is, 8-bit high bytes arrive as their characters in
    // UTF-8; a file larger than one read buffer arrives whole.
    const std::string high = "QXF-050|\xE9t\xE9\0x|2.15|"s;
    const std::string highUtf8 = "QXF-050|\xC3\xA9t\xC3\xA9\0x|2.15|"s;
    const std::string longLine(200'000, 'L');
    const TextLines read = ReadTextLines(folder.File("lines.dat", "header\r\n" + high + "\n" + longLine + "\rlast"));
    EXPECT_FALSE(read.Error.has_value());
    EXPECT_EQ(read.Lines, (std::vector<std::string>{"header", highUtf8, longLine, "last"}));

    const TextLines empty = ReadTextLines(folder.File("empty.dat", ""));
    EXPECT_FALSE(empty.Error.has_value());
    EXPECT_TRUE(empty.Lines.empty());
}

// The file is read, and checked for plain ASCII, a piece at a time: it comes
// back decoded as a whole wherever its bytes above 0x7F fall, on either side
// of a piece's end (whatever the pieces' size, up to half a megabyte) or
// across it, and with no such byte it comes back as it stands.
TEST(TextFile, DecodesTheWholeFileWhereverItsHighBytesFall)
{
    TempFolder folder;
    std::string plain;
    for (int i = 0; plain.size() < (std::size_t{1100} << 10); ++i) plain += "TL|G|QX" + std::to_string(i) + "|FT|piece line|1.25|\r\n";
    const TextRead read = ReadTextFile(folder.File("plain.dat", plain));
    ASSERT_FALSE(read.Error.has_value());
    EXPECT_TRUE(read.View() == plain);

    const std::string latin = "\xE9", utf8 = "\xC3\xA9", mark = "\xEF\xBB\xBF";
    std::vector<std::pair<std::size_t, std::string>> cases = {{0, latin}, {0, utf8}, {0, mark}, {plain.size() - 1, latin},
                                                              {plain.size() - 2, utf8}};
    for (std::size_t piece = std::size_t{64} << 10; piece <= (std::size_t{512} << 10); piece *= 2)
        for (const std::size_t at : {piece - 1, piece, 2 * piece - 1, 2 * piece})
            for (const std::string& high : {latin, utf8}) cases.emplace_back(at, high);
    for (const auto& [at, high] : cases) {
        std::string bytes = plain;
        bytes.replace(at, high.size(), high);  // UTF-8 at a piece's last byte runs across its end
        SCOPED_TRACE(::testing::PrintToString(high) + " at " + std::to_string(at));
        const TextRead highRead = ReadTextFile(folder.File("high.dat", bytes));
        ASSERT_FALSE(highRead.Error.has_value());
        EXPECT_TRUE(highRead.View() == DecodeFileText(bytes));
        EXPECT_EQ(highRead.View().size(), high == mark ? bytes.size() - 3 : bytes.size() + (high == latin));
    }
    // UTF-8 early in the file and a Windows-1252 byte in a later piece: the
    // whole file is Windows-1252.
    std::string mixed = plain;
    mixed.replace(10, 2, utf8);
    mixed.replace((std::size_t{600} << 10) + 10, 1, latin);
    const TextRead mixedRead = ReadTextFile(folder.File("mixed.dat", mixed));
    ASSERT_FALSE(mixedRead.Error.has_value());
    EXPECT_TRUE(mixedRead.View() == Windows1252ToUtf8(mixed));
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

// A block handed on leaves an empty one behind, never a size without memory.
TEST(LargeBuffer, AMovedFromBlockIsEmpty)
{
    LargeBuffer block = LargeBuffer::Allocate(64);
    ASSERT_FALSE(block.empty());
    block.data()[0] = 'q';
    LargeBuffer taken(std::move(block));
    EXPECT_TRUE(block.empty());  // NOLINT(bugprone-use-after-move): what a moved-from block says is the point
    EXPECT_EQ(block.size(), 0u);
    EXPECT_EQ(taken.size(), 64u);
    EXPECT_EQ(taken.data()[0], 'q');

    LargeBuffer other = LargeBuffer::Allocate(8);
    other = std::move(taken);
    EXPECT_TRUE(taken.empty());  // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(other.size(), 64u);
    EXPECT_EQ(other.data()[0], 'q');
}

// A zeroed block is zero whether it comes from the heap (where the memory
// may have held something) or is mapped afresh, small, large and empty.
TEST(LargeBuffer, AZeroedBlockIsZeroFromTheHeapAndWhenMapped)
{
    for (const std::size_t size : {std::size_t{1}, std::size_t{4096}, std::size_t{3} << 20, std::size_t{9} << 20}) {
        {
            LargeBuffer used = LargeBuffer::Allocate(size);  // memory the next block may get again
            ASSERT_FALSE(used.empty());
            std::memset(used.data(), 0x5A, used.size());
        }
        const LargeBuffer zeroed = LargeBuffer::AllocateZeroed(size);
        ASSERT_EQ(zeroed.size(), size);
        const char* const end = zeroed.data() + zeroed.size();
        EXPECT_EQ(std::find_if(zeroed.data(), end, [](char c) { return c != 0; }), end) << size;
    }
    EXPECT_TRUE(LargeBuffer::AllocateZeroed(0).empty());
}

#if defined(__linux__) && defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
// Once the heap is prepared, a thread's allocations come from it (the
// program break's heap, below sbrk(0)) rather than from a heap of the
// thread's own in 4 KB pages far above it. Checked in a fresh process, which
// no earlier test has given other heaps.
TEST(LargeMemory, APreparedHeapServesEveryThread)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            PrepareHeapForLargeData();
            bool inBreakHeap = false;
            std::thread([&] {
                void* volatile block = std::malloc(64 << 10);
                inBreakHeap = block != nullptr && static_cast<char*>(block) < static_cast<char*>(sbrk(0));
                std::free(block);
            }).join();
            std::exit(inBreakHeap ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// Page faults while a block of this size is had and filled; exits the
// process when the block is not from the break heap.
long FaultsFilling(std::size_t size)
{
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    LargeBuffer block = LargeBuffer::Allocate(size);
    if (block.empty() || static_cast<char*>(sbrk(0)) < block.data()) std::exit(2);
    std::memset(block.data(), 0x5A, size);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    return after.ru_minflt - before.ru_minflt;
}

// Once the heap is prepared, a block of a data file's size comes from it, so
// that the next file of that size lands in memory touched before: the
// second fill finds its pages there (no new page faults). Checked in a
// fresh process.
TEST(LargeMemory, APreparedHeapTakesBackAFilesBlockForTheNext)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            PrepareHeapForLargeData();
            constexpr std::size_t kSize = std::size_t{24} << 20;
            const long first = FaultsFilling(kSize);
            const long again = FaultsFilling(kSize);
            std::exit(first > 0 && again == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// The mapping of this process that holds the address, as /proc/self/smaps
// gives it: its first address and its flags ("hg": marked for 2 MB pages).
struct Mapping {
    std::uintptr_t start = 0;
    bool hugePages = false;
};
std::optional<Mapping> MappingOf(const void* address)
{
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    std::optional<Mapping> found;
    for (std::string line; std::getline(smaps, line);) {
        unsigned long long from = 0, to = 0;
        // A mapping's first line starts with its range in lowercase hex;
        // the lines of its figures with a capitalised name.
        const bool first = !line.empty() && std::isupper(static_cast<unsigned char>(line[0])) == 0;
        if (first && std::sscanf(line.c_str(), "%llx-%llx", &from, &to) == 2) {
            if (found) return found;
            if (from <= at && at < to) found = Mapping{static_cast<std::uintptr_t>(from), false};
        } else if (found && line.rfind("VmFlags:", 0) == 0) {
            found->hugePages = (line + " ").find(" hg ") != std::string::npos;
        }
    }
    return found;
}

// The heap's first bytes, below its first 2 MB boundary, cannot have 2 MB
// pages: the first data file's block must not start there, or it faults a
// 4 KB page at a time. Checked in a fresh process, where that block is the
// first one had after preparing.
TEST(LargeMemory, TheFirstFilesBlockLiesWhollyIn2MBPages)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            PrepareHeapForLargeData();
            constexpr std::size_t kSize = std::size_t{8} << 20;
            const LargeBuffer block = LargeBuffer::Allocate(kSize);
            const std::optional<Mapping> tail = MappingOf(block.data() + kSize - 1);
            if (!tail || !tail->hugePages) std::exit(0);  // no 2 MB pages on this system: nothing to check
            const std::optional<Mapping> head = MappingOf(block.data());
            const auto page = reinterpret_cast<std::uintptr_t>(block.data()) & ~((std::uintptr_t{2} << 20) - 1);
            std::exit(head && head->hugePages && head->start <= page ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
