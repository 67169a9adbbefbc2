// The program-wide table of upward calls; every entry starts empty.
#include "graphics/hooks.h"

Hooks hooks;
