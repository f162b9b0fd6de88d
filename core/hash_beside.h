// The content_hash of bytes, taken on a thread of its own while the caller goes
// through them: the hash is one serial chain of multiplications through the
// whole file, as long as a quarter of reading its rows. Where no thread can be
// started it is taken when asked for. The bytes must stay as they are until
// value() has returned or the object is gone.
#pragma once

#include <cstdint>
#include <future>
#include <string_view>
#include <system_error>

#include "content_hash.h"

class HashBeside {
public:
    explicit HashBeside(std::string_view bytes) : bytes_(bytes) {
        try {
            hashing_ = std::async(std::launch::async, [bytes] { return content_hash(bytes); });
        } catch (const std::system_error&) {
            // Taken in value(), on the caller's thread.
        }
    }

    std::uint64_t value() { return hashing_.valid() ? hashing_.get() : content_hash(bytes_); }

private:
    std::string_view bytes_;
    std::future<std::uint64_t> hashing_;
};
