#pragma once
// Running the built quillon-query and reading the demo files independently of
// the engine, so the tests compare the tool against the files themselves.

#include <QStringList>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace quillon::tooltest {

struct ToolRun {
    bool Crashed = false;
    int ExitCode = -1;
    std::string Out;  // standard output, bytes as written
    std::string Err;  // standard error
};

// Runs the tool with the arguments; `env` entries "NAME=value" are added to the environment.
// A tool that does not start, or does not finish within a minute, fails the test.
ToolRun RunTool(const QStringList& arguments, const QStringList& env = {}, const QString& workingDir = {});

std::string DemoFile(const char* name);
QStringList DemoFileArgs();  // --catalogue, --price-list and --rates of the demo data

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
std::string PathIn(const QTemporaryDir& dir, const char* name);

// Lines of the text without their ends; cells of a TSV line.
std::vector<std::string> Lines(const std::string& text);
std::vector<std::string> TabCells(const std::string& line);
std::vector<std::vector<std::string>> TsvRows(const std::string& text);  // heading row first

// The fields of a "|"-terminated record, as written (no trimming).
std::vector<std::string> PipeFields(const std::string& line);

// A catalogue line record as the file holds it: the first row of each run of
// rows with the same part number.
struct DemoLine {
    double Begin = 0, End = 0;
    std::string PartNumber, Kind;
    double A = 0, B = 0, AvgConstant = 0, Peak = 0;
};
std::vector<DemoLine> DemoLines();
// Price-list field 6 of the first unskipped line whose field 3 is the part number.
double DemoPrice(const std::string& partNumber);

std::string Fixed2(double value);  // "%.2f"

// dB/100 ft at f MHz: the elliptical waveguide law for kind "EW", the coaxial law otherwise.
double DemoAttenuation(const DemoLine& line, double f);

// "|"-terminated catalogue rows for fixtures.
std::string CatalogueRow(const std::string& begin, const std::string& end, const std::string& partNumber,
                         const std::string& kind, const std::string& a, const std::string& b,
                         const std::string& connector = "N Male");
inline const char* kCatalogueHeader = "Begin|End|Size|Part|Kind|Jacket|Key|A|B|Avg|Peak|Conn|F1|F2|F3|F4|P1|P2|P3|P4|P5|P6|\r\n";

}  // namespace quillon::tooltest
