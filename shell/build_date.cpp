// The build-date box: when this program was compiled.
#include <sstream>
#include <string>

#include "shell/commands.h"
#include "ws/tr.h"

void show_build_date() {
    // __DATE__ pads a one-digit day with a second blank ("Dec  7 2026"): one blank between the parts reads better.
    std::istringstream date(__DATE__);
    std::string month, day, year;
    date >> month >> day >> year;
    const std::string when = month + " " + day + " " + year + "  " + __TIME__;
    char text[256];
    std::snprintf(text, sizeof text, ws::tr("shell", "このプログラムは\n%s\nにコンパイルされました。").c_str(), when.c_str());
    ws::message_box(0, text, "zelto", ws::MB_OK);
}
