// quillon-query: lists the transmission lines that meet a query, as the
// window's results table would show them. See --help.

#include "tools/QueryArguments.h"
#include "tools/QueryRun.h"
#include "tools/TableText.h"

#include "engine/LargeMemory.h"

#include <QCoreApplication>

#include <cstdio>
#include <string>

namespace {

void Write(std::FILE* stream, const std::string& text) { std::fwrite(text.data(), 1, text.size(), stream); }

}  // namespace

int main(int argc, char* argv[])
{
    quillon::PrepareHeapForLargeData();
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
    const std::string folder = QCoreApplication::applicationDirPath().toLocal8Bit().toStdString();
    const ToolResult result = RunTool(*parsed.Options, folder);
    for (const auto& message : result.Messages) Write(stderr, FormatMessage(message));
    if (result.Table) Write(stdout, FormatTable(*result.Table, parsed.Options->Format));
    std::fflush(stdout);
    return result.ExitCode;
}
