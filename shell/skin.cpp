// Placeholder until the skin lands: the skin is never in force.
#include "shell/skin.h"

void read_skin(std::FILE*) {}
bool skin_window_rect(Rect&) { return false; }
bool skin_game_rect(Rect&) { return false; }
void draw_skin() {}
int32_t skin_show_num(int32_t value) { return value; }
int32_t skin_show_sz(int32_t value) { return value; }
void skin_press(int32_t, int32_t) {}
void skin_release(int32_t, int32_t, int32_t) {}
void skin_hover(int32_t, int32_t) {}
void skin_drag(int32_t, int32_t) {}
void skin_timer() {}
