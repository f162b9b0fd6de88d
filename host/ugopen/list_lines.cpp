#include "list_lines.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "list_growth.h"

namespace ughost {
namespace {

std::uint32_t narrowed(std::size_t number) {
    if (number > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("list line or list too long");
    return static_cast<std::uint32_t>(number);
}

}  // namespace

ListLines::ListLines(std::initializer_list<std::string_view> lines) {
    for (const std::string_view line : lines) push_back(line);
}

ListLines::ListLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) push_back(line);
}

ListLines::ListLines(const ListLines& other) {
    for (const std::string_view line : other) push_back(line);
}

ListLines& ListLines::operator=(const ListLines& other) {
    if (this != &other) {
        ListLines copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void ListLines::push_back(std::string_view line) {
    const Place place = store(line);
    make_room_for_one_more(places_);
    places_.push_back(place);
}

void ListLines::insert(std::size_t at, std::string_view line) {
    const Place place = store(line);
    make_room_for_one_more(places_);
    places_.insert(places_.begin() + static_cast<std::ptrdiff_t>(at), place);
}

void ListLines::erase(std::size_t at) {
    erased_bytes_ += places_[at].size;
    places_.erase(places_.begin() + static_cast<std::ptrdiff_t>(at));
    compact_if_mostly_erased();
}

void ListLines::clear() {
    places_.clear();
    for (Block& block : blocks_) block.used = 0;
    current_ = 0;
    erased_bytes_ = 0;
}

void ListLines::release_unused() {
    if (places_.empty()) {
        std::vector<Place>().swap(places_);
        blocks_.clear();
        current_ = 0;
        return;
    }
    // Every block past the current one is empty.
    blocks_.resize(current_ + 1);
}

bool ListLines::operator==(const std::vector<std::string>& lines) const {
    return size() == lines.size() && std::equal(begin(), end(), lines.begin());
}

ListLines::Place ListLines::store(std::string_view line) {
    const std::uint32_t size = narrowed(line.size());
    const bool fits = current_ < blocks_.size() && blocks_[current_].capacity - blocks_[current_].used >= size;
    if (!fits) {
        // The blocks past the current one are empty: the next one takes the
        // line if it is large enough, else a new one goes in its place.
        const std::size_t next = blocks_.empty() ? 0 : current_ + 1;
        if (next >= blocks_.size() || blocks_[next].capacity < size) {
            Block block;
            block.capacity = std::max(block_size, line.size());
            block.text = std::make_unique_for_overwrite<char[]>(block.capacity);
            blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(next), std::move(block));
        }
        current_ = next;
    }
    Block& block = blocks_[current_];
    const Place place{narrowed(current_), narrowed(block.used), size};
    if (size != 0) std::memcpy(block.text.get() + block.used, line.data(), size);
    block.used += size;
    return place;
}

void ListLines::compact_if_mostly_erased() {
    std::size_t stored = 0;
    for (const Block& block : blocks_) stored += block.used;
    if (erased_bytes_ < block_size || 2 * erased_bytes_ < stored) return;
    ListLines compacted(*this);
    *this = std::move(compacted);
}

}  // namespace ughost
