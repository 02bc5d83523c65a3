#pragma once
// What quillon-query works out beside the results: a curve of one catalogue
// line (--curve), the chart of the listed lines or of the curve (--plot),
// and the band-edge and run-budget columns (--edges, --budget).

#include "tools/QueryRun.h"

#include "engine/Catalogue.h"
#include "engine/ResultRows.h"

#include <optional>
#include <string>

namespace quillon::tool {

// The curve of the first line whose part number equals the flag's exactly,
// and its chart when a picture is asked for. A part number no line has is
// exit 1; a range that the line's band makes impossible, exit 2.
void RunCurve(const AnalysisOptions& options, const Catalogue& catalogue, ToolResult& result);

// What the rows of a filled results table stand on: the query page's numbers
// (interactive) or the one-argument command line.
struct ResultsBasis {
    std::optional<InteractiveFillInputs> Interactive;
    std::optional<long double> MaxLoss;  // the loss criterion's maximum when it is on
    std::string Argument;                // the command line's argument otherwise
};

// The band-edge and run-budget columns, as asked.
void AddAnalysisColumns(const AnalysisOptions& options, const ResultTable& table, const LineList& lines,
                        const ResultsBasis& basis, ToolResult& result);
// The chart of the lines in the order they are listed (the first eight), as asked.
void AddListedLinesChart(const AnalysisOptions& options, const LineList& listed, const ResultsBasis& basis,
                         ToolResult& result);

}  // namespace quillon::tool
