// quillon-query: lists the transmission lines that meet a query, as the
// window's results table would show them. See --help.

#include "tools/QueryArguments.h"
#include "tools/QueryRun.h"
#include "tools/TableSort.h"
#include "tools/TableText.h"

#include "chart/PlotModule.h"
#include "engine/LargeMemory.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

// Whether this build checks for leaks at exit (AddressSanitizer's builds).
#if defined(__SANITIZE_ADDRESS__)
#define QUILLON_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
#define QUILLON_LEAK_CHECKED 1
#endif
#endif
#ifndef QUILLON_LEAK_CHECKED
#define QUILLON_LEAK_CHECKED 0
#endif

namespace {

// The answer is only an answer when all of it reached its reader: a quoting
// pipeline takes exit 0 as success, so a full disk or a closed standard
// output has to end the run with an error and its reason.
class Output {
public:
    // A standard output closed before the start is noted, and its number is
    // held by /dev/null so that no file the run opens takes its place.
    Output()
    {
        if (fcntl(STDOUT_FILENO, F_GETFD) != -1 || errno != EBADF) return;
        failed_ = EBADF;
        const int held = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (held != -1 && held != STDOUT_FILENO) close(held);
    }

    void Write(std::FILE* stream, const std::string& text)
    {
        if (failed_ != 0 || text.empty()) return;
        if (std::fwrite(text.data(), 1, text.size(), stream) != text.size()) failed_ = errno != 0 ? errno : EIO;
    }
    // Flushes standard output; true when everything written arrived.
    bool Finish()
    {
        errno = 0;
        if (failed_ == 0 && std::fflush(stdout) != 0) failed_ = errno != 0 ? errno : EIO;
        if (failed_ == 0 && std::ferror(stdout)) failed_ = EIO;
        if (failed_ == 0) return true;
        const std::string text =
            std::string("error: the answer could not be written to standard output: ") + std::strerror(failed_) + "\n";
        std::fwrite(text.data(), 1, text.size(), stderr);
        return false;
    }

private:
    int failed_ = 0;
};

void WriteError(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stderr);
}

// Qt's notes about the desktop it found (no runtime folder, no display) mean
// nothing to a script reading standard error; only its failures go there.
void QtFailuresOnly(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) WriteError("error: " + text.toLocal8Bit().toStdString() + "\n");
}

bool AsksForPicture(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) break;
        if (std::strcmp(argv[i], "--plot") == 0 || std::strncmp(argv[i], "--plot=", 7) == 0) return true;
    }
    return false;
}

// The tool's own folder, where the files installed with it are: the
// executable itself, whatever link it was started through.
std::string OwnFolder()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return {};
    const std::string self(path, static_cast<std::size_t>(length));
    return self.substr(0, self.rfind('/') + 1);
}

// The chart module beside the tool, or why it cannot be used. It stays
// loaded to the end: the application it makes lives in it.
std::variant<const quillon::PlotModule*, std::string> LoadPlotModule()
{
    const std::string folder = OwnFolder();
    if (folder.empty()) return std::string("the folder quillon-query runs from cannot be found");
    const std::string path = folder + quillon::kPlotModuleFileName;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        return reason ? std::string(reason) : path + ": cannot be opened";
    }
    using Entry = const quillon::PlotModule* (*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, quillon::kPlotModuleEntry));
    const quillon::PlotModule* module = entry ? entry() : nullptr;
    if (!module || module->Interface != quillon::kPlotModuleInterface || module->PlanSize != sizeof(quillon::ChartPlan) ||
        !module->MakeApplication || !module->SavePicture) {
        dlclose(handle);
        return path + ": not the chart module of this quillon-query";
    }
    return module;
}

// A chart is drawn by Qt's widget classes, which need a QApplication; a
// picture needs no screen, so it is drawn offscreen whatever display there
// is. Both come from the chart module. Without --plot the tool stays a plain
// core application, and so it does when the module cannot be loaded: the
// run goes on and the picture fails where a picture that cannot be written
// does.
struct Application {
    std::unique_ptr<QCoreApplication> App;
    std::variant<const quillon::PlotModule*, std::string> Plot = nullptr;
};

Application MakeApplication(int& argc, char* argv[])
{
    Application made;
    if (!AsksForPicture(argc, argv)) {
        made.App = std::make_unique<QCoreApplication>(argc, argv);
        return made;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QtFailuresOnly);
    made.Plot = LoadPlotModule();
    if (const auto* module = std::get_if<const quillon::PlotModule*>(&made.Plot))
        made.App.reset((*module)->MakeApplication(argc, argv));
    else
        made.App = std::make_unique<QCoreApplication>(argc, argv);
    return made;
}

}  // namespace

int main(int argc, char* argv[])
{
    quillon::PrepareHeapForLargeData();
    Output out;
    const Application app = MakeApplication(argc, argv);
    QCoreApplication::setApplicationName("quillon-query");
    using namespace quillon::tool;

    const ParsedArguments parsed = ParseToolArguments(QCoreApplication::arguments());
    if (parsed.ShowHelp) {
        out.Write(stdout, parsed.HelpText + (parsed.HelpText.ends_with('\n') ? "" : "\n"));
        return out.Finish() ? 0 : 2;
    }
    if (!parsed.Options) {
        WriteError("error: " + parsed.Error + "\nTry 'quillon-query --help' for more information.\n");
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
            WriteError("error: --sort: no column is headed '" + *options.SortColumn +
                       "'\nTry 'quillon-query --help' for more information.\n");
            return 2;
        }
        SortRows(*printed, *column, options.Descending);
    }
    for (const auto& message : result.Messages) WriteError(FormatMessage(message));
    if (result.Curve)
        out.Write(stdout, FormatRows(result.Curve->Headings, result.Curve->Rows, options.Format));
    else if (printed)
        out.Write(stdout, FormatRows(printed->Headings, printed->Rows, options.Format));
    if (result.Listing) out.Write(stdout, *result.Listing);
    if (!out.Finish()) return 2;

    if (result.Plot && result.ExitCode == 0) {
        if (const auto* unloaded = std::get_if<std::string>(&app.Plot)) {
            WriteError("error: " + options.Analysis.PlotFile + ": the chart module could not be loaded: " + *unloaded + "\n");
            return 2;
        }
        const quillon::PlotModule& plot = *std::get<const quillon::PlotModule*>(app.Plot);
        const QString file = QString::fromLocal8Bit(options.Analysis.PlotFile.c_str());
        if (const auto error = plot.SavePicture(*result.Plot, file)) {
            WriteError("error: " + options.Analysis.PlotFile + ": " + error->toLocal8Bit().toStdString() + "\n");
            return 2;
        }
    }
    // Everything is written: freeing the tables cell by cell and taking Qt
    // down would only delay the end, and the system takes the memory back at
    // once. Builds with the leak check end the ordinary way, so that it still
    // sees everything freed.
#if !QUILLON_LEAK_CHECKED
    std::fflush(nullptr);
    std::_Exit(result.ExitCode);
#endif
    return result.ExitCode;
}
