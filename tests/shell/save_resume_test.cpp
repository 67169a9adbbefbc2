// Saving and resuming: the same groups come back at the same places, angles and sides; the clock carries on;
// the emergency save.
#include "desk/state.h"
#include "graphics/state.h"
#include "pieces/desk.h"
#include "play/state.h"
#include "shell/save_support.h"

#include "graphics/trace.h"

using namespace save_test;

namespace {

class SaveResume : public SaveTest {};

struct Snapshot {
    int32_t id, home_dx, home_dy, turned, cx, cy, merged;
    double angle;
    Rect rect;
    std::vector<uint32_t> image, view;
};

// What the desk shows of each group once its view is rendered at its angle.
std::vector<Snapshot> snapshot(Jig& game) {
    std::vector<Snapshot> out;
    for (int32_t i = 0; i < game.item_count; ++i) {
        const Item& it = game.items[i];
        Piece& p = *it.piece;
        p.set_angle(p.angle);
        out.push_back({it.id, it.home_dx, it.home_dy, p.turned, p.cx, p.cy, it.merged, p.angle, p.rect,
                       words_of(p.image), words_of(p.view)});
    }
    return out;
}

void expect_same(const std::vector<Snapshot>& a, const std::vector<Snapshot>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE("item " + std::to_string(i));
        EXPECT_EQ(a[i].id, b[i].id);
        EXPECT_EQ(a[i].home_dx, b[i].home_dx);
        EXPECT_EQ(a[i].home_dy, b[i].home_dy);
        EXPECT_EQ(a[i].turned, b[i].turned);
        EXPECT_EQ(a[i].cx, b[i].cx);
        EXPECT_EQ(a[i].cy, b[i].cy);
        EXPECT_EQ(a[i].merged, b[i].merged);
        EXPECT_EQ(a[i].angle, b[i].angle);
        EXPECT_EQ(a[i].rect, b[i].rect);
        EXPECT_TRUE(a[i].image == b[i].image) << "upright picture differs";
        EXPECT_TRUE(a[i].view == b[i].view) << "view differs";
    }
}

TEST_F(SaveResume, GroupsComeBackWhereTheyLayTurnedAndRotatedAsBefore) {
    settings.kage = true;
    write_pattern_bmp(file("p.bmp"), 120, 90);
    auto game = cut_game(file("p.bmp"), 12);
    ASSERT_GE(game->item_count, 9);
    const int32_t pieces = game->item_count;
    // Three joins: two pieces onto one, another pair on its own; groups lying turned and at odd angles.
    join_items(*game, 0, 1);
    join_items(*game, 0, 1);
    join_items(*game, 3, 5);
    turn_item(*game, 0);
    game->items[3].piece->set_angle(std::numbers::pi / 2);
    game->items[2].piece->set_angle(1.2345);
    ASSERT_EQ(game->item_count, pieces - 3);
    display.play_seconds = 125;
    desk.view_x = 40;
    desk.view_y = 25;
    const std::vector<Snapshot> before = snapshot(*game);
    Cell cells[max_cells];
    std::copy(game->cells, game->cells + pieces, cells);
    ASSERT_EQ(save_game(*game, file("p.zlt")), 1);

    game.reset();  // the game in play goes before a resume
    desk.view_x = desk.view_y = 0;
    auto back = resume(file("p.zlt"));
    ASSERT_TRUE(back);
    EXPECT_EQ(play.picture_path, "zelto_temp.bmp");
    EXPECT_EQ(back->item_count, pieces - 3);
    EXPECT_EQ(back->cut_count, back->item_count);
    EXPECT_EQ(display.clock_carry, 125);
    EXPECT_EQ(desk.view_x, 40);
    EXPECT_EQ(desk.view_y, 25);
    for (int32_t k = 0; k < pieces; ++k) {
        EXPECT_EQ(back->cells[k].owner, cells[k].owner) << k;
        EXPECT_TRUE(std::equal(&cells[k].edges[0][0], &cells[k].edges[0][0] + 4 * max_line_points,
                               &back->cells[k].edges[0][0]))
            << k;
    }
    expect_same(before, snapshot(*back));
    EXPECT_TRUE(ws::test::messages().empty());
}

TEST_F(SaveResume, PlayTimeCarriesOnFromTheSavedSeconds) {
    write_pattern_bmp(file("p.bmp"), 64, 64);
    auto game = cut_game(file("p.bmp"), 4);
    display.play_seconds = 125;
    ASSERT_EQ(save_game(*game, file("p.zlt")), 1);
    game.reset();
    display.play_seconds = 0;
    auto back = resume(file("p.zlt"));
    ASSERT_TRUE(back);
    back->windowtitle(TITLE_RESUME);
    EXPECT_EQ(display.play_seconds, 125);
    ws::test::advance(7000);
    back->windowtitle(TITLE_TICK);
    EXPECT_EQ(display.play_seconds, 132);
    // Saved again, the file keeps the time that went on.
    ASSERT_EQ(save_game(*back, file("p2.zlt")), 1);
    EXPECT_EQ(le32(read_bytes(file("p2.zlt")), 36), 132);
}

TEST_F(SaveResume, AResumedGameSavesAgainFromItsTemporaryPicture) {
    write_pattern_bmp(file("p.bmp"), 64, 64);
    auto game = cut_game(file("p.bmp"), 4);
    join_items(*game, 1, 2);
    ASSERT_EQ(save_game(*game, file("p.zlt")), 1);
    game.reset();
    auto back = resume(file("p.zlt"));
    ASSERT_TRUE(back);
    EXPECT_EQ(default_save_name(), file("p.zlt"));
    ASSERT_EQ(save_game(*back, file("again.zlt")), 1);
    EXPECT_EQ(read_bytes(file("again.zlt")), read_bytes(file("p.zlt")));
}

// Any game the settings can build is saved and resumed: stretch and piece counts at and beyond the menu's ends,
// the widest cutting-line templates (points far off their edge), the longest edges.
TEST_F(SaveResume, GamesAtTheExtremesResume) {
    const struct {
        int32_t w, h, stretch, pieces, line_num, template_y;
    } cases[] = {
        {40, 30, 0, 1, 10, 0},           {100, 2, 10000, 5000, 10, 0}, {64, 64, 0, 4, 10, 100000},
        {64, 48, 300, 12, 19, -100000},  {50, 40, -5, 0, 4, 100000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " stretch " << c.stretch << " pieces " << c.pieces);
        settings.stretch_size = c.stretch;
        settings.line_num = c.line_num;
        for (auto& t : settings.line)
            for (int32_t i = 1; i < c.line_num - 1; ++i) t[i].y = c.template_y ? c.template_y * (i % 2 ? 1 : -1) : t[i].y;
        line_const_init();
        write_pattern_bmp(file("x.bmp"), c.w, c.h);
        auto game = cut_game(file("x.bmp"), c.pieces);
        ASSERT_GT(game->item_count, 0);
        if (game->item_count > 1) join_items(*game, 0, game->item_count - 1);
        ASSERT_EQ(save_game(*game, file("x.zlt")), 1);
        const int32_t items = game->item_count, pic_w = game->pic_w;
        game.reset();
        auto back = resume(file("x.zlt"));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->item_count, items);
        EXPECT_EQ(back->pic_w, pic_w);
        EXPECT_EQ(settings.stretch_size, c.stretch);
        EXPECT_EQ(settings.piece_num, std::min(c.pieces, max_cells));
        settings = saved_settings_;
        SetUpSettings();
    }
}

class EmergencySave : public SaveTest {};

TEST_F(EmergencySave, WritesTheGameInPlayQuietly) {
    write_pattern_bmp(file("p.bmp"), 64, 64);
    auto game = cut_game(file("p.bmp"), 4);
    play.current_game = game.get();
    emergency_save();
    EXPECT_EQ(saved_game_usable(kEmergencySaveName), 1);
    EXPECT_EQ(read_bytes(file(kEmergencySaveName)).size(), size_t(1664) + read_bytes(file("p.bmp")).size());

    // With its picture gone the save fails without a word and without ending the program; the earlier
    // emergency save stays as it was.
    const Bytes earlier = read_bytes(file(kEmergencySaveName));
    fs::remove(file("p.bmp"));
    emergency_save();
    EXPECT_EQ(read_bytes(file(kEmergencySaveName)), earlier);
    EXPECT_TRUE(ws::test::messages().empty());
}

TEST_F(EmergencySave, NothingIsWrittenWhileCuttingOrWithoutAGame) {
    emergency_save();  // no game
    write_pattern_bmp(file("p.bmp"), 64, 64);
    play.picture_path = file("p.bmp");
    settings.piece_num = 4;
    auto game = std::make_unique<Jig>();
    game->cut(640, 480);  // one piece of four cut
    play.current_game = game.get();
    emergency_save();
    EXPECT_FALSE(fs::exists(file(kEmergencySaveName)));
    EXPECT_EQ(save_game(*game, file("cutting.zlt")), 0);
    EXPECT_FALSE(fs::exists(file("cutting.zlt")));
}

TEST_F(EmergencySave, TheFatalReportSavesTheGameBeforeEnding) {
    write_pattern_bmp(file("p.bmp"), 64, 64);
    auto game = cut_game(file("p.bmp"), 4);
    play.current_game = game.get();
    auto* const old_hook = graphics.emergency_save_hook;
    graphics.emergency_save_hook = emergency_save;
    EXPECT_EXIT(fatal_error("save_test", 1, "test step", 0), ::testing::ExitedWithCode(1), "");
    graphics.emergency_save_hook = old_hook;
    EXPECT_EQ(saved_game_usable(file(kEmergencySaveName)), 1);
}

}  // namespace
