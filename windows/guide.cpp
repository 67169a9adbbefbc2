// Placeholder until the guide window lands: no guide opens.
#include "windows/guide.h"

ws::Hwnd guide_create(ws::Hwnd) { return 0; }
