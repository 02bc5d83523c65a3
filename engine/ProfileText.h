#pragma once
// Profile ("INI") text of query files: one section read whole, keys written
// one by one, every other section, key and line kept as it stands. Section
// and key names match without regard to letter case.

#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// One "key=value" line for every key of the section whose value is not
// empty, in file order; empty when the section is missing. Blanks around the
// key and around the value are dropped. A key written on several lines is
// the first of them.
std::vector<std::string> ReadIniSection(const std::vector<std::string>& fileLines, std::string_view section);

// The value of the key in such a list, or the default when absent or empty.
std::string ValueOrDefault(const std::vector<std::string>& sectionLines, std::string_view key,
                           std::string_view defaultValue);

// Writes each "key=value" line into the section (key: text before the first
// "=", value: everything after it), replacing an existing key's value in
// place and appending new keys at the section's end; the section is appended
// when missing. Returns the file's new lines.
std::vector<std::string> WriteIniSection(std::vector<std::string> fileLines, std::string_view section,
                                         const std::vector<std::string>& keyValueLines);

}  // namespace quillon
