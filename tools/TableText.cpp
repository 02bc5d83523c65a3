#include "tools/TableText.h"

#include <cstdio>

namespace quillon::tool {
namespace {

// A tab inside a cell would shift every later column of the line.
std::string TsvField(std::string text)
{
    for (char& c : text)
        if (c == '\t') c = ' ';
    return text;
}

template <typename Field>
std::string DelimitedLine(const std::vector<std::string>& cells, char separator, Field&& field, const char* lineEnd)
{
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (c != 0) line += separator;
        line += field(cells[c]);
    }
    return line + lineEnd;
}

template <typename Field>
std::string Delimited(const std::vector<std::string>& headings, const std::vector<std::vector<std::string>>& rows,
                      char separator, Field&& field, const char* lineEnd)
{
    std::string text = DelimitedLine(headings, separator, field, lineEnd);
    for (const std::vector<std::string>& row : rows) text += DelimitedLine(row, separator, field, lineEnd);
    return text;
}

std::string Json(const std::vector<std::string>& headings, const std::vector<std::vector<std::string>>& rows)
{
    if (rows.empty()) return "[]\n";
    std::string text = "[\n";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        text += "  {";
        for (std::size_t c = 0; c < headings.size(); ++c) {
            if (c != 0) text += ", ";
            text += JsonString(headings[c]) + ": " + JsonString(c < rows[r].size() ? rows[r][c] : std::string());
        }
        text += r + 1 < rows.size() ? "},\n" : "}\n";
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

std::string JsonString(const std::string& latin1)
{
    std::string out = "\"";
    for (char ch : latin1) {
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
            } else if (c < 0x80) {
                out += ch;
            } else {
                // Latin-1 code points U+0080..U+00FF take two UTF-8 bytes.
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
    }
    return out + '"';
}

std::string FormatRows(const std::vector<std::string>& headings, const std::vector<std::vector<std::string>>& rows,
                       OutputFormat format)
{
    switch (format) {
    case OutputFormat::Csv: return Delimited(headings, rows, ',', CsvField, "\r\n");
    case OutputFormat::Json: return Json(headings, rows);
    case OutputFormat::Tsv: break;
    }
    return Delimited(headings, rows, '\t', TsvField, "\n");
}

std::string FormatTable(const ResultTable& table, OutputFormat format, const ExtraColumns& extra)
{
    std::vector<std::string> headings(table.Headings.begin(), table.Headings.end());
    headings.insert(headings.end(), extra.Headings.begin(), extra.Headings.end());
    std::vector<std::vector<std::string>> rows;
    for (std::size_t r = 0; r < table.Rows.size(); ++r) {
        std::vector<std::string> cells;
        for (std::size_t c = 0; c < kResultColumns; ++c)
            cells.push_back(table.Hidden[c] ? std::string() : table.Rows[r][c]);
        if (r < extra.Rows.size()) cells.insert(cells.end(), extra.Rows[r].begin(), extra.Rows[r].end());
        cells.resize(headings.size());
        rows.push_back(std::move(cells));
    }
    return FormatRows(headings, rows, format);
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
