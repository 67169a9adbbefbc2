// The companion windows offered to the game window.
#include "graphics/hooks.h"
#include "windows/companions.h"

#include "play/companions.h"
#include "windows/guide.h"
#include "windows/tray.h"
#include "windows/viewer.h"

void install_companions() {
    hooks.open_list = viewer_create;
    hooks.open_guide = guide_create;
    hooks.close_trays = close_all_trays;
}
