// A build tool: writes the program icon as a PNG file for the desktop launcher (zelto_make_icon out.png).
#include <cstdio>

#include "ws/ws.h"
#include "resources/resources.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zelto_make_icon out.png\n");
        return 2;
    }
    ws::init(argc, argv, true);
    MemDC icon;
    draw_program_icon(icon, 64);
    const bool ok = ws::save_icon_png(icon, argv[1]);
    icon.destroy();
    return ok ? 0 : 1;
}
