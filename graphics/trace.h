// Trace log (a ring of 501 lines in ZELTOTR.TXT) and the internal error report that ends the program.
#pragma once
#include <cstdint>
#include "graphics/where.h"

void trace_open(const char* mode);
void trace_close();
// Writes one line: the tick prefix, the module name and a blank, then `event` (which ends in "\n").
void trace_line(const char* module, const char* event);
// Opening of the log at start-up: "w" and the 501 filler lines.
void trace_start();

// Saves the game in progress, writes the reason to the trace log, tells the player and exits with code 1.
// `source` is the module name ("glapi", "CUT", ...), `step` names what failed.
[[noreturn]] void fatal_error(const char* source, int line, const char* step, long error_number);

// The module name of a caller's source location: the file's base name without its extension.
const char* module_name(const Where& where);
