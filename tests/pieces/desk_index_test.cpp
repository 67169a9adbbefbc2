// The desk index after any run of filings and moves holds exactly what an index filed afresh with the same
// rectangles holds: the same entries, and the same ids near every point and rectangle.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "pieces/desk_index.h"

namespace {

constexpr int32_t kIds = 60;
const Rect kExtent{0, 0, 700, 500};

std::vector<int32_t> sorted(std::vector<int32_t> v) {
    std::sort(v.begin(), v.end());
    return v;
}

TEST(DeskIndex, FilingsAndMovesLeaveWhatAFreshFilingHolds) {
    std::mt19937 random(20261209);
    const auto pick = [&](int32_t lo, int32_t hi) { return lo + int32_t(random() % uint32_t(hi - lo + 1)); };
    for (const int32_t side : {7, 64, 200, 1000}) {
        DeskIndex index;
        index.reset(kIds, kExtent, side);
        std::vector<Rect> now(kIds);
        for (int32_t step = 0; step < 300; ++step) {
            const int32_t id = pick(0, kIds - 1);
            const int32_t x = pick(-150, 800), y = pick(-150, 600);
            // Some go off the desk, some are emptied (a group gone), most are moved or turned.
            now[size_t(id)] = pick(0, 9) == 0 ? Rect{} : Rect{x, y, x + pick(1, 160), y + pick(1, 160)};
            if (pick(0, 1)) index.file(id, now[size_t(id)]);
            else index.moved(id);
            if (pick(0, 3) == 0) index.moved(pick(0, kIds - 1));  // told twice, or of nothing that changed
            index.moved(kIds);                                    // an id the index does not hold
            index.moved(-1);
            if (step % 7) continue;
            index.file_moves([&](int32_t i) { return now[size_t(i)]; });
            DeskIndex fresh;
            fresh.reset(kIds, kExtent, side);
            for (int32_t i = 0; i < kIds; ++i) fresh.file(i, now[size_t(i)]);
            ASSERT_EQ(index.entries(), fresh.entries()) << "side " << side << " step " << step;
            std::vector<int32_t> a, b;
            for (int32_t probe = 0; probe < 20; ++probe) {
                const int32_t px = pick(-200, 900), py = pick(-200, 700);
                ASSERT_EQ(sorted(index.near_point(px, py)), sorted(fresh.near_point(px, py))) << px << "," << py;
                const Rect r{px, py, px + pick(1, 300), py + pick(1, 300)};
                index.near_rect(r, a);
                fresh.near_rect(r, b);
                ASSERT_EQ(sorted(a), sorted(b));
                std::vector<int32_t> expected;
                for (int32_t i = 0; i < kIds; ++i) {
                    const Rect& q = now[size_t(i)];
                    if (!q.empty() && q.left < r.right && r.left < q.right && q.top < r.bottom && r.top < q.bottom)
                        expected.push_back(i);
                }
                ASSERT_EQ(sorted(a), expected);
            }
        }
    }
}

}  // namespace
