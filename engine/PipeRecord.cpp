#include "engine/PipeRecord.h"

#include "engine/NumberText.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quillon {

std::string_view TrimBlanks(std::string_view text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
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

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < n) lines.emplace_back(text.substr(start));
    return lines;
}

bool ReadTextFileLines(const std::string& path, std::vector<std::string>& lines)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    lines = SplitLines(content);
    return true;
}

}  // namespace quillon
