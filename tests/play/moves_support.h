// Helpers of the play-operation tests: a main window holding a game window that hands the mouse to the play
// code, games laid by hand (plain square pieces) or cut from a pattern picture, mouse gestures in the layer's
// test mode, and the desk as it must look when drawn from scratch.
#pragma once
#include "support/game_builder.h"
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "desk/background.h"
#include "desk/desk.h"
#include "desk/display.h"
#include "graphics/ddbase.h"
#include "graphics/ws.h"
#include "pieces/piece.h"
#include "play/jig.h"
#include "play/play.h"
#include "puzzle/lines.h"
#include "puzzle/random.h"
#include "shell/mywin.h"
#include "shell/settings.h"
#include "shell/sound.h"
#include "shell/startup.h"

namespace movestest {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr int32_t kClientW = 400, kClientH = 300;  // the game window's client area
constexpr int32_t kDeskW = 800, kDeskH = 600;
constexpr uint32_t kBack = 0x808080;  // the desk's single colour
constexpr double kPi = std::numbers::pi;

using testsupport::at;

using testsupport::PixelAt;

// A game window for these tests: paints the desk and, once cutting is over, gives the mouse to the play code.
inline intptr_t game_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    game_window = hwnd;
    if (msg == ws::WM_PAINT) {
        desk_paint(hwnd);
        return 0;
    }
    Jig* g = current_game;
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

class PlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = settings;
        saved_sounds_ = sound_list;
        settings.kage = settings.smooth = settings.nokosu = false;
        settings.ddraw = false;
        settings.desk_w = kDeskW;
        settings.desk_h = kDeskH;
        settings.back_type = IDM_BACK_RGB;
        settings.back_color = kBack;
        settings.back_gazou = settings.back_gazou_line = false;
        settings.kaiten = KAITEN_QUARTER;
        settings.hanten = true;
        settings.sound = true;
        // Every event names a file of its own, so the recorded plays tell the events apart.
        for (int32_t e = 1; e <= 13; ++e) sound_list[size_t(e - 1)].file = std::string("ev") + std::to_string(e) + ".wav";
        static const bool registered = [] {
            ws::register_class({"MovesTestMain", ws::def_window_proc, 0, ws::IDC_ARROW, ws::NO_BACKGROUND, ""});
            ws::register_class({"MovesTestGame", game_proc, 0, ws::IDC_ARROW, ws::NO_BACKGROUND, ""});
            ws::register_class({"MovesTestTray", tray_proc, 0, ws::IDC_ARROW, 0xFFFFFF, ""});
            return true;
        }();
        (void)registered;
        main_window = ws::create_window("MovesTestMain", "zelto", ws::WS_POPUP | ws::WS_VISIBLE, 0, 0,
                                        kClientW + 200, kClientH + 100, 0, 0);
        game_window = ws::create_window("MovesTestGame", "Zelto", ws::WS_CHILD | ws::WS_VISIBLE, 0, 0, kClientW,
                                        kClientH, main_window, 0);
        ASSERT_NE(game_window, 0);
        init_window();
        reset_gesture();
        tray_messages().clear();
        line_const_init();
    }

    void TearDown() override {
        delete current_game;
        current_game = nullptr;
        delete presenter;
        presenter = nullptr;
        finish_window();
        reset_gesture();
        ws::test::reset();
        main_window = game_window = 0;
        for (auto& t : tray_window) t = 0;
        view_x = view_y = scroll_dx = scroll_dy = 0;
        ctrl_down = f1_down = 0;
        game_saved = 0;
        save_path.clear();
        settings = saved_;
        sound_list = saved_sounds_;
    }

    Jig& new_game() { return testsupport::new_blank_game(); }
    Piece& add_piece(Jig& game, int32_t cx, int32_t cy, int32_t w, int32_t h, const PixelAt& pixel) {
        return testsupport::add_piece(game, cx, cy, w, h, pixel);
    }
    Piece& add_solid(Jig& game, int32_t cx, int32_t cy, int32_t size, uint32_t word) {
        return testsupport::add_solid(game, cx, cy, size, word);
    }

    // Lays the desk afresh from the background and every item (plain path), as a game shows it after cutting.
    void draw_desk(Jig& game) {
        desk_image->blit(0, 0, desk_width, desk_height, *desk_back, 0, 0, SRCCOPY);
        game.disp(nullptr);
    }

    // The presenter of the game, with every view handed over and dropped from the piece, as a cut game has it.
    void start_presenter(Jig& game) {
        presenter = new DDBase(max_cells);
        presenter->init(game_window);
        presenter->table_count = presenter->count;
        for (int32_t i = 0; i < game.item_count; ++i) {
            Piece& p = *game.items[i].piece;
            p.hand_over_view(game.items[i].id);
        }
        game.disp(nullptr);
    }

    // The desk as it must be: the background with every shown item's view laid on it in display order.
    std::vector<uint32_t> fresh_desk(Jig& game) {
        std::vector<uint32_t> out(size_t(desk_width) * size_t(desk_height));
        for (int32_t y = 0; y < desk_height; ++y)
            for (int32_t x = 0; x < desk_width; ++x) out[size_t(y) * size_t(desk_width) + size_t(x)] = at(*desk_back, x, y) & kWhite;
        for (int32_t i = 0; i < game.item_count; ++i) {
            const Item& it = game.items[i];
            if (it.hidden == 1) continue;
            Piece& p = *it.piece;
            for (int32_t y = std::max(p.rect.top, 0); y < std::min(p.rect.bottom, desk_height); ++y)
                for (int32_t x = std::max(p.rect.left, 0); x < std::min(p.rect.right, desk_width); ++x) {
                    const uint32_t w = p.view_at(x - p.rect.left, y - p.rect.top) & kWhite;
                    if (w != kWhite) out[size_t(y) * size_t(desk_width) + size_t(x)] = w;
                }
        }
        return out;
    }
    // Number of desk pixels that differ from the fresh drawing.
    int64_t desk_faults(Jig& game) {
        const std::vector<uint32_t> want = fresh_desk(game);
        int64_t bad = 0;
        for (int32_t y = 0; y < desk_height; ++y)
            for (int32_t x = 0; x < desk_width; ++x)
                bad += (at(*desk_image, x, y) & kWhite) != want[size_t(y) * size_t(desk_width) + size_t(x)];
        return bad;
    }
    // Plain path: number of pixels where under_cache differs from the desk without the held item.
    int64_t cache_faults(Jig& game) {
        if (!game.under_cache) return -1;
        Item& held = game.items[game.item_count - 1];
        held.hidden = 1;
        const std::vector<uint32_t> want = fresh_desk(game);
        held.hidden = 0;
        const Rect r = held.piece->rect;
        int64_t bad = 0;
        for (int32_t y = std::max(r.top, 0); y < std::min(r.bottom, desk_height); ++y)
            for (int32_t x = std::max(r.left, 0); x < std::min(r.right, desk_width); ++x)
                bad += (at(*game.under_cache, x - r.left, y - r.top) & kWhite) !=
                       want[size_t(y) * size_t(desk_width) + size_t(x)];
        return bad;
    }

    // What the window shows at (x, y) after painting all of it.
    uint32_t shown(int32_t x, int32_t y) {
        ws::paint_at_once(game_window, nullptr);
        return at(*ws::client_surface(game_window), x, y) & kWhite;
    }

    // ---- the mouse, in game-window coordinates ----
    Point screen(Point client) { return ws::client_to_screen(game_window, client); }
    void input(uint32_t msg, Point client, uint32_t keys = 0) {
        ws::test::mouse(msg, screen(client), keys);
        ws::test::pump();
    }
    void press(Point p, uint32_t msg = ws::WM_LBUTTONDOWN) { input(msg, p); }
    void drag(Point p) { input(ws::WM_MOUSEMOVE, p); }
    void release(Point p, uint32_t msg = ws::WM_LBUTTONUP) { input(msg, p); }
    void wait(uint32_t ms) { ws::test::advance(ms); }
    // A quick click: press, 100 ms, release.
    void click(Point p, uint32_t down = ws::WM_LBUTTONDOWN, uint32_t up = ws::WM_LBUTTONUP) {
        press(p, down);
        wait(100);
        release(p, up);
    }

    // Events played since the start of the test (their numbers, in order).
    std::vector<int32_t> played() {
        std::vector<int32_t> out;
        for (const auto& s : ws::test::sounds())
            for (int32_t e = 1; e <= 13; ++e)
                if (s.path.ends_with(std::string("/ev") + std::to_string(e) + ".wav") ||
                    s.path == std::string("ev") + std::to_string(e) + ".wav")
                    out.push_back(e);
        return out;
    }
    int32_t count_played(int32_t event) {
        int32_t n = 0;
        for (int32_t e : played()) n += e == event;
        return n;
    }

private:
    Settings saved_;
    std::array<SoundEntry, kSoundEvents> saved_sounds_;
};

// ---- games cut from a picture ----

// A colour for picture pixel (x, y) with no pure white or black in it.
inline uint32_t pattern_word(int32_t x, int32_t y) {
    const uint32_t h = uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u;
    const uint32_t word = ((h ^ (h >> 13)) & 0xFFFFFFu) | 0x010101u;
    return word == 0xFFFFFFu ? 0xFEFEFEu : word;
}

// A game on a w x h pattern picture with piece_num n, every piece cut onto the desk (and handed to the presenter
// when one is asked for); made the current game.
inline Jig& cut_game(int32_t w, int32_t h, int32_t n, bool with_presenter) {
    delete current_game;
    auto* game = new Jig(blank_game);
    current_game = game;
    game->picture = new MemDC;
    game->picture->create(BIT_SCREEN, w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) at(*game->picture, x, y) = pattern_word(x, y);
    game->pic_w = w;
    game->pic_h = h;
    game->replace_black_white();
    settings.piece_num = n;
    game->make_grid();
    if (with_presenter) {
        presenter = new DDBase(game->item_count);
        presenter->init(game_window);
        presenter->table_count = presenter->count;
    }
    game->line_init();
    while (game->cut_count < game->item_count) game->cut(kClientW, kClientH);
    game->free_dc();
    return *game;
}

// Index of the live item with this id, or -1.
inline int32_t index_of(const Jig& game, int32_t id) {
    for (int32_t i = 0; i < game.item_count; ++i)
        if (game.items[i].id == id) return i;
    return -1;
}

// Lays item i at `angle` so that the picture's centre would lie at desk point c if the item sat at its true
// place: the item's centre is c minus its offset to the picture's centre, turned by the angle.
inline void lay(Jig& game, int32_t i, Point c, double angle) {
    Item& it = game.items[i];
    Piece& p = *it.piece;
    const Point r = rotate_point(it.join_dx, -it.join_dy, angle);
    p.cx = c.x - r.x;
    p.cy = c.y + r.y;
    p.set_angle(angle);
    if (presenter) {
        p.hand_over_view(it.id);
    }
}

// Moves item i to the top of the display list, as a pick-up does, and marks it held.
inline void hold_top(Jig& game, int32_t i) {
    const Item it = game.items[i];
    for (int32_t k = i; k + 1 < game.item_count; ++k) game.items[k] = game.items[k + 1];
    game.items[game.item_count - 1] = it;
    game.holding = 1;
}

}  // namespace movestest
