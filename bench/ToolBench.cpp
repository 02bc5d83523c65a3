// quillon-query end to end against `wc -l` on the same files: a generated
// catalogue of 20,000 lines (50,000 rows) and a 423,000-line price list, a
// query that lists 16,500 of the lines. The two programs run alternately,
// several times each; the figures are medians of wall and CPU time, and
// their ratio. With --memory it also loads a catalogue of about 200 MB (and
// its price list) and gives each tool's peak resident size against the
// size of the files.
//
//     quillon-tool-bench TOOL [--baseline OLD-TOOL] [--runs N] [--starts N] [--memory]
//
// With --baseline an older build of the tool runs in the same rounds, so
// that before and after are measured side by side. Last, the cost of a
// start alone: `quillon-query --help` started many times (--starts N),
// alternating with a plain program that does nothing (`true`).

#include "bench/CatalogueGenerator.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using quillon::bench::GeneratedFiles;
using quillon::bench::GeneratorSizes;

struct RunFigures {
    double wallMs = 0;
    double cpuMs = 0;
    long maxRssKb = 0;
    int status = 0;
};

double Now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Runs the program with its standard output going to the file (or
// nowhere), waits for it and gives its own times and peak size.
RunFigures Run(const std::vector<std::string>& arguments, const std::string& output = "/dev/null")
{
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    RunFigures figures;
    const double start = Now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", argv[0], std::strerror(errno));
        std::exit(2);
    }
    rusage usage{};
    while (wait4(pid, &figures.status, 0, &usage) < 0 && errno == EINTR) {
    }
    figures.wallMs = Now() - start;
    posix_spawn_file_actions_destroy(&actions);
    const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; };
    figures.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    figures.maxRssKb = usage.ru_maxrss;
    return figures;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(2);
    }
}

std::size_t CountLines(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::size_t lines = 0;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        lines += static_cast<std::size_t>(std::count(buffer, buffer + in.gcount(), '\n'));
    return lines;
}

struct Contender {
    std::string name;
    std::vector<std::string> arguments;
    std::vector<double> wall, cpu;
    long maxRssKb = 0;
};

struct Files {
    fs::path catalogue, priceList;
    std::size_t bytes = 0;
};

// Generated in a child process: the files are large, and a program started
// later from this one counts this one's peak size into its own (the peak of
// the address space it starts from is taken over at exec).
Files Write(const fs::path& folder, const GeneratorSizes& sizes)
{
    Files files{folder / "Freq_TLine_Connectors.dat", folder / "M_lom.dat", 0};
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const GeneratedFiles generated = quillon::bench::GenerateFiles(sizes);
        WriteFile(files.catalogue, generated.Catalogue);
        WriteFile(files.priceList, generated.PriceList);
        std::fflush(nullptr);
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (child < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "cannot generate the files\n");
        std::exit(2);
    }
    files.bytes = fs::file_size(files.catalogue) + fs::file_size(files.priceList);
    return files;
}

std::vector<std::string> ToolQuery(const std::string& tool, const Files& files)
{
    return {tool, "--catalogue", files.catalogue.string(), "--price-list", files.priceList.string(), "--band", "800",
            "900", "--length", "100"};
}

int EndToEnd(const fs::path& folder, const std::string& tool, const std::string& baseline, int runs)
{
    GeneratorSizes sizes;
    sizes.Lines = 20'000;
    sizes.Rows = 50'000;
    sizes.PriceListLines = 423'000;
    sizes.OutOfBandPer40 = 7;
    const Files files = Write(folder, sizes);

    std::vector<Contender> contenders;
    contenders.push_back({"wc -l", {"/usr/bin/wc", "-l", files.catalogue.string(), files.priceList.string()}, {}, {}, 0});
    contenders.push_back({"quillon-query", ToolQuery(tool, files), {}, {}, 0});
    if (!baseline.empty()) contenders.push_back({"baseline quillon-query", ToolQuery(baseline, files), {}, {}, 0});

    // One run each to check the answer and to warm the page cache.
    for (std::size_t i = 1; i < contenders.size(); ++i) {
        const fs::path answer = folder / "answer.tsv";
        const RunFigures check = Run(contenders[i].arguments, answer.string());
        const std::size_t lines = CountLines(answer);
        std::printf("%-24s exit %d, %zu lines listed\n", contenders[i].name.c_str(), WEXITSTATUS(check.status),
                    lines == 0 ? 0 : lines - 1);
        if (!WIFEXITED(check.status) || WEXITSTATUS(check.status) != 0 || lines != 16'501) {
            std::fprintf(stderr, "%s did not list the 16,500 lines\n", contenders[i].name.c_str());
            return 1;
        }
    }
    Run(contenders[0].arguments);

    for (int round = 0; round < runs; ++round)
        for (Contender& c : contenders) {
            const RunFigures f = Run(c.arguments);
            c.wall.push_back(f.wallMs);
            c.cpu.push_back(f.cpuMs);
            c.maxRssKb = std::max(c.maxRssKb, f.maxRssKb);
        }

    std::printf("catalogue %zu lines (%zu rows), price list %zu lines, %.1f MB; %d rounds, medians\n", sizes.Lines,
                sizes.Rows, sizes.PriceListLines, static_cast<double>(files.bytes) / 1e6, runs);
    const double wcWall = Median(contenders[0].wall);
    const double wcCpu = Median(contenders[0].cpu);
    for (const Contender& c : contenders)
        std::printf("%-24s wall %8.1f ms (%5.1fx wc -l)   cpu %8.1f ms (%5.1fx wc -l)   peak %6.1f MB\n",
                    c.name.c_str(), Median(c.wall), Median(c.wall) / wcWall, Median(c.cpu), Median(c.cpu) / wcCpu,
                    static_cast<double>(c.maxRssKb) / 1024);
    return 0;
}

// What a start costs before any file is read: the loader, the libraries'
// own set-up and the tool's arguments.
int Starts(const std::string& tool, const std::string& baseline, int starts)
{
    std::vector<Contender> contenders;
    contenders.push_back({"true", {"/usr/bin/true"}, {}, {}, 0});
    contenders.push_back({"quillon-query --help", {tool, "--help"}, {}, {}, 0});
    if (!baseline.empty()) contenders.push_back({"baseline --help", {baseline, "--help"}, {}, {}, 0});
    for (Contender& c : contenders) Run(c.arguments);
    for (int round = 0; round < starts; ++round)
        for (Contender& c : contenders) {
            const RunFigures f = Run(c.arguments);
            if (!WIFEXITED(f.status) || WEXITSTATUS(f.status) != 0) {
                std::fprintf(stderr, "%s failed\n", c.name.c_str());
                return 1;
            }
            c.wall.push_back(f.wallMs);
            c.cpu.push_back(f.cpuMs);
        }
    std::printf("starts: %d each, medians\n", starts);
    const double trueWall = Median(contenders[0].wall);
    for (const Contender& c : contenders)
        std::printf("%-24s wall %8.2f ms (%5.1fx true)    cpu %8.2f ms\n", c.name.c_str(), Median(c.wall),
                    Median(c.wall) / trueWall, Median(c.cpu));
    return 0;
}

int Memory(const fs::path& folder, const std::string& tool, const std::string& baseline)
{
    GeneratorSizes sizes;
    sizes.Lines = 520'000;  // about 200 MB of catalogue
    sizes.PriceListLines = 0;
    const Files files = Write(folder, sizes);
    const double catalogueMb = static_cast<double>(fs::file_size(files.catalogue)) / 1e6;
    const double totalMb = static_cast<double>(files.bytes) / 1e6;
    std::printf("memory: catalogue %.1f MB, price list %.1f MB, together %.1f MB\n", catalogueMb,
                static_cast<double>(fs::file_size(files.priceList)) / 1e6, totalMb);
    std::vector<std::string> tools{tool};
    if (!baseline.empty()) tools.push_back(baseline);
    for (const std::string& t : tools) {
        // One part number: the peak is the loaded data set.
        const RunFigures f = Run({t, "--catalogue", files.catalogue.string(), "--price-list",
                                  files.priceList.string(), "--part-number", "G100000-A"});
        const double peakMb = static_cast<double>(f.maxRssKb) * 1024 / 1e6;
        std::printf("%-40s exit %d, wall %7.0f ms, cpu %7.0f ms, peak %7.1f MB = %.2fx the files\n", t.c_str(),
                    WEXITSTATUS(f.status), f.wallMs, f.cpuMs, peakMb, peakMb / totalMb);
    }
    return 0;
}

}  // namespace

constexpr char kUsage[] = "usage: quillon-tool-bench TOOL [--baseline OLD-TOOL] [--runs N] [--starts N] [--memory]\n";

int main(int argc, char** argv)
{
    std::string tool, baseline;
    int runs = 9;
    int starts = 100;
    bool memory = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--baseline" && i + 1 < argc)
            baseline = fs::absolute(argv[++i]).string();
        else if (a == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--starts" && i + 1 < argc)
            starts = std::max(1, std::atoi(argv[++i]));
        else if (a == "--memory")
            memory = true;
        else if (tool.empty() && a.rfind("--", 0) != 0)
            tool = fs::absolute(a).string();
        else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (tool.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const fs::path folder = fs::temp_directory_path() / ("quillon-tool-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    int status = EndToEnd(folder, tool, baseline, runs);
    if (status == 0) status = Starts(tool, baseline, starts);
    if (status == 0 && memory) status = Memory(folder, tool, baseline);
    std::error_code ec;
    fs::remove_all(folder, ec);
    return status;
}
