// The lines of a list, or the entries of an option list, as UTF-8, kept in
// blocks of text with each line's place in them. A list of a million rows
// would otherwise hold a million strings, each its own allocation, made on
// every refill and freed on every emptying. An emptied list keeps its blocks
// for the refill that follows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ughost {

class ListLines {
public:
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        const_iterator(const ListLines* lines, std::size_t at) : lines_(lines), at_(at) {}
        std::string_view operator*() const { return (*lines_)[at_]; }
        const_iterator& operator++() {
            ++at_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++at_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return at_ == other.at_; }

    private:
        const ListLines* lines_ = nullptr;
        std::size_t at_ = 0;
    };

    ListLines() = default;
    ListLines(std::initializer_list<std::string_view> lines);
    explicit ListLines(const std::vector<std::string>& lines);
    ListLines(ListLines&&) noexcept = default;
    ListLines& operator=(ListLines&&) noexcept = default;
    ListLines(const ListLines& other);
    ListLines& operator=(const ListLines& other);

    std::size_t size() const { return places_.size(); }
    bool empty() const { return places_.empty(); }
    std::string_view operator[](std::size_t line) const {
        const Place& place = places_[line];
        return {blocks_[place.block].text.get() + place.offset, place.size};
    }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, places_.size()}; }

    // Appends a line whose text write appends to the std::string it is given,
    // e.g. a conversion from another code page. The text is gathered in a
    // reused string and copied once into the blocks.
    template <class Write>
    void push_back_written(Write&& write) {
        gathered_.clear();
        write(gathered_);
        push_back(gathered_);
    }
    template <class Write>
    void insert_written(std::size_t at, Write&& write) {
        gathered_.clear();
        write(gathered_);
        insert(at, gathered_);
    }
    void push_back(std::string_view line);
    void insert(std::size_t at, std::string_view line);
    void erase(std::size_t at);
    // Leaves no line, keeping the blocks for the lines that come next.
    void clear();
    // Gives back the blocks no line lies in.
    void release_unused();

    bool operator==(const std::vector<std::string>& lines) const;

private:
    static constexpr std::size_t block_size = std::size_t{1} << 20;

    struct Block {
        std::unique_ptr<char[]> text;
        std::size_t capacity = 0;
        std::size_t used = 0;
    };
    struct Place {
        std::uint32_t block = 0;
        std::uint32_t offset = 0;
        std::uint32_t size = 0;
    };

    // Copies the line into the blocks and says where it went.
    Place store(std::string_view line);
    // Writes the lines again, in order, into as few blocks as they need, when
    // most of the text belongs to lines erased.
    void compact_if_mostly_erased();

    std::vector<Block> blocks_;
    std::vector<Place> places_;
    std::size_t current_ = 0;      // the block new lines go into
    std::size_t erased_bytes_ = 0;  // text of erased lines still in the blocks
    std::string gathered_;
};

}  // namespace ughost
