// The companion windows offered to the game window.
#include "graphics/hooks.h"
#include "windows/companions.h"

#include "desk/state.h"
#include "play/companions.h"
#include "play/state.h"
#include "windows/guide.h"
#include "windows/guide_state.h"
#include "windows/tray.h"
#include "windows/tray_strip.h"
#include "windows/viewer.h"
#include "windows/viewer_state.h"

void reset_windows_state() {
    drop_current_game();
    guide.reset();
    viewer.reset();
    trays.reset();
    reset_play_state();
}

void install_companions() {
    hooks.open_list = viewer_create;
    hooks.open_guide = guide_create;
    hooks.close_trays = close_all_trays;
}
