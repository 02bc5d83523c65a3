#pragma once
// Reading text files as the program reads every file it is given: whole, as
// lines split at CR, LF or CR LF, in UTF-8 (engine/TextEncoding.h says how the
// file's own encoding is recognised). A failure names the file and gives
// the system's reason; the caller decides how to show it. Writing a file
// whole or not at all is the other half, platform/TextFile.h, which reports
// its failures the same way.
//
// The data files are read into one block (ReadTextFile) and their lines
// walked in place (ForEachLine), so that a large catalogue or price list
// never becomes a vector of little strings; ReadTextLines gives the lines as
// strings for the small files.

#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/LargeMemory.h"

namespace quillon {

struct FileError {
    std::string File;    // the path as given
    std::string Reason;  // the system's words, such as "No such file or directory"
};

struct TextLines {
    std::vector<std::string> Lines;
    std::optional<FileError> Error;  // set when the file could not be read; Lines is then empty
};

// A file's text, whole, in one block.
struct TextRead {
    LargeBuffer Text;
    std::optional<FileError> Error;  // set when the file could not be read; Text is then empty

    std::string_view View() const { return {Text.data(), Text.size()}; }
};

// The first CR or LF at or after p, or end.
inline const char* FindLineEnd(const char* p, const char* end)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
        if (hits != 0) return p + __builtin_ctz(static_cast<unsigned>(hits));
        p += 16;
    }
#endif
    while (p < end && *p != '\r' && *p != '\n') ++p;
    return p;
}

// Calls line(std::string_view) for each line of the text, in order: lines
// end at CR, LF or CR LF; a last line without its end counts; nothing after
// the last end is no line. Stops early when line returns false.
template <class LineHandler>
void ForEachLine(std::string_view text, LineHandler&& line)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* const lineEnd = FindLineEnd(p, end);
        if (!line(std::string_view(p, static_cast<std::size_t>(lineEnd - p)))) return;
        p = lineEnd;
        if (p < end) p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
    }
}

// Splits 8-bit text into lines ending at CR, LF or CR LF. A last line without
// its end counts; nothing after the last end is no line.
std::vector<std::string> SplitLines(std::string_view text);

// The file's bytes as they stand: 8-bit text. The path is in the system's
// 8-bit file-name encoding (QFile::encodeName of a QString path). A folder
// is no text file.
TextRead ReadTextFile(const std::string& path);

// The file's bytes as read, not yet checked for their encoding, in one
// read: for a reader that looks at every byte anyway and checks on its way
// for one above 0x7F. Where it meets one it calls HoldAsProgramText, and
// the text is then as ReadTextFile would have given it.
TextRead ReadFileBytes(const std::string& path);

// A text read by ReadFileBytes decoded as ReadTextFile decodes a text that
// is not plain ASCII; false when the memory for it cannot be had.
bool HoldAsProgramText(LargeBuffer& text);

// The file's lines, as SplitLines gives them.
TextLines ReadTextLines(const std::string& path);

// True when something other than a folder is at the path: the test the
// program makes before it reads one of its data files.
bool IsPresentFile(const std::string& path);

}  // namespace quillon
