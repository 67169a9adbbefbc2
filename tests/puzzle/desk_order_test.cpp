// The display list's lookups through the desk index agree with a scan of every item, on random desks that play
// changes as it does: pieces dragged, turned, raised to the top, put into trays, replaced by a joined group,
// dropped from the list, and the desk resized.
#include <gtest/gtest.h>

#include <random>

#include "pieces/desk.h"
#include "pieces/piece.h"
#include "puzzle/jig.h"
#include "puzzle/state.h"
#include "support/puzzle/games.h"

namespace {

using testsupport::add_piece;

bool meets(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

int32_t scanned_top(Jig& g, int32_t x, int32_t y) {
    for (int32_t k = g.item_count - 1; k >= 0; --k) {
        Item& it = g.items[k];
        if (it.hidden != 1 && it.piece && it.piece->hit(x, y, it.id)) return k;
    }
    return -1;
}

std::vector<int32_t> scanned_over(const Jig& g, const Rect& r) {
    std::vector<int32_t> out;
    for (int32_t k = 0; k < g.item_count; ++k)
        if (g.items[k].piece && meets(g.items[k].piece->rect, r)) out.push_back(k);
    return out;
}

// A ring: white in the middle and at the corners, so that a point inside the rect may miss the piece.
testsupport::PixelAt ring(int32_t w, int32_t h, uint32_t word) {
    return [=](int32_t x, int32_t y) {
        const int32_t dx = 2 * x - w, dy = 2 * y - h, r2 = dx * dx + dy * dy, outer = w * w;
        return r2 <= outer && 4 * r2 >= outer ? word : 0xFFFFFFu;
    };
}

class DeskOrder : public ::testing::Test {
protected:
    testsupport::ResetGuard<reset_puzzle_state> guard_;
    std::mt19937 random_{20261209};
    int32_t pick(int32_t lo, int32_t hi) { return lo + int32_t(random_() % uint32_t(hi - lo + 1)); }

    void lay(Jig& g, int32_t n) {
        g.pic_w = 600, g.pic_h = 400;
        g.cols = 15, g.rows = 10;
        for (int32_t k = 0; k < n; ++k) {
            const int32_t w = pick(8, 90), h = pick(8, 90);
            add_piece(g, pick(-60, desk.desk_width + 60), pick(-60, desk.desk_height + 60), w, h,
                      ring(w, h, 0x203040u + uint32_t(k)));
        }
    }

    // One change of the kinds play makes, chosen at random.
    void change(Jig& g) {
        const int32_t n = g.item_count, k = pick(0, n - 1);
        Piece& p = *g.items[k].piece;
        switch (pick(0, 6)) {
        case 0:  // dragged
            p.grab_x = p.cx, p.grab_y = p.cy;
            p.move_to(p.cx + pick(-300, 300), p.cy + pick(-300, 300));
            break;
        case 1:  // a quarter turn swaps the view's sides
            p.set_angle(p.angle + 1.5707963267948966, settings_shading());
            break;
        case 2:
            g.raise_item(k);
            break;
        case 3:
            g.items[k].hidden ^= 1;
            break;
        case 4: {  // a joined group's new piece takes the item over
            auto* fresh = new Piece;
            fresh->cx = pick(0, desk.desk_width), fresh->cy = pick(0, desk.desk_height);
            fresh->set_image(*p.image, p.width, p.height);
            fresh->set_angle(0, settings_shading());
            g.items[k].piece = fresh;
            g.refile(k);
            delete &p;
            break;
        }
        case 5:  // the dropped top item leaves the list
            if (n > 2) {
                delete g.items[n - 1].piece;
                g.items[n - 1] = Item{};
                g.item_count = g.cut_count = n - 1;
            }
            break;
        default:  // the desk grows or shrinks
            desk.desk_width = pick(200, 1400), desk.desk_height = pick(200, 1000);
            break;
        }
    }

    int32_t hits_ = 0;  // probes that found a piece: a desk the probes always miss would prove nothing

    void expect_agreement(Jig& g, int32_t round) {
        for (int32_t probe = 0; probe < 60; ++probe) {
            const int32_t x = pick(-80, desk.desk_width + 80), y = pick(-80, desk.desk_height + 80);
            const int32_t top = scanned_top(g, x, y);
            hits_ += top >= 0;
            ASSERT_EQ(g.top_item_at(x, y), top) << "round " << round << " at " << x << "," << y;
        }
        std::vector<int32_t> over;
        for (int32_t probe = 0; probe < 10; ++probe) {
            const int32_t x = pick(-100, desk.desk_width), y = pick(-100, desk.desk_height);
            const Rect r{x, y, x + pick(1, 400), y + pick(1, 300)};
            g.items_over(r, over);
            ASSERT_EQ(over, scanned_over(g, r)) << "round " << round;
        }
        for (int32_t k = 0; k < g.item_count; ++k) ASSERT_EQ(g.item_of(g.items[k].id), k) << "round " << round;
    }
};

TEST_F(DeskOrder, LookupsAgreeWithAScanOfEveryItemAsPlayChangesTheDesk) {
    desk.desk_width = 900, desk.desk_height = 700;
    Jig g(blank_game, 150);
    lay(g, 150);
    for (int32_t round = 0; round < 400; ++round) {
        expect_agreement(g, round);
        if (HasFatalFailure()) return;
        // Several changes between two looks, so that moves wait to be filed together.
        for (int32_t c = pick(1, 4); c > 0; --c) change(g);
    }
    EXPECT_GT(hits_, 400 * 60 / 40);
}

TEST_F(DeskOrder, PiecesCutOneByOneAreFoundAsTheyComeAndGoneGroupsAreNot) {
    desk.desk_width = 500, desk.desk_height = 400;
    Jig g(blank_game, 20);
    lay(g, 1);
    for (int32_t k = 1; k < 20; ++k) {
        lay(g, 1);  // the count of cut pieces grows, as while cutting
        expect_agreement(g, k);
    }
    EXPECT_GT(hits_, 10);
    EXPECT_EQ(g.item_of(20), -1);
    EXPECT_EQ(g.item_of(-1), -1);
}

}  // namespace
