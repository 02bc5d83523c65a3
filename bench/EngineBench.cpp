// Timings of the engine on a generated catalogue of 20,000 lines (60,000 rows)
// and a 500,000-line price list: reading the files, loading them, a search that
// returns every line with its prices, and the filling of the results table.

#include "bench/CatalogueGenerator.h"

#include "engine/Catalogue.h"
#include "engine/DataSet.h"
#include "engine/LargeMemory.h"
#include "engine/PipeRecord.h"
#include "engine/TextFile.h"
#include "engine/PriceList.h"
#include "engine/ResultRows.h"
#include "engine/Search.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <unistd.h>

namespace {

using namespace quillon;
namespace fs = std::filesystem;

constexpr std::size_t kLinearSubset = 200;  // lines priced by the literal scan (the full set would take minutes)

struct BenchData {
    fs::path folder;
    std::string cataloguePath, priceListPath;
    std::size_t bytes = 0;
    std::vector<std::string> catalogueLines, priceListLines;
    Catalogue catalogue;
    std::unique_ptr<PriceList> warmPrices;  // index already built

    ~BenchData()
    {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

BenchData& Data()
{
    static const std::unique_ptr<BenchData> data = [] {
        auto owned = std::make_unique<BenchData>();
        BenchData& d = *owned;
        const bench::GeneratedFiles files = bench::GenerateFiles({});
        d.folder = fs::temp_directory_path() / ("quillon-bench-" + std::to_string(::getpid()));
        fs::create_directories(d.folder);
        d.cataloguePath = (d.folder / kCatalogueFileName).string();
        d.priceListPath = (d.folder / kPriceListFileName).string();
        WriteFile(d.cataloguePath, files.Catalogue);
        WriteFile(d.priceListPath, files.PriceList);
        d.bytes = files.Catalogue.size() + files.PriceList.size();
        d.catalogueLines = SplitLines(files.Catalogue);
        d.priceListLines = SplitLines(files.PriceList);
        BuildCatalogue(d.catalogueLines, d.catalogue);
        d.warmPrices = std::make_unique<PriceList>(d.priceListLines);
        d.warmPrices->Find("");  // builds the index
        return owned;
    }();
    return *data;
}

QueryPage EveryLinePage()
{
    QueryPage page;  // query by frequency on, all four kinds
    page.BeginningFrequency = std::to_string(static_cast<int>(bench::kQueryBeginning));
    page.EndingFrequency = std::to_string(static_cast<int>(bench::kQueryEnding));
    page.Length = "100";
    return page;
}

InteractiveFillInputs FillInputs(const QueryPage& page)
{
    InteractiveFillInputs inputs;
    inputs.BeginningFrequency = page.BeginningFrequency;
    inputs.EndingFrequency = page.EndingFrequency;
    inputs.Length = page.Length;
    inputs.Vswr = page.Vswr;
    return inputs;
}

// Lines keep what the price list gave them; forget it so every search looks them up again.
void ForgetPrices(const LineList& lines)
{
    for (TTransmissionLine* line : lines) {
        line->Description.clear();
        line->ListPrice = 0;
    }
}

LineList EveryLine(benchmark::State& state)
{
    const SearchOutcome outcome = RunSearch(EveryLinePage(), "", Data().catalogue.Lines());
    if (!outcome.Result || outcome.Result->size() != Data().catalogue.AllLines.size()) {
        state.SkipWithError("the search did not return every line");
        return {};
    }
    return *outcome.Result;
}

void BM_ReadFileLines(benchmark::State& state)
{
    const BenchData& d = Data();
    for (auto _ : state) {
        const std::vector<std::string> catalogue = ReadTextLines(d.cataloguePath).Lines;
        const std::vector<std::string> prices = ReadTextLines(d.priceListPath).Lines;
        benchmark::DoNotOptimize(catalogue.data());
        benchmark::DoNotOptimize(prices.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * d.bytes));
    state.counters["MB"] = static_cast<double>(d.bytes) / 1e6;
    state.counters["lines"] = static_cast<double>(d.catalogueLines.size() + d.priceListLines.size());
}
BENCHMARK(BM_ReadFileLines)->Unit(benchmark::kMillisecond);

// The floor for loading: the file's bytes read into fresh memory, nothing
// done with them.
std::size_t PlainRead(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    const auto size = static_cast<std::size_t>(fs::file_size(path));
    const std::unique_ptr<char[]> bytes(new char[size + 1]);
    std::size_t got = 0;
    for (ssize_t n = 0; (n = ::read(fd, bytes.get() + got, size + 1 - got)) > 0;) got += static_cast<std::size_t>(n);
    ::close(fd);
    benchmark::DoNotOptimize(bytes.get());
    return got;
}

void BM_PlainRead(benchmark::State& state)
{
    const BenchData& d = Data();
    for (auto _ : state) benchmark::DoNotOptimize(PlainRead(d.cataloguePath) + PlainRead(d.priceListPath));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * d.bytes));
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

double MsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// What start-up does: the data set loader over both files (no rates file),
// again and again in one process, so into memory the heap has had before
// (quillon-load-bench times a first load in a fresh process). Each round
// also reads the same bytes plainly, just before, so that the ratio x_read
// compares the two under the same load of the machine. Discarding the data
// set is timed apart (teardown_ms): it is no part of loading.
void BM_LoadFiles(benchmark::State& state)
{
    const BenchData& d = Data();
    double readMs = 0, loadMs = 0, teardownMs = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(PlainRead(d.cataloguePath) + PlainRead(d.priceListPath));
        readMs += MsSince(start);
        auto data = std::make_unique<DataSet>();
        start = std::chrono::steady_clock::now();
        LoadDataSet({d.cataloguePath, d.priceListPath, ""}, *data);
        benchmark::DoNotOptimize(data->catalogue.AllLines.data());
        benchmark::DoNotOptimize(data->PriceListLines.LineCount());
        const double ms = MsSince(start);
        loadMs += ms;
        state.SetIterationTime(ms / 1e3);
        start = std::chrono::steady_clock::now();
        data.reset();
        teardownMs += MsSince(start);
    }
    const auto rounds = static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * d.bytes));
    state.counters["read_ms"] = readMs / rounds;
    state.counters["x_read"] = loadMs / readMs;
    state.counters["teardown_ms"] = teardownMs / rounds;
}
BENCHMARK(BM_LoadFiles)->UseManualTime()->Unit(benchmark::kMillisecond);

// Where loading's time goes, each round under the same load of the machine:
// the plain read, the price list read and indexed on one thread, the
// catalogue read and built on one thread, and the loader with its two
// threads. The two steps are all the loader does; on two cores it can take
// no less than half their sum, so x_read_floor (that half over the plain
// read) is the least x_read this way of loading can reach, and x_steps (the
// load over that half) how near the two threads' sharing comes to it.
void BM_LoadSteps(benchmark::State& state)
{
    const BenchData& d = Data();
    double readMs = 0, pricesMs = 0, catalogueMs = 0, loadMs = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(PlainRead(d.cataloguePath) + PlainRead(d.priceListPath));
        readMs += MsSince(start);
        {
            std::optional<FileError> error;
            start = std::chrono::steady_clock::now();
            const PriceList prices = PriceList::Read(d.priceListPath, error);
            benchmark::DoNotOptimize(prices.LineCount());
            pricesMs += MsSince(start);
            if (error) {
                state.SkipWithError("the price list could not be read");
                break;
            }
        }
        {
            auto catalogue = std::make_unique<Catalogue>();
            start = std::chrono::steady_clock::now();
            TextRead text = ReadTextFile(d.cataloguePath);
            if (text.Error) {
                state.SkipWithError("the catalogue could not be read");
                break;
            }
            BuildCatalogue(std::move(text.Text), *catalogue);
            benchmark::DoNotOptimize(catalogue->AllLines.data());
            catalogueMs += MsSince(start);
        }
        auto data = std::make_unique<DataSet>();
        start = std::chrono::steady_clock::now();
        LoadDataSet({d.cataloguePath, d.priceListPath, ""}, *data);
        benchmark::DoNotOptimize(data->catalogue.AllLines.data());
        const double ms = MsSince(start);
        loadMs += ms;
        state.SetIterationTime(ms / 1e3);
    }
    const auto rounds = static_cast<double>(state.iterations());
    const double halfSteps = (pricesMs + catalogueMs) / 2;
    state.counters["read_ms"] = readMs / rounds;
    state.counters["prices_ms"] = pricesMs / rounds;
    state.counters["catalogue_ms"] = catalogueMs / rounds;
    state.counters["x_read"] = loadMs / readMs;
    state.counters["x_read_floor"] = halfSteps / readMs;
    state.counters["x_steps"] = loadMs / halfSteps;
}
BENCHMARK(BM_LoadSteps)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_BuildCatalogue(benchmark::State& state)
{
    const BenchData& d = Data();
    for (auto _ : state) {
        Catalogue catalogue;
        BuildCatalogue(d.catalogueLines, catalogue);
        benchmark::DoNotOptimize(catalogue.AllLines.data());
    }
    state.counters["lines"] = static_cast<double>(d.catalogue.AllLines.size());
    state.counters["rows"] = static_cast<double>(d.catalogueLines.size() - 1);
}
BENCHMARK(BM_BuildCatalogue)->Unit(benchmark::kMillisecond);

// The checks and the filters alone.
void BM_SearchSelectionOnly(benchmark::State& state)
{
    const BenchData& d = Data();
    const QueryPage page = EveryLinePage();
    for (auto _ : state) {
        const SearchOutcome outcome = RunSearch(page, "", d.catalogue.Lines());
        benchmark::DoNotOptimize(outcome.Result->data());
        state.counters["lines"] = static_cast<double>(outcome.Result->size());
    }
}
BENCHMARK(BM_SearchSelectionOnly)->Unit(benchmark::kMillisecond);

// The first search of a run also builds the price-list index.
void BM_SearchAndPrices_FirstSearch(benchmark::State& state)
{
    const BenchData& d = Data();
    for (auto _ : state) {
        state.PauseTiming();
        ForgetPrices(d.catalogue.Lines());
        auto prices = std::make_unique<PriceList>(d.priceListLines);
        state.ResumeTiming();
        const SearchOutcome outcome = RunSearch(EveryLinePage(), "", d.catalogue.Lines());
        CompletePrices(*outcome.Result, *prices);
        state.counters["lines"] = static_cast<double>(outcome.Result->size());
        state.PauseTiming();
        prices.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SearchAndPrices_FirstSearch)->Unit(benchmark::kMillisecond);

void BM_SearchAndPrices_Indexed(benchmark::State& state)
{
    const BenchData& d = Data();
    for (auto _ : state) {
        state.PauseTiming();
        ForgetPrices(d.catalogue.Lines());
        state.ResumeTiming();
        const SearchOutcome outcome = RunSearch(EveryLinePage(), "", d.catalogue.Lines());
        CompletePrices(*outcome.Result, *d.warmPrices);
        state.counters["lines"] = static_cast<double>(outcome.Result->size());
    }
}
BENCHMARK(BM_SearchAndPrices_Indexed)->Unit(benchmark::kMillisecond);

// Index against the literal scan from the first line, on the same lines.
LineList Subset(benchmark::State& state)
{
    const LineList all = EveryLine(state);
    LineList subset;
    const std::size_t step = all.size() / kLinearSubset;
    for (std::size_t i = 0; i < all.size() && subset.size() < kLinearSubset; i += step) subset.push_back(all[i]);
    return subset;
}

void BM_PriceLookup_Index(benchmark::State& state)
{
    const LineList subset = Subset(state);
    for (auto _ : state) {
        state.PauseTiming();
        ForgetPrices(subset);
        state.ResumeTiming();
        CompletePrices(subset, *Data().warmPrices);
    }
    state.counters["lines"] = static_cast<double>(subset.size());
}
BENCHMARK(BM_PriceLookup_Index)->Unit(benchmark::kMillisecond);

void BM_PriceLookup_LinearScan(benchmark::State& state)
{
    const LineList subset = Subset(state);
    const PriceList& prices = *Data().warmPrices;
    for (auto _ : state) {
        state.PauseTiming();
        ForgetPrices(subset);
        state.ResumeTiming();
        for (TTransmissionLine* line : subset) {
            if (auto entry = prices.FindLinear(line->PartNumber)) {
                line->Description = entry->Description;
                line->ListPrice = static_cast<double>(entry->Price);
            }
        }
    }
    // Both ways must give the same answers, or the comparison means nothing.
    for (const TTransmissionLine* line : subset) {
        const auto indexed = prices.Find(line->PartNumber);
        if (!indexed || indexed->Description != line->Description || static_cast<double>(indexed->Price) != line->ListPrice)
            state.SkipWithError("the index and the scan disagree");
    }
    state.counters["lines"] = static_cast<double>(subset.size());
}
BENCHMARK(BM_PriceLookup_LinearScan)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_FillInteractiveRows(benchmark::State& state)
{
    LineList lines = EveryLine(state);
    lines.resize(static_cast<std::size_t>(state.range(0)));
    CompletePrices(lines, *Data().warmPrices);
    const InteractiveFillInputs inputs = FillInputs(EveryLinePage());
    for (auto _ : state) {
        ResultTable table;
        if (FillInteractiveRows(table, lines, inputs)) state.SkipWithError("the filling stopped");
        benchmark::DoNotOptimize(table.Rows.data());
    }
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_FillInteractiveRows)->Arg(10'000)->Arg(20'000)->Unit(benchmark::kMillisecond);

// The whole click: checks, selection, price completion and the table.
void BM_WholeSearch(benchmark::State& state)
{
    const BenchData& d = Data();
    const QueryPage page = EveryLinePage();
    for (auto _ : state) {
        state.PauseTiming();
        ForgetPrices(d.catalogue.Lines());
        state.ResumeTiming();
        const SearchOutcome outcome = RunSearch(page, "", d.catalogue.Lines());
        CompletePrices(*outcome.Result, *d.warmPrices);
        ResultTable table;
        if (FillInteractiveRows(table, *outcome.Result, FillInputs(outcome.Page))) state.SkipWithError("the filling stopped");
        benchmark::DoNotOptimize(table.Rows.data());
        state.counters["lines"] = static_cast<double>(table.Rows.size());
    }
}
BENCHMARK(BM_WholeSearch)->Unit(benchmark::kMillisecond);

}  // namespace

// The heap prepared as the window and quillon-query prepare theirs, first
// thing: the loads measured here then run in the memory the programs' run in.
int main(int argc, char** argv)
{
    PrepareHeapForLargeData();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
