// Turning pieces: the rotation helpers, exact quarter turns, free angles, turning over and turning by dragging.
#include <cmath>
#include <numbers>

#include "graphics/ddbase.h"
#include "play/jig.h"
#include "tests/pieces/piece_support.h"

namespace {

constexpr double pi = std::numbers::pi;
constexpr uint32_t A = 0x0A, B = 0x0B, C = 0xFF00000C, D = 0x0D, E = 0x7F00000E, F = 0x0F;  // marks ride along
constexpr uint32_t W = 0x00FFFFFF;

// A 3 x 2 image: A B C over D E F.
void abc_def(Piece& p) { give_image(p, 3, 2, {A, B, C, D, E, F}); }

using RotationHelpers = SettingsGuard;

TEST_F(RotationHelpers, RotatePointTurnsCounterClockwiseWithYUp) {
    EXPECT_EQ(rotate_point(10, 0, pi / 2), (Point{0, 10}));
    EXPECT_EQ(rotate_point(3, 4, pi), (Point{-3, -4}));
    EXPECT_EQ(rotate_point(0, 7, -pi / 2), (Point{7, 0}));
}

TEST_F(RotationHelpers, RotatePointRoundsHalvesAwayFromZeroWithSinglePrecisionForX) {
    // Just above pi / 3 the cosine is below 0.5 in double precision but exactly 0.5 in single precision.
    double theta = pi / 3;
    while (std::cos(theta) >= 0.5) theta = std::nextafter(theta, 4.0);
    ASSERT_EQ(float(std::cos(theta)), 0.5f);
    EXPECT_EQ(rotate_point(1, 0, theta).x, 1);    // 0.5 exactly: away from zero
    EXPECT_EQ(rotate_point(-1, 0, theta).x, -1);  // -0.5 exactly: away from zero
    EXPECT_EQ(rotate_point(0, 1, theta).y, 0);    // the full-precision cosine stays below one half
    EXPECT_EQ(rotate_point(0, 3, theta).y, 1);    // 1.4999...
}

TEST_F(RotationHelpers, TurnedSizeIsTheBoundingBoxOfTheTurnedCorners) {
    EXPECT_EQ(turned_size(100, 50, 0), (Size{100, 50}));
    EXPECT_EQ(turned_size(101, 51, 0), (Size{102, 52}));  // odd sizes take the larger half
    EXPECT_EQ(turned_size(100, 50, pi / 2), (Size{50, 100}));
    EXPECT_EQ(turned_size(100, 50, pi / 4), (Size{106, 106}));  // corners at 17.7 and 53.0 from the centre
    EXPECT_EQ(turned_size(1, 1, 0.3), (Size{2, 2}));
}

TEST_F(RotationHelpers, AngleBetweenIsSignedAndWithinHalfATurn) {
    EXPECT_DOUBLE_EQ(angle_between(1, 0, 0, 1), pi / 2);
    EXPECT_DOUBLE_EQ(angle_between(0, 1, 1, 0), -pi / 2);
    EXPECT_DOUBLE_EQ(angle_between(1, 0, -1, 0), pi);
    EXPECT_DOUBLE_EQ(angle_between(-1, 0, 1, 0), -pi);  // exactly half a turn back is not brought round
    EXPECT_DOUBLE_EQ(angle_between(1, -1, 1, 1), pi / 2);  // across the positive x axis
    EXPECT_EQ(angle_between(4, 5, 4, 5), 0.0);
    EXPECT_EQ(angle_between(0, 0, 1, 0), 0.0);  // a zero vector points along x
    EXPECT_NEAR(angle_between(2, 1, 1, 2), std::atan2(2, 1) - std::atan2(1, 2), 1e-12);
}

using QuarterTurns = SettingsGuard;

TEST_F(QuarterTurns, AreExactWordCopies) {
    Piece p;
    abc_def(p);
    p.set_angle(0);
    EXPECT_EQ(view_words(p), (std::vector<uint32_t>{A, B, C, D, E, F}));
    EXPECT_EQ(p.rect, (Rect{99, 99, 102, 101}));
    p.set_angle(pi / 2);  // counter-clockwise on the screen
    EXPECT_EQ(p.view_width, 2);
    EXPECT_EQ(p.view_height, 3);
    EXPECT_EQ(view_words(p), (std::vector<uint32_t>{C, F, B, E, A, D}));
    EXPECT_EQ(p.rect, (Rect{99, 99, 101, 102}));
    p.set_angle(pi);
    EXPECT_EQ(view_words(p), (std::vector<uint32_t>{F, E, D, C, B, A}));
    p.set_angle(3 * pi / 2);  // clockwise
    EXPECT_EQ(view_words(p), (std::vector<uint32_t>{D, A, E, B, F, C}));
    EXPECT_EQ(p.angle, 3 * pi / 2);
}

TEST_F(QuarterTurns, AnglesAreTakenRoundTheCircle) {
    Piece p, q;
    abc_def(p);
    abc_def(q);
    p.set_angle(0);
    q.set_angle(2 * pi);
    EXPECT_EQ(view_words(q), view_words(p));
    EXPECT_EQ(q.angle, 2 * pi);  // the angle is kept as given
    p.set_angle(3 * pi / 2);
    q.set_angle(-pi / 2);
    EXPECT_EQ(view_words(q), view_words(p));
    p.set_angle(pi / 2);
    q.set_angle(4 * pi + pi / 2 + 0.005);  // within half a degree of a quarter turn
    EXPECT_EQ(view_words(q), view_words(p));
}

TEST_F(QuarterTurns, AnAngleThatIsNotANumberLeavesThePieceUpright) {
    Piece p;
    abc_def(p);
    p.set_angle(std::nan(""));
    EXPECT_EQ(p.angle, 0.0);
    EXPECT_EQ(view_words(p), (std::vector<uint32_t>{A, B, C, D, E, F}));
}

using FreeAngles = SettingsGuard;

// A 5 x 5 image: a distinct word per pixel, numbered row by row from 1.
std::vector<uint32_t> numbered(int32_t n) {
    std::vector<uint32_t> w;
    for (int32_t i = 1; i <= n; ++i) w.push_back(uint32_t(i));
    return w;
}

TEST_F(FreeAngles, TurnAboutTheCentreCounterClockwise) {
    Piece p;
    give_image(p, 5, 5, numbered(25), 50, 60);
    p.set_angle(pi / 4);
    ASSERT_EQ(p.view_width, 8);
    ASSERT_EQ(p.view_height, 8);
    EXPECT_EQ(p.rect, (Rect{46, 56, 54, 64}));
    // The view centre (column 4, top-down row 3) shows the image centre (2, 2) = 13.
    EXPECT_EQ(p.view_at(4, 3), 13u);
    // The image pixel right of the centre (3, 2) = 14 is turned up and to the right on the screen.
    EXPECT_EQ(p.view_at(5, 2), 14u);
    // The pixel above the centre (2, 1) = 8 is turned up and to the left.
    EXPECT_EQ(p.view_at(3, 2), 8u);
    // The view's corners lie beyond the image: white.
    EXPECT_EQ(p.view_at(0, 0), W);
    EXPECT_EQ(p.view_at(7, 7), W);
}

TEST_F(FreeAngles, EveryViewPixelIsAnImagePixelOrWhite) {
    Piece p;
    std::vector<uint32_t> words = numbered(40 * 30);
    for (uint32_t& w : words) w |= 0x55000000;  // marks are carried
    give_image(p, 40, 30, words);
    p.set_angle(0.7);
    const Size s = turned_size(40, 30, 0.7);
    EXPECT_EQ(p.view_width, s.cx);
    EXPECT_EQ(p.view_height, s.cy);
    int32_t shown = 0;
    for (uint32_t w : view_words(p)) {
        if (w == W) continue;
        ++shown;
        EXPECT_EQ(w >> 24, 0x55u);
        EXPECT_GE(w & 0xFFFFFF, 1u);
        EXPECT_LE(w & 0xFFFFFF, 1200u);
    }
    // Nearest neighbour keeps the area: within a few percent of 40 x 30.
    EXPECT_NEAR(shown, 1200, 60);
}

using TurningOver = SettingsGuard;

TEST_F(TurningOver, MirrorsTheImageAndTurnsTheAngle) {
    Piece p;
    abc_def(p);
    p.set_angle(0.25);
    p.turn_over();
    EXPECT_EQ(p.turned, 1);
    EXPECT_DOUBLE_EQ(p.angle, 2 * pi - 0.25);
    EXPECT_EQ(image_words(p), (std::vector<uint32_t>{C, B, A, F, E, D}));
    Piece q;  // a piece cut lying turned over gets its image mirrored
    q.turned = 1;
    abc_def(q);
    EXPECT_EQ(image_words(q), image_words(p));
}

TEST_F(TurningOver, TwiceRestoresImageViewAndAngle) {
    settings.kage = true;
    settings.smooth = true;
    Piece p;
    give_image(p, 40, 30, numbered(40 * 30));
    p.set_angle(1.1);
    const std::vector<uint32_t> image = image_words(p), view = view_words(p);
    const Rect rect = p.rect;
    p.turn_over();
    EXPECT_NE(image_words(p), image);
    p.turn_over();
    EXPECT_EQ(p.turned, 0);
    EXPECT_DOUBLE_EQ(p.angle, 1.1);
    EXPECT_EQ(image_words(p), image);
    EXPECT_EQ(view_words(p), view);
    EXPECT_EQ(p.rect, rect);
}

using Handling = SettingsGuard;

TEST_F(Handling, HitIsStrictlyInsideAndNotOnWhite) {
    Piece p;
    // 4 x 3 with a white pixel at (2, 1).
    give_image(p, 4, 3, {1, 2, 3, 4, 5, 6, W, 8, 9, 10, 11, 12}, 10, 20);
    p.set_angle(0);
    ASSERT_EQ(p.rect, (Rect{8, 19, 12, 22}));
    EXPECT_EQ(p.hit(9, 20, 0), 1);    // pixel (1, 1)
    EXPECT_EQ(p.hit(11, 21, 0), 1);   // pixel (3, 2), the last column and row inside
    EXPECT_EQ(p.hit(10, 20, 0), 0);   // the white pixel
    EXPECT_EQ(p.hit(8, 20, 0), 0);    // on the left edge
    EXPECT_EQ(p.hit(9, 19, 0), 0);    // on the top edge
    EXPECT_EQ(p.hit(12, 20, 0), 0);   // right is exclusive
    EXPECT_EQ(p.hit(9, 22, 0), 0);
    delete p.view;  // the view handed to the presenter and destroyed: no presenter here, so nothing to hit
    p.view = nullptr;
    EXPECT_EQ(p.hit(9, 20, 0), 0);
}

TEST_F(Handling, HitReadsThePresentersCopyOnThatPath) {
    Piece p;
    give_image(p, 4, 3, {1, 2, 3, 4, 5, 6, W, 8, 9, 10, 11, 12}, 10, 20);
    p.set_angle(0);
    DDBase dd(4);
    presenter = &dd;
    p.hand_over_view(2);  // the presenter keeps its own copy
    const int32_t on_piece = p.hit(9, 20, 2), on_white = p.hit(10, 20, 2), other_id = p.hit(9, 20, 3);
    presenter = nullptr;
    EXPECT_EQ(on_piece, 1);
    EXPECT_EQ(on_white, 0);
    EXPECT_EQ(other_id, 0);  // an id without an image shows nothing
}

TEST_F(Handling, DragTurnWithThePointerOnTheGrabPointDoesNotTurn) {
    settings.kage = true;
    Piece p;
    give_image(p, 40, 30, numbered(40 * 30), 200, 150);
    p.set_angle(0.9);
    p.grab_x = 215, p.grab_y = 140;
    const std::vector<uint32_t> view = view_words(p);
    const Rect rect = p.rect;
    EXPECT_EQ(p.drag_turn(215, 140), rect);
    EXPECT_EQ(p.angle, 0.9);
    EXPECT_EQ(p.cx, 200);
    EXPECT_EQ(p.cy, 150);
    EXPECT_EQ(view_words(p), view);
}

TEST_F(Handling, DragTurnTurnsAboutTheCentreAndTheGrabbedPointFollows) {
    Piece p;
    abc_def(p);
    p.set_angle(0);
    p.grab_x = 110, p.grab_y = 100;  // right of the centre
    p.drag_turn(100, 90);            // pointer moved to above the centre: a quarter turn counter-clockwise
    EXPECT_DOUBLE_EQ(p.angle, pi / 2);
    EXPECT_EQ(p.cx, 100);
    EXPECT_EQ(p.cy, 100);
    EXPECT_EQ(view_words(p), (std::vector<uint32_t>{C, F, B, E, A, D}));
    // Half way back and pulled outwards: the piece turns back and is dragged by the rest of the motion.
    p.drag_turn(120, 100);
    EXPECT_DOUBLE_EQ(p.angle, 0);
    EXPECT_EQ(p.cx, 110);
    EXPECT_EQ(p.cy, 100);
    EXPECT_EQ(p.grab_x, 120);
    EXPECT_EQ(p.grab_y, 100);
    EXPECT_EQ(p.rect, (Rect{109, 99, 112, 101}));
}

}  // namespace
