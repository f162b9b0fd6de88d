// Large buffers that a load fills at once: backed by 2 MiB pages where the
// system allows it, each one page fault instead of 512.
#pragma once

#include <cstddef>

// Asks for huge pages for the whole 2 MiB pages inside the bytes at start. Only
// pages not yet touched are affected; the bytes stay as they are, and a system
// that refuses leaves everything as it was.
void prefer_huge_pages(const void* start, std::size_t bytes);
