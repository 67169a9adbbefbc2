// Cutting a game piece by piece: whole cut games and re-cut groups against their golden file, every pixel against
// the picture, the refusals, the end of cutting, tiny windows, wild templates and oversized pictures.
#include <gtest/gtest.h>

#include <cstdlib>

#include "pieces/desk.h"
#include "puzzle/cut.h"
#include "puzzle/joint.h"
#include "puzzle/settings.h"
#include "support/cases.h"
#include "support/puzzle/games.h"
#include "ws/ddbase.h"

namespace {

using testsupport::at;
using testsupport::frame_hash;

// One line for an item: its cell or group, side, angle, place, offsets and the fingerprints of its image and view
// frames (marks included; the presenter's copy of the view once it was handed over), so that no pixel of the piece
// can change unseen.
uint64_t image_hash(const Piece& p) {
    return frame_hash(p.width, p.height, [&](int32_t x, int32_t y) { return p.image_at(x, y); });
}

std::string item_line(const Item& it) {
    const Piece& p = *it.piece;
    const uint64_t image = image_hash(p);
    const uint64_t view = frame_hash(p.view_width, p.view_height, [&](int32_t x, int32_t y) {
        return p.view || !desk.presenter ? p.view_at(x, y) : desk.presenter->get_pixel(it.id, x, y);
    });
    char line[300];
    std::snprintf(line, sizeof line,
                  "id=%d turned=%d angle=%.17g centre=%d,%d rect=%d,%d home=%d,%d join=%d,%d image=%dx%d:%016llx "
                  "view=%dx%d:%016llx",
                  it.id, p.turned, p.angle, p.cx, p.cy, p.rect.left, p.rect.top, it.home_dx, it.home_dy, it.join_dx,
                  it.join_dy, p.width, p.height, (unsigned long long)image, p.view_width, p.view_height,
                  (unsigned long long)view);
    return line;
}

struct Cutting : ::testing::Test {
    void SetUp() override { desk_images_create(1000, 800); }
    void TearDown() override {
        delete std::exchange(desk.presenter, nullptr);
        desk_images_destroy();
    }
    testsupport::ResetGuard<reset_puzzle_state> guard_;
};

// Every cut item of three kinds of game (free angles scattered over a window at a view offset; upright pieces in
// rows; quarter-turn games of short edges on the presenter path), with the generator's state after each cut, so
// that the cells, sides, angles and places drawn, the order of the draws (cell, side, angle, then the scatter's a,
// x terms and y terms) and every pixel of every piece are pinned; the desk (or the presenter's back buffer) each
// game was drawn on as it was cut; then groups re-cut from the first game (an L, a ring round a foreign cell, a
// turned pair, the whole picture) with their seams, bevel and smoothing; then groups re-cut where the edge of the
// frame matters: a block whose margins meet the rest of the picture only across the frame's sides, a cell of a
// tiny picture whose knob reaches past the frame and across the other cell's centre (so nothing whitens that
// cell), and seamed pairs whose outline leaves the frame. The golden file's opening lines say how it was made and
// what was checked by hand.
TEST_F(Cutting, CutGamesAndGroupsMatchTheirGoldenFile) {
    const std::tuple<const char*, int32_t, int32_t, int32_t, int32_t, int32_t, bool, bool, bool, bool, bool, uint32_t>
        cases[] = {{"free", 400, 300, 20, 10, 234, true, false, true, true, false, 5000000},
                   {"rows", 300, 225, 12, 19, 235, false, true, true, false, false, 5100000},
                   {"quarter", 160, 120, 48, 4, 236, true, false, false, false, true, 5200000}};
    std::vector<std::string> lines;
    std::unique_ptr<Jig> first;
    for (const auto& [name, w, h, n, line_num, kaiten, hanten, seiretu, kage, smooth, with_presenter, clock] : cases) {
        settings.line_num = line_num, settings.kaiten = kaiten, settings.hanten = hanten;
        settings.seiretu = seiretu, settings.kage = kage, settings.smooth = smooth;
        desk.view_x = 50, desk.view_y = 30;
        line_const_init();
        ASSERT_LT(ws::tick_count(), clock) << "the clock seeds the game";
        ws::test::advance(clock - ws::tick_count());
        std::unique_ptr<Jig> g(testsupport::laid_game(w, h, n));
        desk.desk_image->fill(0, 0, 1000, 800, 0x563412);
        if (with_presenter) {
            desk.presenter = new DDBase(g->item_count);
            desk.presenter->init(0);
            desk.presenter->table_count = desk.presenter->count;
            desk.presenter->back->fill(0, 0, desk.presenter->back->width(), desk.presenter->back->height(), 0x563412);
        }
        lines.push_back(name);
        while (g->cut_count < g->item_count) {
            g->cut(800, 600);
            // A piece on the desk keeps only its view; the image is cut again, the fingerprint pins its words,
            // and so does turning it over twice from a freed image.
            Piece& cut = *g->items[g->cut_count - 1].piece;
            EXPECT_EQ(cut.image, nullptr);
            cut.restore_image();
            lines.push_back(item_line(g->items[g->cut_count - 1]) + " random=" +
                            std::to_string(puzzle.game_random.state));
            const uint64_t image = image_hash(cut);
            cut.drop_image();
            cut.turn_over(settings_shading());
            cut.turn_over(settings_shading());
            EXPECT_EQ(image_hash(cut), image);
        }
        const Piece& last = *g->items[g->cut_count - 1].piece;
        EXPECT_EQ(at(*desk.desk_image, last.cx, last.cy) == 0x123456u, with_presenter)
            << "the desk is drawn on one path";
        const MemDC& shown = with_presenter ? *desk.presenter->back : *desk.desk_image;
        lines.push_back("shown=" + std::to_string(frame_hash(shown.width(), shown.height(), [&](int32_t x, int32_t y) {
                            return shown.words()[size_t(y) * size_t(shown.width()) + size_t(x)];
                        })));
        delete std::exchange(desk.presenter, nullptr);
        if (!first) first = std::move(g);
    }
    Jig& g = *first;
    settings.kage = settings.smooth = true;
    settings.line_num = 10;
    line_const_init();
    const std::tuple<std::vector<int32_t>, int32_t, double, bool> groups[] = {
        {{0, 1, 2, 5, 10}, 0, 0.6, true},          {{0, 1, 2, 5, 10}, 0, 0.6, false},
        {{0, 1, 2, 5, 7, 10, 11, 12}, 0, 0, true}, {{13, 14}, 1, 1.5707963267948966, true},
        {{}, 0, 2.5, true}};
    lines.push_back("groups");
    g.items.emplace_back().piece = new Piece;  // a 21st item for the group
    g.item_count = 21;
    for (const auto& [cells, turned, angle, nokosu] : groups) {
        settings.nokosu = nokosu;
        for (int32_t i = 0; i < 20; ++i) g.cells[i].owner = cells.empty() ? 3 : i;
        for (int32_t c : cells) g.cells[c].owner = cells[0];
        Item& it = g.items[20];
        it.id = cells.empty() ? 3 : cells[0];
        it.piece->turned = turned;
        g.joint_piece(it.id, 20);
        it.piece->cx = 300, it.piece->cy = 200;
        it.piece->set_angle(angle, settings_shading());
        lines.push_back(item_line(it) + " merged=" + std::to_string(it.merged));
    }
    lines.push_back("frames");
    const std::tuple<int32_t, int32_t, int32_t, std::vector<int32_t>> frames[] = {
        {12, 6, 8, {1, 2, 5, 6}}, {4, 6, 2, {1}}, {6, 6, 4, {1, 3}}, {8, 16, 4, {2, 3}}};
    settings.nokosu = true;
    ASSERT_LT(ws::tick_count(), 6000000u) << "the clock seeds the games";
    ws::test::advance(6000000 - ws::tick_count());
    for (const auto& [w, h, n, cells] : frames) {
        std::unique_ptr<Jig> f(testsupport::laid_game(w, h, n));
        for (int32_t i = 0; i < n; ++i) f->cells[i].owner = i;
        for (int32_t c : cells) f->cells[c].owner = cells[0];
        f->items[0].piece = new Piece;
        f->joint_piece(cells[0], 0);
        lines.push_back(item_line(f->items[0]));
    }
    // ZELTO_GOLDEN_PRINT=1 prints the lines, to be checked by hand and put after the file's '#' lines after a
    // deliberate change.
    for (const std::string& l : lines)
        if (std::getenv("ZELTO_GOLDEN_PRINT")) std::printf("%s\n", l.c_str());
    const std::vector<testsupport::Fields> want = testsupport::read_cases("puzzle/golden/cut_games.txt");
    ASSERT_EQ(want.size(), lines.size());
    for (size_t i = 0; i < want.size(); ++i) ASSERT_EQ(lines[i], testsupport::joined(want[i])) << "golden " << i + 1;
}

// Every pixel off the cutting lines lies in exactly one piece, with the picture's word, and no piece holds anything
// else; cutting a cell's square alone gives the piece's image upright. Cells of two pixels, single Bezier segments
// (line_num 4), large pictures, and cells of six pixels, whose knobs reach the edge of the square and could fence a
// neighbour's pixels into a corner of it, all hold.
TEST_F(Cutting, EveryPixelOffTheLinesIsInExactlyOnePieceWithItsWord) {
    settings.kaiten = 234;
    const int32_t grids[][4] = {{400, 300, 20, 10}, {300, 225, 600, 10}, {61, 97, 50, 10}, {1000, 750, 4, 10},
                                {40, 30, 300, 10},  {120, 90, 12, 4},    {120, 90, 300, 10}};
    for (const auto& s : grids) {
        SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1] << " n=" << s[2]);
        settings.line_num = s[3];
        line_const_init();
        // The busy pattern with pure white and pure black on every 7th and 11th pixel, as pictures may have them.
        std::unique_ptr<Jig> g(testsupport::laid_game(s[0], s[1], s[2], [](int32_t x, int32_t y) {
            return (x + 3 * y) % 7 == 0 ? 0xFFFFFF : (x + 5 * y) % 11 == 0 ? 0 : testsupport::pattern_word(x, y);
        }));
        while (g->cut_count < g->item_count) g->cut(1000, 800);
        std::unique_ptr<MemDC> lines(testsupport::surface_of(g->pic_w, g->pic_h, [](int32_t, int32_t) { return 0u; }));
        lines->set_pen(0xFFFFFF, 1);
        for (int32_t c = 0; c < g->item_count; ++c)
            for (const auto& edge : g->cells[c].edges) lines->bezier(edge, line_points());
        std::vector<int32_t> held(size_t(g->pic_w) * size_t(g->pic_h));
        for (int32_t k = 0; k < g->cut_count; ++k) {
            Piece& p = *g->items[k].piece;
            p.restore_image();
            const CellSquare q = cell_square(*g, g->items[k].id);
            MemDC square;
            cut_square(*g, g->items[k].id, square);
            ASSERT_EQ(p.width, q.side);
            for (int32_t j = 0; j < q.side; ++j)
                for (int32_t i = 0; i < q.side; ++i) {
                    const uint32_t word = p.image_at(p.turned ? q.side - 1 - i : i, j);
                    const int32_t x = q.sx + i, y = q.sy + j;
                    ASSERT_EQ(word, at(square, i, j)) << "the square cut alone, cell " << g->items[k].id;
                    if ((word & 0xFFFFFF) == 0xFFFFFF) continue;
                    ASSERT_TRUE(x >= 0 && y >= 0 && x < g->pic_w && y < g->pic_h) << "cell " << g->items[k].id;
                    ASSERT_EQ(word, at(*g->picture, x, y)) << "cell " << g->items[k].id << " at " << x << "," << y;
                    ++held[size_t(y) * size_t(g->pic_w) + size_t(x)];
                }
        }
        for (int32_t y = 0; y < g->pic_h; ++y)
            for (int32_t x = 0; x < g->pic_w; ++x) {
                const int32_t n = held[size_t(y) * size_t(g->pic_w) + size_t(x)];
                ASSERT_TRUE(n == 1 || (n == 0 && at(*lines, x, y) != 0)) << x << "," << y << " held " << n;
            }
    }
}

// The finer cut of a group, from a finer picture that is the fitted one with every pixel doubled, is the fitted cut
// doubled: each pixel of the fine image whose fitted pixel lies two pixels or more from any of another kind (inside
// or outside, marked or not) holds that fitted pixel's word, marks included (the finer lines are thinner). Single
// cells and joined groups (an L, a ring round a foreign cell, the whole picture), upright and turned over, with and
// without seam marks.
TEST_F(Cutting, TheFinerCutOfADoubledPictureIsTheFittedCutDoubled) {
    std::unique_ptr<Jig> g(testsupport::laid_game(200, 150, 20));
    g->fine_picture =
        testsupport::surface_of(400, 300, [&](int32_t x, int32_t y) { return at(*g->picture, x / 2, y / 2); });
    g->fine_scale = 2000;
    const std::tuple<std::vector<int32_t>, int32_t, bool> groups[] = {
        {{7}, 0, false}, {{0}, 1, true}, {{0, 1, 2, 5, 10}, 0, true}, {{0, 1, 2, 5, 7, 10, 11, 12}, 1, true},
        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}, 0, true}};
    for (const auto& [cells, turned, nokosu] : groups) {
        SCOPED_TRACE(testing::Message() << "group of " << cells[0] << ", " << cells.size() << " cells");
        settings.nokosu = nokosu;
        for (int32_t i = 0; i < 20; ++i) g->cells[i].owner = i;
        for (int32_t c : cells) g->cells[c].owner = cells[0];
        Piece fitted, fine;
        fitted.turned = fine.turned = turned;
        g->items[0].piece = &fitted;
        g->joint_piece(cells[0], 0);
        g->items[0].piece = nullptr;
        cut_fine(*g, cells[0], fine);
        ASSERT_EQ((std::vector{fine.width, fine.height}), (std::vector{2 * fitted.width, 2 * fitted.height}));
        const auto kind = [&](int32_t x, int32_t y) {
            const uint32_t w = fitted.image_at(x, y);
            return ((w & 0xFFFFFFu) == 0xFFFFFFu ? 2u : 0u) | (w >> 24 ? 1u : 0u);
        };
        int32_t checked = 0, inside = 0;
        for (int32_t y = 2; y + 2 < fitted.height; ++y)
            for (int32_t x = 2; x + 2 < fitted.width; ++x) {
                bool alike = true;
                for (int32_t j = -2; j <= 2; ++j)
                    for (int32_t i = -2; i <= 2; ++i) alike = alike && kind(x + i, y + j) == kind(x, y);
                if (!alike) continue;
                ++checked;
                inside += (kind(x, y) & 2u) == 0;
                for (int32_t j = 0; j < 2; ++j)
                    for (int32_t i = 0; i < 2; ++i)
                        ASSERT_EQ(fine.image_at(2 * x + i, 2 * y + j), fitted.image_at(x, y)) << x << "," << y;
            }
        EXPECT_GT(inside, int32_t(cells.size()) * 300) << "the pieces' insides were compared";
        EXPECT_GT(checked, fitted.width * fitted.height / 2);
    }
}

// A finer piece follows its piece: turned, turned over and shaded again when the bevel is switched, each time as a
// finer piece made afresh would be, and centred on its piece's centre times the scale; none at another scale. A
// group keeps its finer image, which is mirrored when the group turns over.
TEST_F(Cutting, AFinerPieceFollowsItsPiece) {
    const Point centres[] = {{50, 40}, {130, 40}, {50, 110}, {130, 110}};
    settings.kage = false;
    std::unique_ptr<Jig> g(testsupport::finer_game(centres));
    g->cells[3].owner = 2;  // cells 2 and 3 joined in item 2
    delete std::exchange(g->items[2].piece, new Piece);
    g->joint_piece(2, 2);
    g->items[2].piece->set_angle(0, settings_shading());
    const auto view_hash = [&](int32_t k) {
        const Piece& q = *g->fine_piece(k, 2000);
        return frame_hash(q.view_width, q.view_height, [&](int32_t x, int32_t y) { return q.view_at(x, y); });
    };
    const auto fresh = [&](int32_t k) {
        delete std::exchange(g->items[k].piece->fine, nullptr);
        return view_hash(k);
    };
    EXPECT_EQ(g->fine_piece(1, 1500), nullptr);
    const auto piece = [&](int32_t k) -> Piece& { return *g->items[k].piece; };
    const std::tuple<int32_t, std::function<void()>, bool> changes[] = {
        {1, [] { settings.kage = true; }, true},
        {1, [&] { piece(1).set_angle(3.141592653589793, settings_shading()); }, true},  // turned over, still pi
        {1, [&] { piece(1).turn_over(settings_shading()); }, true},
        {2, [&] { piece(2).turn_over(settings_shading()); }, true},
        {1, [] { settings.kage = false; }, true},
        {2, [&] { piece(2).cx += 7; }, false}};
    for (const auto& [k, change, shown_anew] : changes) {
        const uint64_t before = view_hash(k);
        change();
        const uint64_t kept = view_hash(k);
        const Piece& fine = *g->fine_piece(k, 2000);
        EXPECT_EQ((std::vector{fine.cx, fine.cy}), (std::vector{2 * piece(k).cx, 2 * piece(k).cy}));
        EXPECT_EQ(kept, fresh(k));
        EXPECT_EQ(kept != before, shown_anew);
    }
}

// cut_piece refuses a cell or item outside the tables and an item without a piece, and makes a re-cut item a
// single piece again; a window too small to spread pieces over (or of a negative size) puts them at the view's
// origin; uncut items have no cell; a game wholly cut cuts no more; the row layout starts from the desk's origin.
TEST_F(Cutting, RefusalsTinyWindowsTheEndOfCuttingAndTheRowsOrigin) {
    desk.view_x = 50, desk.view_y = 30;
    std::unique_ptr<Jig> g(testsupport::laid_game(400, 300, 20));
    g->items[3].piece = new Piece;
    for (const std::pair<int32_t, int32_t>& refused : {std::pair{20, 3}, {-1, 3}, {3, 5}, {3, int32_t(g->items.size())}})
        g->cut_piece(refused.first, refused.second);
    EXPECT_EQ(g->items[3].piece->image, nullptr);
    g->items[0].piece = new Piece;
    g->items[0].merged = g->items[0].hidden = g->items[0].piece->joined = 1;
    g->cut_piece(7, 0);
    EXPECT_EQ((std::vector{g->items[0].merged, g->items[0].hidden, g->items[0].piece->joined}), (std::vector{0, 0, 0}));
    const Rect drawn = g->cut(3, 2);  // replaces the piece re-cut above
    EXPECT_EQ(drawn, g->items[0].piece->rect);
    EXPECT_EQ(g->items[1].id, -1);
    while (g->cut_count < g->item_count) g->cut(g->cut_count % 2 ? 3 : -600, g->cut_count % 2 ? 2 : -400);
    for (int32_t k = 0; k < 20; ++k) EXPECT_EQ((Point{g->items[k].piece->cx, g->items[k].piece->cy}), (Point{50, 30}));
    EXPECT_EQ(g->cut(800, 600), Rect{});
    EXPECT_EQ(g->cut_count, 20);
    settings.seiretu = true;
    g.reset(testsupport::laid_game(400, 300, 20));
    g->cut(800, 600);
    EXPECT_EQ((Point{desk.view_x, desk.view_y}), (Point{0, 0}));
}

// Templates edited far out of shape (control points well beyond the square, or absurdly far) still cut; an
// unfitted 6000 x 4000 picture is cut whole, each piece a square of twice its cell.
TEST_F(Cutting, WildTemplatesAndOversizedPicturesStillCut) {
    for (int32_t t = 0; t < 4; ++t) {
        settings.line[t][1] = {-150, -500 + 60 * t};
        settings.line[t][2] = {400, 450};
        settings.line[t][4] = {-90, -420};
        settings.line[t][7] = {260, -470};
    }
    settings.line[3][5] = {INT32_MAX, INT32_MIN};  // kept within two edge lengths of the edge
    line_const_init();
    EXPECT_EQ((std::vector{puzzle.unit_shapes[3].h[5].x, puzzle.unit_shapes[3].h[5].y}), (std::vector{3.0, -2.0}));
    std::unique_ptr<Jig> g(testsupport::laid_game(300, 225, 50));
    while (g->cut_count < g->item_count) g->cut(800, 600);
    for (int32_t k = 0; k < g->cut_count; ++k) EXPECT_EQ(g->items[k].piece->width, cell_square(*g, 0).side);
    settings.kage = false;
    settings.kaiten = 235;
    settings.hanten = false;
    g.reset(testsupport::laid_game(6000, 4000, 20));
    g->cut(800, 600);
    Piece& p = *g->items[0].piece;
    p.restore_image();
    const CellSquare q = cell_square(*g, g->items[0].id);
    ASSERT_EQ(p.width, 2400);
    EXPECT_EQ(p.image_at(q.side / 2, q.side / 2), at(*g->picture, q.x0 + q.cw / 2, q.y0 + q.ch / 2));
}

}  // namespace
