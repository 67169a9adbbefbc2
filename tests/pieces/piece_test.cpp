// A piece on its own: the rotation helpers, quarter turns of its view, hitting, turning by dragging, and the
// shading cut games never meet (smoothing in batches on a large piece, seams only where they belong). Free angles,
// turning over, the bevel, smoothing and the seams of groups are pinned pixel for pixel by the cut games' golden
// file of tests/puzzle and the play scripts of tests/play.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "pieces/turn_gather.h"
#include "pieces/desk.h"
#include "pieces/shading.h"
#include "support/pieces/pieces.h"
#include "support/ws/surfaces.h"
#include "ws/ddbase.h"

namespace {

using testsupport::view_words;
using Words = std::vector<uint32_t>;

constexpr double pi = std::numbers::pi;
constexpr uint32_t A = 0x0A, B = 0x0B, C = 0xFF00000C, D = 0x0D, E = 0x7F00000E, F = 0x0F;  // marks ride along
constexpr uint32_t W = 0x00FFFFFF, R = 0x00FF0000;

// The shading every piece here is turned with, as the game's settings would pass it down; each test starts plain.
Shading shading;

// A piece whose image is w x h of the given words (top row first), centred at (cx, cy) and turned to `angle`.
void give_image(Piece& p, int32_t w, int32_t h, const Words& words, double angle = 0, int32_t cx = 100,
                int32_t cy = 100) {
    MemDC* src = testsupport::surface_of(w, h, [&](int32_t x, int32_t y) { return words[size_t(y * w + x)]; });
    p.cx = cx, p.cy = cy;
    p.set_image(*src, w, h);
    delete src;
    p.set_angle(angle, shading);
}

struct Pieces : ::testing::Test {
    void SetUp() override { shading = {}; }
    testsupport::ResetAtEnd<reset_pieces_state> reset_;
};

TEST_F(Pieces, RotationHelpers) {
    // Counter-clockwise with y up. Just above pi / 3 the cosine is below 0.5 in double precision but exactly 0.5
    // in single precision, which x uses; halves round away from zero.
    double theta = pi / 3;
    while (std::cos(theta) >= 0.5) theta = std::nextafter(theta, 4.0);
    EXPECT_EQ((std::vector{rotate_point(10, 0, pi / 2), rotate_point(3, 4, pi), rotate_point(0, 7, -pi / 2),
                           rotate_point(1, 0, theta), rotate_point(-1, 0, theta), rotate_point(0, 1, theta),
                           rotate_point(0, 3, theta)}),
              (std::vector<Point>{{0, 10}, {-3, -4}, {7, 0}, {1, 1}, {-1, -1}, {-1, 0}, {-3, 1}}));
    // The bounding box of the turned corners, odd sizes taking the larger half.
    EXPECT_EQ((std::vector{turned_size(100, 50, 0), turned_size(101, 51, 0), turned_size(100, 50, pi / 2),
                           turned_size(100, 50, pi / 4), turned_size(1, 1, 0.3)}),
              (std::vector{Size{100, 50}, Size{102, 52}, Size{50, 100}, Size{106, 106}, Size{2, 2}}));
    // Signed, within half a turn; exactly half a turn back is not brought round; a zero vector points along x.
    EXPECT_EQ((std::vector{angle_between(1, 0, 0, 1), angle_between(0, 1, 1, 0), angle_between(1, 0, -1, 0),
                           angle_between(-1, 0, 1, 0), angle_between(1, -1, 1, 1), angle_between(4, 5, 4, 5),
                           angle_between(0, 0, 1, 0)}),
              (std::vector{pi / 2, -pi / 2, pi, -pi, pi / 2, 0.0, 0.0}));
    EXPECT_NEAR(angle_between(2, 1, 1, 2), std::atan2(2, 1) - std::atan2(1, 2), 1e-12);
}

// Quarter turns copy words exactly; angles are taken round the circle and kept as given; NaN stands upright.
TEST_F(Pieces, QuarterTurnsAreExactWordCopies) {
    const Words up{A, B, C, D, E, F}, left{C, F, B, E, A, D}, half{F, E, D, C, B, A}, right{D, A, E, B, F, C};
    const std::pair<double, Words> cases[] = {{0, up},          {pi / 2, left},           {pi, half},
                                              {2 * pi, up},     {3 * pi / 2, right},      {-pi / 2, right},
                                              {std::nan(""), up}, {4.5 * pi + 0.005, left}};
    for (const auto& [angle, view] : cases) {
        Piece p;
        give_image(p, 3, 2, up, angle);
        const int32_t tall = view == left || view == right;  // 2 x 3 about the centre (100, 100), else 3 x 2
        EXPECT_EQ(view_words(p), view) << angle;
        EXPECT_EQ((std::vector{p.rect, Rect{0, 0, p.view_width, p.view_height}}),
                  (std::vector{Rect{99, 99, 102 - tall, 101 + tall}, Rect{0, 0, 3 - tall, 2 + tall}}));
        EXPECT_EQ(p.angle, std::isnan(angle) ? 0 : angle);
    }
}

// A free turn's run of words, gathered plainly and eight at a time, is the words at the rounded offsets: halves
// away from zero on both sides of zero, steps either way, runs too short for a vector and with a tail after one.
TEST_F(Pieces, GatheredRunsTakeTheWordsAtTheRoundedOffsets) {
    constexpr int64_t one = int64_t(1) << 32, half = one / 2;
    Words source(41 * 41);
    for (size_t i = 0; i < source.size(); ++i) source[i] = uint32_t(i * 2654435761u);
    const uint32_t* centre = source.data() + 20 * 41 + 20;
    const std::tuple<int64_t, int64_t, int64_t, int64_t, int64_t> runs[] = {
        {-half, half, 0, 0, 3},          {half - 1, 1 - half, 0, 0, 9},
        {0, 0, 1, -1, 0},                {-9 * one, 3 * one + half, one / 3, -one / 5, 17},
        {-half, -half, one / 8, one / 8, 24}, {8 * one, -8 * one, 7 - one, one - 7, 16}};
    for (const auto& [a, b, c, s, n] : runs) {
        Words expected(static_cast<size_t>(n)), plain = expected, wide = expected;
        for (int64_t k = 0; k < n; ++k)
            expected[size_t(k)] = centre[int64_t(std::round(std::ldexp(double(a + k * c), -32))) -
                                         int64_t(std::round(std::ldexp(double(b + k * s), -32))) * 41];
        turn_gather::plain(centre, 41, a, b, c, s, plain.data(), n);
        EXPECT_EQ(plain, expected) << a << " " << b;
        if (!turn_gather::wide_available()) continue;
        turn_gather::wide(centre, 41, a, b, c, s, wide.data(), n);
        EXPECT_EQ(wide, expected) << a << " " << b;
    }
}

// A hit is strictly inside the rect and not on white; on the presenter path the presenter's copy is read, and an id
// without an image there shows nothing; with no view and no presenter there is nothing to hit.
TEST_F(Pieces, HitIsStrictlyInsideAndNotOnWhite) {
    Piece p;
    give_image(p, 4, 3, {1, 2, 3, 4, 5, 6, W, 8, 9, 10, 11, 12}, 0, 10, 20);  // white at (2, 1)
    ASSERT_EQ(p.rect, (Rect{8, 19, 12, 22}));
    const Point points[] = {{9, 20}, {11, 21}, {10, 20}, {8, 20}, {9, 19}, {12, 20}, {9, 22}};
    DDBase presenter_copy(4);
    for (const int32_t id : {0, 2}) {  // the piece's own view, then the presenter's copy of it
        std::vector<int32_t> got;
        for (Point q : points) got.push_back(p.hit(q.x, q.y, id));
        EXPECT_EQ(got, (std::vector{1, 1, 0, 0, 0, 0, 0})) << id;
        desk.presenter = &presenter_copy;
        p.hand_over_view(2);
    }
    const int32_t other_id = p.hit(9, 20, 3);
    desk.presenter = nullptr;
    EXPECT_EQ((std::vector{other_id, p.hit(9, 20, 0)}), (std::vector{0, 0}));
}

TEST_F(Pieces, DragTurnTurnsAboutTheCentreAndTheGrabbedPointFollows) {
    Piece p;
    give_image(p, 3, 2, {A, B, C, D, E, F});
    p.grab_x = 110, p.grab_y = 100;  // right of the centre
    const Rect still = p.rect;
    EXPECT_EQ(p.drag_turn(110, 100, shading), still) << "the pointer on the grab point does not turn";
    EXPECT_EQ(p.angle, 0);
    p.drag_turn(100, 90, shading);  // to above the centre: a quarter turn counter-clockwise
    EXPECT_DOUBLE_EQ(p.angle, pi / 2);
    EXPECT_EQ((std::vector{p.cx, p.cy}), (std::vector{100, 100}));
    EXPECT_EQ(view_words(p), (Words{C, F, B, E, A, D}));
    p.drag_turn(120, 100, shading);  // back and pulled outwards: turned back and dragged by the rest of the motion
    EXPECT_DOUBLE_EQ(p.angle, 0);
    EXPECT_EQ((std::vector{p.cx, p.cy, p.grab_x, p.grab_y}), (std::vector{110, 100, 120, 100}));
    EXPECT_EQ(p.rect, (Rect{109, 99, 112, 101}));
    p.grab_x = 110, p.grab_y = 90;  // above the centre, pulled straight up: no turn, only the drag
    p.drag_turn(110, 70, shading);
    EXPECT_EQ((std::vector{p.cx, p.cy, p.rect.top}), (std::vector{110, 80, 79}));
}

// Smoothing is queued 2000 entries at a time and each batch averages against the bevelled view as it stands:
// on a 400 x 400 red square framed in white the first batch ends at the left light column's pixel 102, whose
// upper neighbour is not yet bevelled then; every other pixel of that column sees all three light neighbours.
// A piece too small for a bevel is left as it is.
TEST_F(Pieces, SmoothingWorksInBatchesAgainstTheViewAsItStands) {
    shading.kage = shading.smooth = true;
    const int32_t n = 408;
    Words words(size_t(n) * n, W);
    for (int32_t y = 4; y < n - 4; ++y)
        for (int32_t x = 4; x < n - 4; ++x) words[size_t(y * n + x)] = R;
    Piece p;
    give_image(p, n, n, words);
    const Words view = view_words(p);
    int32_t bevel = 0;
    for (size_t i = 0; i < view.size(); ++i) {
        ASSERT_TRUE(view[i] != 0xE6E6E6 && view[i] != 0x202020) << "unsmoothed bevel at " << i % n << "," << i / n;
        bevel += words[i] == W && view[i] != W;
    }
    EXPECT_EQ(bevel, 2 * 799);
    EXPECT_EQ((Words{p.view_at(3, 101), p.view_at(3, 102), p.view_at(3, 103), p.view_at(3, 200)}),
              (Words{0x00ECACAC, 0x00EE9999, 0x00ECACAC, 0x00ECACAC}));
    give_image(p, 1, 1, {R});
    EXPECT_EQ(view_words(p), (Words{R}));
}

// Seams (marked words) darken, and the unmarked pixel below-right of each lightens, only in a joined group and
// only with nokosu; the cut games' golden file pins the shading itself. The 9 x 9 image: grey at columns and rows
// 2-6 in white, (4, 4) marked.
TEST_F(Pieces, SeamsAreShadedOnlyInAGroupWithNokosu) {
    constexpr uint32_t G = 0x00808080;
    shading.kage = true;
    Words w(81, W);
    for (int32_t y = 2; y < 7; ++y)
        for (int32_t x = 2; x < 7; ++x) w[size_t(y * 9 + x)] = (x == 4 && y == 4 ? 0xFF000000 : 0) | G;
    for (const auto& [joined, nokosu] : {std::pair{1, true}, {0, true}, {1, false}}) {
        shading.nokosu = nokosu;
        Piece v;
        v.joined = joined;
        give_image(v, 9, 9, w);
        const bool shaded = joined && nokosu;  // the seam, the pixel below-right of it, one beside it
        EXPECT_EQ((std::vector{v.view_at(4, 4) != (0xFF000000 | G), v.view_at(5, 5) != G, v.view_at(3, 3) != G}),
                  (std::vector{shaded, shaded, false})) << joined << nokosu;
    }
}

}  // namespace
