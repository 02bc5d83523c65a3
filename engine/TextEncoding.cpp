#include "engine/TextEncoding.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon {
namespace {

// Windows-1252 bytes 0x80..0x9F; the rest of the upper half is Latin-1. The
// unassigned bytes keep their own code points.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The length of the well-formed sequence at bytes[i], 0 when there is none.
std::size_t SequenceLength(std::string_view bytes, std::size_t i)
{
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogate halves
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > bytes.size()) return 0;
    if (at(i + 1) < low || at(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k)
        if ((at(i + k) & 0xC0) != 0x80) return 0;
    return length;
}

char32_t DecodeSequence(std::string_view bytes, std::size_t i, std::size_t length)
{
    const auto at = [&](std::size_t k) { return static_cast<char32_t>(static_cast<unsigned char>(bytes[k])); };
    if (length == 1) return at(i);
    char32_t code = at(i) & (0xFF >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (at(i + k) & 0x3F);
    return code;
}

}  // namespace

// Sixty-four bytes at a time where SSE2 is, eight elsewhere: most files are
// plain ASCII and need nothing more, and the reader checks each piece of a
// file while it is still in cache.
bool IsAscii(std::string_view bytes)
{
    const char* p = bytes.data();
    std::size_t n = bytes.size();
#if defined(__SSE2__)
    auto load = [](const char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); };
    __m128i high16 = _mm_setzero_si128();
    for (; n >= 64; p += 64, n -= 64)
        high16 = _mm_or_si128(high16, _mm_or_si128(_mm_or_si128(load(p), load(p + 16)), _mm_or_si128(load(p + 32), load(p + 48))));
    if (_mm_movemask_epi8(high16) != 0) return false;
#endif
    std::uint64_t high = 0;
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, 8);
        high |= word;
    }
    for (; n > 0; ++p, --n) high |= static_cast<unsigned char>(*p);
    return (high & 0x8080808080808080ULL) == 0;
}

bool IsValidUtf8(std::string_view bytes)
{
    if (IsAscii(bytes)) return true;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = SequenceLength(bytes, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            out += c;
        else if (byte < 0xA0)
            AppendUtf8(out, kHighControls[byte - 0x80]);
        else
            AppendUtf8(out, byte);
    }
    return out;
}

std::string DecodeFileText(std::string bytes)
{
    if (IsAscii(bytes)) return bytes;
    if (std::string_view(bytes).starts_with(kByteOrderMark) &&
        IsValidUtf8(std::string_view(bytes).substr(kByteOrderMark.size())))
        return bytes.substr(kByteOrderMark.size());
    if (IsValidUtf8(bytes)) return bytes;
    return Windows1252ToUtf8(bytes);
}

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8)
{
    if (IsAscii(utf8)) return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = SequenceLength(utf8, i);
        if (length == 0) return std::nullopt;
        const char32_t code = DecodeSequence(utf8, i, length);
        i += length;
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            out += static_cast<char>(code);
            continue;
        }
        bool placed = false;
        for (int k = 0; k < 32 && !placed; ++k) {
            if (kHighControls[k] == code) {
                out += static_cast<char>(0x80 + k);
                placed = true;
            }
        }
        if (!placed) return std::nullopt;
    }
    return out;
}

std::string EightBitWherePossible(std::string_view utf8)
{
    if (std::optional<std::string> eightBit = Utf8ToWindows1252(utf8)) return std::move(*eightBit);
    return std::string(utf8);
}

}  // namespace quillon
