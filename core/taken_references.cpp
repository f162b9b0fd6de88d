#include "taken_references.h"

#include <functional>

TakenReferences::TakenReferences(const EditorTable& table) : table_(table) {
    // At most half full, so a search meets a free place within a few steps.
    std::size_t size = 16;
    while (size < 2 * table.size()) size *= 2;
    places_.assign(size, 0);
    mask_ = size - 1;
    for (std::size_t row = 0; row < table.size(); ++row) {
        std::size_t place = first_place(table.reference(row));
        while (places_[place] != 0) place = (place + 1) & mask_;
        places_[place] = static_cast<std::uint32_t>(row + 1);
    }
}

bool TakenReferences::contains(std::string_view reference) const {
    for (std::size_t place = first_place(reference); places_[place] != 0; place = (place + 1) & mask_) {
        if (table_.reference(places_[place] - 1) == reference) return true;
    }
    return false;
}

std::size_t TakenReferences::first_place(std::string_view reference) const {
    return std::hash<std::string_view>()(reference) & mask_;
}
