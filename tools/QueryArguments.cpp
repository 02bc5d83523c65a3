#include "tools/QueryArguments.h"

#include "tools/AnalysisArguments.h"

#include "engine/Currencies.h"
#include "engine/DataSet.h"
#include "engine/Errors.h"
#include "engine/QueryPageRules.h"

#include <QCommandLineParser>

namespace quillon::tool {
namespace {

std::string Text(const QString& s) { return s.toStdString(); }
std::string FileName(const QString& s) { return s.toLocal8Bit().toStdString(); }

constexpr char kBandUsage[] = "--band takes two numbers: --band BEGIN END";

// A value that is one of the tool's own options ("--length") was never meant
// as a band edge: "--band 824 --length 100" lacks its end.
bool IsOption(const QString& arg) { return arg.startsWith("--"); }

// "--band BEGIN END" takes two values, which the parser cannot; take them out
// of the list first. "--band BEGIN,END" and "--band=BEGIN,END" work too.
bool TakeBand(QStringList& args, ToolOptions& options, std::string& error)
{
    QStringList rest;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (optionsEnded || i == 0 || !(arg == "--band" || arg.startsWith("--band="))) {
            if (arg == "--" && i != 0) optionsEnded = true;
            rest << arg;
            continue;
        }
        QString beginning, ending;
        if (arg.startsWith("--band=")) {
            const QString value = arg.mid(7);
            const qsizetype comma = value.indexOf(',');
            if (comma < 0) {
                error = kBandUsage;
                return false;
            }
            beginning = value.left(comma);
            ending = value.mid(comma + 1);
        } else if (i + 1 < args.size() && args[i + 1].contains(',')) {
            const QString& value = args[++i];
            const qsizetype comma = value.indexOf(',');
            beginning = value.left(comma);
            ending = value.mid(comma + 1);
        } else if (i + 2 < args.size() && !IsOption(args[i + 1]) && !IsOption(args[i + 2])) {
            beginning = args[++i];
            ending = args[++i];
        } else {
            error = kBandUsage;
            return false;
        }
        options.BandBeginning = Text(beginning);
        options.BandEnding = Text(ending);
    }
    args = rest;
    return true;
}

bool ReadKinds(const QString& value, CableKinds& kinds, std::string& error)
{
    kinds = {};
    for (const QString& item : value.split(',', Qt::SkipEmptyParts)) {
        const QString kind = item.trimmed().toLower();
        if (kind == "air") kinds.Air = true;
        else if (kind == "foam") kinds.Foam = true;
        else if (kind == "ew") kinds.Waveguide = true;
        else if (kind == "braided") kinds.Braided = true;
        else if (!kind.isEmpty()) {
            error = "unknown cable kind '" + Text(item) + "' (air, foam, ew, braided)";
            return false;
        }
    }
    return true;
}

bool ReadCurrency(const QString& value, int& tag, std::string& error)
{
    const std::string code = Text(value.trimmed().toUpper());
    for (const CurrencyItem& item : CurrencyMenu()) {
        if (item.Code == code) {
            tag = item.Tag;
            return true;
        }
    }
    error = "unknown currency code '" + Text(value) + "'";
    return false;
}

// The entry boxes of the query page only ever hold a number or nothing.
bool ReadEntry(const QString& value, std::optional<std::string>& entry, std::string& error)
{
    const std::string text = Text(value);
    if (!IsNumericEntry(text)) {
        error = ConversionErrorText(text);
        return false;
    }
    entry = text;
    return true;
}

}  // namespace

ParsedArguments ParseToolArguments(const QStringList& arguments)
{
    ParsedArguments parsed;
    ToolOptions options;
    QStringList args = arguments;
    if (args.isEmpty()) args << "quillon-query";
    if (!TakeBand(args, options, parsed.Error)) return parsed;

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Lists the transmission lines that meet a query, with the cells of the results table,\n"
        "as the window shows them after the same query on a freshly started program.\n"
        "Flags given together with --query override the values of the query file.");
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    const auto beside = [](const char* name) { return QStringLiteral("%1 beside the tool").arg(QLatin1String(name)); };
    const QCommandLineOption catalogue("catalogue", "Catalogue (default: " + beside(kCatalogueFileName) + ").", "F");
    const QCommandLineOption priceList("price-list", "Price list (default: " + beside(kPriceListFileName) + ").", "F");
    const QCommandLineOption rates("rates",
                                   "Exchange rates (default: " + beside(kRatesFileName) + "; none when missing).", "F");
    const QCommandLineOption band("band", "Query band in MHz; switches the band criterion on.", "BEGIN END");
    const QCommandLineOption noBand("no-band-criterion", "Do not select by band.");
    const QCommandLineOption maxLoss("max-loss", "Maximum cable loss over the length; switches the loss criterion on.", "DB");
    const QCommandLineOption length("length", "Run length (default 0).", "L");
    const QCommandLineOption meters("meters", "Length in metres.");
    const QCommandLineOption feet("feet", "Length in feet (default).");
    const QCommandLineOption connector1("connector1", "Connector type wanted at end #1.", "TYPE");
    const QCommandLineOption connector2("connector2", "Connector type wanted at end #2.", "TYPE");
    const QCommandLineOption kinds("kinds", "Cable kinds to admit (default all): air,foam,ew,braided.", "LIST");
    const QCommandLineOption vswr("vswr", "VSWR of the load for the derated power (default 1.1).", "S");
    const QCommandLineOption currency("currency", "Currency code of the prices (default USD).", "CODE");
    const QCommandLineOption query("query", "Query file (.qlx) to start from.", "FILE");
    const QCommandLineOption partNumber("part-number", "Select one part number as the one-argument command line: PN or PN|length|unit.", "ARG");
    const QCommandLineOption format("format", "Output format: tsv (default), csv or json.", "FORMAT");
    const QCommandLineOption check("check",
                                   "Run no query: list every problem of the catalogue, price list and rates, "
                                   "one \"file:line: text\" line each; exit 0 when there is none, 1 otherwise.");
    parser.addOptions({help, catalogue, priceList, rates, band, noBand, maxLoss, length, meters, feet, connector1,
                       connector2, kinds, vswr, currency, query, partNumber, format, check});
    const AnalysisFlags analysis;
    parser.addOptions(analysis.All());
    const QCommandLineOption budget(
        "budget", "Append the run budget to each row: mismatch loss, system loss, power delivered, cable cost "
                  "and the longest run within --max-loss (N/A without it).");
    const QCommandLineOption sort(
        "sort", "Sort the rows by the column with this heading, as printed (e.g. \"Cable Cost (USD)\"): "
                "numbers and prices by value, text aside from letter case, N/A and empty cells last, "
                "equal rows in catalogue order.", "COLUMN");
    const QCommandLineOption descending("descending", "With --sort: the largest first; N/A and empty cells stay last.");
    parser.addOptions({budget, sort, descending});

    if (!parser.parse(args)) {
        parsed.Error = Text(parser.errorText());
        return parsed;
    }
    if (parser.isSet(help)) {
        parsed.ShowHelp = true;
        parsed.HelpText = parser.helpText().toStdString();
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty()) {
        parsed.Error = "unexpected argument '" + Text(parser.positionalArguments().front()) + "'";
        return parsed;
    }

    std::string& error = parsed.Error;
    options.CataloguePath = FileName(parser.value(catalogue));
    options.PriceListPath = FileName(parser.value(priceList));
    options.RatesPath = FileName(parser.value(rates));
    options.NoBandCriterion = parser.isSet(noBand);
    if (parser.isSet(maxLoss) && !ReadEntry(parser.value(maxLoss), options.MaxLoss, error)) return parsed;
    if (parser.isSet(length) && !ReadEntry(parser.value(length), options.Length, error)) return parsed;
    if (parser.isSet(vswr) && !ReadEntry(parser.value(vswr), options.Vswr, error)) return parsed;
    if (parser.isSet(meters) && parser.isSet(feet)) {
        error = "--meters and --feet exclude each other";
        return parsed;
    }
    if (parser.isSet(meters)) options.Meters = true;
    if (parser.isSet(feet)) options.Meters = false;
    if (parser.isSet(connector1)) options.Connector1 = Text(parser.value(connector1));
    if (parser.isSet(connector2)) options.Connector2 = Text(parser.value(connector2));
    if (parser.isSet(kinds)) {
        CableKinds k;
        if (!ReadKinds(parser.value(kinds), k, error)) return parsed;
        options.Kinds = k;
    }
    if (parser.isSet(currency) && !ReadCurrency(parser.value(currency), options.CurrencyTag, error)) return parsed;
    options.QueryFile = FileName(parser.value(query));
    if (parser.isSet(query) && options.QueryFile.empty()) {
        error = "--query needs a file name";
        return parsed;
    }
    if (parser.isSet(partNumber)) options.PartNumber = Text(parser.value(partNumber));
    if (parser.isSet(format)) {
        const QString f = parser.value(format).toLower();
        if (f == "tsv") options.Format = OutputFormat::Tsv;
        else if (f == "csv") options.Format = OutputFormat::Csv;
        else if (f == "json") options.Format = OutputFormat::Json;
        else {
            error = "unknown format '" + Text(parser.value(format)) + "' (tsv, csv, json)";
            return parsed;
        }
    }

    options.Analysis.Budget = parser.isSet(budget);
    if (parser.isSet(sort)) options.SortColumn = Text(parser.value(sort));
    options.Descending = parser.isSet(descending);
    if (options.Descending && !options.SortColumn) {
        error = "--descending needs --sort";
        return parsed;
    }

    // --check runs no query: a query flag with it would be ignored silently.
    options.Check = parser.isSet(check);
    if (options.Check) {
        for (const QCommandLineOption* o : {&noBand, &maxLoss, &length, &meters, &feet, &connector1, &connector2,
                                            &kinds, &vswr, &currency, &query, &partNumber, &format, &budget,
                                            &sort, &descending}) {
            if (parser.isSet(*o)) {
                error = "--check cannot go with --" + o->names().constLast().toStdString();
                return parsed;
            }
        }
        for (const QCommandLineOption& o : analysis.All()) {
            if (parser.isSet(o)) {
                error = "--check cannot go with --" + o.names().constLast().toStdString();
                return parsed;
            }
        }
        if (options.BandBeginning) {
            error = "--check cannot go with --band";
            return parsed;
        }
    }

    // Query by loss needs query by frequency: the page ticks one with the other.
    if (options.NoBandCriterion && options.MaxLoss) {
        error = "--max-loss needs the band criterion; it cannot go with --no-band-criterion";
        return parsed;
    }
    // The part-number form replaces every criterion of the query page and
    // always prices in US dollars; query flags with it would be ignored silently.
    if (options.PartNumber) {
        for (const QCommandLineOption* o : {&noBand, &maxLoss, &length, &meters, &feet, &connector1, &connector2,
                                            &kinds, &vswr, &currency, &query}) {
            if (parser.isSet(*o)) {
                error = "--part-number cannot go with --" + o->names().constLast().toStdString();
                return parsed;
            }
        }
        if (options.BandBeginning) {
            error = "--part-number cannot go with --band";
            return parsed;
        }
    }
    if (!ReadAnalysisFlags(parser, analysis,
                           {&noBand, &maxLoss, &length, &meters, &feet, &connector1, &connector2, &kinds, &vswr,
                            &currency, &query, &partNumber, &budget, &sort, &descending},
                           options, error))
        return parsed;
    parsed.Options = options;
    return parsed;
}

}  // namespace quillon::tool
