#include "host_variable.h"

#include "uf.h"

std::optional<std::string> directory_variable(const char* name) {
    char* value = nullptr;
    UF_translate_variable(name, &value);
    // The text belongs to the host: copied, never freed.
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}
