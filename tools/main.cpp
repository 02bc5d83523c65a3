// quillon-query: lists the transmission lines that meet a query, as the
// window's results table would show them. See --help.

#include "tools/QueryArguments.h"
#include "tools/QueryRun.h"
#include "tools/TableText.h"

#include "chart/ChartPicture.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

void Write(std::FILE* stream, const std::string& text) { std::fwrite(text.data(), 1, text.size(), stream); }

// Qt's notes about the desktop it found (no runtime folder, no display) mean
// nothing to a script reading standard error; only its failures go there.
void QtFailuresOnly(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) Write(stderr, "error: " + text.toLocal8Bit().toStdString() + "\n");
}

bool AsksForPicture(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) break;
        if (std::strcmp(argv[i], "--plot") == 0 || std::strncmp(argv[i], "--plot=", 7) == 0) return true;
    }
    return false;
}

// A chart is drawn by Qt's widget classes, which need a QApplication; a
// picture needs no screen, so it is drawn offscreen whatever display there
// is. Without --plot the tool stays a plain core application.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char* argv[])
{
    if (!AsksForPicture(argc, argv)) return std::make_unique<QCoreApplication>(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QtFailuresOnly);
    return std::make_unique<QApplication>(argc, argv);
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
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
    for (const auto& message : result.Messages) Write(stderr, FormatMessage(message));
    if (result.Curve)
        Write(stdout, FormatRows(result.Curve->Headings, result.Curve->Rows, options.Format));
    else if (result.Table)
        Write(stdout, FormatTable(*result.Table, options.Format, result.Extra));
    std::fflush(stdout);

    if (result.Plot && result.ExitCode == 0) {
        const QString file = QString::fromLocal8Bit(options.Analysis.PlotFile.c_str());
        if (const auto error = quillon::SaveChartPicture(*result.Plot, file)) {
            Write(stderr, "error: " + options.Analysis.PlotFile + ": " + error->toLocal8Bit().toStdString() + "\n");
            return 2;
        }
    }
    return result.ExitCode;
}
