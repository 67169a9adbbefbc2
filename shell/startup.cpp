// Start-up, the message loop and the end of a run.
#include "shell/startup.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "desk/state.h"
#include "graphics/durable.h"
#include "graphics/hooks.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "play/save.h"
#include "play/state.h"
#include "shell/hooks.h"
#include "shell/mywin.h"
#include "shell/recover.h"
#include "shell/settings.h"
#include "shell/skin.h"
#include "shell/state.h"
#include "windows/companions.h"
#include "ws/tr.h"
#include "ws/ws.h"

namespace {
constexpr const char* kSettingsUnwritten =
    ZT_NOOP("shell", "設定ファイル ZELTORC.TXT を書き込めませんでした。前回の設定はそのまま残っています。");
}  // namespace

std::string program_directory(const char* argv0) {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) exe = std::filesystem::absolute(argv0 ? argv0 : "", ec);
    return exe.parent_path().string();
}

std::string argument_text(int argc, char** argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) text += ' ';
        text += argv[i];
    }
    return text;
}

std::string picture_from_argument(const std::string& args) {
    if (args.empty()) return "";
    if (args[0] != '"') return args;
    // From the second character, less the last one (the closing quote); a lone quote gives "".
    return args.size() < 2 ? "" : args.substr(1, args.size() - 2);
}

void startup(const std::string& program_dir, const std::string& args) {
    if (!program_dir.empty() && chdir(program_dir.c_str()) != 0) {
        // The run goes on in whatever folder it started in.
    }
    play.save_path.clear();
    read_settings(kSettingsFile);
    graphics.trace_switch = settings.trace ? 1 : 0;
    trace_start();
    play.picture_path = picture_from_argument(args);
}

void finish_run() {
    if (!write_settings(kSettingsFile)) {
        // No window is left to show it: the player learns it where the program was started, and in the trace.
        std::fprintf(stderr, "zelto: %s\n", ws::tr("shell", kSettingsUnwritten).c_str());
        if (graphics.trace_switch) trace_line("MAIN", (std::string(kSettingsUnwritten) + "\n").c_str());
    }
    for (const char* name : kTempPictures) std::remove(name);
    trace_close();
}

int win_main(int argc, char** argv) {
    // A file that grows past the size limit then fails to write (and is reported) instead of ending the program.
    signal(SIGXFSZ, SIG_IGN);
    install_hooks();
    ws::init(argc, argv, false);
    ws::catch_session_events();
    shell.read_skin_file = read_skin;
    install_companions();
    install_recovery();
    startup(program_directory(argc > 0 ? argv[0] : nullptr), argument_text(argc, argv));
    remove_stale_temporaries(kSettingsFile);
    const bool resuming = ask_recovery();
    if (!register_main_window_class()) return 0;
    if (!create_main_window()) {
        finish_run();
        return 0;
    }
    // Comes after the resume the game window has just posted for itself.
    if (resuming) ws::post_message(0, IDM_RECOVERY_SETTLE, 0, 0);
    ws::Haccel accel = ws::load_accelerators("IDM_ACCEL");
    ws::Msg msg;
    while (ws::get_message(msg)) {
        if (recovery_loop_message(msg)) continue;
        if (!ws::translate_accelerator(display.main_window, accel, msg)) {
            ws::translate_message(msg);
            ws::dispatch_message(msg);
        }
    }
    finish_run();
    return int(msg.wparam);
}
