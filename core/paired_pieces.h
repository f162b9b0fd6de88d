// Pieces of a file made and handed on by two threads at once, for work the
// processor does not finish as fast as the disk takes it: the calling thread
// makes the even pieces and a thread of its own the odd ones, and each thread
// hands its piece on once the piece before it has been, so that the pieces go
// out in order while the next ones are being made.
//
//   make_pieces_in_pairs(count,
//       [&](std::size_t index, MadePiece& piece) { ...fill piece from part index... },
//       [&](MadePiece& piece) { return ...pass piece on...; });
//
// make runs on both threads at once, so it may only read what the two share;
// take runs on one thread at a time. Where no thread can be started, every
// piece is made and handed on by the calling thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct MadePiece {
    std::string text;  // storage handed in may be that of an earlier piece
    std::size_t used = 0;
    std::vector<std::uint64_t> row_hashes;  // of the rows the piece holds, in order
};

// False, with the errno take left, once take has refused a piece: no piece is
// handed on after it. What make or take throws on either thread is thrown
// here, after the other thread has ended.
bool make_pieces_in_pairs(std::size_t count, const std::function<void(std::size_t, MadePiece&)>& make,
                          const std::function<bool(MadePiece&)>& take);
