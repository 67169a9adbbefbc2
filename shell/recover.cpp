// The recovery file of the game in play: its timer and writes, the question at start, and the end on a signal.
#include "shell/recover.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "desk/state.h"
#include "graphics/durable.h"
#include "graphics/hooks.h"
#include "graphics/paths.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "play/companions.h"
#include "play/lifecycle.h"
#include "play/save.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "shell/mywin.h"
#include "shell/startup.h"
#include "ws/tr.h"

namespace {

bool pending = false;        // the game changed since its last save or recovery write
bool failure_told = false;   // a failed write has been reported; the next failure stays quiet
bool ending = false;         // a signal asked the program to end
bool resuming_file = false;  // the game in play is being resumed from the recovery file itself

void trace(const char* event) {
    if (graphics.trace_switch) trace_line("recover", event);
}

// A game whose pieces all lie on the desk and that is not complete: the only kind worth recovering.
bool game_in_play() {
    const Jig* g = display.current_game;
    return g && g->cut_count >= g->item_count && g->item_count > 1;
}

// The paths file opens with this line, then the recovery file's size in bytes on a line (so that a paths file
// left by another recovery file is not believed), then the save path and the picture path, each ended by a NUL
// (the one byte no path holds).
constexpr const char* kPathsMark = "zelto recovery paths 1\n";
constexpr size_t kPathsMost = 65536;  // a longer paths file is not ours

struct KeptPaths {
    std::string save, picture;
};

uintmax_t recovery_size(std::error_code& ec) { return std::filesystem::file_size(resolve_path(kRecoveryFile), ec); }

void forget_paths() { std::remove(resolve_path(kRecoveryPathsFile).c_str()); }

// Keeps the game's paths beside the recovery file just written; without them the resume falls back to no save
// path and the resumed picture, so a paths file that cannot be written is removed rather than left stale.
void keep_paths() {
    std::error_code ec;
    const uintmax_t size = recovery_size(ec);
    std::string text = std::string(kPathsMark) + std::to_string(size) + '\n';
    text += play.save_path + '\0' + play.picture_path + '\0';
    const auto fill = [&text](std::FILE* f) { return std::fwrite(text.data(), 1, text.size(), f) == text.size(); };
    if (ec || !durable_write(resolve_path(kRecoveryPathsFile), fill)) forget_paths();
}

// The paths kept beside the recovery file; false when there are none, they are damaged or they belong to another
// recovery file.
bool read_paths(KeptPaths& out) {
    std::ifstream in(resolve_path(kRecoveryPathsFile), std::ios::binary);
    if (!in) return false;
    std::string text(kPathsMost + 1, '\0');
    in.read(text.data(), std::streamsize(text.size()));
    text.resize(size_t(in.gcount()));
    const std::string mark = kPathsMark;
    if (text.size() > kPathsMost || text.compare(0, mark.size(), mark) != 0) return false;
    const size_t size_end = text.find('\n', mark.size());
    if (size_end == std::string::npos) return false;
    const std::string size = text.substr(mark.size(), size_end - mark.size());
    std::error_code ec;
    if (size != std::to_string(recovery_size(ec)) || ec) return false;
    const size_t save_end = text.find('\0', size_end + 1);
    if (save_end == std::string::npos || text.find('\0', save_end + 1) != text.size() - 1) return false;
    out.save = text.substr(size_end + 1, save_end - size_end - 1);
    out.picture = text.substr(save_end + 1, text.size() - save_end - 2);
    return out.save != kRecoveryFile;
}

// The game just resumed from the recovery file takes back its own save path, and its own picture path while that
// file still holds the picture the game was cut from (else it plays on from the resumed picture).
void take_back_paths(Jig& game) {
    KeptPaths kept;
    if (!read_paths(kept)) return;
    play.save_path = kept.save;
    if (kept.picture.empty() || !same_file_bytes(kept.picture, play.picture_path)) return;
    if (game.file_colours.path == play.picture_path) game.file_colours.path = kept.picture;
    play.picture_path = kept.picture;
}

void stop_timer() {
    if (display.game_window) ws::kill_timer(display.game_window, kRecoveryTimer);
}

void tell_failure() {
    if (failure_told) return;
    failure_told = true;
    char text[1200];
    std::snprintf(text, sizeof text, ws::tr("play", kSaveFailedText).c_str(), kRecoveryFile);
    ws::message_box(display.game_window, text, ws::tr("play", kSaveNoticeTitle), ws::MB_OK | ws::MB_ICONWARNING);
}

// The resumed recovery file could not be played: a damaged one is kept aside so that it is not offered again,
// a sound one (the picture could not be taken out, say) stays for the next start.
void settle_resume() {
    if (!resuming_file) return;
    resuming_file = false;
    if (play.save_path == kRecoveryFile) {
        play.save_path.clear();  // a later save must not go to the recovery file
        if (display.current_game) take_back_paths(*display.current_game);
    }
    if (display.current_game) return;
    if (saved_game_usable(kRecoveryFile)) return;
    durable_rename(kRecoveryFile, kRecoveryBadFile);
    forget_paths();
}

// A signal: the game goes to its recovery file, then the windows close without asking; the loop then ends with
// code 0 and start-up's end writes the settings. Should the recovery write fail, the close asks as usual.
void end_session() {
    trace("end of session\n");
    ending = true;
    if (game_in_play() && play.game_saved == 0 && write_recovery())
        play.game_saved = 1;  // safe on the disk: nothing to ask
    if (!display.main_window) {
        ws::post_quit_message(0);
        return;
    }
    ws::send_message(display.main_window, ws::WM_CLOSE, 0, 0);
    if (display.main_window && ws::is_window(display.main_window)) ending = false;  // the player kept the game open
}

}  // namespace

void install_recovery() {
    hooks.game_changed = recovery_game_changed;
    hooks.recovery_due = recovery_due;
    hooks.forget_recovery = forget_recovery;
    pending = failure_told = ending = resuming_file = false;
}

void recovery_game_changed() {
    if (pending || !game_in_play() || !display.game_window) return;
    pending = true;
    ws::set_timer(display.game_window, kRecoveryTimer, kRecoveryPeriod);
}

void recovery_due() {
    if (display.current_game && display.current_game->holding) {
        // Writing flushes to the disk, which could stall a drag: the write waits for the drop.
        ws::set_timer(display.game_window, kRecoveryTimer, kRecoveryRetry);
        return;
    }
    write_recovery();
}

bool write_recovery() {
    stop_timer();
    if (!pending && !ending) return true;
    pending = false;
    if (!game_in_play()) return true;
    trace("write\n");
    if (!save_game(*display.current_game, kRecoveryFile, SaveReport::quiet)) {
        trace("write failed\n");
        tell_failure();
        return false;
    }
    failure_told = false;
    keep_paths();
    return true;
}

void forget_recovery() {
    if (ending || resuming_file || play.save_path == kRecoveryFile) return;
    stop_timer();
    pending = false;
    std::remove(resolve_path(kRecoveryFile).c_str());
    forget_paths();
}

bool ask_recovery() {
    remove_stale_temporaries(kRecoveryFile);
    remove_stale_temporaries(kRecoveryPathsFile);
    std::error_code ec;
    if (!std::filesystem::exists(resolve_path(kRecoveryFile), ec)) return false;
    const int32_t answer =
        ws::message_box(0, ws::tr("shell", kRecoveryQuestion), kRecoveryTitle, ws::MB_YESNO | ws::MB_ICONQUESTION);
    if (answer == ws::IDYES && play.picture_path.empty()) {
        play.picture_path = kRecoveryFile;
        resuming_file = true;
        return true;
    }
    // Declined, or a picture named at start wins: the file goes where the player can still find it.
    const std::string path = resolve_path(kRecoveryFile);
    if (!ws::move_to_trash(path)) std::remove(path.c_str());
    forget_paths();
    return false;
}

bool recovery_loop_message(const ws::Msg& msg) {
    if (msg.hwnd != 0) return false;
    switch (msg.message) {
    case ws::WM_ENDSESSION: end_session(); return true;
    case ws::WM_ACTIVATEAPP:
        if (msg.wparam == 0 && pending) write_recovery();
        return true;
    case IDM_RECOVERY_SETTLE: settle_resume(); return true;
    default: return false;
    }
}

bool session_ending() { return ending; }
