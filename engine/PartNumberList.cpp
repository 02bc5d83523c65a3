#include "engine/PartNumberList.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace quillon {

std::size_t PartNumberList::Count() const
{
    Word count = 0;
    std::memcpy(&count, Block(), sizeof count);
    return count;
}

PartNumberList::Word PartNumberList::EndAt(std::size_t index) const
{
    Word end = 0;
    std::memcpy(&end, Block() + sizeof(Word) * (1 + index), sizeof end);
    return end;
}

std::size_t PartNumberList::Bytes() const
{
    const std::size_t count = Count();
    return count == 0 ? sizeof(Word) : sizeof(Word) * (1 + count) + EndAt(count - 1);
}

PartNumberList PartNumberList::Of(const std::string_view* partNumbers, std::size_t count)
{
    PartNumberList list;
    list.Assign(partNumbers, count);
    return list;
}

namespace {

// Exactly n bytes, for the short texts part numbers are: two overlapping
// word copies instead of a call.
inline void CopyBytes(void* to, const char* from, std::size_t n)
{
    auto* const out = static_cast<unsigned char*>(to);
    auto copy = [&](std::size_t at, auto word) {
        std::memcpy(&word, from + at, sizeof word);
        std::memcpy(out + at, &word, sizeof word);
    };
    if (n >= 8) {
        if (n > 16) {
            std::memcpy(out, from, n);
        } else {
            copy(0, std::uint64_t{});
            copy(n - 8, std::uint64_t{});
        }
    } else if (n >= 4) {
        copy(0, std::uint32_t{});
        copy(n - 4, std::uint32_t{});
    } else {
        for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(from[i]);
    }
}

}  // namespace

void PartNumberList::Assign(const std::string_view* partNumbers, std::size_t count)
{
    delete[] Block();
    bytes_[kTag] = 0;  // empty until the new part numbers are in
    if (count == 0) return;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < count; ++i) characters += partNumbers[i].size();
    if (count + characters <= kTag) {  // a byte for each end offset, then the characters
        std::size_t end = 0;
        for (std::size_t i = 0; i < count; ++i) {
            CopyBytes(bytes_ + count + end, partNumbers[i].data(), partNumbers[i].size());
            end += partNumbers[i].size();
            bytes_[i] = static_cast<unsigned char>(end);
        }
        bytes_[kTag] = static_cast<unsigned char>(count);
        return;
    }
    // Far beyond any file line; the offsets are 32 bits.
    if (count >= std::numeric_limits<Word>::max() / 2 || characters >= std::numeric_limits<Word>::max() / 2)
        throw std::length_error("part numbers too long");
    const std::size_t head = sizeof(Word) * (1 + count);
    char* const block = new char[head + characters];
    const auto words = static_cast<Word>(count);
    std::memcpy(block, &words, sizeof words);
    Word end = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!partNumbers[i].empty()) std::memcpy(block + head + end, partNumbers[i].data(), partNumbers[i].size());
        end += static_cast<Word>(partNumbers[i].size());
        std::memcpy(block + sizeof(Word) * (1 + i), &end, sizeof end);
    }
    std::memcpy(bytes_, &block, sizeof block);
    bytes_[kTag] = kInBlock;
}

PartNumberList::PartNumberList(const PartNumberList& other)
{
    std::memcpy(bytes_, other.bytes_, kBytes);
    if (!other.InBlock()) return;
    const std::size_t bytes = other.Bytes();
    char* const block = new char[bytes];
    std::memcpy(block, other.Block(), bytes);
    std::memcpy(bytes_, &block, sizeof block);
}

PartNumberList& PartNumberList::operator=(const PartNumberList& other)
{
    if (this != &other) *this = PartNumberList(other);
    return *this;
}

std::string_view PartNumberList::View(std::size_t index) const
{
    if (!InBlock()) {
        const std::size_t count = bytes_[kTag];
        const std::size_t begin = index == 0 ? 0 : bytes_[index - 1];
        return {reinterpret_cast<const char*>(bytes_) + count + begin, bytes_[index] - begin};
    }
    const std::size_t count = Count();
    const std::size_t begin = index == 0 ? 0 : EndAt(index - 1);
    return {Block() + sizeof(Word) * (1 + count) + begin, EndAt(index) - begin};
}

std::string PartNumberList::at(std::size_t index) const
{
    if (index >= size()) throw std::out_of_range("PartNumberList::at");
    return (*this)[index];
}

void PartNumberList::push_back(std::string_view partNumber)
{
    std::vector<std::string_view> all;
    all.reserve(size() + 1);
    for (std::size_t i = 0; i < size(); ++i) all.push_back(View(i));
    all.push_back(partNumber);
    *this = Of(all.data(), all.size());  // the views into the old block are read before it goes
}

bool operator==(const PartNumberList& a, const PartNumberList& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a.View(i) != b.View(i)) return false;
    return true;
}

bool operator==(const PartNumberList& a, const std::vector<std::string>& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a.View(i) != b[i]) return false;
    return true;
}

}  // namespace quillon
