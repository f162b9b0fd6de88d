// The pieces a save makes, written on a thread of their own: all of them in
// order, the hash of what was written, and the first refusal, with its errno,
// ending the writing.
#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>
#include <string>
#include <vector>

#include "content_hash.h"
#include "piece_writer.h"

namespace {

// Pieces of many sizes, each a different text, written into storage the writer
// gives back: what goes out must be only each piece's used bytes.
struct Pieces {
    std::vector<std::string> passed;
    std::vector<std::string> written;
    bool all_passed = true;
    bool finished = false;
    int finish_errno = 0;
    std::uint64_t hash = 0;
};

Pieces pass_pieces(int count, const std::function<bool(std::string_view)>& write_more) {
    Pieces pieces;
    PieceWriter out([&](std::string_view piece) {
        pieces.written.emplace_back(piece);
        return write_more(piece);
    });
    std::string storage;
    for (int i = 0; i < count && pieces.all_passed; ++i) {
        const std::string text = "piece " + std::to_string(i) + std::string(static_cast<std::size_t>(i * 7919 % 5000), 'x');
        if (storage.size() < text.size()) storage.resize(text.size() + 100, '?');
        text.copy(storage.data(), text.size());
        pieces.passed.push_back(text);
        pieces.all_passed = out.pass(storage, text.size());
    }
    pieces.finished = out.finish(pieces.hash);
    pieces.finish_errno = errno;
    return pieces;
}

TEST(PieceWriter, WritesEveryPieceInOrderAndHashesWhatItWrote) {
    const Pieces pieces = pass_pieces(300, [](std::string_view) { return true; });
    ASSERT_TRUE(pieces.all_passed);
    ASSERT_TRUE(pieces.finished);
    EXPECT_EQ(pieces.written, pieces.passed);
    std::string joined;
    for (const std::string& piece : pieces.passed) joined += piece;
    EXPECT_EQ(pieces.hash, content_hash(joined));
}

TEST(PieceWriter, ARefusedPieceEndsTheWritingWithItsErrno) {
    for (const int refused : {0, 1, 7, 150}) {
        SCOPED_TRACE(refused);
        int seen = 0;
        const Pieces pieces = pass_pieces(300, [&](std::string_view) {
            if (seen++ < refused) return true;
            errno = ENOSPC;
            return false;
        });
        EXPECT_FALSE(pieces.finished);
        EXPECT_EQ(pieces.finish_errno, ENOSPC);
        EXPECT_EQ(pieces.hash, 0u);
        // The refused piece is the last one written; those before went out whole.
        ASSERT_EQ(pieces.written.size(), static_cast<std::size_t>(refused) + 1);
        for (std::size_t i = 0; i < pieces.written.size(); ++i) EXPECT_EQ(pieces.written[i], pieces.passed[i]);
    }
}

TEST(PieceWriter, AWriteThatThrowsIsARefusal) {
    const Pieces pieces = pass_pieces(20, [](std::string_view piece) -> bool {
        if (piece.rfind("piece 3", 0) == 0) throw std::runtime_error("disk gone");
        return true;
    });
    EXPECT_FALSE(pieces.finished);
    EXPECT_EQ(pieces.finish_errno, EIO);
    EXPECT_EQ(pieces.written.size(), 4u);
}

}  // namespace
