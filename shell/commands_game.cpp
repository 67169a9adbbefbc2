// The menu's game commands: open a picture, pick one from the list, start again, resume, save, the shape chooser.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "graphics/paths.h"
#include "play/companions.h"
#include "play/jig.h"
#include "play/jigwin.h"
#include "play/lifecycle.h"
#include "shell/commands.h"
#include "shell/file_dialogs.h"
#include "shell/mywin.h"
#include "shell/save.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "windows/katachi.h"
#include "windows/viewer.h"

namespace {

constexpr const char* kRestartQuestion = "始めからやり直しますか？";
constexpr const char* kEndGameQuestion = "ゲーム中は出来ません。\nこのゲームを終了してよろしいですか？";
constexpr const char* kConfirmTitle = "確認";
constexpr const char* kHeldPicture = "zelto_keep.tmp";

bool is_resumed_picture(const std::string& path) {
    return path == kResumedPictureJpg || path == kResumedPictureBmp;
}

// Ends the game in play. The picture of a resumed game is a temporary file that ending the game deletes; it is
// set aside meanwhile and put back, so the same picture can be played again.
void end_game_keeping_picture() {
    namespace fs = std::filesystem;
    std::error_code ec;
    const bool held = is_resumed_picture(picture_path) && (fs::rename(picture_path, kHeldPicture, ec), !ec);
    end_game();
    if (held) fs::rename(kHeldPicture, picture_path, ec);
}

}  // namespace

void start_new_game() {
    if (!game_window) return;
    ws::paint_at_once(game_window, nullptr);
    start_first_picture(game_window, false);
    if (game_window) ws::invalidate_rect(game_window, nullptr, false);
}

void command_open() {
    close_list_window();
    std::string chosen;
    if (!file_select(chosen)) return;
    end_game();
    picture_path = chosen;
    save_path.clear();
    start_new_game();
}

void command_list() {
    if (list_window && ws::is_window(list_window)) {
        ws::show_window(list_window, ws::SW_SHOW);
        return;
    }
    view_folder = settings.view_dir + "\\";
    view_title = kViewChoose;
    view_result.clear();
    list_window = viewer_create(game_window);
}

void command_restart() {
    if (picture_path.empty() || !current_game) return;
    if (ws::message_box(main_window, kRestartQuestion, kConfirmTitle, ws::MB_YESNO) != ws::IDYES) return;
    close_list_window();
    end_game_keeping_picture();
    if (game_window) ws::paint_at_once(game_window, nullptr);
    // Should the picture have gone all the same, the saved game still holds it.
    if (!file_opens(picture_path) && !save_path.empty() && !extract_picture(save_path, picture_path)) return;
    start_new_game();
}

void command_load() {
    std::string chosen;
    if (!load_file_select(chosen) || !game_window) return;
    resume_saved_game(game_window, chosen);
}

void command_save() {
    if (!game_in_progress()) return;
    std::string name = default_save_name();
    if (!save_file_select(name)) return;
    if (!save_game(*current_game, name)) return;  // the player has been told; the game stays unsaved
    save_path = name;
    game_saved = 1;
}

void command_katachi() {
    if (game_in_progress()) {
        if (ws::message_box(main_window, kEndGameQuestion, kConfirmTitle, ws::MB_YESNO) != ws::IDYES) return;
        end_game_keeping_picture();
        if (game_window) ws::paint_at_once(game_window, nullptr);
    }
    close_list_window();
    open_katachi(game_window);
}
