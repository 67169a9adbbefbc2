// The recovery file: written 30 s after a change and on losing the focus, offered back at start, and written when
// a signal ends the program.
#include <signal.h>

#include <tuple>

#include "play/companions.h"
#include "play/jigwin_support.h"
#include "shell/recover.h"

using namespace jigwintest;

namespace {

using Placement = std::tuple<int32_t, int32_t, int32_t, double, int32_t>;  // id, cx, cy, angle, turned

std::vector<Placement> placements() {
    std::vector<Placement> out;
    for (int32_t i = 0; i < current_game->item_count; ++i) {
        const Piece& p = *current_game->items[i].piece;
        out.emplace_back(current_game->items[i].id, p.cx, p.cy, p.angle, p.turned);
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
        const Point at = on_screen(piece_centre_on_window(current_game->item_count - 1));
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
    static void lose_focus() { recovery_loop_message({0, ws::WM_ACTIVATEAPP, 0, 0, 0, 0}); }
};

TEST_F(Recovery, AChangeIsWrittenThirtySecondsLaterOrOnLosingTheFocusAndResumesAsItWas) {
    play("pic.bmp");
    ws::test::advance(61000);
    lose_focus();
    EXPECT_FALSE(fs::exists(kRecoveryFile)) << "written while nothing changed";
    move_top_group();
    ws::test::advance(29000);
    EXPECT_FALSE(fs::exists(kRecoveryFile));
    ws::test::advance(2000);
    ASSERT_EQ(saved_game_usable(kRecoveryFile), 1);
    const std::vector<Placement> kept = placements();
    const int32_t seconds = play_seconds;  // the clock may tick once more after the write
    fs::copy_file(kRecoveryFile, "copy.zlt");

    ASSERT_EQ(save_game(*current_game, "mine.zlt"), 1);
    EXPECT_FALSE(fs::exists(kRecoveryFile)) << "kept after the player saved";
    ws::test::advance(61000);
    lose_focus();
    EXPECT_FALSE(fs::exists(kRecoveryFile)) << "written after a save with no change since";
    move_top_group();
    lose_focus();
    EXPECT_EQ(saved_game_usable(kRecoveryFile), 1) << "not written on losing the focus";

    ws::test::drop_files(game_window, {"copy.zlt"}, {5, 5});
    ws::test::pump();
    ASSERT_NE(current_game, nullptr);
    EXPECT_EQ(placements(), kept);
    EXPECT_NEAR(clock_carry, seconds, 1);
    EXPECT_FALSE(fs::exists(kRecoveryFile)) << "kept after another game replaced the one it held";
}

TEST_F(Recovery, AtStartTheFileIsResumedTrashedOrKeptAsideWhenDamaged) {
    setenv("XDG_DATA_HOME", (dir_ / "share").c_str(), 1);  // the trash of this test
    struct Case {
        const char* name;
        int32_t answer;
        bool damaged, resumed, kept, aside, trashed;
    } cases[] = {
        {"yes", ws::IDYES, false, true, true, false, false},
        {"yes to a damaged file", ws::IDYES, true, false, false, true, false},
        {"no", ws::IDNO, false, false, false, false, true},
    };
    play("pic.bmp");
    move_top_group();
    ASSERT_EQ(save_game(*current_game, "good.zlt", SaveReport::quiet), 1);
    const std::vector<Placement> kept = placements();
    ws::destroy_window(main_window);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ws::test::reset();
        install_recovery();
        fs::remove_all(dir_ / "share");
        fs::create_directories(dir_ / "share");
        fs::remove(kRecoveryBadFile);
        picture_path.clear();
        fs::copy_file("good.zlt", kRecoveryFile, fs::copy_options::overwrite_existing);
        if (c.damaged) fs::resize_file(kRecoveryFile, 300);
        ws::test::push_answer(c.answer);
        const bool resuming = ask_recovery();
        ASSERT_TRUE(create_main_window());
        if (resuming) ws::post_message(0, IDM_RECOVERY_SETTLE, 0, 0);
        run_loop();
        ASSERT_FALSE(ws::test::messages().empty());
        EXPECT_EQ(ws::test::messages()[0].text, kRecoveryQuestion);
        EXPECT_EQ(current_game != nullptr, c.resumed);
        if (c.resumed) {
            EXPECT_EQ(placements(), kept);
        }
        EXPECT_EQ(save_path, "");
        EXPECT_EQ(fs::exists(kRecoveryFile), c.kept);
        EXPECT_EQ(fs::exists(kRecoveryBadFile), c.aside);
        EXPECT_EQ(fs::exists(dir_ / "share/Trash/files" / kRecoveryFile), c.trashed);
        EXPECT_NE(game_window, 0) << "the program did not go on";
        ws::destroy_window(main_window);
    }
    unsetenv("XDG_DATA_HOME");
}

TEST_F(Recovery, ASignalWritesTheGameAndTheSettingsAndEndsWithCodeZero) {
    ASSERT_TRUE(ws::catch_session_events());
    play("pic.bmp");
    move_top_group();
    const std::vector<Placement> kept = placements();
    raise(SIGTERM);
    EXPECT_EQ(run_loop(), 0);
    EXPECT_EQ(main_window, 0);
    EXPECT_TRUE(ws::test::messages().empty()) << "a question was asked";
    finish_run();
    EXPECT_TRUE(fs::exists("ZELTORC.TXT"));
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) signal(sig, SIG_DFL);

    ws::test::reset();
    install_recovery();
    picture_path.clear();
    ws::test::push_answer(ws::IDYES);
    ASSERT_TRUE(ask_recovery());
    ASSERT_TRUE(create_main_window());
    run_loop();
    ASSERT_NE(current_game, nullptr);
    EXPECT_EQ(placements(), kept);
}

}  // namespace
