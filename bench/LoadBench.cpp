// The data set's first load, as a program start meets it: each figure is
// taken in a fresh process, whose memory has never been touched, on the
// generated catalogue (20,000 lines) and price list (500,000 lines).
//
//     quillon-load-bench [--runs N] [--lines N] [--price-lines N]
//
// --lines and --price-lines size the generated files (catalogue lines, and
// price-list lines besides those pricing the catalogue's part numbers).
//
// Beside the loader it times a plain read of the same bytes in a fresh
// process, into new memory as a program gets it (4 KB pages) and into 2 MB
// pages (the cheapest a first read can be). The loader runs on a thread of
// its own, as the window runs it during the splash, once with the heap
// prepared as the window and quillon-query prepare it and once without.
// The kinds run alternately, round after round; figures are medians.

#include "bench/CatalogueGenerator.h"

#include "engine/DataSet.h"
#include "engine/LargeMemory.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Reads the whole file into the memory `allocate` gives; the bytes read.
template <class Allocate>
std::size_t ReadInto(const std::string& path, Allocate&& allocate)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        std::exit(2);
    }
    const auto size = static_cast<std::size_t>(info.st_size) + 1;
    char* bytes = allocate(size);
    std::size_t got = 0;
    for (ssize_t n = 0; (n = ::read(fd, bytes + got, size - got)) > 0;) got += static_cast<std::size_t>(n);
    ::close(fd);
    return got;
}

// One measurement in this (fresh) process; its time in ms on standard output.
int Child(const std::string& kind, const std::string& catalogue, const std::string& priceList)
{
    if (kind == "load") quillon::PrepareHeapForLargeData();
    const auto start = Clock::now();
    std::size_t check = 0;
    if (kind == "read") {
        std::vector<std::unique_ptr<char[]>> kept;
        for (const std::string* path : {&catalogue, &priceList})
            check += ReadInto(*path, [&](std::size_t size) { return kept.emplace_back(new char[size]).get(); });
    } else if (kind == "read-2mb") {
        std::vector<quillon::LargeBuffer> kept;
        for (const std::string* path : {&catalogue, &priceList})
            check += ReadInto(*path, [&](std::size_t size) { return kept.emplace_back(quillon::LargeBuffer::Allocate(size)).data(); });
    } else {
        quillon::DataSet data;
        std::thread([&] { quillon::LoadDataSet({catalogue, priceList, ""}, data); }).join();
        check = data.catalogue.AllLines.size() + data.PriceListLines.LineCount();
    }
    const double ms = MsSince(start);
    if (check == 0) return 2;
    std::printf("%.3f\n", ms);
    return 0;
}

// Runs this program as a child of the kind; its figure.
double RunChild(const std::string& kind, const std::string& catalogue, const std::string& priceList)
{
    int out[2];
    if (::pipe(out) != 0) std::exit(2);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> arguments{"/proc/self/exe", "--child", kind, catalogue, priceList};
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start a measurement: %s\n", std::strerror(errno));
        std::exit(2);
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string text;
    char buffer[64];
    for (ssize_t n = 0; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.empty()) {
        std::fprintf(stderr, "the %s measurement failed\n", kind.c_str());
        std::exit(2);
    }
    return std::strtod(text.c_str(), nullptr);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(2);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::string(argv[1]) == "--child") return Child(argv[2], argv[3], argv[4]);
    int runs = 9;
    quillon::bench::GeneratorSizes sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool valued = i + 1 < argc;
        if (option == "--runs" && valued) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (option == "--lines" && valued) {
            sizes.Lines = std::max<std::size_t>(1, std::strtoul(argv[++i], nullptr, 10));
        } else if (option == "--price-lines" && valued) {
            sizes.PriceListLines = std::strtoul(argv[++i], nullptr, 10);
        } else {
            std::fprintf(stderr, "usage: quillon-load-bench [--runs N] [--lines N] [--price-lines N]\n");
            return 2;
        }
    }
    const fs::path folder = fs::temp_directory_path() / ("quillon-load-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const quillon::bench::GeneratedFiles files = quillon::bench::GenerateFiles(sizes);
    const std::string catalogue = (folder / quillon::kCatalogueFileName).string();
    const std::string priceList = (folder / quillon::kPriceListFileName).string();
    WriteFile(catalogue, files.Catalogue);
    WriteFile(priceList, files.PriceList);

    struct Kind {
        const char* name;
        const char* label;
        std::vector<double> ms;
    };
    std::array<Kind, 4> kinds{{{"read", "plain read into new memory (4 KB pages)", {}},
                               {"read-2mb", "plain read into 2 MB pages", {}},
                               {"load", "load, heap prepared (window and tool)", {}},
                               {"load-unprepared", "load, heap not prepared", {}}}};
    RunChild("read", catalogue, priceList);  // the files into the page cache
    for (int round = 0; round < runs; ++round)
        for (std::size_t k = 0; k < kinds.size(); ++k) {
            Kind& kind = kinds[(k + static_cast<std::size_t>(round)) % kinds.size()];
            kind.ms.push_back(RunChild(kind.name, catalogue, priceList));
        }
    std::error_code ec;
    fs::remove_all(folder, ec);

    std::printf("First load in a fresh process: catalogue %.1f MB, price list %.1f MB; %d rounds, medians [range]\n",
                static_cast<double>(files.Catalogue.size()) / 1e6, static_cast<double>(files.PriceList.size()) / 1e6,
                runs);
    for (const Kind& kind : kinds)
        std::printf("  %-42s %8.2f ms  [%.2f-%.2f]\n", kind.label, Median(kind.ms),
                    *std::min_element(kind.ms.begin(), kind.ms.end()), *std::max_element(kind.ms.begin(), kind.ms.end()));
    const double load = Median(kinds[2].ms);
    std::printf("  prepared load: %.2fx the read into new memory, %.2fx the read into 2 MB pages; unprepared: %.2fx\n",
                load / Median(kinds[0].ms), load / Median(kinds[1].ms), Median(kinds[3].ms) / Median(kinds[1].ms));
    return 0;
}
