// quillon-query: lists the transmission lines that meet a query, as the
// window's results table would show them. See --help.

#include "tools/QueryArguments.h"
#include "tools/QueryRun.h"
#include "tools/TableText.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

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

}  // namespace

int main(int argc, char* argv[])
{
    Output out;
    QCoreApplication app(argc, argv);
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
    const std::string folder = QCoreApplication::applicationDirPath().toLocal8Bit().toStdString();
    const ToolResult result = RunTool(*parsed.Options, folder);
    for (const auto& message : result.Messages) WriteError(FormatMessage(message));
    if (result.Table) out.Write(stdout, FormatTable(*result.Table, parsed.Options->Format));
    if (result.Listing) out.Write(stdout, *result.Listing);
    return out.Finish() ? result.ExitCode : 2;
}
