// The recovery file written when a signal ends the program, and offered back at the next start (its writing after
// a change is a script of data/main_window.txt).
#include <signal.h>

#include <tuple>

#include "desk/state.h"
#include "play/companions.h"
#include "play/jigwin_support.h"
#include "play/state.h"
#include "shell/recover.h"

using namespace jigwintest;

namespace {

using Placement = std::tuple<int32_t, int32_t, int32_t, double, int32_t>;  // id, cx, cy, angle, turned

std::vector<Placement> placements() {
    std::vector<Placement> out;
    for (int32_t i = 0; i < ::play.current_game->item_count; ++i) {
        const Piece& p = *::play.current_game->items[i].piece;
        out.emplace_back(::play.current_game->items[i].id, p.cx, p.cy, p.angle, p.turned);
    }
    return out;
}

class Recovery : public GameWindowTest {
protected:
    void SetUp() override {
        GameWindowTest::SetUp();
        install_recovery();
    }
    void TearDown() override {
        companions.game_changed = companions.recovery_due = companions.forget_recovery = nullptr;
        GameWindowTest::TearDown();
    }
    // Picks the top group up at its centre and puts it down 30 pixels further right.
    static void move_top_group() {
        const Point at = on_screen(centre_of(::play.current_game->item_count - 1));
        ws::test::mouse(ws::WM_LBUTTONDOWN, at);
        ws::test::mouse(ws::WM_MOUSEMOVE, {at.x + 30, at.y});
        ws::test::mouse(ws::WM_LBUTTONUP, {at.x + 30, at.y});
        ws::test::pump();
    }
    // The program's own loop: its messages first, then the windows'. The exit code, or -1 when it did not end.
    static int32_t run_loop() {
        ws::Msg m;
        while (ws::peek_message(m, ws::PM_REMOVE)) {
            if (m.message == ws::WM_QUIT) return int32_t(m.wparam);
            if (!recovery_loop_message(m)) ws::dispatch_message(m);
        }
        return -1;
    }
};

TEST_F(Recovery, ASignalWritesTheGameAndTheNextStartResumesItTrashesItOrKeepsADamagedOneAside) {
    setenv("XDG_DATA_HOME", (dir_ / "share").c_str(), 1);  // the trash of this test
    ASSERT_TRUE(ws::catch_session_events());
    play("pic.bmp");
    move_top_group();
    ws::test::advance(5000);
    const std::vector<Placement> before = placements();
    const int32_t seconds = display.play_seconds;
    raise(SIGTERM);
    EXPECT_EQ(run_loop(), 0);
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) signal(sig, SIG_DFL);
    EXPECT_TRUE(ws::test::messages().empty()) << "a question was asked";
    finish_run();
    EXPECT_TRUE(fs::exists("ZELTORC.TXT"));
    fs::rename(kRecoveryFile, "written.zlt");
    // Answer, file damaged; then whether the game was resumed, and the file kept, put aside or in the trash.
    for (const auto& [answer, damaged, resumed, kept, aside, trashed] :
         {std::tuple{ws::IDYES, false, true, true, false, false}, {ws::IDYES, true, false, false, true, false},
          {ws::IDNO, false, false, false, false, true}}) {
        SCOPED_TRACE(std::to_string(answer) + (damaged ? " damaged" : ""));
        ws::test::reset();
        install_recovery();
        ::play.picture_path.clear();
        fs::remove_all(dir_ / "share");
        fs::create_directories(dir_ / "share");
        fs::copy_file("written.zlt", kRecoveryFile, fs::copy_options::overwrite_existing);
        if (damaged) fs::resize_file(kRecoveryFile, 300);
        ws::test::push_answer(answer);
        const bool resuming = ask_recovery();
        ASSERT_TRUE(create_main_window());
        if (resuming) ws::post_message(0, IDM_RECOVERY_SETTLE, 0, 0);
        run_loop();
        EXPECT_EQ(ws::test::messages().at(0).text, kRecoveryQuestion);
        const bool game = ::play.current_game;
        EXPECT_EQ(game ? placements() : std::vector<Placement>{}, resumed ? before : std::vector<Placement>{});
        EXPECT_EQ(std::tuple(game ? display.clock_carry : seconds, ::play.save_path, ::play.game_window != 0),
                  std::tuple(seconds, "", true));
        EXPECT_EQ(std::tuple(fs::exists(kRecoveryFile), fs::exists(kRecoveryBadFile),
                             fs::exists(dir_ / "share/Trash/files" / kRecoveryFile)), std::tuple(kept, aside, trashed));
        ws::destroy_window(::play.main_window);
        fs::remove(kRecoveryBadFile);
    }
    unsetenv("XDG_DATA_HOME");
}

}  // namespace
