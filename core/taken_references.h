// The references a table's rows hold, gathered once for handing out a new one:
// whether a reference is taken is then known without a walk of the table.
// An open-addressed table of row numbers, so gathering a large table's
// references allocates once rather than once per row.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "command_set.h"

class TakenReferences {
public:
    // The table must stay unchanged while this is in use.
    explicit TakenReferences(const EditorTable& table);
    bool contains(std::string_view reference) const;

private:
    std::size_t first_place(std::string_view reference) const;

    const EditorTable& table_;
    // Row number + 1 at the place its reference hashes to (or the next free
    // one after it); 0 where there is none.
    std::vector<std::uint32_t> places_;
    std::size_t mask_ = 0;
};
