// Bitmap exports: the window export holds exactly what the window shows with the view moved, on both
// presentation paths; the all-pieces export writes one file per display item.
#include "graphics/bmp_reader.h"
#include "pieces/desk.h"
#include "play/jigwin_support.h"
#include "play/state.h"
#include "shell/menu.h"

using namespace jigwintest;

namespace {

class MenuExport : public GameWindowTest {};

TEST_F(MenuExport, TheWindowExportIsWhatTheWindowShows) {
    for (bool ddraw : {false, true}) {
        settings.ddraw = ddraw;
        play("pic.bmp");
        desk.view_x = 37, desk.view_y = 21;
        redraw_whole_window(::play.game_window);
        ws::test::push_file_answer(dir_.file("shot"));
        ws::send_message(::play.main_window, ws::WM_COMMAND, IDM_BMP_WIN, 0);
        BmpPicture shot;
        ASSERT_TRUE(read_bmp_file("shot.bmp", shot)) << ddraw;
        MemDC& window = *ws::client_surface(::play.game_window);
        ASSERT_EQ(shot.width, window.width());
        ASSERT_EQ(shot.height, window.height());
        int32_t differing = 0;
        for (size_t i = 0; i < shot.words.size(); ++i) differing += (shot.words[i] & 0xFFFFFF) != (window.words()[i] & 0xFFFFFF);
        EXPECT_EQ(differing, 0) << "presenter " << ddraw;
        ws::destroy_window(::play.main_window);
        ws::test::reset();
    }
}

TEST_F(MenuExport, AllPiecesGiveOneFileEachAndANoPieceChoiceIsAsked) {
    play("pic.bmp");
    ::play.last_selected =
        ::play.current_game->item_count;  // joins left the index beyond the items: no piece is chosen
    ws::send_message(::play.main_window, ws::WM_COMMAND, IDM_BMP_PIECE, 0);
    ASSERT_EQ(ws::test::messages().size(), 1u);
    EXPECT_EQ(ws::test::messages()[0].text, "どれかピースを選択してください。");
    ws::send_message(::play.main_window, ws::WM_COMMAND, IDM_BMP_PIECE_ALL, 0);
    for (int32_t i = 0; i < 5; ++i) {
        BmpPicture piece;
        char name[32];
        std::snprintf(name, sizeof name, "PIECE_%03d.BMP", int(i));
        EXPECT_EQ(read_bmp_file(name, piece), i < 4) << name;
        if (i < 4) {
            EXPECT_EQ(piece.width, ::play.current_game->items[i].piece->view_width) << name;
        }
    }
}

}  // namespace
