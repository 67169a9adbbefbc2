// The one table of calls through which code of a lower folder reaches what lives in a higher one.
//
// A lower folder may not call upward, yet a few things it does at run time need the window system or the game: the
// fatal report's message box on the user-interface thread, the clock of the trace log, the emergency save of the
// game in play, file names compared without regard to case, the end of a game laid on the desk, the companion
// windows, the recovery file and the menu's marks that play meets. Each entry is filled at start by the folder that
// provides it: the window-system layer's by ws::fill_hooks (from install_hooks, shell/hooks.cpp, and the tests'
// start), the others as the comments say. An empty entry is something the program does not have, and the caller does the harmless thing
// written beside it.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

struct Jig;

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
    // A text of the game (Japanese, UTF-8) in the player's language (ws::tr); callable from any thread. Empty: the
    // text as it is.
    std::string (*translate)(const char* context, const char* text) = nullptr;

    // ---- the game's ----
    // Saves the game in progress; fatal_error calls it first (play installs it when the game window is made). It
    // must not call fatal_error itself (the report guards against recursion anyway). Empty: nothing is saved.
    void (*emergency_save)() = nullptr;
    // What ending a game laid on the desk does in play (its clock, companions, presenter, temporary pictures), run
    // by the record's destructor first (play fills it at start). Empty: the record only frees its own memory.
    void (*end_of_laid_game)(Jig& game) = nullptr;

    // ---- the companion windows' (install_companions, windows/) ----
    int32_t (*open_list)(int32_t parent) = nullptr;   // the picture list on view_folder and view_title
    int32_t (*open_guide)(int32_t parent) = nullptr;  // the guide window on picture_path
    void (*close_trays)() = nullptr;                  // the game ended: every tray emptied and closed

    // ---- the shell's ----
    // The recovery file of the game in play (install_recovery): play tells it what happens to the game.
    void (*game_changed)() = nullptr;     // a move, a turn or a join changed the game in play
    void (*recovery_due)() = nullptr;     // the game window's kRecoveryTimer fired
    void (*forget_recovery)() = nullptr;  // the game ended cleanly or gave way to another: its recovery is not wanted
    // The menu (set with the main window): play changed settings the menu marks (a resume takes its file's piece
    // count and picture size), so the marks are set again.
    void (*settings_changed)() = nullptr;

    void reset() { *this = Hooks{}; }
};
extern Hooks hooks;
