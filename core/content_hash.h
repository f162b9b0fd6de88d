// A fast 64-bit hash for telling whether content has changed (not for anything
// an adversary might choose).
#pragma once

#include <algorithm>
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
        // An empty view may have no bytes at all to point at.
        if (at != bytes.size()) std::memcpy(&tail, bytes.data() + at, bytes.size() - at);
        mix(tail ^ (static_cast<std::uint64_t>(bytes.size()) << 56));
    }
    void add(double number) {
        std::uint64_t word;
        std::memcpy(&word, &number, sizeof word);
        mix(word);
    }
    std::uint64_t value() const { return state_; }

private:
    friend class ContentStreamHash;
    void mix(std::uint64_t word) {
        state_ = (state_ ^ word) * 0x9E3779B97F4A7C15ULL;
        state_ ^= state_ >> 29;
    }
    std::uint64_t state_ = 0xCBF29CE484222325ULL;
};

// The content_hash of pieces joined, taken piece by piece: a file written in
// pieces is never held whole to be hashed.
class ContentStreamHash {
public:
    void add(std::string_view bytes) {
        total_ += bytes.size();
        while (held_ != 0 && !bytes.empty()) hold(bytes);
        for (; bytes.size() >= sizeof(std::uint64_t); bytes.remove_prefix(sizeof(std::uint64_t))) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data(), sizeof word);
            hash_.mix(word);
        }
        while (!bytes.empty()) hold(bytes);
    }
    std::uint64_t value() const {
        ContentHash done = hash_;
        done.mix(word_ ^ (static_cast<std::uint64_t>(total_) << 56));
        return done.value();
    }

private:
    // Takes bytes into the word being gathered until it is whole or they run out.
    void hold(std::string_view& bytes) {
        const std::size_t take = std::min(bytes.size(), sizeof(std::uint64_t) - held_);
        std::memcpy(reinterpret_cast<char*>(&word_) + held_, bytes.data(), take);
        held_ += take;
        bytes.remove_prefix(take);
        if (held_ == sizeof(std::uint64_t)) {
            hash_.mix(word_);
            word_ = 0;
            held_ = 0;
        }
    }

    ContentHash hash_;
    std::uint64_t word_ = 0;
    std::size_t held_ = 0;
    std::size_t total_ = 0;
};

inline std::uint64_t content_hash(std::string_view bytes) {
    ContentHash hash;
    hash.add(bytes);
    return hash.value();
}
