// The graphics folder's state: the trace log's switch and file, the export's name (the fatal report's emergency
// save is hooks.emergency_save, graphics/hooks.h).
#pragma once
#include <cstdint>

struct Graphics {
    int32_t trace_switch = 0;                   // 1 = tracing on
    char trace_file_name[260] = "ZELTOTR.TXT";
    // The export file name: the caller fills it (the export commands take it from the save dialog) before save_bmp.
    char bmp_name[260] = "";

    void reset() { *this = Graphics{}; }
};
extern Graphics graphics;

// Puts the folder's records back to their start values. The table of upward calls (hooks) is not among them: it is
// filled once at start, and what fills it is not this folder's.
void reset_graphics_state();
