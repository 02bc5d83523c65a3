#include "engine/TextFile.h"

#include "engine/TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
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

// The size the file says it has; 0 when it cannot say (a pipe).
std::size_t ExpectedSize(std::FILE* file)
{
    if (std::fseek(file, 0, SEEK_END) != 0) return 0;
    const long size = std::ftell(file);
    std::rewind(file);
    return size > 0 ? static_cast<std::size_t>(size) : 0;
}

// A block twice the size with the first `used` bytes of the old one.
bool Grow(LargeBuffer& buffer, std::size_t used)
{
    LargeBuffer bigger = LargeBuffer::Allocate(buffer.size() * 2);
    if (bigger.empty()) return false;
    std::memcpy(bigger.data(), buffer.data(), used);
    buffer = std::move(bigger);
    return true;
}

// The file is read in pieces this large, each checked for plain ASCII while
// its bytes are still in the processor's cache, instead of walking the whole
// text again from memory after the read.
constexpr std::size_t kPiece = std::size_t{256} << 10;

// The file's bytes into one block, with `checked` in pieces of kPiece
// bytes, each checked for plain ASCII (`ascii`) while still in cache;
// unchecked in one read.
TextRead ReadBytes(const std::string& path, bool checked, bool& ascii)
{
    TextRead result;
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
    // The bytes go straight into the block, which is one byte larger than
    // the file says, so that the read that finds its end finds room.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    LargeBuffer text = LargeBuffer::Allocate(ExpectedSize(file.get()) + 1 + (1 << 12));
    std::size_t used = 0;
    ascii = true;
    for (;;) {
        if (text.empty() || (used == text.size() && !Grow(text, used))) {
            result.Error = Failure(path, std::errc::not_enough_memory);
            return result;
        }
        const std::size_t wanted = checked ? std::min(kPiece, text.size() - used) : text.size() - used;
        const std::size_t got = std::fread(text.data() + used, 1, wanted, file.get());
        if (checked) ascii = ascii && IsAscii(std::string_view(text.data() + used, got));
        used += got;
        if (got < wanted) {
            if (std::ferror(file.get())) {
                result.Error = Failure(path, LastError());
                return result;
            }
            if (std::feof(file.get()) || got == 0) break;
        }
    }
    text.Shrink(used);
    result.Text = std::move(text);
    return result;
}

}  // namespace

// The program holds its text as UTF-8 (see TextEncoding.h). Plain ASCII, the
// usual case, stays where it was read; other text is decoded once here, so
// that every reader of a data file sees the same characters.
bool HoldAsProgramText(LargeBuffer& text)
{
    const std::string_view bytes(text.data(), text.size());
    const std::string decoded = DecodeFileText(std::string(bytes));
    if (decoded == bytes) return true;
    LargeBuffer held = LargeBuffer::Allocate(decoded.size() + 1);
    if (held.empty()) return false;
    std::memcpy(held.data(), decoded.data(), decoded.size());
    held.Shrink(decoded.size());
    text = std::move(held);
    return true;
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    ForEachLine(text, [&](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

TextRead ReadTextFile(const std::string& path)
{
    bool ascii = true;
    TextRead result = ReadBytes(path, true, ascii);
    if (!result.Error && !ascii && !HoldAsProgramText(result.Text)) {
        result.Text = LargeBuffer();
        result.Error = Failure(path, std::errc::not_enough_memory);
    }
    return result;
}

TextRead ReadFileBytes(const std::string& path)
{
    bool ascii = true;
    return ReadBytes(path, false, ascii);
}

TextLines ReadTextLines(const std::string& path)
{
    TextRead read = ReadTextFile(path);
    TextLines result;
    if (read.Error) {
        result.Error = std::move(read.Error);
        return result;
    }
    result.Lines = SplitLines(read.View());
    return result;
}

bool IsPresentFile(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec) && !std::filesystem::is_directory(path, ec);
}

}  // namespace quillon
