// The companion windows offered to the game window.
#include "windows/companions.h"

#include "play/companions.h"
#include "windows/guide.h"
#include "windows/tray.h"
#include "windows/viewer.h"

void install_companions() {
    companions.open_list = viewer_create;
    companions.open_guide = guide_create;
    companions.close_trays = close_all_trays;
}
