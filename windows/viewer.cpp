// Placeholder until the picture list lands: no list opens.
#include "windows/viewer.h"

ws::Hwnd viewer_create(ws::Hwnd) { return 0; }
