// The graphics folder's state: the trace log's switch and file, the fatal report's save hook, the export's name.
#pragma once
#include <cstdint>

struct Graphics {
    int32_t trace_switch = 0;                   // 1 = tracing on
    char trace_file_name[260] = "ZELTOTR.TXT";
    // Called first by fatal_error when a game is in progress; the play code installs it.
    // It must not call fatal_error itself (the report guards against recursion anyway).
    void (*emergency_save_hook)() = nullptr;
    // The export file name: the caller fills it (the export commands take it from the save dialog) before save_bmp.
    char bmp_name[260] = "";

    void reset() { *this = Graphics{}; }
};
extern Graphics graphics;
