// The one table of calls through which code of a lower folder reaches what lives in a higher one.
//
// A lower folder may not call upward, yet a few things it does at run time need the window system or the game: the
// fatal report's message box on the user-interface thread, the clock of the trace log, the emergency save of the
// game in play, file names compared without regard to case. The program fills the table once at start
// (install_hooks, shell/hooks.cpp); the window-system layer's entries are filled by ws::fill_hooks, which the tests
// call too. An empty entry is something the program does not have, and the caller does the harmless thing
// written beside it.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

struct Hooks {
    // ---- the window-system layer's (ws::fill_hooks) ----
    // A modal message box (UTF-8 text and caption, box type MB_*); returns the button pressed. Empty: nothing is
    // shown.
    int32_t (*message_box)(int32_t owner, const std::string& text, const std::string& caption, uint32_t type) =
        nullptr;
    // Milliseconds since the layer started (virtual in test mode). Empty: always 0.
    uint32_t (*tick_count)() = nullptr;
    // True on the thread that runs the windows. Empty: every thread counts as that thread.
    bool (*is_ui_thread)() = nullptr;
    // From any thread: runs `fn` on the user-interface thread soon; false when it was not queued. Empty: never
    // queued.
    bool (*run_on_ui_thread)(std::function<void()> fn) = nullptr;
    // Whether two file names are equal without regard to case (Unicode case folding); callable from any thread.
    // Empty: only equal bytes are equal.
    bool (*same_name)(const std::string& a, const std::string& b) = nullptr;

    // ---- the game's ----
    // Saves the game in progress; fatal_error calls it first (play installs it when the game window is made). It
    // must not call fatal_error itself (the report guards against recursion anyway). Empty: nothing is saved.
    void (*emergency_save)() = nullptr;

    void reset() { *this = Hooks{}; }
};
extern Hooks hooks;
