// The keyboard after a companion window closes: Ctrl+O and Ctrl+X reach the main window's accelerators at once,
// whichever companion was open, whether the player clicked into it and whether its menu was reached from the
// keyboard (Alt+letter, whose release the menu takes).
#include "desk/state.h"
#include "windows/katachi.h"
#include "shell/windows_support.h"

namespace {

using jigwintest::GameWindowTest;

// How the player reaches a companion: the menu command, then where a click lands inside it and how it closes.
struct Companion {
    const char* name;
    uint32_t command;
    ws::Hwnd (*window)();
    Point click;        // a client point of the companion that the player clicks
    bool close_by_click;  // the click itself closes it ("  キャンセル"); otherwise its close box does
};

const Companion kCompanions[] = {
    {"guide", 239, [] { return ::play.guide_window; }, {20, 20}, false},
    {"list", 201, [] { return ::play.list_window; }, {40, 40}, false},
    {"trays", 251, [] { return ::play.tray_window[0]; }, {5, 5}, false},
    {"shape editor", 257, [] { return open_katachi(::display.game_window); }, {450, 310}, true},
};

class CompanionFocus : public GameWindowTest {
protected:
    void SetUp() override {
        GameWindowTest::SetUp();
        install_companions();
        testsupport::read_text("ddraw TRUE\ntray TRUE\ndtsave FALSE\n", read_settings_from);
        open("pic.bmp");
        ws::test::pump();
        ASSERT_NE(::display.current_game, nullptr);
        accel_ = ws::load_accelerators("IDM_ACCEL");
    }
    // The program's own loop: accelerators first, for whichever window the key went to.
    void run_loop() const {
        ws::Msg m;
        while (ws::peek_message(m, ws::PM_REMOVE)) {
            if (m.message == ws::WM_QUIT) return;
            if (!ws::translate_accelerator(::display.main_window, accel_, m)) {
                ws::translate_message(m);
                ws::dispatch_message(m);
            }
        }
    }
    void press_ctrl(uint32_t key) const {
        for (uint32_t vk : {uint32_t(ws::VK_CONTROL), key}) ws::test::key(ws::WM_KEYDOWN, vk);
        for (uint32_t vk : {key, uint32_t(ws::VK_CONTROL)}) ws::test::key(ws::WM_KEYUP, vk);
        run_loop();
    }
    // The companion opened from the menu (from the keyboard: Alt went down in the main window and the menu took
    // its release), clicked into, then closed.
    void open_and_close(const Companion& c, bool from_keyboard) const {
        if (from_keyboard) {
            ws::test::key(ws::WM_KEYDOWN, ws::VK_MENU);
            ws::test::key_elsewhere(ws::WM_KEYUP, ws::VK_MENU);
        }
        ws::send_message(::display.main_window, ws::WM_COMMAND, c.command, 0);
        ws::test::pump();
        const ws::Hwnd w = c.window();
        ASSERT_TRUE(ws::is_window(w));
        const Point at = ws::client_to_screen(w, c.click);
        ws::test::mouse(ws::WM_LBUTTONDOWN, at);
        ws::test::mouse(ws::WM_LBUTTONUP, at);
        run_loop();
        if (!c.close_by_click) ws::post_message(w, ws::WM_CLOSE, 0, 0);
        run_loop();
        ASSERT_FALSE(ws::is_window(w));
    }

    static int32_t file_dialogs() {
        const auto& d = ws::test::dialogs();
        return int32_t(std::count_if(d.begin(), d.end(), [](const auto& r) { return r.kind == "open"; }));
    }

    ws::Haccel accel_ = 0;
};

TEST_F(CompanionFocus, CtrlOAndCtrlXWorkAtOnceAfterAnyCompanionCloses) {
    for (const Companion& c : kCompanions)
        for (bool from_keyboard : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (from_keyboard ? ", from the keyboard" : ", by mouse"));
            TearDown(), SetUp();
            open_and_close(c, from_keyboard);
            press_ctrl('O');
            EXPECT_EQ(file_dialogs(), 1) << "Ctrl+O asks for a picture";
            ws::test::push_answer(ws::IDNO);  // not saving the game in play, if asked
            const ws::Hwnd main = ::display.main_window;
            press_ctrl('X');
            EXPECT_FALSE(ws::is_window(main)) << "Ctrl+X ends the program";
        }
}

}  // namespace
