// Pieces for tests: the words of a piece's image and view frames, and the reset of the program's records, as far
// as the test program links them, when a test ends.
#pragma once
#include <cstdint>
#include <vector>

#include "pieces/piece.h"

namespace testsupport {

// Words of a piece's whole image or view frame, top row first (the piece keeps only part of them).
inline std::vector<uint32_t> image_words(const Piece& p) {
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < p.height; ++y)
        for (int32_t x = 0; x < p.width; ++x) out.push_back(p.image_at(x, y));
    return out;
}
inline std::vector<uint32_t> view_words(const Piece& p) {
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < p.view_height; ++y)
        for (int32_t x = 0; x < p.view_width; ++x) out.push_back(p.view_at(x, y));
    return out;
}

// When it goes, puts the records back to their start values through `Reset`: the reset_<folder>_state of the
// highest folder the test program links, which resets those below it too.
template <void (*Reset)()>
class ResetAtEnd {
public:
    ResetAtEnd() = default;
    ~ResetAtEnd() { Reset(); }
    ResetAtEnd(const ResetAtEnd&) = delete;
    ResetAtEnd& operator=(const ResetAtEnd&) = delete;
};

}  // namespace testsupport
