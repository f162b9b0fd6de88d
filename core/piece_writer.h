// Writes a file's pieces on a thread of its own, taking each one's part of the
// content's hash (content_hash) before it goes out, while the next piece is
// being made: the write system calls and the hash's serial chain then take no
// time of the formatting. Pieces go out in the order given, and after a piece
// is refused no other is written.
//
//   PieceWriter out(write);
//   while (...) { ...fill piece up to used...; if (!out.pass(piece, used)) break; }
//   const bool written = out.finish(content_hash);
//
// Where no thread can be started, each piece is written as it is passed.
#pragma once

#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "content_hash.h"

class PieceWriter {
public:
    explicit PieceWriter(std::function<bool(std::string_view)> write);
    ~PieceWriter();
    PieceWriter(const PieceWriter&) = delete;
    PieceWriter& operator=(const PieceWriter&) = delete;

    // Hands over the piece's first used bytes and gives back, in piece, storage
    // to fill next. False, errno set, once a piece has been refused.
    bool pass(std::string& piece, std::size_t used);
    // Waits until every piece is out; false, errno set, when one was refused,
    // else content_hash is that of the pieces passed, joined.
    bool finish(std::uint64_t& content_hash);

private:
    void write_pieces();
    bool write_one(const std::string& piece, std::size_t used);

    std::function<bool(std::string_view)> write_;
    ContentStreamHash hash_;  // taken by the thread that writes
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string waiting_;  // a piece passed and not yet taken up for writing
    std::size_t waiting_used_ = 0;
    bool has_waiting_ = false;
    bool refused_ = false;
    int refusal_errno_ = 0;
    bool finishing_ = false;
    std::thread thread_;
};
