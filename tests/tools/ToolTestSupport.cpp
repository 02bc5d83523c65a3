#include "tests/tools/ToolTestSupport.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace quillon::tooltest {
namespace {

// Far more than any run needs, even under the sanitizers.
constexpr int kToolTimeoutMs = 60'000;

}  // namespace

ToolRun RunTool(const QStringList& arguments, const QStringList& env, const QString& workingDir)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : env) {
        const qsizetype eq = entry.indexOf('=');
        environment.insert(entry.left(eq), entry.mid(eq + 1));
    }
    process.setProcessEnvironment(environment);
    if (!workingDir.isEmpty()) process.setWorkingDirectory(workingDir);
    process.start(QStringLiteral(QUILLON_QUERY_TOOL), arguments);
    ToolRun run;
    if (!process.waitForStarted(kToolTimeoutMs)) {
        ADD_FAILURE() << "quillon-query could not be started: " << process.errorString().toStdString();
        run.Crashed = true;
        return run;
    }
    // A tool that hangs fails its test here instead of holding the suite.
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "quillon-query did not finish within " << kToolTimeoutMs / 1000 << " s";
        run.Crashed = true;
        return run;
    }
    run.Crashed = process.exitStatus() != QProcess::NormalExit;
    run.ExitCode = process.exitCode();
    run.Out = process.readAllStandardOutput().toStdString();
    run.Err = process.readAllStandardError().toStdString();
    return run;
}

std::string DemoFile(const char* name) { return std::string(QUILLON_DEMO_DIR) + "/" + name; }

QStringList DemoFileArgs()
{
    return {"--catalogue", QString::fromStdString(DemoFile("Freq_TLine_Connectors.dat")),
            "--price-list", QString::fromStdString(DemoFile("M_lom.dat")),
            "--rates", QString::fromStdString(DemoFile("xcngrate.dat"))};
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string PathIn(const QTemporaryDir& dir, const char* name) { return dir.filePath(name).toStdString(); }

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::vector<std::string> TabCells(const std::string& line)
{
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return cells;
        start = tab + 1;
    }
}

std::vector<std::vector<std::string>> TsvRows(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : Lines(text)) rows.push_back(TabCells(line));
    return rows;
}

std::vector<std::string> PipeFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1)
        fields.push_back(line.substr(start, bar - start));
    return fields;
}

std::vector<DemoLine> DemoLines()
{
    std::vector<DemoLine> lines;
    const std::vector<std::string> rows = Lines(ReadBytes(DemoFile("Freq_TLine_Connectors.dat")));
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const std::vector<std::string> f = PipeFields(rows[i]);
        if (f.size() < 22) continue;
        if (!lines.empty() && lines.back().PartNumber == f[3]) continue;
        lines.push_back({std::stod(f[0]), std::stod(f[1]), f[3], f[4], std::stod(f[7]), std::stod(f[8]),
                         std::stod(f[9]), std::stod(f[10])});
    }
    return lines;
}

double DemoPrice(const std::string& partNumber)
{
    for (const std::string& line : Lines(ReadBytes(DemoFile("M_lom.dat")))) {
        if (line.empty() || std::string(" #;[^`{~").find(line[0]) != std::string::npos) continue;
        const std::vector<std::string> f = PipeFields(line);
        if (f.size() >= 6 && f[2] == partNumber) return std::stod(f[5]);
    }
    throw std::runtime_error("no price for " + partNumber);
}

std::string Fixed2(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

double DemoAttenuation(const DemoLine& line, double f)
{
    if (line.Kind == "EW") {
        const double u = std::log(f / line.A - 1);
        return line.B / 1000 * std::exp(u * (0.09557 * u - 0.13127));
    }
    return line.A * std::sqrt(f) + line.B * f;
}

std::string CatalogueRow(const std::string& begin, const std::string& end, const std::string& partNumber,
                         const std::string& kind, const std::string& a, const std::string& b,
                         const std::string& connector)
{
    return begin + "|" + end + "|1/2 in|" + partNumber + "|" + kind + "|PE|1.5|" + a + "|" + b + "|3|40|" +
           connector + "|1.05|0.05|6|-150|" + partNumber + "-C1|||||\r\n";
}

}  // namespace quillon::tooltest
