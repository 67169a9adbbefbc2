// Window layer services: menus and accelerators, dialogs and message boxes, sound, text, clipboard and trash.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/ws_support.h"

using namespace wstest;
namespace fs = std::filesystem;

namespace {

ws::MenuDesc range(uint32_t first, uint32_t last) {
    ws::MenuDesc d;
    for (uint32_t id = first; id <= last; ++id) d.push_back({"item " + std::to_string(id), id});
    return d;
}

class Services : public WsTest {
protected:
    void SetUp() override {
        WsTest::SetUp();
        ws::MenuItemDesc file{"ﾌｧｲﾙ(&F)", 0, {{"開く(&O)\tCtrl+O", 200}, {"", 0, {}, false, true}, {"終了(&X)", 210}}};
        ws::MenuItemDesc settings{"設定(&O)", 0, {{"ﾋﾟｰｽ", 0, range(211, 215)}, {"回転", 0, range(234, 236)},
                                                   {"裏返し", 0, {{"する", 237, {}, false, false, true}, {"しない", 238}}}}};
        ws::register_menu_resource("TEST_MENU", {file, settings});
        menu = ws::load_menu("TEST_MENU");
        ASSERT_NE(menu, 0);
    }
    // The command ids of 200..238 that carry a check mark.
    std::vector<uint32_t> checked() {
        std::vector<uint32_t> out;
        for (uint32_t id = 200; id <= 238; ++id)
            if (const uint32_t st = ws::get_menu_state(menu, id, ws::MF_BYCOMMAND); st != ws::MENU_NONE && st & ws::MF_CHECKED)
                out.push_back(id);
        return out;
    }
    ws::Hmenu menu = 0;
};

TEST_F(Services, MenusAreReachedByPositionAndKeepRadioMarksInTheirRange) {
    EXPECT_EQ(ws::load_menu("NO_SUCH_MENU"), 0);
    EXPECT_NE(ws::load_menu("TEST_MENU"), menu) << "every load makes a new menu";
    EXPECT_EQ(ws::get_menu_item_count(menu), 2);
    const ws::Hmenu file = ws::get_sub_menu(menu, 0), settings = ws::get_sub_menu(menu, 1);
    EXPECT_EQ(ws::get_sub_menu(menu, 2), 0);
    EXPECT_EQ(ws::get_sub_menu(file, 0), 0) << "a command is no sub-menu";
    EXPECT_EQ(ws::get_menu_item_id(file, 2), 210u);
    EXPECT_TRUE(ws::get_menu_state(file, 1, ws::MF_BYPOSITION) & ws::MF_SEPARATOR);
    EXPECT_EQ(ws::get_menu_string(menu, 215, ws::MF_BYCOMMAND), "item 215") << "commands are found in sub-menus";
    EXPECT_EQ(ws::get_menu_item_count(ws::get_sub_menu(settings, 0)), 5);

    ws::check_menu_item(menu, 212, ws::MF_BYCOMMAND | ws::MF_CHECKED);
    ws::check_menu_item(menu, 215, ws::MF_BYCOMMAND | ws::MF_CHECKED);
    EXPECT_TRUE(ws::check_menu_radio_item(menu, 211, 214, 213, ws::MF_BYCOMMAND));
    EXPECT_TRUE(ws::get_menu_state(menu, 213, ws::MF_BYCOMMAND) & ws::MFT_RADIOCHECK);
    const ws::Hmenu turn = ws::get_sub_menu(settings, 1);
    EXPECT_TRUE(ws::check_menu_radio_item(turn, 0, 2, 2, ws::MF_BYPOSITION));
    EXPECT_TRUE(ws::check_menu_radio_item(turn, 0, 2, 1, ws::MF_BYPOSITION));
    EXPECT_FALSE(ws::check_menu_radio_item(ws::get_sub_menu(settings, 0), 0, 2, 4, ws::MF_BYPOSITION));
    EXPECT_FALSE(ws::check_menu_radio_item(menu, 211, 214, 299, ws::MF_BYCOMMAND));
    EXPECT_EQ(checked(), (std::vector<uint32_t>{213, 215, 235, 237}));  // refused calls change nothing

    EXPECT_EQ(ws::check_menu_item(menu, 238, ws::MF_BYCOMMAND | ws::MF_CHECKED), int32_t(ws::MF_UNCHECKED));
    EXPECT_EQ(ws::check_menu_item(menu, 238, ws::MF_BYCOMMAND | ws::MF_UNCHECKED), int32_t(ws::MF_CHECKED));
    EXPECT_EQ(ws::check_menu_item(menu, 999, ws::MF_BYCOMMAND), -1);
    EXPECT_EQ(ws::enable_menu_item(menu, 210, ws::MF_BYCOMMAND | ws::MF_GRAYED), int32_t(ws::MF_ENABLED));
    EXPECT_TRUE(ws::get_menu_state(menu, 210, ws::MF_BYCOMMAND) & ws::MF_GRAYED);
    EXPECT_EQ(ws::enable_menu_item(menu, 210, ws::MF_BYCOMMAND | ws::MF_ENABLED), int32_t(ws::MF_GRAYED));
    EXPECT_EQ(ws::get_menu_state(menu, 999, ws::MF_BYCOMMAND), ws::MENU_NONE);
}

TEST_F(Services, InsertedItemsTakeTheirPlace) {
    const ws::Hmenu web = ws::create_popup_menu();
    ASSERT_TRUE(ws::insert_menu(menu, 2, ws::MF_BYPOSITION | ws::MF_POPUP, web, "Web"));
    ASSERT_TRUE(ws::append_menu(web, ws::MF_STRING, 0xF40C, "https://example.org/"));
    ASSERT_TRUE(ws::insert_menu(menu, 2, ws::MF_BYPOSITION | ws::MF_STRING, 251, "トレイを追加"));
    EXPECT_TRUE(ws::insert_menu(menu, 99, ws::MF_BYPOSITION, 252, "end")) << "past the end appends";
    EXPECT_TRUE(ws::insert_menu(menu, 210, ws::MF_BYCOMMAND, 209, "before exit"));
    EXPECT_FALSE(ws::insert_menu(menu, 998, ws::MF_BYCOMMAND, 1, "x")) << "no such command to insert before";
    EXPECT_FALSE(ws::insert_menu(web, 0, ws::MF_BYPOSITION | ws::MF_POPUP, web, "self"));
    std::vector<std::string> top_level;
    for (int32_t i = 0; i < ws::get_menu_item_count(menu); ++i) top_level.push_back(ws::get_menu_string(menu, i, ws::MF_BYPOSITION));
    EXPECT_EQ(top_level, (std::vector<std::string>{"ﾌｧｲﾙ(&F)", "設定(&O)", "トレイを追加", "Web", "end"}));
    EXPECT_EQ(ws::get_sub_menu(menu, 3), web);
    EXPECT_EQ(ws::get_menu_item_id(menu, 4), 252u);
    EXPECT_EQ(ws::get_menu_string(menu, 0xF40C, ws::MF_BYCOMMAND), "https://example.org/");
    EXPECT_EQ(ws::get_menu_item_id(ws::get_sub_menu(menu, 0), 2), 209u);
    EXPECT_TRUE(ws::delete_menu(menu, 3, ws::MF_BYPOSITION));
    EXPECT_FALSE(ws::is_menu(web)) << "a deleted sub-menu goes with its entry";
}

TEST_F(Services, PopUpsMenuBarAndAccelerators) {
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

    const int32_t without_bar = ws::get_client_rect(w).height();
    ASSERT_TRUE(ws::set_menu(w, menu));
    EXPECT_EQ(ws::get_menu(w), menu);
    const int32_t with_bar = ws::get_client_rect(w).height();
    EXPECT_TRUE(with_bar < without_bar && with_bar > without_bar - 50);
    EXPECT_EQ(ws::get_window_rect(w).height(), 200) << "the outer size stays";
    EXPECT_EQ(ws::lparam_y(seen_of(ws::WM_SIZE, w).at(0).lparam), with_bar);
    EXPECT_FALSE(ws::set_menu(child(w, 0, 0, 10, 10), menu)) << "child windows have no menu bar";
    ASSERT_TRUE(ws::set_menu(w, 0));
    EXPECT_EQ(ws::get_client_rect(w).height(), without_bar);

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

TEST_F(Services, MessageBoxesAndDialogsAnswerFromTheScriptAndAreRecorded) {
    const ws::Hwnd w = top();
    ws::test::push_answer(ws::IDCANCEL);
    ws::test::push_answer(ws::IDNO);
    EXPECT_EQ(ws::message_box(w, "ゲーム中のデータを保存しますか？", "保存確認", ws::MB_YESNOCANCEL), ws::IDCANCEL);
    EXPECT_EQ(ws::message_box(0, "始めからやり直しますか？", "確認", ws::MB_YESNO), ws::IDNO);
    EXPECT_EQ(ws::message_box(0, "a", "b", ws::MB_YESNO), ws::IDYES) << "unscripted: the first button";
    const auto& m = ws::test::messages();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(std::tuple(m[0].owner, m[0].text, m[0].caption, m[0].type, m[0].answer),
              std::tuple(w, std::string("ゲーム中のデータを保存しますか？"), std::string("保存確認"),
                         uint32_t(ws::MB_YESNOCANCEL), int32_t(ws::IDCANCEL)));
    EXPECT_EQ(m[1].answer, ws::IDNO);

    ws::FileDialog d;
    d.title = "選択", d.folder = "data", d.filter_index = 1, d.must_exist = true;
    d.filters = {{"ビットマップ(*.bmp)", "*.bmp"}, {"ｊｐｅｇ(*.jpg)", "*.jpg;*.jpeg"}};
    ws::test::push_file_answer("/pics/cat.jpg");
    ws::test::push_file_answer("");
    EXPECT_EQ(ws::open_file_dialog(d), "/pics/cat.jpg");
    EXPECT_EQ(ws::open_file_dialog(d), "") << "scripted cancel";
    d.file_name = "game.zlt";
    EXPECT_EQ(ws::save_file_dialog(d), "") << "unscripted dialogs are cancelled";
    Colour c = 0x00336699;
    ws::test::push_colour_answer(-1);
    ws::test::push_colour_answer(0x00FF8000);
    EXPECT_FALSE(ws::choose_colour(0, c, nullptr));
    EXPECT_EQ(c, 0x00336699u) << "the colour changes only on OK";
    EXPECT_TRUE(ws::choose_colour(0, c, nullptr));
    EXPECT_EQ(c, 0x00FF8000u);
    EXPECT_FALSE(ws::choose_colour(0, c, nullptr));
    const auto& r = ws::test::dialogs();
    ASSERT_EQ(r.size(), 6u);
    EXPECT_EQ(std::tuple(r[0].kind, r[0].title, r[0].folder, r[0].filter_index, r[0].filters.at(1).patterns),
              std::tuple(std::string("open"), std::string("選択"), std::string("data"), 1, std::string("*.jpg;*.jpeg")));
    EXPECT_EQ(std::pair(r[2].kind, r[2].file_name), std::pair(std::string("save"), std::string("game.zlt")));
    EXPECT_EQ(r[5].kind, "colour");

    EXPECT_TRUE(ws::open_document("https://example.org/zelto"));
    EXPECT_TRUE(ws::open_document("www.example.org"));
    EXPECT_FALSE(ws::open_document("/no/such/folder/readme.txt")) << "a missing file cannot be opened";
    EXPECT_FALSE(ws::open_document(""));
    EXPECT_EQ(ws::test::opened(), (std::vector<std::string>{"https://example.org/zelto", "www.example.org"}));
    ws::test::push_answer(ws::IDNO);
    ws::test::reset();
    EXPECT_TRUE(ws::test::messages().empty());
    EXPECT_EQ(ws::message_box(0, "x", "y", ws::MB_YESNO), ws::IDYES) << "reset forgets the unused answer";
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
