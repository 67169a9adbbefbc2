// The display list's lookups: which item holds a group, which lies on top under the pointer, which meet a
// rectangle. They go through the desk index and an id-to-place table instead of visiting every item.
#include <algorithm>

#include "pieces/desk.h"
#include "pieces/desk_index.h"
#include "pieces/piece.h"
#include "puzzle/jig.h"

namespace {

// Buckets about twice a cell's side hold a few pieces each, and a piece lies in two or four of them; a desk of
// huge cells is not cut finer than it needs. A list laid by hand, with no grid, takes cells of 64.
int32_t bucket_side(const Jig& jig) {
    const bool grid = jig.cols > 0 && jig.rows > 0 && jig.pic_w > 0 && jig.pic_h > 0;
    const int32_t cell = grid ? std::max(jig.pic_w / jig.cols, jig.pic_h / jig.rows) : 64;
    return std::clamp(2 * cell, 64, 1024);
}

Rect desk_extent() { return {0, 0, std::max(desk.desk_width, 1), std::max(desk.desk_height, 1)}; }

}  // namespace

Piece* Jig::attach(int32_t k) {
    Piece* p = items[k].piece;
    if (p) p->index = index_.get(), p->filed_id = items[k].id;
    return p;
}

void Jig::file_item(int32_t k) {
    const int32_t id = items[k].id;
    if (id < 0 || size_t(id) >= place_.size()) return;
    place_[size_t(id)] = k;
    if (const Piece* p = attach(k)) index_->file(id, p->rect);
}

void Jig::rebuild_index() {
    if (!index_) index_ = std::make_unique<DeskIndex>();
    const int32_t n = live_items();
    index_->reset(int32_t(cells.size()), desk_extent(), bucket_side(*this));
    place_.assign(cells.size(), -1);
    for (int32_t k = 0; k < n; ++k) file_item(k);
    indexed_items_ = n;
    indexed_cut_ = cut_count;
}

// A change in the number of items (a join) or a desk of another size files everything again; pieces cut since
// the last look are filed one by one; moves told by the pieces are filed last.
void Jig::sync_index() {
    const int32_t n = live_items();
    if (!index_ || n != indexed_items_ || cut_count < indexed_cut_ || !(index_->extent() == desk_extent())) {
        rebuild_index();
    } else {
        for (int32_t k = std::max(indexed_cut_, 0); k < std::min(cut_count, n); ++k) file_item(k);
        indexed_cut_ = cut_count;
    }
    if (!index_->moves_waiting()) return;
    index_->file_moves([this](int32_t id) {
        const int32_t k = item_of(id);
        const Piece* p = k < 0 ? nullptr : attach(k);
        return p ? p->rect : Rect{};
    });
}

int32_t Jig::item_of(int32_t id) {
    const int32_t n = live_items();
    if (id < 0) return -1;
    if (size_t(id) < place_.size()) {
        const int32_t k = place_[size_t(id)];
        if (k >= 0 && k < n && items[k].id == id) return k;
    }
    // Not noted yet (a list laid by hand, or the group has gone): look it up and note it.
    for (int32_t k = 0; k < n; ++k)
        if (items[k].id == id) {
            if (size_t(id) < place_.size()) place_[size_t(id)] = k;
            return k;
        }
    return -1;
}

int32_t Jig::top_item_at(int32_t x, int32_t y) {
    sync_index();
    int32_t top = -1;
    for (const int32_t id : index_->near_point(x, y)) {
        const int32_t k = item_of(id);
        if (k <= top) continue;
        Item& it = items[k];
        if (it.hidden != 1 && it.piece && it.piece->hit(x, y, it.id)) top = k;
    }
    return top;
}

void Jig::items_over(const Rect& r, std::vector<int32_t>& out) {
    sync_index();
    index_->near_rect(r, out);
    size_t kept = 0;
    for (const int32_t id : out) {
        const int32_t k = item_of(id);
        if (k >= 0 && items[k].piece) out[kept++] = k;
    }
    out.resize(kept);
    std::sort(out.begin(), out.end());
}

void Jig::raise_item(int32_t k) {
    const int32_t n = live_items();
    if (k < 0 || k >= n) return;
    std::rotate(items.begin() + k, items.begin() + k + 1, items.begin() + n);
    for (int32_t i = k; i < n; ++i)
        if (items[i].id >= 0 && size_t(items[i].id) < place_.size()) place_[size_t(items[i].id)] = i;
}

void Jig::refile(int32_t k) {
    if (k < 0 || k >= live_items()) return;
    if (!index_) return;  // the first look files it
    file_item(k);
}
