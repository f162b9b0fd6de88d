// A fast 64-bit hash for telling whether content has changed (not for anything
// an adversary might choose).
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

class ContentHash {
public:
    void add(std::string_view bytes) {
        std::size_t at = 0;
        for (; at + sizeof(std::uint64_t) <= bytes.size(); at += sizeof(std::uint64_t)) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + at, sizeof word);
            mix(word);
        }
        std::uint64_t tail = 0;
        std::memcpy(&tail, bytes.data() + at, bytes.size() - at);
        mix(tail ^ (static_cast<std::uint64_t>(bytes.size()) << 56));
    }
    void add(double number) {
        std::uint64_t word;
        std::memcpy(&word, &number, sizeof word);
        mix(word);
    }
    std::uint64_t value() const { return state_; }

private:
    void mix(std::uint64_t word) {
        state_ = (state_ ^ word) * 0x9E3779B97F4A7C15ULL;
        state_ ^= state_ >> 29;
    }
    std::uint64_t state_ = 0xCBF29CE484222325ULL;
};

inline std::uint64_t content_hash(std::string_view bytes) {
    ContentHash hash;
    hash.add(bytes);
    return hash.value();
}
