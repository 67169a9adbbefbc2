// A piece on its own: the rotation helpers, quarter turns of its view, hitting, turning by dragging, and the
// shading cut games never meet (smoothing in batches on a large piece, seams only where they belong); the view's
// zoom levels (scripted) and zooming about a window point. Free angles,
// turning over, the bevel, smoothing and the seams of groups are pinned pixel for pixel by the cut games' golden
// file of tests/puzzle and the play scripts of tests/shell.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "pieces/turn_gather.h"
#include "pieces/desk.h"
#include "pieces/shading.h"
#include "pieces/view.h"
#include "support/interpreter.h"
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

// A piece and the rotation helpers as the scripts of data/pieces.txt (its opening lines tell the actions and probes).
class PieceScript : public Pieces, public testsupport::BasicInterpreter {
protected:
    std::unique_ptr<Piece> p_ = std::make_unique<Piece>();
    int32_t joined_ = 0;
    DDBase copy_{4};

public:
    PieceScript() {
        double theta = pi / 3;  // just above pi / 3, where the cosine is below 0.5 in double precision
        while (std::cos(theta) >= 0.5) theta = std::nextafter(theta, 4.0);
        names_ = {{"A", A}, {"B", B}, {"C", C}, {"D", D}, {"E", E}, {"F", F}, {"W", W}, {"G", 0x808080}, {"M", 0xFF808080}, {"pi", pi}, {"-pi", -pi},
                  {"pi/2", pi / 2}, {"-pi/2", -pi / 2}, {"pi/4", pi / 4}, {"3pi/2", 3 * pi / 2}, {"2pi", 2 * pi},
                  {"4.5pi+0.005", 4.5 * pi + 0.005}, {"theta", theta}};
        actions_ = {
            {"give", [this](const Args& a) {  // W H ANGLE CX CY WORD...
                Words words;
                for (size_t k = 5; k < a.size(); ++k) words.push_back(uint32_t(value(a[k])));
                p_ = std::make_unique<Piece>();
                p_->joined = joined_;
                give_image(*p_, i(a, 0), i(a, 1), words, value(a[2]), i(a, 3), i(a, 4));
            }},
            {"grab", [this](const Args& a) { p_->grab_x = i(a, 0), p_->grab_y = i(a, 1); }},
            {"turn", [this](const Args& a) { p_->drag_turn(i(a, 0), i(a, 1), shading); }},
            {"presenter", [this](const Args&) { desk.presenter = &copy_; }},
            {"no_presenter", [](const Args&) { desk.presenter = nullptr; }},
            {"hand_over", [this](const Args& a) { p_->hand_over_view(i(a, 0)); }},
            {"kage", [](const Args& a) { shading.kage = a[0] == "1"; }},
            {"nokosu", [](const Args& a) { shading.nokosu = a[0] == "1"; }},
            {"joined", [this](const Args& a) { joined_ = i(a, 0); }},
        };
        probes_ = {
            {"view", [this](const Args&) {
                std::string out;
                for (uint32_t w : view_words(*p_)) out += n(w) + " ";
                return out;
            }},
            {"rect", [this](const Args&) { return sides(p_->rect); }},
            {"frame", [this](const Args&) { return "0 0 " + n(p_->view_width) + " " + n(p_->view_height); }},
            {"angle", [this](const Args&) { return list({p_->angle}); }},
            {"unlike_view_at", [this](const Args& a) {  // X Y WORD...: whether the view's word there is another
                std::string out;
                for (size_t k = 0; k + 2 < a.size(); k += 3)
                    out += n(p_->view_at(i(a, k), i(a, k + 1)) != value(a[k + 2])) + " ";
                return out;
            }},
            {"centre", [this](const Args&) { return n(p_->cx) + " " + n(p_->cy); }},
            {"grab", [this](const Args&) { return n(p_->grab_x) + " " + n(p_->grab_y); }},
            {"drag", [this](const Args& a) { return sides(p_->drag_turn(i(a, 0), i(a, 1), shading)); }},
            {"hit", [this](const Args& a) {  // ID X Y...
                std::string out;
                for (size_t k = 1; k + 1 < a.size(); k += 2) out += n(p_->hit(i(a, k), i(a, k + 1), i(a, 0))) + " ";
                return out;
            }},
            {"rotate", [this](const Args& a) {
                const Point r = rotate_point(i(a, 0), i(a, 1), value(a[2]));
                return n(r.x) + " " + n(r.y);
            }},
            {"turned", [this](const Args& a) {
                const Size z = turned_size(i(a, 0), i(a, 1), value(a[2]));
                return n(z.cx) + " " + n(z.cy);
            }},
            {"between", [this](const Args& a) { return list({angle_between(i(a, 0), i(a, 1), i(a, 2), i(a, 3))}); }},
            {"zoom_step", [this](const Args& a) { return n(zoom_step(i(a, 0), i(a, 1))); }},
        };
    }
    void TearDown() override { desk.presenter = nullptr; }
};
TEST_P(PieceScript, Runs) { run(); }
INSTANTIATE_TEST_SUITE_P(Piece, PieceScript, ::testing::ValuesIn(testsupport::read_scripts("pieces/data/pieces.txt")),
                         PieceScript::name);

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

// Zooming about a window point to any level and back returns the view exactly, whether the origin lies before the
// desk's corner or after it and during a desk drag too; so does a walk up the whole table one level at a time and
// down again. Each step keeps the desk point under the anchor within a desk pixel (each origin is rounded).
TEST_F(Pieces, ZoomingThereAndBackReturnsTheViewExactly) {
    struct Start { int32_t view_x, view_y, scroll_dx; Point anchor; };
    const auto under = [](Point anchor) {  // the desk point under the anchor, unrounded
        const double per = 1000.0 / desk.zoom;
        return std::pair(desk.view_x + desk.scroll_dx + anchor.x * per, desk.view_y + anchor.y * per);
    };
    const auto step = [&](int32_t zoom, Point anchor) {
        const auto [x, y] = under(anchor);
        zoom_about(zoom, anchor);
        EXPECT_LE(std::max(std::abs(under(anchor).first - x), std::abs(under(anchor).second - y)), 1.0) << zoom;
    };
    for (const Start& s : {Start{0, 0, 0, {200, 150}}, {-37, -1234, 0, {399, 0}}, {513, -7, -20, {1, 299}},
                           {-3, 5, 7, {333, 17}}}) {
        SCOPED_TRACE(s.view_x);
        const auto start = [&](int32_t zoom) {
            desk.reset();
            desk.zoom = zoom, desk.view_x = s.view_x, desk.view_y = s.view_y, desk.scroll_dx = s.scroll_dx;
        };
        for (const int32_t from : kZoomLevels)
            for (const int32_t to : kZoomLevels) {
                start(from);
                step(to, s.anchor);
                step(from, s.anchor);
                EXPECT_EQ(std::pair(desk.view_x, desk.view_y), std::pair(s.view_x, s.view_y)) << from << " " << to;
            }
        start(kZoomLevels[0]);
        for (int32_t k = 1; k < kZoomLevelCount; ++k) step(kZoomLevels[k], s.anchor);
        for (int32_t k = kZoomLevelCount - 1; k >= 0; --k) step(kZoomLevels[k], s.anchor);
        EXPECT_EQ(std::pair(desk.view_x, desk.view_y), std::pair(s.view_x, s.view_y));
    }
}

}  // namespace
