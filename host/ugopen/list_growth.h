// Room for a list that is filled one line at a time with no count known
// beforehand, as a plug-in fills its dialog's list. Doubling would copy the
// lines at every step and touch fresh pages for each copy; past a few thousand
// lines the room grows eightfold instead. Room never used is address space,
// not memory. The steps land on the powers of two that doubling reaches, so the
// largest block freed, which sets how large a block the allocator still maps on
// its own, stays as it was.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

template <class T>
void make_room_for_one_more(std::vector<T>& lines) {
    constexpr std::size_t few = 4096;
    constexpr std::size_t first_step = std::size_t{1} << 17;
    if (lines.size() < lines.capacity() || lines.size() < few) return;
    lines.reserve(std::max(first_step, 8 * lines.capacity()));
}
