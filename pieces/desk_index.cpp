#include "pieces/desk_index.h"

#include <algorithm>

namespace {

bool meets(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

void DeskIndex::reset(int32_t ids, const Rect& extent, int32_t side) {
    extent_ = extent;
    side_ = std::max(side, 1);
    cols_ = std::max(1, (extent.width() + side_ - 1) / side_);
    rows_ = std::max(1, (extent.height() + side_ - 1) / side_);
    buckets_.assign(size_t(cols_) * size_t(rows_), {});
    const size_t n = size_t(std::max(ids, 0));
    filed_.assign(n, Rect{});
    mark_.assign(n, 0);
    stamp_ = 0;
    waiting_.assign(n, 0);
    moves_.clear();
}

DeskIndex::Span DeskIndex::span_of(const Rect& r) const {
    if (r.empty()) return {};
    // Bucket of a desk coordinate, the desk's outside folded onto its border buckets.
    const auto at = [this](int32_t v, int32_t origin, int32_t count) {
        const int64_t b = (int64_t(v) - origin) / side_;
        return int32_t(std::clamp<int64_t>(v < origin ? 0 : b, 0, count - 1));
    };
    return {at(r.left, extent_.left, cols_), at(r.top, extent_.top, rows_), at(r.right - 1, extent_.left, cols_),
            at(r.bottom - 1, extent_.top, rows_)};
}

void DeskIndex::file(int32_t id, const Rect& rect) {
    if (id < 0 || size_t(id) >= filed_.size()) return;
    Rect& was = filed_[size_t(id)];
    const Span old = span_of(was), now = span_of(rect);
    if (old.x0 == now.x0 && old.y0 == now.y0 && old.x1 == now.x1 && old.y1 == now.y1) {
        was = rect;  // a move within the same buckets files nothing anew
        return;
    }
    for (int32_t by = old.y0; by <= old.y1; ++by)
        for (int32_t bx = old.x0; bx <= old.x1; ++bx) {
            std::vector<int32_t>& b = bucket(bx, by);
            const auto at = std::find(b.begin(), b.end(), id);
            if (at != b.end()) {
                *at = b.back();
                b.pop_back();
            }
        }
    for (int32_t by = now.y0; by <= now.y1; ++by)
        for (int32_t bx = now.x0; bx <= now.x1; ++bx) bucket(bx, by).push_back(id);
    was = rect;
}

void DeskIndex::moved(int32_t id) {
    if (id < 0 || size_t(id) >= waiting_.size() || waiting_[size_t(id)]) return;
    waiting_[size_t(id)] = 1;
    moves_.push_back(id);
}

void DeskIndex::file_moves(const std::function<Rect(int32_t)>& now) {
    // Taken first: a move told while filing waits for the next time.
    std::vector<int32_t> moves;
    moves.swap(moves_);
    for (const int32_t id : moves) {
        waiting_[size_t(id)] = 0;
        file(id, now(id));
    }
}

const std::vector<int32_t>& DeskIndex::near_point(int32_t x, int32_t y) const {
    static const std::vector<int32_t> none;
    if (buckets_.empty()) return none;
    const Span s = span_of(Rect{x, y, x + 1, y + 1});
    return buckets_[size_t(s.y0) * size_t(cols_) + size_t(s.x0)];
}

void DeskIndex::near_rect(const Rect& r, std::vector<int32_t>& out) {
    out.clear();
    if (buckets_.empty()) return;
    if (++stamp_ == 0) {  // the stamps wrapped: start them afresh
        std::fill(mark_.begin(), mark_.end(), 0);
        stamp_ = 1;
    }
    const Span s = span_of(r);
    for (int32_t by = s.y0; by <= s.y1; ++by)
        for (int32_t bx = s.x0; bx <= s.x1; ++bx)
            for (const int32_t id : bucket(bx, by))
                if (mark_[size_t(id)] != stamp_) {
                    mark_[size_t(id)] = stamp_;
                    if (meets(filed_[size_t(id)], r)) out.push_back(id);
                }
}

size_t DeskIndex::entries() const {
    size_t n = 0;
    for (const auto& b : buckets_) n += b.size();
    return n;
}
