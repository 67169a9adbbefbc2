// The skin: reading its file, the number displays, the buttons' pictures and clicks, the tooltip, the window's shape.
#include "desk/state.h"
#include "play/play.h"
#include "shell/menu.h"
#include "shell/shell_test.h"
#include "shell/skin.h"
#include "shell/skin_table.h"

using namespace shelltest;

namespace {

constexpr uint32_t kWin = 0x404040;
std::vector<uint32_t> commands;  // WM_COMMAND ids the main window received

intptr_t main_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    if (msg == ws::WM_COMMAND) commands.push_back(uint32_t(wparam & 0xFFFF));
    return ws::def_window_proc(hwnd, msg, wparam, lparam);
}

// A distinct colour for every picture file.
uint32_t word_of(const std::string& name) { return (uint32_t(std::hash<std::string>{}(name)) & 0x7F7F7F) | 0x101010; }

class SkinTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        [[maybe_unused]] static bool once = ws::register_class({"SkinMain", main_proc, 0, ws::IDC_ARROW, 0xFFFFFF, ""});
        commands.clear();
        settings.skin = true;
        shell.main_back = new MemDC;
        shell.main_back->create(BIT_SCREEN, 300, 200);
        display.main_window = ws::create_window("SkinMain", "zelto", ws::WS_POPUP | ws::WS_VISIBLE, 0, 0, 300, 200, 0, 0);
        // Solid pictures skin\<name>.bmp; but for the window's, each one's top-left pixel is white (transparent).
        fs::create_directories("skin");
        ASSERT_TRUE(testsupport::write_picture("skin/win_0.bmp", 300, 200, [](int32_t, int32_t) { return kWin; }));
        for (const std::string b : {"exit_", "start_", "num_up_", "sz_dn_", "num_"})
            for (const std::string& name : {b + "0", b + "1", b + "2", b + "10", b + "20", b + "50"}) {
                const auto pixel = [&](int32_t x, int32_t y) { return x + y ? word_of(name) : 0xFFFFFFu; };
                ASSERT_TRUE(testsupport::write_picture("skin/" + name + ".bmp", b == "num_" ? 30 : 20, 20, pixel));
            }
    }
    void TearDown() override {
        read("");  // frees the pictures
        delete std::exchange(shell.main_back, nullptr);
        display.main_window = 0;
        ShellTest::TearDown();
    }
    static void read(const std::string& text) { read_text(text, read_skin); }
    void read_standard() {
        read("win 0 0\ngame 10 50 200 100\nexit 250 5 close_the_game_now\nstart 10 5 again\\nplease\nnum_up 140 5 up\n"
             "num 100 5 3 10 20 50 count\n");
        draw_skin();
    }
    uint32_t back_at(int32_t x, int32_t y) { return shell.main_back->get_pixel(x, y); }
    uint32_t colour_of(const std::string& name) { return word_to_colour(word_of(name)); }
    std::vector<uint32_t> back_words() { return {shell.main_back->words(), shell.main_back->words() + 300 * 200}; }
    // The smallest rectangle holding every black pixel: the tooltip's frame.
    Rect black_box() {
        Rect r;
        for (int32_t i = 0; i < 300 * 200; ++i)
            if (back_at(i % 300, i / 300) == 0) r = union_rect(r, Rect{i % 300, i / 300, i % 300 + 1, i / 300 + 1});
        return r;
    }
};

TEST_F(SkinTest, ReaderKeepsWhatLoadsAndTellsWhatIsMissing) {
    read("# a comment\n\nbogus 1 2\nwin 0 0\nfix_a 5 5 none\nsz_dn 5 5 down\n"
         "num 100 5 3 10 30 50 count\n"
         "num 100 5 12 10 20 50 10 20 50 10 20 50 10 20 50 " + std::string(70, 't') + "\n"
         "/end\nstart 10 5 late\n");
    ASSERT_EQ(ws::test::messages().size(), 2u);
    EXPECT_EQ(ws::test::messages()[0].text, "skin\\fix_a_0.bmpが見つかりません。");
    EXPECT_EQ(ws::test::messages()[1].text, "numのピース数はメニューで選択可能な値を指定してください。");
    const auto& e = shell.skin_elements;  // start comes after "/end"; num's twelve values are cut to the table
    EXPECT_EQ(std::tuple(e[SKIN_WIN].defined, e[SKIN_FIX_A].defined, e[SKIN_START].defined,
                         e[SKIN_SZ_DN].count), std::tuple(true, false, false, 3));
    EXPECT_EQ(std::tuple(e[SKIN_NUM].count, e[SKIN_NUM].text, e[SKIN_NUM].values[size_t(e[SKIN_NUM].current)]),
              std::tuple(kSkinPictures, std::string(63, 't'), 20));
}

TEST_F(SkinTest, NumberDisplayStepsThePieceCount) {
    settings.piece_num = 75;  // not in the skin's list: the setting follows the display
    read_standard();
    EXPECT_EQ(std::pair(settings.piece_num, back_at(115, 15)), std::pair(10, colour_of("num_10")));
    for (int32_t want : {20, 50, 50}) {
        skin_press(145, 10);
        skin_release(145, 10, 100);
        EXPECT_EQ(settings.piece_num, want);
        EXPECT_EQ(back_at(115, 15), colour_of("num_" + std::to_string(want)));
    }
    EXPECT_EQ(skin_show_num(100), 50);  // not shown by this skin: the menu changes nothing
    EXPECT_EQ(skin_show_num(10), 10);
    EXPECT_EQ(back_at(115, 15), colour_of("num_10"));
    EXPECT_EQ(skin_show_sz(700), 700);  // no size display: the menu works as without a skin
}

TEST_F(SkinTest, ButtonsShowTheirOwnThreePicturesAndClickQuickly) {
    read_standard();
    EXPECT_EQ(back_at(10, 5), kWin);  // white corners are transparent
    skin_hover(255, 10);              // over exit
    skin_press(15, 10);               // a press on start without the pointer passing over it first
    EXPECT_EQ(back_at(20, 15), colour_of("start_2"));
    skin_hover(15, 10);
    EXPECT_EQ(std::pair(back_at(20, 15), back_at(260, 15)), std::pair(colour_of("start_1"), colour_of("exit_0")));
    skin_release(15, 10, 400);  // held too long: the picture alone changes
    skin_release(60, 150, 100);  // quick, but on no button
    skin_press(15, 10);
    skin_release(15, 10, 100);
    ws::test::pump();
    EXPECT_EQ(commands, std::vector<uint32_t>{IDM_RESTART});
    EXPECT_EQ(back_at(20, 15), colour_of("start_1"));
}

TEST_F(SkinTest, TooltipStaysInsideAndLeavesNoTrace) {
    read_standard();
    const std::vector<uint32_t> clean = back_words();
    skin_hover(15, 10);  // start: two lines, below right of the pointer
    const ws::TextMetrics m = ws::text_metrics();
    const int32_t two_lines = 2 * (m.height + m.external_leading) - m.external_leading + 2;
    EXPECT_EQ(std::pair(black_box().left, black_box().height()), std::pair(25, two_lines));
    skin_hover(255, 10);  // exit: too near the right edge, so the box moves left of it
    EXPECT_EQ(std::pair(black_box().right, black_box().left < 255), std::pair(300 - 10, true));
    ws::test::mouse(ws::WM_MOUSEMOVE, {150, 30});
    skin_timer();  // the pointer still over the window's picture: the hover stays
    EXPECT_FALSE(back_words() == clean);
    ws::test::mouse(ws::WM_MOUSEMOVE, {2000, 2000});
    skin_timer();  // the pointer gone from the window: no trace is left
    EXPECT_TRUE(back_words() == clean);
}

TEST_F(SkinTest, WindowShapeAndTheFallbackWithoutAWindowPicture) {
    settings.win_left = 30, settings.win_top = 40;
    read_standard();
    Rect win, game;
    ASSERT_TRUE(skin_window_rect(win) && skin_game_rect(game));
    EXPECT_EQ(std::pair(win, game), std::pair(Rect{30, 40, 330, 240}, Rect{10, 50, 210, 150}));
    std::filesystem::remove("skin/win_0.bmp");
    read("win 0 0\nnum 100 5 3 10 20 50 count\nexit 250 5 close\n");
    EXPECT_FALSE(skin_window_rect(win) || skin_game_rect(game));
    EXPECT_TRUE(settings.skin);
    EXPECT_EQ(skin_show_num(600), 600);
    skin_press(255, 10);  // no skin in force: the exit button does not close anything
    ws::test::pump();
    EXPECT_TRUE(ws::is_window(display.main_window));
}

}  // namespace
