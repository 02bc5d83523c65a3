#pragma once
// Query files (.qlx): profile files whose section "data" holds a query as
// sixteen "key=value" lines (QueryFileLines, ApplyQueryFile). Only that
// section is read; a save rewrites only its keys and keeps every other
// section, key and line as it stands. A file is read as UTF-8 when it is valid
// UTF-8, as Windows-1252 otherwise, and written with CR LF line ends in
// Windows-1252 whenever every character fits (the 8-bit form other programs
// read query files in), in UTF-8 only when one does not.

#include <optional>
#include <string>
#include <vector>

#include <QString>

namespace quillon {

// The folder beside the program where query files are offered.
inline constexpr char kQueryFolderName[] = "qlx";

// The beginning of the error text of a failed save; the file name follows.
inline constexpr char kUnableToWriteTo[] = "Unable to write to ";

// The "key=value" lines of the file's section "data" whose value is not
// empty, in file order. A missing or unreadable file, or one without the
// section, gives an empty list: the query then takes its defaults, without
// a message. A path without a folder is taken from the working folder.
std::vector<std::string> ReadQueryFile(const QString& path);

// Writes the lines into the section "data" of the file (the key is the text
// before the first "=", the value everything after it), creating the file or
// the section when needed and replacing existing keys in place. The file is
// replaced whole or not at all. A file that exists but cannot be read, or is
// marked read-only, is not touched. Returns nothing on success, else the
// error text "Unable to write to " followed by the file name, ": " and the reason.
[[nodiscard]] std::optional<QString> WriteQueryFile(const QString& path,
                                                    const std::vector<std::string>& keyValueLines);

// The folder `name` inside `parent`, as a path.
QString FolderPath(const QString& parent, const QString& name);

// Makes sure the folder `name` exists inside `parent`, creating it (one level
// only: a missing parent is not made) when it is missing. True when it is
// there afterwards.
bool EnsureFolder(const QString& parent, const QString& name);

}  // namespace quillon
