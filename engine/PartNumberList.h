#pragma once
// The part numbers of one connector option, in file order, held in one small
// block: a large catalogue has millions of them, and a vector of strings
// costs several times the characters it holds.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class PartNumberList {
public:
    PartNumberList() = default;
    PartNumberList(const PartNumberList& other);
    PartNumberList(PartNumberList&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    PartNumberList& operator=(const PartNumberList& other);
    PartNumberList& operator=(PartNumberList&& other) noexcept;
    ~PartNumberList() { delete[] block_; }

    // The list holding exactly these part numbers, in this order.
    static PartNumberList Of(const std::string_view* partNumbers, std::size_t count);

    std::size_t size() const { return block_ == nullptr ? 0 : Count(); }
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
    // The block: the count, the end offset of each part number, then their characters.
    using Word = std::uint32_t;
    std::size_t Count() const;
    Word EndAt(std::size_t index) const;
    std::size_t Bytes() const;

    char* block_ = nullptr;
};

}  // namespace quillon
