#pragma once
// The flags of quillon-query for the chart and the figures beside the
// results: --curve (with --from, --to, --points, --log), --plot and --edges.

#include "tools/QueryArguments.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>

#include <string>

namespace quillon::tool {

struct AnalysisFlags {
    AnalysisFlags();
    QList<QCommandLineOption> All() const;

    QCommandLineOption curve, from, to, points, log, plot, edges;
};

// Reads the flags into options.Analysis. `queryFlags` are the flags that set
// up a query, which a curve has no use for. False with the usage error.
bool ReadAnalysisFlags(const QCommandLineParser& parser, const AnalysisFlags& flags,
                       const QList<const QCommandLineOption*>& queryFlags, ToolOptions& options, std::string& error);

// The usage error of a curve's range once the line's own band has filled in
// what the flags left out; empty when the curve can be drawn.
std::string CurveRangeError(double from, double to, int points, bool log);

}  // namespace quillon::tool
