#pragma once
// The part numbers of one connector option, in file order, held in the
// object itself when they are short (as most are) and otherwise in one small
// block: a large catalogue has millions of them, and a vector of strings
// costs several times the characters it holds, a block of its own a memory
// request of its own.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class PartNumberList {
public:
    PartNumberList() = default;
    PartNumberList(const PartNumberList& other);
    PartNumberList(PartNumberList&& other) noexcept { TakeFrom(other); }
    PartNumberList& operator=(const PartNumberList& other);
    PartNumberList& operator=(PartNumberList&& other) noexcept
    {
        if (this != &other) {
            delete[] Block();
            TakeFrom(other);
        }
        return *this;
    }
    ~PartNumberList() { delete[] Block(); }

    // The list holding exactly these part numbers, in this order.
    static PartNumberList Of(const std::string_view* partNumbers, std::size_t count);
    // The same written into this list in place, in place of what it held (a
    // record's list filled where it stands, not built aside and moved in).
    // The part numbers must not be views into this list.
    void Assign(const std::string_view* partNumbers, std::size_t count);

    std::size_t size() const { return InBlock() ? Count() : bytes_[kTag]; }
    bool empty() const { return size() == 0; }
    std::string_view View(std::size_t index) const;
    // Copies, as the callers that keep a part number want them.
    std::string operator[](std::size_t index) const { return std::string(View(index)); }
    std::string at(std::size_t index) const;  // std::out_of_range past the end
    std::string front() const { return (*this)[0]; }
    void push_back(std::string_view partNumber);

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string;

        const_iterator() = default;
        const_iterator(const PartNumberList* list, std::size_t index) : list_(list), index_(index) {}
        std::string operator*() const { return (*list_)[index_]; }
        const_iterator& operator++() { return ++index_, *this; }
        const_iterator operator++(int) { const_iterator was = *this; ++index_; return was; }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

    private:
        const PartNumberList* list_ = nullptr;
        std::size_t index_ = 0;
    };
    using iterator = const_iterator;
    using value_type = std::string;

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    friend bool operator==(const PartNumberList& a, const PartNumberList& b);
    friend bool operator==(const PartNumberList& a, const std::vector<std::string>& b);

private:
    // In the object: the end offset of each part number (a byte each), then
    // their characters; the count in the last byte. In a block: the count,
    // the end offset of each part number (a word each), then their
    // characters; the block's address in the first bytes, kInBlock in the last.
    // 44: in a connector, the list and the count after it then end on the
    // record's 16-byte boundary, so the room costs no padding.
    static constexpr std::size_t kBytes = 44;
    static constexpr std::size_t kTag = kBytes - 1;
    static constexpr unsigned char kInBlock = 0xFF;
    using Word = std::uint32_t;
    bool InBlock() const { return bytes_[kTag] == kInBlock; }
    char* Block() const  // nullptr when the part numbers are in the object
    {
        char* block = nullptr;
        if (InBlock()) std::memcpy(&block, bytes_, sizeof block);
        return block;
    }
    std::size_t Count() const;
    Word EndAt(std::size_t index) const;
    std::size_t Bytes() const;
    void TakeFrom(PartNumberList& other) noexcept  // other is left empty
    {
        std::memcpy(bytes_, other.bytes_, kBytes);
        other.bytes_[kTag] = 0;  // the block, if any, is this list's now
    }

    unsigned char bytes_[kBytes] = {};
};

}  // namespace quillon
