// Window layer services: pop-up menus and accelerators, dialogs and message boxes, sound, text, clipboard and trash.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/ws_support.h"

using namespace wstest;
namespace fs = std::filesystem;

namespace {

class Services : public WsTest {
protected:
    void SetUp() override {
        WsTest::SetUp();
        ws::MenuItemDesc file{"ﾌｧｲﾙ(&F)", 0, {{"開く(&O)\tCtrl+O", 200}, {"", 0, {}, false, true}, {"終了(&X)", 210}}};
        ws::register_menu_resource("TEST_MENU", {file, {"設定(&O)", 0, {{"回転", 234}}}});
        menu = ws::load_menu("TEST_MENU");
        ASSERT_NE(menu, 0);
    }
    ws::Hmenu menu = 0;
};

TEST_F(Services, PopUpsAndAccelerators) {
    const ws::Hwnd w = top(0, 0, 300, 200, ws::WS_OVERLAPPEDWINDOW | ws::WS_VISIBLE);
    ws::test::pump();
    seen().clear();
    const ws::Hmenu file = ws::get_sub_menu(menu, 0);
    for (uint32_t cmd : {210u, 200u}) ws::test::push_menu_answer(cmd);
    EXPECT_EQ(ws::track_popup_menu(file, ws::TPM_RETURNCMD, 30, 40, w), 210u);
    EXPECT_EQ(ws::track_popup_menu(file, ws::TPM_LEFTALIGN, 30, 40, w), 1u) << "without TPM_RETURNCMD it is posted";
    ws::enable_menu_item(file, 210, ws::MF_BYCOMMAND | ws::MF_GRAYED);
    for (uint32_t cmd : {210u, 234u}) ws::test::push_menu_answer(cmd);  // grayed, then not in this menu
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ws::track_popup_menu(file, ws::TPM_RETURNCMD, 0, 0, w), 0u) << i;
    ASSERT_EQ(ws::test::popups().size(), 5u);
    EXPECT_EQ(std::pair(ws::test::popups()[0].menu, ws::test::popups()[0].at), std::pair(file, Point{30, 40}));

    const ws::Haccel accel = ws::load_accelerators("IDM_ACCEL");
    ASSERT_NE(accel, 0);
    EXPECT_EQ(ws::load_accelerators("NO_SUCH_TABLE"), 0);
    ws::set_focus(w);
    // A plain O, Ctrl+O, Ctrl+X, and Ctrl+Shift+O, which is not in the table.
    for (uint32_t vk : std::initializer_list<uint32_t>{'O', ws::VK_CONTROL, 'O', 'X', ws::VK_SHIFT, 'O'})
        ws::test::key(ws::WM_KEYDOWN, vk);
    ws::Msg m;
    while (ws::get_message(m))
        if (!ws::translate_accelerator(w, accel, m)) ws::dispatch_message(m);
    std::vector<uintptr_t> commands, keys;
    for (const Seen& s : seen_of(ws::WM_COMMAND, w)) commands.push_back(s.wparam);
    for (const Seen& s : seen_of(ws::WM_KEYDOWN, w)) keys.push_back(s.wparam);
    EXPECT_EQ(commands, (std::vector<uintptr_t>{200, 1 << 16 | 200, 1 << 16 | 210}));  // the pop-up's, then Ctrl+O, X
    EXPECT_EQ(keys, (std::vector<uintptr_t>{'O', ws::VK_CONTROL, ws::VK_SHIFT, 'O'})) << "translated keys are not dispatched";
}

// A PCM wave file, 8000 samples a second, 8-bit mono, `ms` long; the process id keeps parallel runs apart.
std::string make_wave(const std::string& name, uint32_t ms) {
    const std::string path = testing::TempDir() + std::to_string(getpid()) + "_" + name;
    const uint32_t data = 8 * ms;
    std::ofstream o(path, std::ios::binary);
    const auto put = [&](uint32_t v, int bytes) { for (int i = 0; i < bytes; ++i) o.put(char(v >> (8 * i))); };
    o << "RIFF", put(36 + data, 4), o << "WAVEfmt ", put(16, 4), put(1, 2), put(1, 2), put(8000, 4), put(8000, 4);
    put(1, 2), put(8, 2), o << "data", put(data, 4);
    for (uint32_t i = 0; i < data; ++i) o.put(char(128 + (i % 16 < 8 ? 20 : -20)));
    return path;
}

TEST_F(Services, SoundFollowsTheVirtualClock) {
    const std::string long_wave = make_wave("long.wav", 500), short_wave = make_wave("short.wav", 50);
    const uint32_t nostop = ws::SND_ASYNC | ws::SND_NOSTOP;
    EXPECT_TRUE(ws::play_wave(long_wave, ws::SND_ASYNC | ws::SND_FILENAME));
    EXPECT_FALSE(ws::play_wave(short_wave, nostop)) << "500 ms are not over";
    ws::test::advance(499);
    EXPECT_FALSE(ws::play_wave(short_wave, nostop));
    ws::test::advance(1);
    EXPECT_TRUE(ws::play_wave(short_wave, nostop));
    EXPECT_TRUE(ws::play_wave(long_wave, ws::SND_ASYNC)) << "without NOSTOP a new sound replaces the old one";
    const auto& s = ws::test::sounds();
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(std::vector<bool>({s[0].started, s[1].started, s[3].started}), std::vector<bool>({true, false, true}));
    EXPECT_EQ(std::pair(s[3].path, s[3].flags), std::pair(short_wave, nostop));
    EXPECT_TRUE(ws::play_wave(short_wave, ws::SND_ASYNC | ws::SND_LOOP));
    ws::test::advance(10000);
    EXPECT_FALSE(ws::play_wave(short_wave, nostop)) << "a loop plays until stopped";
    EXPECT_TRUE(ws::play_wave("", 0));
    EXPECT_TRUE(ws::play_wave(long_wave, ws::SND_SYNC));
    EXPECT_TRUE(ws::play_wave(short_wave, nostop)) << "a synchronous sound is over when the play returns";

    const std::string junk = make_wave("junk.wav", 1), cut = make_wave("cut.wav", 100);
    std::ofstream(junk, std::ios::binary | std::ios::trunc) << "RIFF\x10\0\0\0WAVEdata";
    std::ofstream(cut, std::ios::binary | std::ios::trunc) << "RIFF";
    ws::test::reset();
    EXPECT_FALSE(ws::play_wave(testing::TempDir() + "no_such.wav", ws::SND_ASYNC));
    EXPECT_FALSE(ws::play_wave(junk, ws::SND_SYNC));
    EXPECT_FALSE(ws::play_wave(cut, ws::SND_ASYNC));
    EXPECT_TRUE(ws::play_wave(short_wave, nostop)) << "nothing is playing after failures";
    for (const auto& p : {long_wave, short_wave, junk, cut}) std::remove(p.c_str());
}

// Pixels that differ from `before` inside and outside the box (x, y, size).
std::pair<int, int> changes(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after, int32_t w,
                            int32_t h, int32_t x, int32_t y, Size box) {
    int in = 0, out = 0;
    for (size_t i = 0; i < after.size(); ++i) {
        const int32_t c = int32_t(i % size_t(w)), r = h - 1 - int32_t(i / size_t(w));
        if (before[i] != after[i]) (c >= x && c < x + box.cx && r >= y && r < y + box.cy ? in : out)++;
    }
    return {in, out};
}

TEST_F(Services, TextExtentsAndDrawingInsideTheBox) {
    const Size one = ws::text_extent("W"), three = ws::text_extent("WWW");
    EXPECT_TRUE(one.cx > 0 && three.cy == one.cy && three.cx > 2 * one.cx);
    EXPECT_GT(ws::text_extent("完成しました").cx, 5 * one.cx / 2) << "a CJK font is found";
    EXPECT_EQ(ws::text_extent("").cx, 0);
    const ws::TextMetrics m = ws::text_metrics();
    EXPECT_EQ(m.height, one.cy);
    EXPECT_EQ(m.ascent + m.descent, m.height);

    const struct {
        std::string text;
        int32_t x, y;
        bool opaque;
    } cases[] = {{"zelto 完成", 10, 5, false}, {"ABC", 4, 2, true}, {"Hg", 0, 0, false}, {"WWWWWWWW", -7, 30, true},
                 {"x", 500, 500, true}, {"x", -500, 0, true}, {"\xe5\xae\x8c\xff\x80z", 60, 20, true}};  // bad UTF-8
    for (const auto& k : cases) {
        SCOPED_TRACE(k.text);
        const std::vector<uint32_t> before(120 * 40, 0x00FFFFFF);
        std::vector<uint32_t> s = before;
        ws::draw_text(s.data(), 120, 40, k.x, k.y, k.text, 0x000000FF, 0x00FF0000, k.opaque);  // red on blue
        const Size box = ws::text_extent(k.text);
        const auto [in, out] = changes(before, s, 120, 40, k.x, k.y, box);
        EXPECT_EQ(out, 0);
        EXPECT_EQ(in > 0, k.x < 120 && k.y < 40 && k.x + box.cx > 0);
        int blue = 0;
        for (uint32_t p : s) {
            EXPECT_TRUE(p == 0x00FFFFFF || p == 0x00FF0000 || (k.opaque && p == 0x000000FF)) << std::hex << p;
            blue += p == 0x000000FF;
        }
        if (k.opaque && k.x >= 0 && k.x + box.cx <= 120 && k.y + box.cy <= 40) {
            EXPECT_EQ(in, box.cx * box.cy) << "opaque text fills its whole box";
        }
        EXPECT_TRUE(k.opaque || blue == 0);
    }
    ws::draw_text(nullptr, 10, 10, 0, 0, "x", 0, 0, true);
}

TEST_F(Services, ClipboardAndTrash) {
    EXPECT_FALSE(ws::clipboard_has_bitmap());
    MemDC src, out;
    EXPECT_FALSE(ws::clipboard_get_bitmap(out));
    src.create(BIT_SCREEN, 7, 5);
    for (int32_t i = 0; i < 35; ++i) src.words()[i] = uint32_t(i * 0x010203);  // every pixel its own colour
    ASSERT_TRUE(ws::clipboard_set_bitmap(src));
    EXPECT_TRUE(ws::clipboard_has_bitmap() && !ws::clipboard_has_files());
    out.create(BIT_SCREEN, 2, 2);  // an existing surface is replaced
    ASSERT_TRUE(ws::clipboard_get_bitmap(out));
    ASSERT_EQ(std::pair(out.width(), out.height()), std::pair(7, 5));
    EXPECT_EQ(std::vector<uint32_t>(out.words(), out.words() + 35), std::vector<uint32_t>(src.words(), src.words() + 35));
    ws::test::set_clipboard_files({"/tmp/絵 1.jpg", "/tmp/b.BMP"});
    EXPECT_TRUE(ws::clipboard_has_files() && !ws::clipboard_has_bitmap());
    EXPECT_EQ(ws::clipboard_files(), (std::vector<std::string>{"/tmp/絵 1.jpg", "/tmp/b.BMP"}));

    const fs::path root = fs::path(testing::TempDir()) / ("ws_trash_" + std::to_string(getpid()));
    fs::create_directories(root / "data");
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);  // a trash of our own, never the user's
    std::ofstream(root / "サムネイル.jpg") << "x";
    EXPECT_TRUE(ws::move_to_trash((root / "サムネイル.jpg").string()));
    EXPECT_FALSE(fs::exists(root / "サムネイル.jpg"));
    EXPECT_TRUE(fs::exists(root / "data" / "Trash" / "files" / "サムネイル.jpg"));
    EXPECT_FALSE(ws::move_to_trash((root / "gone.jpg").string()));
    EXPECT_FALSE(ws::move_to_trash(""));
    unsetenv("XDG_DATA_HOME");
    fs::remove_all(root);
}

}  // namespace
