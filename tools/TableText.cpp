#include "tools/TableText.h"

#include <cstdio>

namespace quillon::tool {
namespace {

std::string Cell(const ResultTable& table, const ResultRow& row, std::size_t column)
{
    return table.Hidden[column] ? std::string() : row[column];
}

// A tab inside a cell would shift every later column of the line.
std::string TsvField(std::string text)
{
    for (char& c : text)
        if (c == '\t') c = ' ';
    return text;
}

template <typename Field>
std::string DelimitedLine(const std::array<std::string, kResultColumns>& cells, char separator, Field&& field,
                          const char* lineEnd)
{
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (c != 0) line += separator;
        line += field(cells[c]);
    }
    return line + lineEnd;
}

std::array<std::string, kResultColumns> Cells(const ResultTable& table, const ResultRow& row)
{
    std::array<std::string, kResultColumns> cells;
    for (std::size_t c = 0; c < cells.size(); ++c) cells[c] = Cell(table, row, c);
    return cells;
}

template <typename Field>
std::string Delimited(const ResultTable& table, char separator, Field&& field, const char* lineEnd)
{
    std::string text = DelimitedLine(table.Headings, separator, field, lineEnd);
    for (const ResultRow& row : table.Rows) text += DelimitedLine(Cells(table, row), separator, field, lineEnd);
    return text;
}

std::string Json(const ResultTable& table)
{
    if (table.Rows.empty()) return "[]\n";
    std::string text = "[\n";
    for (std::size_t r = 0; r < table.Rows.size(); ++r) {
        text += "  {";
        for (std::size_t c = 0; c < kResultColumns; ++c) {
            if (c != 0) text += ", ";
            text += JsonString(table.Headings[c]) + ": " + JsonString(Cell(table, table.Rows[r], c));
        }
        text += r + 1 < table.Rows.size() ? "},\n" : "}\n";
    }
    return text + "]\n";
}

}  // namespace

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string JsonString(const std::string& utf8)
{
    std::string out = "\"";
    for (char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += ch;  // UTF-8 passes as it is
            }
        }
    }
    return out + '"';
}

std::string FormatTable(const ResultTable& table, OutputFormat format)
{
    switch (format) {
    case OutputFormat::Csv: return Delimited(table, ',', CsvField, "\r\n");
    case OutputFormat::Json: return Json(table);
    case OutputFormat::Tsv: break;
    }
    return Delimited(table, '\t', TsvField, "\n");
}

std::string FormatMessage(const Message& message)
{
    std::string text;
    switch (message.Kind) {
    case MessageKind::Information: text = "information: "; break;
    case MessageKind::Warning: text = "warning: "; break;
    case MessageKind::Error: text = "error: "; break;
    case MessageKind::Confirmation: text = "confirmation: "; break;
    }
    for (char c : message.Text) text += c == '\r' ? '\n' : c;
    return text + '\n';
}

}  // namespace quillon::tool
