#include "tools/TableText.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

namespace quillon::tool {
namespace {

// The whole text is built in one string, each cell added in place: a large
// table has hundreds of thousands of cells.

// A tab inside a cell would shift every later column of the line.
void AppendTsvField(std::string& out, const std::string& text)
{
    const std::size_t start = out.size();
    out += text;
    if (text.find('\t') != std::string::npos)
        std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), '\t', ' ');
}

void AppendCsvField(std::string& out, const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void AppendJsonString(std::string& out, const std::string& utf8)
{
    out += '"';
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
    out += '"';
}

// The cells' own bytes, the least the text takes.
std::size_t CellBytes(const std::vector<std::string>& cells)
{
    std::size_t bytes = 0;
    for (const std::string& cell : cells) bytes += cell.size() + 1;
    return bytes;
}

template <typename Field>
void AppendDelimitedLine(std::string& out, const std::vector<std::string>& cells, char separator, Field&& field,
                         const char* lineEnd)
{
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (c != 0) out += separator;
        field(out, cells[c]);
    }
    out += lineEnd;
}

template <typename Field>
std::string Delimited(const std::vector<std::string>& headings, const std::vector<std::vector<std::string>>& rows,
                      char separator, Field&& field, const char* lineEnd)
{
    std::size_t bytes = CellBytes(headings) + 2;
    for (const std::vector<std::string>& row : rows) bytes += CellBytes(row) + 2;
    std::string text;
    text.reserve(bytes);
    AppendDelimitedLine(text, headings, separator, field, lineEnd);
    for (const std::vector<std::string>& row : rows) AppendDelimitedLine(text, row, separator, field, lineEnd);
    return text;
}

std::string Json(const std::vector<std::string>& headings, const std::vector<std::vector<std::string>>& rows)
{
    if (rows.empty()) return "[]\n";
    static const std::string kNoCell;
    std::size_t bytes = 4;
    for (const std::vector<std::string>& row : rows) bytes += CellBytes(row) + (CellBytes(headings) + 6) + 8;
    std::string text;
    text.reserve(bytes);
    text += "[\n";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        text += "  {";
        for (std::size_t c = 0; c < headings.size(); ++c) {
            if (c != 0) text += ", ";
            AppendJsonString(text, headings[c]);
            text += ": ";
            AppendJsonString(text, c < rows[r].size() ? rows[r][c] : kNoCell);
        }
        text += r + 1 < rows.size() ? "},\n" : "}\n";
    }
    text += "]\n";
    return text;
}

}  // namespace

std::string CsvField(const std::string& text)
{
    std::string out;
    AppendCsvField(out, text);
    return out;
}

std::string JsonString(const std::string& utf8)
{
    std::string out;
    AppendJsonString(out, utf8);
    return out;
}

std::string FormatRows(const std::vector<std::string>& headings, const std::vector<std::vector<std::string>>& rows,
                       OutputFormat format)
{
    switch (format) {
    case OutputFormat::Csv: return Delimited(headings, rows, ',', AppendCsvField, "\r\n");
    case OutputFormat::Json: return Json(headings, rows);
    case OutputFormat::Tsv: break;
    }
    return Delimited(headings, rows, '\t', AppendTsvField, "\n");
}

PrintedTable PrintedTableOf(const ResultTable& table, const ExtraColumns& extra)
{
    PrintedTable printed;
    printed.Headings.assign(table.Headings.begin(), table.Headings.end());
    printed.Headings.insert(printed.Headings.end(), extra.Headings.begin(), extra.Headings.end());
    printed.Rows.reserve(table.Rows.size());
    for (std::size_t r = 0; r < table.Rows.size(); ++r) {
        std::vector<std::string>& cells = printed.Rows.emplace_back();
        cells.reserve(printed.Headings.size());
        for (std::size_t c = 0; c < kResultColumns; ++c) {
            if (table.Hidden[c])
                cells.emplace_back();
            else
                cells.push_back(table.Rows[r][c]);
        }
        if (r < extra.Rows.size()) cells.insert(cells.end(), extra.Rows[r].begin(), extra.Rows[r].end());
        cells.resize(printed.Headings.size());
    }
    return printed;
}

std::string FormatTable(const ResultTable& table, OutputFormat format, const ExtraColumns& extra)
{
    const PrintedTable printed = PrintedTableOf(table, extra);
    return FormatRows(printed.Headings, printed.Rows, format);
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
