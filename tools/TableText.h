#pragma once
// The results table and the search's messages as text for a terminal or a script.

#include "tools/QueryArguments.h"

#include "engine/AnalysisColumns.h"
#include "engine/ResultRows.h"
#include "engine/Search.h"

#include <string>
#include <vector>

namespace quillon::tool {

// The table as printed: the fourteen columns (a hidden column with empty
// cells), then any extra columns asked for, row for row.
struct PrintedTable {
    std::vector<std::string> Headings;
    std::vector<std::vector<std::string>> Rows;
};
PrintedTable PrintedTableOf(const ResultTable& table, const ExtraColumns& extra = {});

// The heading line and one line per row. TSV and CSV keep the catalogue's
// 8-bit bytes; JSON turns them (Latin-1) into UTF-8.
std::string FormatTable(const PrintedTable& table, OutputFormat format);
std::string FormatTable(const ResultTable& table, OutputFormat format);

// "information: ", "warning: " or "error: " and the text, the box's CR line
// breaks as newlines, ending in a newline.
std::string FormatMessage(const Message& message);

// Cell and heading quoting, exposed for tests.
std::string CsvField(const std::string& text);
std::string JsonString(const std::string& latin1);

}  // namespace quillon::tool
