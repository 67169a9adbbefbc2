// What reaches the game window: the mouse (ignored while cutting), dropped files of every kind, the main window's
// size and keys, and the first game of a run.
#include <algorithm>
#include <fstream>

#include "play/jigwin_support.h"

using namespace jigwintest;

namespace {

class Input : public GameWindowTest {};

// The group ids in display order, of the pieces cut so far.
std::vector<int32_t> display_ids() {
    std::vector<int32_t> ids;
    for (int32_t i = 0; i < std::min(current_game->cut_count, current_game->item_count); ++i)
        ids.push_back(current_game->items[i].id);
    return ids;
}

TEST_F(Input, TheMouseIsIgnoredWhileThePiecesAreCutAndTakenOnceTheyAre) {
    open("pic.bmp");
    ASSERT_TRUE(deliver_step());
    ASSERT_TRUE(deliver_step());
    const Point at = on_screen(piece_centre_on_window(0));
    const std::vector<int32_t> order = display_ids();
    const double angle = current_game->items[0].piece->angle;
    ws::test::mouse(ws::WM_LBUTTONDOWN, at);
    ws::test::mouse(ws::WM_LBUTTONUP, at);
    while (steps_ < 4) ASSERT_TRUE(deliver_one());  // the click arrives between the third and fourth cuts
    EXPECT_EQ(current_game->holding, 0);
    EXPECT_EQ(ws::get_capture(), 0);
    EXPECT_EQ(current_game->items[0].piece->angle, angle) << "a click during cutting turned a piece";
    EXPECT_EQ(plays_of(SOUND_SEL), 0);
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(current_game->items[i].id, order[i]);
    ws::test::pump();

    // Once play has begun the same press picks a piece up.
    const Point now = on_screen(piece_centre_on_window(0));
    ws::test::mouse(ws::WM_LBUTTONDOWN, now);
    ws::test::pump();
    EXPECT_EQ(current_game->holding, 1);
    EXPECT_EQ(plays_of(SOUND_SEL), 1);
    ws::test::mouse(ws::WM_LBUTTONUP, now);
    ws::test::pump();
}

TEST_F(Input, ADroppedFileOfAnotherKindIsRefusedAndTheGameStays) {
    play("pic.bmp");
    Jig* game = current_game;
    std::ofstream("notes.txt") << "not a picture";
    ws::test::drop_files(game_window, {"notes.txt"}, {5, 5});
    ws::test::pump();
    ASSERT_EQ(ws::test::messages().size(), 1u);
    const auto& box = ws::test::messages()[0];
    EXPECT_EQ(box.text, "扱えない形式の画像です。");
    EXPECT_EQ(box.caption, "zelto 通知");
    EXPECT_EQ(box.owner, 0);
    EXPECT_EQ(box.type & 0xF, uint32_t(ws::MB_OK));
    EXPECT_EQ(current_game, game);
    EXPECT_EQ(current_game->item_count, 4);
}

TEST_F(Input, ADroppedNameInQuotesStartsAGameOnThatPicture) {
    play("pic.bmp");
    write_picture("wide.bmp", 128, 64);
    ws::test::drop_files(game_window, {"\"wide.bmp\""}, {5, 5});
    ws::test::pump();
    ASSERT_NE(current_game, nullptr);
    EXPECT_EQ(picture_path, "wide.bmp");
    EXPECT_EQ(current_game->pic_w, 128);
    EXPECT_EQ(current_game->cut_count, current_game->item_count);
    EXPECT_TRUE(ws::test::messages().empty());
}

TEST_F(Input, ADroppedSavedGameResumesWithItsGroupsWhereTheyLay) {
    settings.ddraw = true;
    play("pic.bmp");
    current_game->items[2].piece->cx += 37;
    ws::test::advance(5000);
    ASSERT_EQ(save_game(*current_game, "game.zlt"), 1);
    std::vector<Point> centres;
    for (int32_t i = 0; i < 4; ++i) centres.push_back({current_game->items[i].piece->cx, current_game->items[i].piece->cy});
    const std::vector<int32_t> order = display_ids();
    ws::test::advance(7000);  // time between saving and resuming is not play time
    ws::test::drop_files(game_window, {"game.ZLT"}, {5, 5});
    ws::test::pump();
    ASSERT_NE(current_game, nullptr);
    EXPECT_EQ(save_path, "game.ZLT");
    EXPECT_EQ(picture_path, kResumedPictureBmp);
    EXPECT_EQ(display_ids(), order);
    for (int32_t i = 0; i < 4; ++i) {
        const Item& it = current_game->items[i];
        EXPECT_EQ((Point{it.piece->cx, it.piece->cy}), centres[size_t(i)]) << i;
        // Every group's picture went to the presenter and the piece keeps no view of its own there.
        EXPECT_NE(presenter->surfaces[size_t(it.id)], nullptr) << i;
        EXPECT_EQ(it.piece->view, nullptr) << i;
    }
    EXPECT_NE(title().find("残り3ﾋﾟｰｽ  0時0分5秒"), std::string::npos) << title();
}

TEST_F(Input, ABrokenSavedGameIsRefusedAndTheGameInPlayStays) {
    play("pic.bmp");
    Jig* game = current_game;
    ASSERT_EQ(save_game(*current_game, "game.zlt"), 1);
    fs::resize_file("game.zlt", 700);  // cut off inside the cell tables
    ws::test::drop_files(game_window, {"game.zlt"}, {5, 5});
    ws::test::pump();
    ASSERT_EQ(ws::test::messages().size(), 1u);
    EXPECT_NE(ws::test::messages()[0].text.find("再開できません"), std::string::npos);
    EXPECT_EQ(current_game, game);
    EXPECT_EQ(picture_path, "pic.bmp");
    EXPECT_EQ(save_path, "");
}

TEST_F(Input, ASavedGameNamedAtStartIsResumed) {
    play("pic.bmp");
    ASSERT_EQ(save_game(*current_game, "start.zlt"), 1);
    ws::test::reset();
    ASSERT_EQ(current_game, nullptr);
    play("start.zlt");
    EXPECT_EQ(save_path, "start.zlt");
    EXPECT_EQ(current_game->item_count, 4);
    EXPECT_EQ(emergency_save_hook, &emergency_save);
}

TEST_F(Input, TheGameWindowKeepsFillingTheMainWindow) {
    play("pic.bmp");
    ws::move_window(main_window, 0, 0, 520, 410, true);
    ws::test::pump();
    const Rect main = ws::get_client_rect(main_window), game = ws::get_client_rect(game_window);
    EXPECT_EQ(game.width(), main.width() + 1);
    EXPECT_EQ(game.height(), main.height() + 1);
}

TEST_F(Input, ShiftAndF1CountOnlyWhileTheGuideWindowIsOpen) {
    play("pic.bmp");
    ws::test::key(ws::WM_KEYDOWN, ws::VK_SHIFT);
    ws::test::key(ws::WM_KEYDOWN, ws::VK_F1);
    ws::test::pump();
    EXPECT_EQ(shift_down, 0);
    EXPECT_EQ(f1_down, 0);
    static const bool registered = ws::register_class({"JigwinGuideKeys", ws::def_window_proc, 0, 0, 0, ""});
    (void)registered;
    guide_window = ws::create_window("JigwinGuideKeys", "guide", ws::WS_POPUP, 0, 0, 50, 50, 0, 0);
    ws::set_focus(main_window);
    ws::test::key(ws::WM_KEYDOWN, ws::VK_SHIFT);
    ws::test::key(ws::WM_KEYDOWN, ws::VK_F1);
    ws::test::pump();
    EXPECT_EQ(shift_down, 1);
    EXPECT_EQ(f1_down, 1);
    ws::test::key(ws::WM_KEYUP, ws::VK_SHIFT);
    ws::test::key(ws::WM_KEYUP, ws::VK_F1);
    ws::test::pump();
    EXPECT_EQ(shift_down, 0);
    EXPECT_EQ(f1_down, 0);
}

}  // namespace
