// The window title with the pieces left and the time played, and the play clock behind it.
#include "desk/title.h"

#include <cstdio>
#include <string>

#include "desk/state.h"
#include "graphics/trace.h"
#include "puzzle/jig.h"
#include "ws/tr.h"
#include "ws/ws.h"

namespace {

void restart_clock_timer() {
    if (!display.game_window) return;
    ws::kill_timer(display.game_window, kClockTimer);
    ws::set_timer(display.game_window, kClockTimer, kClockPeriod);
}

void set_title(const char* text) {
    if (display.main_window) ws::set_window_text(display.main_window, text);
}

// While the pieces are being cut: the size of the puzzle and how many pieces are on the desk so far.
void show_cutting_progress(const Jig& game) {
    char text[256];
    std::snprintf(text, sizeof text, ws::tr("desk", "zelto %d×%d %dﾋﾟｰｽ(%d×%d) %dﾋﾟｰｽ").c_str(), int(game.pic_w),
                  int(game.pic_h), int(game.cols * game.rows), int(game.cols), int(game.rows), int(game.cut_count));
    set_title(text);
}

// During play: the joins still missing and the time played. The clock difference is taken unsigned, so a tick
// count that wrapped round since the start still gives the right duration.
void show_play_status(const Jig& game) {
    display.play_seconds = int32_t((display.clock_now - display.clock_start) / 1000u + uint32_t(display.clock_carry));
    const int32_t hours = display.play_seconds / 3600;
    const int32_t minutes = (display.play_seconds % 3600) / 60;
    const long seconds = long(display.play_seconds % 60);
    // The translation keeps the conversions and their order: only the words and the clock's form change.
    const std::string form = ws::tr("desk", "zelto %d×%d %dﾋﾟｰｽ(%d×%d) 残り%dﾋﾟｰｽ  %d時%d分%ld秒");
    char text[256];
    std::snprintf(text, sizeof text, form.c_str(), int(game.pic_w), int(game.pic_h), int(game.cols * game.rows),
                  int(game.cols), int(game.rows), int(game.item_count - 1), int(hours), int(minutes), seconds);
    set_title(text);
}

}  // namespace

void windowtitle(Jig& jig, int32_t mode) {
    if (mode < TITLE_START || mode > TITLE_CUTTING) return;
    trace_line("desk", "windowtitle start\n");
    if (mode == TITLE_CUTTING) {
        show_cutting_progress(jig);
        trace_line("desk", "windowtitle end\n");
        return;
    }
    if (mode == TITLE_START || mode == TITLE_RESUME) {
        restart_clock_timer();
        display.clock_start = display.clock_now = ws::tick_count();
        if (mode == TITLE_START) display.clock_carry = 0;
    } else {
        display.clock_now = ws::tick_count();
    }
    show_play_status(jig);
    // A complete puzzle keeps its final time in the title.
    if (jig.item_count == 1 && display.game_window) ws::kill_timer(display.game_window, kClockTimer);
    trace_line("desk", "windowtitle end\n");
}
