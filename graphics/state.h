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
