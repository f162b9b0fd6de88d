#include "paired_pieces.h"

#include <cerrno>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

namespace {

using Make = std::function<void(std::size_t, MadePiece&)>;
using Take = std::function<bool(MadePiece&)>;

// Whose turn it is to hand a piece on, and how the work ended.
class Turns {
public:
    Turns(std::size_t count, const Make& make, const Take& take) : count_(count), make_(make), take_(take) {}

    // Makes and hands on every step-th piece from first; false when the work
    // ended before (a refusal, or a failure on either thread).
    bool work(std::size_t first, std::size_t step) {
        MadePiece piece;
        for (std::size_t index = first; index < count_; index += step) {
            make_(index, piece);
            if (!wait_for_turn(index)) return false;
            const bool taken = take_(piece);
            if (!taken) refusal_errno_ = errno;
            pass_turn(taken);
            if (!taken) return false;
        }
        return true;
    }

    // Ends the work at the next turn, for a failure on either thread.
    void stop(std::exception_ptr failure) {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
            if (failure_ == nullptr) failure_ = std::move(failure);
        }
        changed_.notify_all();
    }

    // After both threads: throws the first failure, else true unless a piece
    // was refused, with errno as take left it.
    bool outcome() const {
        if (failure_ != nullptr) std::rethrow_exception(failure_);
        if (refused_) errno = refusal_errno_;
        return !refused_;
    }

private:
    bool wait_for_turn(std::size_t index) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return next_ == index || stopped_; });
        return !stopped_;
    }

    void pass_turn(bool taken) {
        {
            const std::lock_guard lock(mutex_);
            ++next_;
            if (!taken) {
                refused_ = true;
                stopped_ = true;
            }
        }
        changed_.notify_all();
    }

    const std::size_t count_;
    const Make& make_;
    const Take& take_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t next_ = 0;  // the piece to be handed on next
    bool stopped_ = false;
    bool refused_ = false;
    int refusal_errno_ = 0;  // taken on the thread that was refused
    std::exception_ptr failure_;
};

// The odd pieces' thread, joined when it goes: by then the calling thread has
// handed on its last piece, or stopped the work.
class OddPieces {
public:
    explicit OddPieces(Turns& turns) : turns_(turns), thread_(&OddPieces::run, this) {}
    ~OddPieces() { thread_.join(); }
    OddPieces(const OddPieces&) = delete;
    OddPieces& operator=(const OddPieces&) = delete;

private:
    void run() {
        try {
            turns_.work(1, 2);
        } catch (...) {
            turns_.stop(std::current_exception());
        }
    }

    Turns& turns_;
    std::thread thread_;
};

}  // namespace

bool make_pieces_in_pairs(std::size_t count, const Make& make, const Take& take) {
    Turns turns(count, make, take);
    std::optional<OddPieces> odd;
    if (count >= 2) {
        try {
            odd.emplace(turns);
        } catch (const std::system_error&) {
            // Every piece here, in turn.
        }
    }
    if (!odd) {
        turns.work(0, 1);
        return turns.outcome();
    }
    try {
        turns.work(0, 2);
    } catch (...) {
        turns.stop(std::current_exception());
    }
    odd.reset();
    return turns.outcome();
}
