// The road of a game: from a request (a dropped file, the command line, a saved game) through cutting one piece per
// posted IDM_INIT_DISP to play, and the end of a game.
//
// Terms: cutting is under way while cut_count < item_count; each IDM_INIT_DISP cuts one piece and posts the next,
// so the window stays responsive while the pieces appear. The busy cursor shows from the request to the start
// of play.
#pragma once
#include <cstdint>
#include <string>

#include "ws/ws.h"

// Destroys the game in play (if any) and forgets the gesture that was under way on it. A game ended while it was
// still being cut gives back the busy cursor its road pushed.
void end_game();

// A game window was made or destroyed: no cutting step of an earlier window waits any more.
void reset_road();

// Posts the next cutting step to the game window unless one is already waiting (a step left queued by an ended
// game serves the new one, so there is never more than one chain of steps).
void queue_cutting(ws::Hwnd hwnd);

// The roads that put a game on another picture in place of the game in play (the menu's open and paste, the
// picture list, a drop). `picture` is fitted first, while the game in play still stands: an unreadable one
// changes nothing (its loader has told the player). Then the close question (offer_save): Cancel, or a save that
// fails, changes nothing either. Only then does the picture list close, the game in play end, picture_path become
// `picture` (with keep_copy and view_follow on, its copy in the picture folder) and save_path "", and the new
// game go on the desk and start cutting. false = nothing changed.
bool replace_game(ws::Hwnd hwnd, const std::string& picture, bool keep_copy);

// A picture dropped on the game window (replace_game, played from its copy with view_follow on); the window
// comes to the front for the new game.
void start_dropped_picture(ws::Hwnd hwnd, const std::string& file);

// The picture in picture_path when the game window is created (no game exists yet): builds the game and starts
// cutting it; an unreadable picture leaves no game. keep_copy: with view_follow on, play it from its copy in
// the picture folder.
void start_first_picture(ws::Hwnd hwnd, bool keep_copy);

// A picture clicked in the picture list (replace_game).
void start_listed_picture(ws::Hwnd hwnd, const std::string& file);

// Opens the picture list on the picture folder (view_dir) for choosing a game, when the program has one.
void open_picture_list(ws::Hwnd hwnd);

// Opens the guide window on picture_path, closing an open one first (when the program has a guide window).
void open_guide(ws::Hwnd hwnd);

// A saved game chosen to resume: checked first (a refused file is reported and changes nothing), then the close
// question (offer_save; Cancel, or a save that fails, changes nothing), then the picture list is closed, the game
// in play ended, save_path set, the picture taken out into picture_path and IDM_CONTINUE_GAME posted. 1 = posted.
int32_t resume_saved_game(ws::Hwnd hwnd, const std::string& file);

// IDM_INIT_DISP: cuts the next piece and shows it, or, when all are cut, starts play (title and clock).
void init_disp_step(ws::Hwnd hwnd);

// IDM_CONTINUE_GAME: builds a game on picture_path with the piece count and stretch size of the saved game (the
// menu's marks follow them), reads save_path into it and shows it. A game that cannot be built or read is ended
// again.
void continue_saved_game();

// Copies the picture file `path` into the picture folder (view_dir) once and makes `path` name the copy: the first
// of its own name and that name followed by 1, 2, ... 100 that already holds the same bytes, or else a copy under
// the first of them that is free. A picture already lying in the picture folder, or one that cannot be copied
// there at all, keeps its path: the game is then played from where it lies.
void keep_picture_copy(std::string& path);

// Whether the files `a` and `b` can both be read and hold the same bytes.
bool same_file_bytes(const std::string& a, const std::string& b);
