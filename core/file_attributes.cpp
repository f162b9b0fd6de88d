#include "file_attributes.h"

#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

#include "file_system.h"

namespace {

bool unsupported(int error) { return error == ENOTSUP; }

// Asks with size 0 for the size, then for the bytes; an attribute that grew in
// between is asked for again.
template <class Ask>
bool read_sized(Ask&& ask, std::string& bytes) {
    for (;;) {
        const ssize_t size = ask(nullptr, 0);
        if (size < 0) return false;
        bytes.resize(static_cast<std::size_t>(size));
        const ssize_t got = ask(bytes.data(), bytes.size());
        if (got >= 0) {
            bytes.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE) return false;
    }
}

// The names of fd's attributes; none on a file system without them.
bool attribute_names(int fd, std::vector<std::string>& names) {
    std::string list;
    const auto ask = [fd](char* into, std::size_t size) { return file_system::flistxattr(fd, into, size); };
    if (!read_sized(ask, list)) return unsupported(errno);
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t end = list.find('\0', at);
        const std::size_t stop = end == std::string::npos ? list.size() : end;
        if (stop > at) names.emplace_back(list, at, stop - at);
        at = stop + 1;
    }
    return true;
}

}  // namespace

bool copy_extended_attributes(int from, int to) {
    std::vector<std::string> wanted;
    std::vector<std::string> present;
    if (!attribute_names(from, wanted) || !attribute_names(to, present)) return false;
    for (const std::string& name : present) {
        bool kept = false;
        for (const std::string& other : wanted) kept = kept || other == name;
        if (!kept && file_system::fremovexattr(to, name.c_str()) != 0) return false;
    }
    std::string value;
    for (const std::string& name : wanted) {
        const auto ask = [&](char* into, std::size_t size) { return file_system::fgetxattr(from, name.c_str(), into, size); };
        if (!read_sized(ask, value)) return false;
        if (file_system::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0) return false;
    }
    return true;
}
