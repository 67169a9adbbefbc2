// Saving a game in progress to a ".zlt" file and resuming it: the writer, the readers and the offered file name.
//
// Resuming runs in this order (begin_resume does the first part): check the chosen file with saved_game_usable
// while the game in play still exists (a refused file leaves that game as it is); close the picture list and
// destroy the game in play (which deletes the temporary pictures); save_path := the file;
// extract_picture(save_path, picture_path); post IDM_CONTINUE_GAME. On that message the game window sets
// piece_num and stretch_size from game_piece_num and game_stretch_size, builds a new game on picture_path and calls
// load_game(new game, save_path); 0 from it means the new game is to be destroyed again.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "ws/tr.h"

struct Jig;

// Texts shown to the player (%s: the file's path) and the title of their message boxes, translated where shown.
inline constexpr const char* kSaveNoticeTitle = ZT_NOOP("play", "zelto 通知");
inline constexpr const char* kSaveFailedText = ZT_NOOP("play", "ゲーム中のデータを保存できませんでした。\n（保存先 : %s）");
inline constexpr const char* kSaveBrokenText = ZT_NOOP("play", "zeltoデータが壊れているため再開できません。\n%s");
inline constexpr const char* kSaveMissingText = ZT_NOOP("play", "%sが見つかりません。");

// The fixed names: the picture of a resumed game, the picture of a saved game shown in the picture list, and the
// emergency save made when the program fails. A picture of the newer formats is read by its content, so one name
// serves them all.
inline constexpr const char* kResumedPictureJpg = "zelto_temp.jpg";
inline constexpr const char* kResumedPictureBmp = "zelto_temp.bmp";
inline constexpr const char* kResumedPictureOwn = "zelto_temp.png";
inline constexpr const char* kListPictureJpg = "zelto_temp2.jpg";
inline constexpr const char* kListPictureBmp = "zelto_temp2.bmp";
inline constexpr const char* kListPictureOwn = "zelto_temp2.png";
inline constexpr const char* kEmergencySaveName = "zelto_save.zlt";
// The temporary pictures above, deleted at the end of a run.
inline constexpr const char* kTempPictures[6] = {kResumedPictureJpg, kResumedPictureBmp, kResumedPictureOwn,
                                                  kListPictureJpg,    kListPictureBmp,    kListPictureOwn};

// message: a save the player asked for: a failure is told, and once the file is written the game's recovery file
// is no longer needed. quiet: the program's own save (emergency, recovery): nothing is told, the recovery stays.
enum class SaveReport { message, quiet };

// Writes `jig` (its cells, its display items, the play time, the view origin, then the file at picture_path, or
// when that file ended early or was damaged the whole BMP of the pixels the game was cut from) to `path`. The
// file is written beside `path` under a temporary name and then put in its place, so a failed save
// never spoils the previous file. 1 = written. 0 = nothing changed: the picture or the file could not be opened
// or written (told to the player in a message box unless `report` is quiet), or the game has no pieces or is
// still being cut. Never ends the program.
int32_t save_game(const Jig& jig, const std::string& path, SaveReport report = SaveReport::message);

// Quietly saves current_game, once all its pieces are cut, to "zelto_save.zlt" in the current folder. Meant for
// the internal error report (hooks.emergency_save, graphics/hooks.h): it never reports, never ends the program,
// and a call made while one is already running returns at once.
void emergency_save();

// The name offered for saving: save_path when set; otherwise picture_path with everything from its last "."
// (searching from the last character down to the second) replaced by ".zlt" (".zlt" alone when there is none),
// or, when a file of that name exists, the first free name with 1, 2, ... before ".zlt".
std::string default_save_name();

// Checks the whole saved game at `path` against the current points per edge, its picture decoded to the last
// row. 1 = it can be resumed. 0 = it cannot be opened (nothing is said) or it is malformed (the player is told).
int32_t saved_game_usable(const std::string& path);

// The first part of a resume: saved_game_usable(path); only if it gives 1, end_game_in_play() (the caller closes
// the picture list and destroys its game there, or returns false to keep it, which stops the resume), then
// save_path := path and extract_picture(save_path, picture_path). 1 = the caller may post IDM_CONTINUE_GAME.
int32_t begin_resume(const std::string& path, const std::function<bool()>& end_game_in_play);

// Checks the saved game at `path` as saved_game_usable does, sets game_piece_num and game_stretch_size from it
// and writes its picture to "zelto_temp.jpg" (JPEG) or "zelto_temp.bmp" (BMP), whose name goes into `out_name`
// (which may be `path`).
// 1 = done. 0 = the saved game cannot be opened or is malformed (the player is told; nothing is changed), or the
// picture cannot be written (`out_name` already names it).
int32_t extract_picture(const std::string& path, std::string& out_name);

// Reads the saved game at `path` into `jig`, a game just built on its picture, and cuts or joins every group's
// picture again. Everything is read and checked first, the picture too: a file that cannot be opened, is
// malformed, or does not fit the game's grid is refused with a message and `jig` is left as it was (0).
// 1 = loaded, cutting complete; the views are rendered when the game is shown. The saved play time goes to
// clock_carry, the view origin to view_x, view_y.
int32_t load_game(Jig& jig, const std::string& path);

// As extract_picture, for the picture list: "zelto_temp2.jpg" / "zelto_temp2.bmp", game values untouched, only
// the header checked, nothing said. `out_name` may be `path`.
int32_t extract_picture_for_list(const std::string& path, std::string& out_name);

// The number of display items of the saved game at `path`. 1 = found; 0 = the file cannot be opened or its
// header is malformed (`out_count` unchanged).
int32_t peek_item_count(const std::string& path, int32_t& out_count);
