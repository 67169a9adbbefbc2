// The program's table of upward calls, filled at start.
#include "shell/hooks.h"

#include "graphics/hooks.h"
#include "ws/ws.h"

void install_hooks() { ws::fill_hooks(hooks); }
