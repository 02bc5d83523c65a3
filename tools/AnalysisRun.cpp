#include "tools/AnalysisRun.h"

#include "tools/AnalysisArguments.h"

#include "engine/AnalysisColumns.h"
#include "engine/Errors.h"

namespace quillon::tool {
namespace {

FrequencySpacing SpacingOf(const AnalysisOptions& options)
{
    return options.Log ? FrequencySpacing::Logarithmic : FrequencySpacing::Linear;
}

void Fail(ToolResult& result, int exitCode, std::string text)
{
    result.Messages.push_back({MessageKind::Error, std::move(text), false});
    result.ExitCode = exitCode;
}

}  // namespace

void RunCurve(const AnalysisOptions& options, const Catalogue& catalogue, ToolResult& result)
{
    const std::string& partNumber = *options.CurvePartNumber;
    const TTransmissionLine* line = nullptr;
    for (const TTransmissionLine* candidate : catalogue.Lines()) {
        if (candidate->PartNumber == partNumber) {
            line = candidate;
            break;
        }
    }
    if (line == nullptr) return Fail(result, 1, "No catalogue line has the part number '" + partNumber + "'");

    const double from = options.From.value_or(line->BeginFrequency);
    const double to = options.To.value_or(line->EndFrequency);
    if (const std::string error = CurveRangeError(from, to, options.Points, options.Log); !error.empty())
        return Fail(result, 2, error);

    TextTable& table = result.Curve.emplace();
    table.Headings.assign(CurveHeadings().begin(), CurveHeadings().end());
    for (const CurvePoint& point : AttenuationCurve(*line, from, to, options.Points, SpacingOf(options))) {
        const auto cells = CurveCells(point);
        table.Rows.emplace_back(cells.begin(), cells.end());
    }

    if (!options.PlotFile.empty()) {
        ChartRequest request;
        ChartLineRequest& curve = request.Lines.emplace_back();
        curve.Line = line;
        curve.From = from;
        curve.To = to;
        curve.Points = options.Points;
        // The mid-band figure of the line's own band, as its command-line row
        // shows it, where the range drawn reaches it.
        const long double middle = (static_cast<long double>(line->BeginFrequency) + line->EndFrequency) / 2;
        if (middle >= from && middle <= to) curve.MidBand = middle;
        request.Spacing = SpacingOf(options);
        result.Plot = PlanChart(request);
    }
    result.ExitCode = 0;
}

void AddAnalysisColumns(const AnalysisOptions& options, const ResultTable& table, const LineList& lines,
                        const ResultsBasis& basis, ToolResult& result)
{
    if (options.Edges || options.Budget) {
        result.Extra = basis.Interactive ? InteractiveExtraColumns(table, lines, *basis.Interactive, basis.MaxLoss,
                                                                   options.Edges, options.Budget)
                                         : CommandLineExtraColumns(table, lines, basis.Argument, options.Edges,
                                                                   options.Budget);
    }
}

void AddListedLinesChart(const AnalysisOptions& options, const LineList& lines, const ResultsBasis& basis,
                         ToolResult& result)
{
    if (options.PlotFile.empty()) return;

    ChartRequest request;
    request.Spacing = SpacingOf(options);
    for (const TTransmissionLine* line : lines) {
        if (request.Lines.size() == static_cast<std::size_t>(kMaxChartLines)) break;
        std::optional<RowBasis> rowBasis;
        try {
            rowBasis = basis.Interactive ? std::optional(InteractiveRowBasis(*basis.Interactive, basis.MaxLoss))
                                         : CommandLineRowBasis(*line, basis.Argument);
        } catch (const QuillonError&) {
            // The filling met the same text and failed first; a chart comes only after a full table.
        }
        request.Lines.push_back(ChartLineFor(*line, rowBasis));
        // The interactive rows share the query band; the command line's first line gives its own.
        if (request.Lines.size() == 1 && rowBasis) ApplyRowBasis(request, *rowBasis);
    }
    if (lines.size() > static_cast<std::size_t>(kMaxChartLines))
        result.Messages.push_back({MessageKind::Warning,
                                   "The chart shows the first " + std::to_string(kMaxChartLines) + " of the " +
                                       std::to_string(lines.size()) + " lines listed.",
                                   false});
    result.Plot = PlanChart(request);
}

}  // namespace quillon::tool
