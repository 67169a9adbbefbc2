// Window layer: menus from resource descriptions, marks, inserted items, pop-ups, the menu bar and accelerators.
#include "support/ws_support.h"

using namespace wstest;

namespace {

ws::MenuDesc range(uint32_t first, uint32_t last) {
    ws::MenuDesc d;
    for (uint32_t id = first; id <= last; ++id) d.push_back({"item " + std::to_string(id), id});
    return d;
}

class Menus : public WsTest {
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
    ws::Hmenu menu = 0;
    bool checked(uint32_t id) { return ws::get_menu_state(menu, id, ws::MF_BYCOMMAND) & ws::MF_CHECKED; }
};

TEST_F(Menus, SubMenusAreReachedByPosition) {
    EXPECT_EQ(ws::load_menu("NO_SUCH_MENU"), 0);
    EXPECT_EQ(ws::get_menu_item_count(menu), 2);
    ws::Hmenu file = ws::get_sub_menu(menu, 0);
    ws::Hmenu settings = ws::get_sub_menu(menu, 1);
    ASSERT_NE(file, 0);
    ASSERT_NE(settings, 0);
    EXPECT_EQ(ws::get_sub_menu(menu, 2), 0);
    EXPECT_EQ(ws::get_sub_menu(file, 0), 0) << "a command is no sub-menu";
    EXPECT_EQ(ws::get_menu_item_id(file, 2), 210u);
    EXPECT_EQ(ws::get_menu_state(file, 1, ws::MF_BYPOSITION) & ws::MF_SEPARATOR, ws::MF_SEPARATOR);
    EXPECT_EQ(ws::get_menu_string(menu, 215, ws::MF_BYCOMMAND), "item 215") << "commands are found in sub-menus";
    EXPECT_EQ(ws::get_menu_item_count(ws::get_sub_menu(settings, 0)), 5);
    EXPECT_EQ(ws::load_menu("TEST_MENU") == menu, false) << "every load makes a new menu";
}

TEST_F(Menus, RadioMarksStayWithinTheirRange) {
    ws::Hmenu settings = ws::get_sub_menu(menu, 1);
    ws::Hmenu pieces = ws::get_sub_menu(settings, 0);
    ws::check_menu_item(menu, 212, ws::MF_BYCOMMAND | ws::MF_CHECKED);
    ws::check_menu_item(menu, 215, ws::MF_BYCOMMAND | ws::MF_CHECKED);
    // By command: 213 marked, every other command of 211..214 cleared, 215 outside the range untouched.
    EXPECT_TRUE(ws::check_menu_radio_item(menu, 211, 214, 213, ws::MF_BYCOMMAND));
    EXPECT_TRUE(checked(213));
    EXPECT_FALSE(checked(212));
    EXPECT_TRUE(checked(215));
    EXPECT_TRUE(checked(237)) << "other menus keep their marks";
    EXPECT_TRUE(ws::get_menu_state(menu, 213, ws::MF_BYCOMMAND) & ws::MFT_RADIOCHECK);
    // By position, inside one sub-menu.
    ws::Hmenu turn = ws::get_sub_menu(settings, 1);
    EXPECT_TRUE(ws::check_menu_radio_item(turn, 0, 2, 2, ws::MF_BYPOSITION));
    EXPECT_TRUE(ws::check_menu_radio_item(turn, 0, 2, 1, ws::MF_BYPOSITION));
    EXPECT_TRUE(checked(235));
    EXPECT_FALSE(checked(236));
    EXPECT_FALSE(checked(234));
    // Refused: the mark outside the range, or an item that does not exist.
    EXPECT_FALSE(ws::check_menu_radio_item(pieces, 0, 2, 4, ws::MF_BYPOSITION));
    EXPECT_FALSE(ws::check_menu_radio_item(menu, 211, 214, 299, ws::MF_BYCOMMAND));
    EXPECT_TRUE(checked(213)) << "a refused call changes nothing";
}

TEST_F(Menus, CheckAndEnableReportThePreviousState) {
    EXPECT_EQ(ws::check_menu_item(menu, 238, ws::MF_BYCOMMAND | ws::MF_CHECKED), int32_t(ws::MF_UNCHECKED));
    EXPECT_EQ(ws::check_menu_item(menu, 238, ws::MF_BYCOMMAND | ws::MF_UNCHECKED), int32_t(ws::MF_CHECKED));
    EXPECT_EQ(ws::check_menu_item(menu, 999, ws::MF_BYCOMMAND), -1);
    EXPECT_EQ(ws::enable_menu_item(menu, 210, ws::MF_BYCOMMAND | ws::MF_GRAYED), int32_t(ws::MF_ENABLED));
    EXPECT_TRUE(ws::get_menu_state(menu, 210, ws::MF_BYCOMMAND) & ws::MF_GRAYED);
    EXPECT_EQ(ws::enable_menu_item(menu, 210, ws::MF_BYCOMMAND | ws::MF_ENABLED), int32_t(ws::MF_GRAYED));
    EXPECT_EQ(ws::get_menu_state(menu, 999, ws::MF_BYCOMMAND), ws::MENU_NONE);
}

TEST_F(Menus, InsertedItemsTakeTheirPlace) {
    ws::Hmenu web = ws::create_popup_menu();
    ASSERT_TRUE(ws::insert_menu(menu, 2, ws::MF_BYPOSITION | ws::MF_POPUP, web, "Web"));
    ASSERT_TRUE(ws::append_menu(web, ws::MF_STRING, 0xF40C, "https://example.org/"));
    ASSERT_TRUE(ws::insert_menu(menu, 2, ws::MF_BYPOSITION | ws::MF_STRING, 251, "トレイを追加"));
    ASSERT_EQ(ws::get_menu_item_count(menu), 4);
    EXPECT_EQ(ws::get_menu_string(menu, 2, ws::MF_BYPOSITION), "トレイを追加");
    EXPECT_EQ(ws::get_menu_string(menu, 3, ws::MF_BYPOSITION), "Web");
    EXPECT_EQ(ws::get_sub_menu(menu, 3), web);
    EXPECT_EQ(ws::get_menu_string(menu, 0xF40C, ws::MF_BYCOMMAND), "https://example.org/");
    EXPECT_TRUE(ws::insert_menu(menu, 99, ws::MF_BYPOSITION, 252, "end")) << "past the end appends";
    EXPECT_EQ(ws::get_menu_item_id(menu, 4), 252u);
    EXPECT_TRUE(ws::insert_menu(menu, 210, ws::MF_BYCOMMAND, 209, "before exit"));
    EXPECT_EQ(ws::get_menu_item_id(ws::get_sub_menu(menu, 0), 2), 209u);
    EXPECT_FALSE(ws::insert_menu(menu, 998, ws::MF_BYCOMMAND, 1, "x")) << "no such command to insert before";
    EXPECT_FALSE(ws::insert_menu(web, 0, ws::MF_BYPOSITION | ws::MF_POPUP, web, "self"));
    EXPECT_TRUE(ws::delete_menu(menu, 3, ws::MF_BYPOSITION));
    EXPECT_FALSE(ws::is_menu(web)) << "a deleted sub-menu goes with its entry";
}

TEST_F(Menus, PopUpsReturnTheScriptedCommand) {
    ws::Hwnd w = top();
    ws::test::pump();
    seen().clear();
    ws::Hmenu file = ws::get_sub_menu(menu, 0);
    ws::test::push_menu_answer(210);
    EXPECT_EQ(ws::track_popup_menu(file, ws::TPM_RETURNCMD, 30, 40, w), 210u);
    ws::test::push_menu_answer(200);
    EXPECT_EQ(ws::track_popup_menu(file, ws::TPM_LEFTALIGN, 30, 40, w), 1u);
    ws::test::pump();
    auto commands = seen_of(ws::WM_COMMAND, w);
    ASSERT_EQ(commands.size(), 1u) << "without TPM_RETURNCMD the choice is posted";
    EXPECT_EQ(commands[0].wparam, 200u);
    ws::enable_menu_item(file, 210, ws::MF_BYCOMMAND | ws::MF_GRAYED);
    ws::test::push_menu_answer(210);
    EXPECT_EQ(ws::track_popup_menu(file, ws::TPM_RETURNCMD, 0, 0, w), 0u) << "a grayed item cannot be chosen";
    ws::test::push_menu_answer(234);
    EXPECT_EQ(ws::track_popup_menu(file, ws::TPM_RETURNCMD, 0, 0, w), 0u) << "not in this menu";
    EXPECT_EQ(ws::track_popup_menu(file, ws::TPM_RETURNCMD, 0, 0, w), 0u) << "dismissed";
    ASSERT_EQ(ws::test::popups().size(), 5u);
    EXPECT_EQ(ws::test::popups()[0].menu, file);
    EXPECT_EQ(ws::test::popups()[0].at, (Point{30, 40}));
}

TEST_F(Menus, AMenuBarTakesRoomFromTheClientArea) {
    ws::Hwnd w = top(0, 0, 300, 200, ws::WS_OVERLAPPEDWINDOW | ws::WS_VISIBLE);
    ws::test::pump();
    int32_t without_bar = ws::get_client_rect(w).height();
    EXPECT_EQ(ws::get_window_rect(w).height(), 200);
    seen().clear();
    ASSERT_TRUE(ws::set_menu(w, menu));
    EXPECT_EQ(ws::get_menu(w), menu);
    int32_t with_bar = ws::get_client_rect(w).height();
    EXPECT_LT(with_bar, without_bar);
    EXPECT_GT(with_bar, without_bar - 50);
    ASSERT_EQ(seen_of(ws::WM_SIZE, w).size(), 1u);
    EXPECT_EQ(ws::lparam_y(seen_of(ws::WM_SIZE, w)[0].lparam), with_bar);
    EXPECT_EQ(ws::get_window_rect(w).height(), 200) << "the outer size stays";
    EXPECT_TRUE(ws::draw_menu_bar(w));
    ws::Hwnd kid = child(w, 0, 0, 10, 10);
    EXPECT_FALSE(ws::set_menu(kid, menu)) << "child windows have no menu bar";
    ASSERT_TRUE(ws::set_menu(w, 0));
    EXPECT_EQ(ws::get_client_rect(w).height(), without_bar);
}

TEST_F(Menus, TheAcceleratorTableTurnsCtrlKeysIntoCommands) {
    ws::Hwnd w = top();
    ws::test::pump();
    seen().clear();
    ws::Haccel accel = ws::load_accelerators("IDM_ACCEL");
    ASSERT_NE(accel, 0);
    EXPECT_EQ(ws::load_accelerators("NO_SUCH_TABLE"), 0);
    ws::set_focus(w);
    ws::test::key(ws::WM_KEYDOWN, 'O');  // no Ctrl: a plain key
    ws::test::key(ws::WM_KEYDOWN, ws::VK_CONTROL);
    ws::test::key(ws::WM_KEYDOWN, 'O');
    ws::test::key(ws::WM_KEYDOWN, 'X');
    ws::test::key(ws::WM_KEYDOWN, ws::VK_SHIFT);
    ws::test::key(ws::WM_KEYDOWN, 'O');  // Ctrl+Shift+O is not in the table
    ws::Msg m;
    int translated = 0;
    while (ws::get_message(m))
        if (ws::translate_accelerator(w, accel, m)) ++translated;
        else ws::dispatch_message(m);
    EXPECT_EQ(translated, 2);
    auto commands = seen_of(ws::WM_COMMAND, w);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].wparam & 0xFFFF, 200u);
    EXPECT_EQ(commands[1].wparam & 0xFFFF, 210u);
    EXPECT_EQ(commands[0].wparam >> 16, 1u) << "marked as coming from an accelerator";
    auto keys = seen_of(ws::WM_KEYDOWN, w);
    ASSERT_EQ(keys.size(), 4u) << "translated keys are not dispatched";
    EXPECT_EQ(keys[0].wparam, uintptr_t('O'));
    EXPECT_EQ(keys[3].wparam, uintptr_t('O'));
}

}  // namespace
