#include "huge_pages.h"

#include <sys/mman.h>

#include <cstdint>

void prefer_huge_pages(const void* start, std::size_t bytes) {
    constexpr std::uintptr_t huge_page = std::uintptr_t{1} << 21;
    const auto from = (reinterpret_cast<std::uintptr_t>(start) + huge_page - 1) & ~(huge_page - 1);
    const auto to = (reinterpret_cast<std::uintptr_t>(start) + bytes) & ~(huge_page - 1);
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}
