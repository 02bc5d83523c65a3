#pragma once
// The fuzzed parsers' entry points: each takes one input as bytes, feeds it to
// the parser the way the program does, and checks what must hold for any
// input. A violated check aborts with a message, which libFuzzer reports as a
// crash and the regression replay as a failed test. Bad input as such is no
// finding: the errors the program shows for it are caught and looked at.
//
// The same functions serve the fuzz targets (clang, QUILLON_FUZZ) and the
// replay of the seed corpora and the kept findings in the ordinary build.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillon::fuzz {

using Entry = void (*)(const std::uint8_t* data, std::size_t size);

struct NamedEntry {
    std::string_view name;  // also the folder name under corpus/ and regressions/
    Entry run;
};

// The entries of the layers this build has.
std::vector<NamedEntry> AvailableEntries();

// engine/
void Catalogue(const std::uint8_t* data, std::size_t size);
void PriceList(const std::uint8_t* data, std::size_t size);
void ExchangeRates(const std::uint8_t* data, std::size_t size);
void NumberText(const std::uint8_t* data, std::size_t size);
void ProfileText(const std::uint8_t* data, std::size_t size);
void SearchEndToEnd(const std::uint8_t* data, std::size_t size);
// online/
void NewsPages(const std::uint8_t* data, std::size_t size);
// platform/
void SettingsFile(const std::uint8_t* data, std::size_t size);
// persist/
void CommandLine(const std::uint8_t* data, std::size_t size);
// tools/
void ToolArguments(const std::uint8_t* data, std::size_t size);

// Aborts with the message when the condition fails.
void Check(bool condition, const char* what);

}  // namespace quillon::fuzz
