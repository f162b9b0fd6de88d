// Pieces made on two threads and handed on in order: every piece once and in
// its place, one hand-over at a time, and the first refusal or failure, from
// either thread, ending the work.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "paired_pieces.h"

namespace {

// The text of piece index: its number and a length that differs from its
// neighbours', so that storage handed back and forth must be filled anew.
std::string text_of(std::size_t index) {
    return "piece " + std::to_string(index) + std::string(index * 7919 % 40, 'x');
}

struct Outcome {
    std::vector<std::string> taken;
    bool complete = false;
    int error = 0;
    bool overlapped = false;  // two hand-overs at once
};

// make takes a while that varies, so that either thread is sometimes ahead.
Outcome make_and_take(std::size_t count, const std::function<bool(std::size_t)>& take_more,
                      const std::function<void(std::size_t)>& before_make = [](std::size_t) {}) {
    Outcome outcome;
    std::atomic<bool> taking{false};
    outcome.complete = make_pieces_in_pairs(
        count,
        [&](std::size_t index, MadePiece& piece) {
            before_make(index);
            std::this_thread::sleep_for(std::chrono::microseconds(index * 37 % 200));
            const std::string text = text_of(index);
            if (piece.text.size() < text.size()) piece.text.resize(text.size() + 50, '?');
            text.copy(piece.text.data(), text.size());
            piece.used = text.size();
            piece.row_hashes.assign(1, index);
        },
        [&](MadePiece& piece) {
            if (taking.exchange(true)) outcome.overlapped = true;
            std::this_thread::sleep_for(std::chrono::microseconds(outcome.taken.size() * 53 % 150));
            EXPECT_EQ(piece.row_hashes, std::vector<std::uint64_t>{outcome.taken.size()});
            outcome.taken.emplace_back(piece.text.data(), piece.used);
            const bool more = take_more(outcome.taken.size() - 1);
            taking = false;
            return more;
        });
    outcome.error = errno;
    return outcome;
}

std::vector<std::string> texts_up_to(std::size_t count) {
    std::vector<std::string> texts;
    for (std::size_t index = 0; index < count; ++index) texts.push_back(text_of(index));
    return texts;
}

TEST(PairedPieces, HandsEveryPieceOnOnceInOrderOneAtATime) {
    for (const std::size_t count : {0, 1, 2, 3, 200}) {
        SCOPED_TRACE(count);
        const Outcome outcome = make_and_take(count, [](std::size_t) { return true; });
        EXPECT_TRUE(outcome.complete);
        EXPECT_EQ(outcome.taken, texts_up_to(count));
        EXPECT_FALSE(outcome.overlapped);
    }
}

TEST(PairedPieces, ARefusalOnEitherThreadEndsTheWorkWithItsErrno) {
    // Even pieces are handed on by the calling thread, odd ones by the other.
    for (const std::size_t refused : {0, 1, 6, 7, 99}) {
        SCOPED_TRACE(refused);
        const Outcome outcome = make_and_take(100, [&](std::size_t index) {
            if (index != refused) return true;
            errno = ENOSPC;
            return false;
        });
        EXPECT_FALSE(outcome.complete);
        EXPECT_EQ(outcome.error, ENOSPC);
        EXPECT_EQ(outcome.taken, texts_up_to(refused + 1));
    }
}

TEST(PairedPieces, AFailureToMakeAPieceOnEitherThreadIsThrownHereAndNothingAfterItIsHandedOn) {
    for (const std::size_t failing : {0, 1, 10, 11}) {
        SCOPED_TRACE(failing);
        std::vector<std::size_t> handed;
        EXPECT_THROW(make_and_take(
                         40,
                         [&](std::size_t index) {
                             handed.push_back(index);
                             return true;
                         },
                         [&](std::size_t index) {
                             if (index == failing) throw std::runtime_error("no room");
                         }),
                     std::runtime_error);
        // The pieces before it may have gone out, in order; none from it on.
        EXPECT_LE(handed.size(), failing);
        for (std::size_t i = 0; i < handed.size(); ++i) EXPECT_EQ(handed[i], i);
    }
}

TEST(PairedPieces, AFailureToHandAPieceOnIsThrownHere) {
    for (const std::size_t failing : {4, 5}) {
        SCOPED_TRACE(failing);
        std::size_t handed = 0;
        EXPECT_THROW(make_and_take(40,
                                   [&](std::size_t index) {
                                       handed = index;
                                       if (index == failing) throw std::runtime_error("disk gone");
                                       return true;
                                   }),
                     std::runtime_error);
        EXPECT_EQ(handed, failing);
    }
}

}  // namespace
