// quillon-query: lists the transmission lines that meet a query, as the
// window's results table would show them. See --help.

#include "tools/QueryArguments.h"
#include "tools/QueryRun.h"
#include "tools/TableSort.h"
#include "tools/TableText.h"

#include <QCoreApplication>

#include <cstdio>
#include <optional>
#include <string>

namespace {

void Write(std::FILE* stream, const std::string& text) { std::fwrite(text.data(), 1, text.size(), stream); }

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("quillon-query");
    using namespace quillon::tool;

    const ParsedArguments parsed = ParseToolArguments(QCoreApplication::arguments());
    if (parsed.ShowHelp) {
        Write(stdout, parsed.HelpText + (parsed.HelpText.ends_with('\n') ? "" : "\n"));
        return 0;
    }
    if (!parsed.Options) {
        Write(stderr, "error: " + parsed.Error + "\nTry 'quillon-query --help' for more information.\n");
        return 2;
    }
    const ToolOptions& options = *parsed.Options;
    const std::string folder = QCoreApplication::applicationDirPath().toLocal8Bit().toStdString();
    const ToolResult result = RunTool(options, folder);
    std::optional<PrintedTable> printed;
    if (result.Table) printed = PrintedTableOf(*result.Table, result.Extra);
    // The headings are known once the table is filled; a table without rows
    // has nothing to sort (and its price headings still read as designed).
    if (printed && options.SortColumn && !printed->Rows.empty()) {
        const std::optional<std::size_t> column = FindColumn(*printed, *options.SortColumn);
        if (!column) {
            Write(stderr, "error: --sort: no column is headed '" + *options.SortColumn +
                              "'\nTry 'quillon-query --help' for more information.\n");
            return 2;
        }
        SortRows(*printed, *column, options.Descending);
    }
    for (const auto& message : result.Messages) Write(stderr, FormatMessage(message));
    if (printed) Write(stdout, FormatTable(*printed, options.Format));
    std::fflush(stdout);
    return result.ExitCode;
}
