// Placeholder until the trays land: no tray opens.
#include "windows/tray.h"

Point tray_origin;

void tray_add() {}
ws::Hwnd tray_create(ws::Hwnd, const std::string&) { return 0; }
void close_all_trays() {}
