#pragma once
// Cutting one fuzz input into the pieces an entry needs.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillon::fuzz {

inline std::string_view Text(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// Parts of the input separated by lines that hold exactly "%%"; always at
// least one part.
inline std::vector<std::string_view> Sections(std::string_view text)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t separator = text.find("\n%%\n", start);
        if (separator == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, separator + 1 - start));
        start = separator + 4;
    }
}

inline char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace quillon::fuzz
