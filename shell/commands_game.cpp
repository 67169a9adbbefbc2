// The menu's game commands: open a picture, pick one from the list, start again, resume, save, the shape chooser.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "desk/state.h"
#include "graphics/hooks.h"
#include "graphics/paths.h"
#include "play/companions.h"
#include "play/jigwin.h"
#include "play/lifecycle.h"
#include "play/save.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "shell/commands.h"
#include "shell/file_dialogs.h"
#include "shell/mywin.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "windows/katachi.h"
#include "windows/viewer.h"
#include "ws/tr.h"

namespace {

constexpr const char* kRestartQuestion = ZT_NOOP("shell", "始めからやり直しますか？");
constexpr const char* kEndGameQuestion = ZT_NOOP("shell", "ゲーム中は出来ません。\nこのゲームを終了してよろしいですか？");
constexpr const char* kConfirmTitle = ZT_NOOP("shell", "確認");
constexpr const char* kHeldPicture = "zelto_keep.tmp";

bool is_resumed_picture(const std::string& path) {
    return path == kResumedPictureJpg || path == kResumedPictureBmp;
}

// Ends the game in play. The picture of a resumed game is a temporary file that ending the game deletes; it is
// set aside meanwhile and put back, so the same picture can be played again.
void end_game_keeping_picture() {
    namespace fs = std::filesystem;
    std::error_code ec;
    const bool held = is_resumed_picture(play.picture_path) && (fs::rename(play.picture_path, kHeldPicture, ec), !ec);
    end_game();
    if (held) fs::rename(kHeldPicture, play.picture_path, ec);
}

}  // namespace

void start_new_game() {
    if (!display.game_window) return;
    ws::paint_at_once(display.game_window, nullptr);
    start_first_picture(display.game_window, false);
    if (display.game_window) ws::invalidate_rect(display.game_window, nullptr, false);
}

bool start_game_on(const std::string& picture) {
    if (!display.game_window || !replace_game(display.game_window, picture, false)) return false;
    ws::invalidate_rect(display.game_window, nullptr, false);
    return true;
}

void command_open() {
    std::string chosen;
    if (file_select(chosen)) start_game_on(chosen);
}

void command_list() {
    if (play.list_window && ws::is_window(play.list_window)) {
        ws::show_window(play.list_window, ws::SW_SHOW);
        return;
    }
    play.view_folder = settings.view_dir + "\\";
    play.view_title = kViewChoose;
    play.view_result.clear();
    play.list_window = viewer_create(display.game_window);
}

void command_restart() {
    if (play.picture_path.empty() || !display.current_game) return;
    if (ws::message_box(display.main_window, ws::tr("shell", kRestartQuestion), ws::tr("shell", kConfirmTitle),
                        ws::MB_YESNO) != ws::IDYES) return;
    close_list_window();
    end_game_keeping_picture();
    if (display.game_window) ws::paint_at_once(display.game_window, nullptr);
    // Should the picture have gone all the same, the saved game still holds it.
    if (!file_opens(play.picture_path) && !play.save_path.empty() &&
        !extract_picture(play.save_path, play.picture_path))
        return;
    start_new_game();
}

void command_load() {
    std::string chosen;
    if (!load_file_select(chosen) || !display.game_window) return;
    resume_saved_game(display.game_window, chosen);
}

void command_save() {
    if (!game_in_progress()) return;
    std::string name = default_save_name();
    if (!save_file_select(name)) return;
    if (!save_game(*display.current_game, name)) return;  // the player has been told; the game stays unsaved
    play.save_path = name;
    play.game_saved = 1;
}

void command_katachi() {
    if (game_in_progress()) {
        if (ws::message_box(display.main_window, ws::tr("shell", kEndGameQuestion), ws::tr("shell", kConfirmTitle),
                            ws::MB_YESNO) != ws::IDYES) return;
        end_game_keeping_picture();
        if (display.game_window) ws::paint_at_once(display.game_window, nullptr);
    }
    close_list_window();
    open_katachi(display.game_window);
}
