// The shell folder's state: the main window's menu and surface, the skin's elements and pointer, and the hook that
// reads the skin file.
#pragma once
#include <cstdint>
#include <cstdio>

#include "graphics/geometry.h"
#include "graphics/memdc.h"
#include "shell/skin_table.h"
#include "ws/ws.h"

struct Shell {
    ws::Hmenu main_menu = 0;       // "IDM_MAIN_MENU", kept even when no menu bar shows it
    MemDC* main_back = nullptr;    // what the main window paints: white, under the skin
    SkinElement skin_elements[kSkinSlots];
    int32_t skin_hover_slot = -1;  // button under the pointer, -1 = none
    Point skin_press_point;        // client point of the last left-button press
    // The skin reader, installed by the skin code; read_settings hands it the open skin file when `skin` is on.
    // While none is installed the skin file is not read.
    void (*read_skin_file)(std::FILE* file) = nullptr;

    void reset() { *this = Shell{}; }
};
extern Shell shell;

// Deletes the game in play (drop_current_game), then puts the whole program's records back to their start values: the shell's (its main window's surface deleted) and,
// through the folders below, every other one. The tests call it between cases.
void reset_shell_state();
