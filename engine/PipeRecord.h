#pragma once
// Records of "|"-terminated fields, shared by the catalogue, the price list,
// the exchange-rate file and the report data files.

#include <string>
#include <string_view>

namespace quillon {

// The n-th field (n >= 1) of a text whose fields each end with the separator,
// with characters at or below the space removed from both ends. A field
// without its terminating separator reads as empty.
std::string PipeField(std::string_view text, int n, char separator = '|');

// Characters at or below the space removed from both ends.
std::string_view TrimBlanks(std::string_view text);

// ASCII letters in upper case, every other byte as it is: the letter case
// the program's texts (kinds, list entries, flags) are compared without.
char UpperAscii(char c);
std::string UpperAscii(std::string_view text);

// The default read as a number; then a non-empty text that is a number
// replaces it. Never raises for the text; the default must be a number.
long double NumberOrDefault(std::string_view text, std::string_view defaultText);

// True for space, '#', ';', '[', '^', '`', '{' and '~' only.
bool IsSkippedLeadChar(char c);

}  // namespace quillon
