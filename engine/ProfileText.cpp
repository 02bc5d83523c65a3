#include "engine/ProfileText.h"

#include "engine/PipeRecord.h"

#include <algorithm>
#include <optional>

namespace quillon {
namespace {

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

// The section name of a header line "[name]", or nothing.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = TrimBlanks(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return TrimBlanks(line.substr(1, close - 1));
}

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

// Blanks around the "=" and around the value are no part of either, as the
// platform's profile reader has it: "Units = F" is the key "Units" with "F".
std::optional<KeyValue> SplitKeyValue(std::string_view line)
{
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    const std::string_view key = TrimBlanks(line.substr(0, eq));
    if (key.empty() || key.front() == ';') return std::nullopt;
    return KeyValue{key, TrimBlanks(line.substr(eq + 1))};
}

// [first, last) lines of the section's body, or nothing when it is missing.
std::optional<std::pair<std::size_t, std::size_t>> FindSection(const std::vector<std::string>& lines,
                                                               std::string_view section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i]);
        if (!name || !EqualNoCase(*name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !SectionName(lines[end])) ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string> ReadIniSection(const std::vector<std::string>& fileLines, std::string_view section)
{
    std::vector<std::string> out;
    const auto range = FindSection(fileLines, section);
    if (!range) return out;
    // A key's first line is the key, as a lookup finds it; a later line of the
    // same key is shadowed, and does not stand in for a first line whose
    // value is empty (a saved empty value must read back empty).
    std::vector<std::string_view> seen;
    for (std::size_t i = range->first; i < range->second; ++i) {
        const auto kv = SplitKeyValue(fileLines[i]);
        if (!kv) continue;
        if (std::any_of(seen.begin(), seen.end(), [&](std::string_view key) { return EqualNoCase(key, kv->key); }))
            continue;
        seen.push_back(kv->key);
        if (!kv->value.empty()) out.push_back(std::string(kv->key) + "=" + std::string(kv->value));
    }
    return out;
}

std::string ValueOrDefault(const std::vector<std::string>& sectionLines, std::string_view key,
                           std::string_view defaultValue)
{
    for (const std::string& line : sectionLines) {
        const auto kv = SplitKeyValue(line);
        if (kv && EqualNoCase(kv->key, key)) return kv->value.empty() ? std::string(defaultValue) : std::string(kv->value);
    }
    return std::string(defaultValue);
}

std::vector<std::string> WriteIniSection(std::vector<std::string> fileLines, std::string_view section,
                                         const std::vector<std::string>& keyValueLines)
{
    for (const std::string& entry : keyValueLines) {
        const std::size_t eq = entry.find('=');
        const std::string key = entry.substr(0, eq);
        const std::string value = eq == std::string::npos ? std::string() : entry.substr(eq + 1);
        const std::string newLine = key + "=" + value;

        auto range = FindSection(fileLines, section);
        if (!range) {
            fileLines.push_back("[" + std::string(section) + "]");
            range = std::make_pair(fileLines.size(), fileLines.size());
        }
        bool replaced = false;
        std::size_t lastEntry = range->first;  // insert after the section's last non-blank line
        for (std::size_t i = range->first; i < range->second; ++i) {
            if (!TrimBlanks(fileLines[i]).empty()) lastEntry = i + 1;
            const auto kv = SplitKeyValue(fileLines[i]);
            if (kv && EqualNoCase(kv->key, TrimBlanks(key))) {
                fileLines[i] = newLine;
                replaced = true;
                break;
            }
        }
        if (!replaced) fileLines.insert(fileLines.begin() + static_cast<std::ptrdiff_t>(lastEntry), newLine);
    }
    return fileLines;
}

}  // namespace quillon
