#include "engine/PipeRecord.h"

#include "engine/NumberText.h"


namespace quillon {

std::string_view TrimBlanks(std::string_view text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out) c = UpperAscii(c);
    return out;
}

std::string PipeField(std::string_view text, int n, char separator)
{
    if (n < 1) return {};
    std::size_t start = 0;
    for (int field = 1;; ++field) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) return {};
        if (field == n) return std::string(TrimBlanks(text.substr(start, end - start)));
        start = end + 1;
    }
}

long double NumberOrDefault(std::string_view text, std::string_view defaultText)
{
    long double value = ReadNumber(defaultText);
    long double parsed = 0;
    if (!text.empty() && TryReadNumber(text, parsed)) value = parsed;
    return value;
}

bool IsSkippedLeadChar(char c)
{
    switch (c) {
    case ' ': case '#': case ';': case '[': case '^': case '`': case '{': case '~':
        return true;
    default:
        return false;
    }
}

}  // namespace quillon
