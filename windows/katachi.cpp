// Placeholder until the piece shape chooser lands: nothing opens.
#include "windows/katachi.h"

ws::Hwnd open_katachi(ws::Hwnd) { return 0; }
