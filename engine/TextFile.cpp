#include "engine/TextFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace quillon {
namespace {

FileError Failure(const std::string& path, std::errc error)
{
    return {path, std::make_error_code(error).message()};
}

// The reason errno gives, or a general one when the library set none.
std::errc LastError() { return errno != 0 ? static_cast<std::errc>(errno) : std::errc::io_error; }

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < n) lines.emplace_back(text.substr(start));
    return lines;
}

TextLines ReadTextLines(const std::string& path)
{
    TextLines result;
    std::error_code ec;
    // Opening a folder succeeds on some systems; reading it never gives text.
    if (std::filesystem::is_directory(path, ec)) {
        result.Error = Failure(path, std::errc::is_a_directory);
        return result;
    }
    errno = 0;
    const std::unique_ptr<std::FILE, CloseFile> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        result.Error = Failure(path, LastError());
        return result;
    }
    std::string content;
    char buffer[1 << 16];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        content.append(buffer, got);
        if (got < sizeof buffer) break;
    }
    if (std::ferror(file.get())) {
        result.Error = Failure(path, LastError());
        return result;
    }
    result.Lines = SplitLines(content);
    return result;
}

bool IsPresentFile(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec) && !std::filesystem::is_directory(path, ec);
}

}  // namespace quillon
