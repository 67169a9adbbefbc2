// Where the groups lie on the desk, so that finding the groups under the pointer or within a repaint looks at the
// few groups near it instead of every group of a 10 000-piece desk.
//
// The desk is cut into square buckets; each group id is filed in every bucket its rectangle touches (a rectangle
// reaching past the desk is filed in the buckets along its border). A piece filed here tells the index when its
// rectangle changes (Piece::note_moved); the move is filed again when the index is next asked. What the index gives
// are candidates: whoever asks checks each against the group's own rectangle as it is now.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "graphics/geometry.h"

class DeskIndex {
public:
    // Empties the index for ids 0 .. ids-1 over `extent` in buckets of `side` pixels (at least 1).
    void reset(int32_t ids, const Rect& extent, int32_t side);
    const Rect& extent() const { return extent_; }

    // Files id under rect (an empty rect files it nowhere), replacing where it was filed before.
    void file(int32_t id, const Rect& rect);

    // A move of id waiting to be filed; ids out of range are ignored.
    void moved(int32_t id);
    bool moves_waiting() const { return !moves_.empty(); }
    // Files every waiting move again under the rectangle `now` gives (an empty one: not on the desk).
    void file_moves(const std::function<Rect(int32_t)>& now);

    // The ids filed in the bucket holding (x, y): every id whose filed rect holds the point is among them.
    const std::vector<int32_t>& near_point(int32_t x, int32_t y) const;
    // The ids whose filed rect meets r, each once, in no order.
    void near_rect(const Rect& r, std::vector<int32_t>& out);
    // How many entries the buckets hold: an id is in every bucket its rect touches and in no other.
    size_t entries() const;

private:
    struct Span {
        int32_t x0 = 0, y0 = 0, x1 = -1, y1 = -1;  // bucket columns and rows, inclusive; x1 < x0 = none
    };
    Span span_of(const Rect& r) const;
    std::vector<int32_t>& bucket(int32_t bx, int32_t by) { return buckets_[size_t(by) * size_t(cols_) + size_t(bx)]; }

    Rect extent_;
    int32_t side_ = 1, cols_ = 0, rows_ = 0;
    std::vector<std::vector<int32_t>> buckets_;
    std::vector<Rect> filed_;        // per id: the rect it is filed under (empty: not filed)
    std::vector<uint32_t> mark_;     // per id: near_rect's stamp, so that each id is given once
    uint32_t stamp_ = 0;
    std::vector<char> waiting_;      // per id: a move is in `moves_`
    std::vector<int32_t> moves_;
};
