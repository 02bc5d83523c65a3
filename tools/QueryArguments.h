#pragma once
// The command line of quillon-query, read into plain values.

#include <QStringList>

#include <optional>
#include <string>

namespace quillon::tool {

enum class OutputFormat { Tsv, Csv, Json };

struct CableKinds {
    bool Air = false, Foam = false, Waveguide = false, Braided = false;
};

// The chart and the figures beside the results: a curve of one line, a
// picture of the chart, the band-edge columns.
struct AnalysisOptions {
    std::optional<std::string> CurvePartNumber;  // --curve: a curve instead of a query
    std::optional<double> From, To;              // MHz; unset: the line's own band edge
    int Points = 101;
    bool Log = false;        // points (and the chart's axis) evenly spaced on a logarithmic scale
    std::string PlotFile;    // empty: no picture; else a .png or .svg name (local 8-bit encoding)
    bool Edges = false;      // the three band-edge columns after the results' fourteen
};

// What the command line asks for; an unset item leaves the query page as a
// freshly started program (or the query file) has it.
struct ToolOptions {
    // Empty: the file of that name in the tool's own folder.
    std::string CataloguePath, PriceListPath, RatesPath;

    std::optional<std::string> BandBeginning, BandEnding;  // both or neither
    bool NoBandCriterion = false;
    std::optional<std::string> MaxLoss;
    std::optional<std::string> Length;
    std::optional<bool> Meters;
    std::optional<std::string> Connector1, Connector2;
    std::optional<CableKinds> Kinds;
    std::optional<std::string> Vswr;
    int CurrencyTag = 1;  // Tag of the chosen currency menu item; 1 is US dollars

    std::string QueryFile;                  // empty: none
    std::optional<std::string> PartNumber;  // the one-argument command line
    OutputFormat Format = OutputFormat::Tsv;
    AnalysisOptions Analysis;
};

struct ParsedArguments {
    std::optional<ToolOptions> Options;  // empty on a usage error or --help
    std::string Error;                   // the usage error, without prefix
    bool ShowHelp = false;
    std::string HelpText;
};

// Reads the arguments, program name first. Query texts are taken as Latin-1,
// the catalogue's own encoding; file names as the local 8-bit encoding.
ParsedArguments ParseToolArguments(const QStringList& arguments);

}  // namespace quillon::tool
