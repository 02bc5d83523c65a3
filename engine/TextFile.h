#pragma once
// Reading text files as the program reads every file it is given: whole, as
// 8-bit lines split at CR, LF or CR LF. A failure names the file and gives
// the system's reason; the caller decides how to show it. Writing a file
// whole or not at all is the other half, platform/TextFile.h, which reports
// its failures the same way.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

struct FileError {
    std::string File;    // the path as given
    std::string Reason;  // the system's words, such as "No such file or directory"
};

struct TextLines {
    std::vector<std::string> Lines;
    std::optional<FileError> Error;  // set when the file could not be read; Lines is then empty
};

// Splits 8-bit text into lines ending at CR, LF or CR LF. A last line without
// its end counts; nothing after the last end is no line.
std::vector<std::string> SplitLines(std::string_view text);

// The file's lines. The path is in the system's 8-bit file-name encoding
// (QFile::encodeName of a QString path). A folder is no text file.
TextLines ReadTextLines(const std::string& path);

// True when something other than a folder is at the path: the test the
// program makes before it reads one of its data files.
bool IsPresentFile(const std::string& path);

}  // namespace quillon
