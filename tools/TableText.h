#pragma once
// The results table and the search's messages as text for a terminal or a script.

#include "tools/QueryArguments.h"

#include "engine/AnalysisColumns.h"
#include "engine/ResultRows.h"
#include "engine/Search.h"

#include <string>
#include <vector>

namespace quillon::tool {

// A table of text cells other than the results (a curve).
struct TextTable {
    std::vector<std::string> Headings;
    std::vector<std::vector<std::string>> Rows;
};

// The heading line and one line per row; a hidden column gives empty cells.
// Extra columns (the band-edge figures) follow the fourteen, row for row.
// TSV and CSV keep the catalogue's 8-bit bytes; JSON turns them (Latin-1)
// into UTF-8.
std::string FormatTable(const ResultTable& table, OutputFormat format, const ExtraColumns& extra = {});

// Any table (a curve, the results with their extra columns) the same way:
// a heading line and a line per row, or an array of objects keyed by heading.
std::string FormatRows(const std::vector<std::string>& headings, const std::vector<std::vector<std::string>>& rows,
                       OutputFormat format);

// "information: ", "warning: " or "error: " and the text, the box's CR line
// breaks as newlines, ending in a newline.
std::string FormatMessage(const Message& message);

// Cell and heading quoting, exposed for tests.
std::string CsvField(const std::string& text);
std::string JsonString(const std::string& latin1);

}  // namespace quillon::tool
