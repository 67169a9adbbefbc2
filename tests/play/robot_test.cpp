// End to end: a robot solves whole puzzles through the mouse on the real game window (quarter-turn clicks, the
// middle button turning pieces over, drags that join), on both drawing paths, until one group is left, the
// completion sound has played and the title says nothing is left.
#include "pieces/desk.h"
#include "play/jigwin_support.h"
#include "play/robot.h"
#include "play/state.h"

namespace {

using namespace jigwintest;

struct Case {
    int32_t pieces;
    int32_t width, height;  // of the picture
    bool presenter;
};

class RobotTest : public RealWindows, public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        prepare();
        const Case& c = GetParam();
        settings.ddraw = c.presenter;
        settings.hanten = true;
        settings.piece_num = c.pieces;
        settings.stretch_size = std::max(c.width, c.height);
        settings.desk_w = 1600, settings.desk_h = 1200;
        // The presenter composes no more than the screen (800 x 600 on the offscreen platform).
        settings.win_width = ws::screen_width();
        settings.win_height = ws::screen_height();
        settings.dtsave = false;
        write_picture("robot.bmp", c.width, c.height);
        ::play.picture_path = dir_.file("robot.bmp");
    }
    void TearDown() override { finish(); }
};

TEST_P(RobotTest, SolvesThePuzzleWithTheMouseAlone) {
    const Case& c = GetParam();
    register_main_window_class();
    ASSERT_TRUE(create_main_window());
    ws::test::pump();
    Jig* g = ::play.current_game;
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->cut_count, g->item_count);
    ASSERT_EQ(g->item_count, c.pieces);
    ASSERT_EQ(desk.presenter != nullptr, c.presenter);
    int32_t face_down = 0;
    for (int32_t i = 0; i < g->item_count; ++i) face_down += g->items[i].piece->turned;
    EXPECT_GT(face_down, 0) << "some pieces start face down";

    // The picture's centre goes to the lower right, away from where the pieces were scattered (the left 53 % of
    // the window and its upper 70 %).
    const Rect client = ws::get_client_rect(::play.game_window);
    const Point centre{client.right - g->pic_w / 2 - 50, client.bottom - g->pic_h / 2 - 50};
    robot::Robot player(centre);
    ASSERT_TRUE(player.solve(12 * c.pieces))
        << player.why() << " with " << ::play.current_game->item_count << " groups";

    ASSERT_EQ(::play.current_game, g);
    EXPECT_EQ(g->item_count, 1);
    EXPECT_GT(player.stats().joins, c.pieces / 2) << "most joins come from drags (a click's drop may join too)";
    EXPECT_GT(player.stats().middle_clicks, 0);
    EXPECT_GT(player.stats().left_clicks, 0);
    EXPECT_EQ(plays_of(SOUND_GM_END), 1);
    EXPECT_EQ(plays_of(SOUND_JOINT), c.pieces - 1);
    for (int32_t cell = 0; cell < c.pieces; ++cell) ASSERT_EQ(g->cells[cell].owner, g->items[0].id);
    ws::test::advance(1100);  // the next clock tick writes the final title
    const std::string title = ws::get_window_text(::play.main_window);
    EXPECT_NE(title.find("残り0ﾋﾟｰｽ"), std::string::npos) << title;

    // The finished picture shows in the window at the chosen place.
    ws::paint_at_once(::play.game_window, nullptr);
    MemDC& shown = *ws::client_surface(::play.game_window);
    int32_t bad = 0;
    for (int32_t y = g->pic_h / 4; y < g->pic_h * 3 / 4; y += 7)
        for (int32_t x = g->pic_w / 4; x < g->pic_w * 3 / 4; x += 7) {
            const int32_t wx = centre.x - g->pic_w / 2 + x, wy = centre.y - g->pic_h / 2 + y;
            const uint32_t want = g->picture->words()[size_t(g->pic_h - 1 - y) * size_t(g->pic_w) + size_t(x)];
            const uint32_t got = shown.words()[size_t(shown.height() - 1 - wy) * size_t(shown.width()) + size_t(wx)];
            bad += (want & 0xFFFFFF) != (got & 0xFFFFFF);
        }
    EXPECT_LT(bad, 3) << "window pixels that do not show the picture";
}

INSTANTIATE_TEST_SUITE_P(Puzzles, RobotTest,
                         ::testing::Values(Case{20, 240, 180, false}, Case{20, 240, 180, true},
                                           Case{100, 280, 280, false}, Case{100, 280, 280, true}),
                         [](const auto& info) {
                             return std::to_string(info.param.pieces) + (info.param.presenter ? "_presenter" : "_plain");
                         });

}  // namespace
