// The graphics folder's records put back to their start values.
#include "graphics/state.h"

void reset_graphics_state() { graphics.reset(); }
