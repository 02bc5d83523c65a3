#pragma once
// The program holds every text as UTF-8. Files come as their authors wrote
// them: a file whose bytes are valid UTF-8 (one edited on Linux) is taken as
// UTF-8, any other as 8-bit Windows-1252 (the maker's own files). Pure ASCII,
// the usual case, is both and passes through untouched.

#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The bytes of a whole file as UTF-8 text. A leading UTF-8 byte-order mark is
// no part of the text and goes.
std::string DecodeFileText(std::string bytes);

// True when no byte has its high bit set.
bool IsAscii(std::string_view bytes);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogate
// halves, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Every byte as its Windows-1252 character. The five bytes that code page
// leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their own code points,
// as Windows itself reads them, so nothing is lost.
std::string Windows1252ToUtf8(std::string_view bytes);

// The UTF-8 text in Windows-1252 when every character has a place there;
// nothing when one has not (or the text is not UTF-8).
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

// What a file read by 8-bit programs as well as by this one gets: Windows-1252
// when every character fits, so those programs read it as before; UTF-8
// otherwise, which this program's reader recognises.
std::string EightBitWherePossible(std::string_view utf8);

}  // namespace quillon
