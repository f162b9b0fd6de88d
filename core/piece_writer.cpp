#include "piece_writer.h"

#include <system_error>
#include <utility>

PieceWriter::PieceWriter(std::function<bool(std::string_view)> write) : write_(std::move(write)) {
    try {
        thread_ = std::thread(&PieceWriter::write_pieces, this);
    } catch (const std::system_error&) {
        // No thread to be had: pass() writes each piece itself.
    }
}

PieceWriter::~PieceWriter() {
    if (!thread_.joinable()) return;
    {
        const std::lock_guard lock(mutex_);
        finishing_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

bool PieceWriter::pass(std::string& piece, std::size_t used) {
    if (!thread_.joinable()) {
        if (refused_) {
            errno = refusal_errno_;
            return false;
        }
        if (write_one(piece, used)) return true;
        refused_ = true;
        refusal_errno_ = errno;
        return false;
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !has_waiting_ || refused_; });
    if (refused_) {
        errno = refusal_errno_;
        return false;
    }
    // The storage coming back is that of a piece already taken up for writing.
    std::swap(waiting_, piece);
    waiting_used_ = used;
    has_waiting_ = true;
    lock.unlock();
    changed_.notify_all();
    return true;
}

bool PieceWriter::finish(std::uint64_t& content_hash) {
    if (thread_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            finishing_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    if (refused_) {
        errno = refusal_errno_;
        return false;
    }
    content_hash = hash_.value();
    return true;
}

void PieceWriter::write_pieces() {
    std::string piece;
    for (;;) {
        std::size_t used = 0;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return has_waiting_ || finishing_; });
            if (!has_waiting_) return;
            std::swap(piece, waiting_);
            used = waiting_used_;
            has_waiting_ = false;
        }
        changed_.notify_all();
        if (write_one(piece, used)) continue;
        {
            const std::lock_guard lock(mutex_);
            refused_ = true;
            refusal_errno_ = errno;
        }
        changed_.notify_all();
        return;
    }
}

bool PieceWriter::write_one(const std::string& piece, std::size_t used) {
    const std::string_view bytes(piece.data(), used);
    hash_.add(bytes);
    try {
        return write_(bytes);
    } catch (...) {
        // Nothing thrown may end the thread with the process; the save is refused.
        errno = EIO;
        return false;
    }
}
