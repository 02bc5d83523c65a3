#pragma once
// One run of quillon-query: load the data set as start-up does, set the
// query page, search, complete prices and fill the results table.

#include "tools/QueryArguments.h"
#include "tools/TableText.h"

#include "chart/ChartPlan.h"
#include "engine/AnalysisColumns.h"
#include "engine/ResultRows.h"
#include "engine/Search.h"

#include <optional>
#include <string>
#include <vector>

namespace quillon::tool {

struct ToolResult {
    int ExitCode = 0;               // 0 lines listed, 1 refused or none found, 2 error
    std::vector<Message> Messages;  // for standard error, in the order the window shows them
    std::optional<ResultTable> Table;  // the results table to print; empty when no search ran
    ExtraColumns Extra;                // --edges: columns after the fourteen, row for row
    std::optional<TextTable> Curve;    // --curve: printed instead of a results table
    std::optional<ChartPlan> Plot;     // --plot: the chart to draw
};

// Runs the query; programFolder is where files without an explicit path are looked for.
ToolResult RunTool(const ToolOptions& options, const std::string& programFolder);

// The query page after start-up and the given options, as the window would hold it.
// Messages of the query file's entry boxes are appended to `messages`.
QueryPage QueryPageFor(const ToolOptions& options, const Catalogue& catalogue, const std::vector<std::string>& queryFileLines,
                       std::vector<Message>& messages);

}  // namespace quillon::tool
