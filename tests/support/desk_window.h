// A main window holding a game window that paints the desk, runs the title clock and, once cutting is over, hands
// the mouse to the play code; with the mouse in the layer's test mode and checks of the desk against a fresh drawing.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "desk/background.h"
#include "desk/display.h"
#include "desk/state.h"
#include "desk/title.h"
#include "graphics/ddbase.h"
#include "pieces/desk.h"
#include "play/play.h"
#include "play/state.h"
#include "support/cases.h"
#include "support/game_builder.h"
#include "ws/ws.h"

namespace testsupport {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kBack = 0x808080;  // the desk's single colour
constexpr int32_t kClientW = 400, kClientH = 300, kDeskW = 800, kDeskH = 600;
constexpr double kPi = std::numbers::pi;

inline intptr_t desk_game_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    play.game_window = hwnd;
    Jig* g = play.current_game;
    if (msg == ws::WM_PAINT) {
        desk_paint(hwnd);
        return 0;
    }
    if (msg == ws::WM_TIMER && wparam == kClockTimer && g) {
        g->windowtitle(TITLE_TICK);
        return 0;
    }
    if (g && g->cut_count >= g->item_count && play_message(hwnd, msg, wparam, lparam)) return 0;
    return ws::def_window_proc(hwnd, msg, wparam, lparam);
}

// Records what a tray window receives.
inline std::vector<ws::Msg>& tray_messages() {
    static std::vector<ws::Msg> seen;
    return seen;
}
inline intptr_t tray_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    if (msg == IDM_TRAY_PUT) tray_messages().push_back({hwnd, msg, wparam, lparam, 0, 0});
    return ws::def_window_proc(hwnd, msg, wparam, lparam);
}

class DeskWindow : public ::testing::Test {
public:  // open to the free helpers of the tests
    void SetUp() override {
        read_test_settings("support/data/desk_window.rc");
        // Every event names a file of its own, so the recorded plays tell the events apart.
        for (int32_t e = 1; e <= kSoundEvents; ++e)
            play.sound_list[size_t(e - 1)].file = "ev" + std::to_string(e) + ".wav";
        static const bool registered = [] {
            ws::register_class({"TestMain", ws::def_window_proc, 0, ws::IDC_ARROW, ws::NO_BACKGROUND, ""});
            ws::register_class({"TestGame", desk_game_proc, 0, ws::IDC_ARROW, ws::NO_BACKGROUND, ""});
            ws::register_class({"TestTray", tray_proc, 0, ws::IDC_ARROW, 0xFFFFFF, ""});
            return true;
        }();
        (void)registered;
        play.main_window = ws::create_window("TestMain", "zelto", ws::WS_POPUP | ws::WS_VISIBLE, 0, 0, kClientW + 200,
                                        kClientH + 100, 0, 0);
        play.game_window = ws::create_window("TestGame", "Zelto", ws::WS_CHILD | ws::WS_VISIBLE, 0, 0, kClientW,
                                             kClientH, play.main_window, 0);
        ASSERT_NE(play.game_window, 0);
        init_window();
        reset_gesture();
        tray_messages().clear();
        line_const_init();
    }
    void TearDown() override {
        delete play.current_game;
        play.current_game = nullptr;
        delete desk.presenter;
        desk.presenter = nullptr;
        finish_window();
        reset_gesture();
        ws::test::reset();
        play.reset();     // the windows, trays, keys and files of the game just played
        display.reset();  // its range and its clock
    }

    // Lays the desk afresh from the background and every item (plain path), as a game shows it after cutting.
    static void draw_desk(Jig& game) {
        desk.desk_image->blit(0, 0, desk.desk_width, desk.desk_height, *desk.desk_back, 0, 0, SRCCOPY);
        game.disp(nullptr);
    }
    // The presenter of the game, with every view handed over and dropped from the piece, as a cut game has it.
    static void start_presenter(Jig& game) {
        desk.presenter = new DDBase(max_cells);
        desk.presenter->init(play.game_window);
        desk.presenter->table_count = desk.presenter->count;
        for (int32_t i = 0; i < game.item_count; ++i) upload_view(game.items[i]);
        game.disp(nullptr);
    }
    // A game on the pattern picture with every piece cut onto the desk (and handed to the presenter if asked);
    // made the current game.
    static Jig& cut_laid_game(int32_t w, int32_t h, int32_t n, bool with_presenter) {
        delete play.current_game;
        play.current_game = laid_game(w, h, n);
        if (with_presenter) {
            desk.presenter = new DDBase(play.current_game->item_count);
            desk.presenter->init(play.game_window);
            desk.presenter->table_count = desk.presenter->count;
        }
        while (play.current_game->cut_count < play.current_game->item_count) play.current_game->cut(kClientW, kClientH);
        play.current_game->free_dc();
        return *play.current_game;
    }
    // Index of the live item with this group id, or -1.
    static int32_t index_of(const Jig& g, int32_t id) {
        for (int32_t i = 0; i < g.item_count; ++i)
            if (g.items[i].id == id) return i;
        return -1;
    }
    // Lays group `id` at `degrees` so that the picture's centre would lie at c if it sat at its true place.
    static void lay(Jig& g, int32_t id, Point c, double degrees = 0) {
        Item& it = g.items[index_of(g, id)];
        const Point r = rotate_point(it.join_dx, -it.join_dy, degrees * kPi / 180);
        it.piece->cx = c.x - r.x;
        it.piece->cy = c.y + r.y;
        it.piece->set_angle(degrees * kPi / 180);
        upload_view(it);
    }
    // Moves group `id` to the top of the display list, as a pick-up does.
    static void to_top(Jig& g, int32_t id) {
        const int32_t i = index_of(g, id);
        const Item it = g.items[i];
        for (int32_t k = i; k + 1 < g.item_count; ++k) g.items[k] = g.items[k + 1];
        g.items[g.item_count - 1] = it;
    }
    // The desk as it must be: the background with every shown item's view laid on it in display order (one item
    // left out if asked).
    static std::vector<uint32_t> fresh_desk(Jig& game, int32_t without = -1) {
        std::vector<uint32_t> out = top_down(*desk.desk_back);
        for (uint32_t& w : out) w &= kWhite;
        for (int32_t i = 0; i < game.item_count; ++i) {
            const Item& it = game.items[i];
            if (it.hidden == 1 || i == without) continue;
            const Piece& p = *it.piece;
            for (int32_t y = std::max(p.rect.top, 0); y < std::min(p.rect.bottom, desk.desk_height); ++y)
                for (int32_t x = std::max(p.rect.left, 0); x < std::min(p.rect.right, desk.desk_width); ++x) {
                    const uint32_t w = p.view_at(x - p.rect.left, y - p.rect.top) & kWhite;
                    if (w != kWhite) out[size_t(y) * size_t(desk.desk_width) + size_t(x)] = w;
                }
        }
        return out;
    }
    // Pixels of `got`, laid with its corner at r's, that differ inside r from the fresh drawing (one item left out
    // if asked): the desk itself, or the plain path's save-under of the held item.
    static int64_t faults_in(Jig& game, const MemDC& got, Rect r, int32_t without = -1) {
        const std::vector<uint32_t> want = fresh_desk(game, without);
        int64_t bad = 0;
        for (int32_t y = std::max(r.top, 0); y < std::min(r.bottom, desk.desk_height); ++y)
            for (int32_t x = std::max(r.left, 0); x < std::min(r.right, desk.desk_width); ++x)
                bad += (at(got, x - r.left, y - r.top) & kWhite) != want[size_t(y * desk.desk_width + x)];
        return bad;
    }

    // What the window shows at (x, y) after painting all of it (or without painting, as last composed).
    static uint32_t shown(int32_t x, int32_t y, bool paint = true) {
        if (paint) ws::paint_at_once(play.game_window, nullptr);
        return at(*ws::client_surface(play.game_window), x, y) & kWhite;
    }

    // ---- the mouse, in game-window coordinates ----
    static void input(uint32_t msg, Point client, uint32_t keys = 0) {
        ws::test::mouse(msg, ws::client_to_screen(play.game_window, client), keys);
        ws::test::pump();
    }
    Guard guard_;
};

}  // namespace testsupport
