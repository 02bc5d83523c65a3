#include "tools/AnalysisArguments.h"

#include "engine/Analysis.h"
#include "engine/Errors.h"
#include "engine/NumberText.h"

namespace quillon::tool {
namespace {

std::string Text(const QString& s) { return s.toLatin1().toStdString(); }

bool ReadFrequency(const QString& value, std::optional<double>& frequency, std::string& error)
{
    double f = 0;
    if (!TryReadNumber(Text(value), f)) {
        error = ConversionErrorText(Text(value));
        return false;
    }
    frequency = f;
    return true;
}

}  // namespace

AnalysisFlags::AnalysisFlags()
    : curve("curve",
            "Instead of a query: the attenuation of the first catalogue line with exactly this part number "
            "against frequency.",
            "PN"),
      from("from", "With --curve: the first frequency, MHz (default: the start of the line's band).", "F"),
      to("to", "With --curve: the last frequency, MHz (default: the end of the line's band).", "G"),
      points("points", "With --curve: how many frequencies (default 101).", "N"),
      log("log", "With --curve: frequencies evenly spaced on a logarithmic scale; with --plot: a logarithmic "
                 "frequency axis."),
      plot("plot", "Also draw the chart of the listed lines (the first eight) or of the curve into FILE, "
                   "a .png or .svg picture.",
           "FILE"),
      edges("edges", "Add the attenuation at both edges of the band and the worst insertion loss over the band "
                     "after the results' columns.")
{
}

QList<QCommandLineOption> AnalysisFlags::All() const { return {curve, from, to, points, log, plot, edges}; }

std::string CurveRangeError(double from, double to, int points, bool log)
{
    switch (CheckCurveRequest(from, to, points, log ? FrequencySpacing::Logarithmic : FrequencySpacing::Linear)) {
    case CurveRequestProblem::None: return {};
    case CurveRequestProblem::NotFinite: return "--from and --to need finite frequencies";
    case CurveRequestProblem::Reversed:
        return "the first frequency (" + FormatGeneral(from) + ") is above the last (" + FormatGeneral(to) + ")";
    case CurveRequestProblem::TooFewPoints: return "--points needs a whole number of at least 2";
    case CurveRequestProblem::TooManyPoints: return "--points may be " + std::to_string(kMaxCurvePoints) + " at most";
    case CurveRequestProblem::NonPositiveForLog: return "--log needs frequencies above 0";
    }
    return {};
}

bool ReadAnalysisFlags(const QCommandLineParser& parser, const AnalysisFlags& flags,
                       const QList<const QCommandLineOption*>& queryFlags, ToolOptions& options, std::string& error)
{
    AnalysisOptions& a = options.Analysis;
    if (parser.isSet(flags.curve)) a.CurvePartNumber = Text(parser.value(flags.curve));
    if (parser.isSet(flags.from) && !ReadFrequency(parser.value(flags.from), a.From, error)) return false;
    if (parser.isSet(flags.to) && !ReadFrequency(parser.value(flags.to), a.To, error)) return false;
    if (parser.isSet(flags.points)) {
        bool whole = false;
        a.Points = parser.value(flags.points).trimmed().toInt(&whole);
        if (!whole || a.Points < 2) {
            error = "--points needs a whole number of at least 2";
            return false;
        }
    }
    a.Log = parser.isSet(flags.log);
    if (parser.isSet(flags.plot)) {
        const QString file = parser.value(flags.plot);
        if (!file.endsWith(".png", Qt::CaseInsensitive) && !file.endsWith(".svg", Qt::CaseInsensitive)) {
            error = "--plot needs a file name ending in .png or .svg";
            return false;
        }
        a.PlotFile = file.toLocal8Bit().toStdString();
    }
    a.Edges = parser.isSet(flags.edges);

    if (!a.CurvePartNumber) {
        for (const QCommandLineOption* o : {&flags.from, &flags.to, &flags.points}) {
            if (parser.isSet(*o)) {
                error = "--" + o->names().constLast().toStdString() + " needs --curve";
                return false;
            }
        }
        if (a.Log && a.PlotFile.empty()) {
            error = "--log needs --curve or --plot";
            return false;
        }
        return true;
    }
    // A curve is one catalogue line's law; nothing of a query applies to it.
    QList<const QCommandLineOption*> excluded = queryFlags;
    excluded << &flags.edges;
    for (const QCommandLineOption* o : excluded) {
        if (parser.isSet(*o)) {
            error = "--curve cannot go with --" + o->names().constLast().toStdString();
            return false;
        }
    }
    if (options.BandBeginning) {
        error = "--curve cannot go with --band";
        return false;
    }
    // What can be judged before the line's band fills in a missing edge.
    if (a.From && a.To) {
        error = CurveRangeError(*a.From, *a.To, a.Points, a.Log);
    } else {
        const double known = a.From ? *a.From : a.To ? *a.To : 1;
        error = CurveRangeError(known, known, a.Points, a.Log);
    }
    return error.empty();
}

}  // namespace quillon::tool
