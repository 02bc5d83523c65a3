#pragma once
// The results table and the search's messages as text for a terminal or a script.

#include "tools/QueryArguments.h"

#include "engine/ResultRows.h"
#include "engine/Search.h"

#include <string>

namespace quillon::tool {

// The heading line and one line per row; a hidden column gives empty cells.
// Every format is UTF-8, the engine's own text.
std::string FormatTable(const ResultTable& table, OutputFormat format);

// "information: ", "warning: " or "error: " and the text, the box's CR line
// breaks as newlines, ending in a newline.
std::string FormatMessage(const Message& message);

// Cell and heading quoting, exposed for tests.
std::string CsvField(const std::string& text);
std::string JsonString(const std::string& utf8);

}  // namespace quillon::tool
