// Window layer: classes, creation and destruction, placement, rectangles, coordinates and the window under a point.
#include "support/ws_support.h"

using namespace wstest;

namespace {

class Windows : public WsTest {};

TEST_F(Windows, ClassesAreRegisteredOnce) {
    ws::WindowClass wc;
    wc.name = "Rec";
    wc.proc = recording_proc;
    EXPECT_FALSE(ws::register_class(wc)) << "the name is taken";
    wc.name = "";
    EXPECT_FALSE(ws::register_class(wc));
    wc.name = "NoProc";
    wc.proc = nullptr;
    EXPECT_FALSE(ws::register_class(wc));
    EXPECT_EQ(ws::create_window("Unknown", "x", ws::WS_POPUP, 0, 0, 10, 10, 0, 0), 0);
}

TEST_F(Windows, CreationSendsCreateSizeAndMoveWithTheCreateParameter) {
    uintptr_t param = 0;
    Size size_in_create;
    set_hook([&](ws::Hwnd h, uint32_t msg, uintptr_t, intptr_t lp, intptr_t&) {
        if (msg == ws::WM_CREATE) {
            param = reinterpret_cast<const ws::CreateStruct*>(lp)->create_param;
            Rect c = ws::get_client_rect(h);
            size_in_create = {c.width(), c.height()};
        }
        return false;
    });
    ws::Hwnd w = ws::create_window("Rec", "title", ws::WS_POPUP, 30, 40, 120, 90, 0, 0, 0xBEEF);
    ASSERT_NE(w, 0);
    EXPECT_EQ(param, 0xBEEFu);
    EXPECT_EQ(size_in_create, (Size{120, 90})) << "the client area is ready when WM_CREATE runs";
    std::vector<uint32_t> order;
    for (const Seen& s : seen()) order.push_back(s.msg);
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order[0], ws::WM_CREATE);
    EXPECT_EQ(order[1], ws::WM_SIZE);
    EXPECT_EQ(order[2], ws::WM_MOVE);
    EXPECT_EQ(ws::lparam_x(seen_of(ws::WM_MOVE)[0].lparam), 30);
    EXPECT_EQ(ws::lparam_y(seen_of(ws::WM_MOVE)[0].lparam), 40);
    EXPECT_FALSE(ws::is_window_visible(w)) << "shown only with WS_VISIBLE";
    EXPECT_EQ(ws::get_window_text(w), "title");
}

TEST_F(Windows, ACreateHandlerCanRefuse) {
    set_hook([](ws::Hwnd, uint32_t msg, uintptr_t, intptr_t, intptr_t& r) {
        if (msg != ws::WM_CREATE) return false;
        r = -1;
        return true;
    });
    EXPECT_EQ(ws::create_window("Rec", "no", ws::WS_POPUP, 0, 0, 10, 10, 0, 0), 0);
    EXPECT_EQ(seen_of(ws::WM_DESTROY).size(), 1u);
}

TEST_F(Windows, DestroyTellsTheWindowThenItsChildrenAndOwnedWindows) {
    ws::Hwnd parent = top();
    ws::Hwnd kid = child(parent, 0, 0, 10, 10);
    ws::Hwnd grandkid = child(kid, 0, 0, 5, 5);
    ws::Hwnd owned = ws::create_window("Rec", "owned", ws::WS_POPUP | ws::WS_VISIBLE, 0, 0, 20, 20, parent, 0);
    ASSERT_NE(owned, 0);
    EXPECT_EQ(ws::get_parent(kid), parent);
    EXPECT_EQ(ws::get_parent(owned), parent);
    seen().clear();
    EXPECT_TRUE(ws::destroy_window(parent));
    std::vector<ws::Hwnd> order;
    for (const Seen& s : seen_of(ws::WM_DESTROY)) order.push_back(s.hwnd);
    EXPECT_EQ(order, (std::vector<ws::Hwnd>{owned, parent, kid, grandkid}));
    for (ws::Hwnd h : {parent, kid, grandkid, owned}) EXPECT_FALSE(ws::is_window(h));
    EXPECT_FALSE(ws::destroy_window(parent)) << "a window is destroyed once";
}

TEST_F(Windows, AWindowOwnedThroughAChildBelongsToTheChildsTopLevelWindow) {
    ws::Hwnd main = top();
    ws::Hwnd game = child(main, 0, 0, 100, 100);
    ws::Hwnd guide = ws::create_window("Rec", "全体", ws::WS_OVERLAPPEDWINDOW | ws::WS_VISIBLE, 0, 0, 80, 60, game, 0);
    ASSERT_NE(guide, 0);
    EXPECT_EQ(ws::get_parent(guide), main);
    ws::destroy_window(game);
    EXPECT_TRUE(ws::is_window(guide)) << "it outlives the child it was created from";
    ws::destroy_window(main);
    EXPECT_FALSE(ws::is_window(guide));
}

TEST_F(Windows, DestroyingAgainFromWithinDestroyIsHarmless) {
    ws::Hwnd w = top();
    set_hook([](ws::Hwnd h, uint32_t msg, uintptr_t, intptr_t, intptr_t&) {
        if (msg == ws::WM_DESTROY) {
            EXPECT_FALSE(ws::destroy_window(h));
        }
        return false;
    });
    EXPECT_TRUE(ws::destroy_window(w));
    EXPECT_EQ(seen_of(ws::WM_DESTROY).size(), 1u);
    EXPECT_FALSE(ws::is_window(w));
}

TEST_F(Windows, CloseByDefaultDestroys) {
    ws::Hwnd w = top();
    ws::post_message(w, ws::WM_CLOSE, 0, 0);
    ws::test::pump();
    EXPECT_FALSE(ws::is_window(w));
}

TEST_F(Windows, DestroyingFromWithinItsOwnHandlerIsSafe) {
    ws::Hwnd w = top();
    ws::Hwnd kid = child(w, 0, 0, 20, 20);
    set_hook([&](ws::Hwnd h, uint32_t msg, uintptr_t, intptr_t, intptr_t&) {
        if (msg == ws::WM_SIZE && h == kid) ws::destroy_window(w);
        return false;
    });
    ws::move_window(kid, 0, 0, 30, 30, true);
    EXPECT_FALSE(ws::is_window(w));
    EXPECT_FALSE(ws::is_window(kid));
    ws::test::pump();
}

TEST_F(Windows, ChildrenLiveInTheirParentsClientCoordinates) {
    ws::Hwnd parent = top(100, 50, 300, 200);
    ws::Hwnd kid = child(parent, 20, 30, 60, 40);
    ws::test::pump();
    EXPECT_EQ(ws::get_window_rect(parent), (Rect{100, 50, 400, 250}));
    EXPECT_EQ(ws::get_window_rect(kid), (Rect{120, 80, 180, 120}));
    EXPECT_EQ(ws::client_to_screen(kid, {5, 6}), (Point{125, 86}));
    EXPECT_EQ(ws::screen_to_client(kid, {125, 86}), (Point{5, 6}));
    EXPECT_EQ(ws::screen_to_client(parent, {90, 40}), (Point{-10, -10}));
    EXPECT_EQ(ws::window_from_point({130, 90}), kid);
    EXPECT_EQ(ws::window_from_point({110, 60}), parent);
    EXPECT_EQ(ws::window_from_point({5, 5}), 0);
    ws::show_window(kid, ws::SW_HIDE);
    EXPECT_EQ(ws::window_from_point({130, 90}), parent) << "a hidden child is not found";
    seen().clear();
    ws::move_window(kid, 50, 60, 60, 40, false);
    auto moves = seen_of(ws::WM_MOVE, kid);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(ws::lparam_x(moves[0].lparam), 50);
    EXPECT_EQ(ws::lparam_y(moves[0].lparam), 60);
    EXPECT_TRUE(seen_of(ws::WM_SIZE, kid).empty()) << "same size: no WM_SIZE";
}

TEST_F(Windows, TheFrontWindowIsFoundFirst) {
    ws::Hwnd a = top(0, 0, 200, 200);
    ws::Hwnd b = top(100, 100, 200, 200);
    EXPECT_EQ(ws::window_from_point({150, 150}), b) << "the newer window is in front";
    ws::set_foreground_window(a);
    EXPECT_EQ(ws::window_from_point({150, 150}), a);
    ws::Hwnd owned = ws::create_window("Rec", "o", ws::WS_POPUP | ws::WS_VISIBLE, 140, 140, 20, 20, b, 0);
    ws::set_foreground_window(b);
    EXPECT_EQ(ws::window_from_point({150, 150}), owned) << "an owned window stays above its owner";
}

TEST_F(Windows, AChildWithACaptionFloatsOverItsParent) {
    ws::Hwnd parent = top(100, 100, 400, 300);
    ws::Hwnd tool = ws::create_window("Rec", "list", ws::WS_CHILD | ws::WS_CAPTION | ws::WS_VISIBLE, 10, 10, 150, 80,
                                      parent, 0);
    ASSERT_NE(tool, 0);
    EXPECT_EQ(ws::get_parent(tool), parent);
    Rect r = ws::get_window_rect(tool);
    EXPECT_EQ(r.left, 110) << "placed in the parent's client coordinates";
    EXPECT_EQ(r.top, 110);
    EXPECT_EQ(ws::window_from_point({120, 120}), tool);
    ws::destroy_window(parent);
    EXPECT_FALSE(ws::is_window(tool));
}

TEST_F(Windows, DefaultPlacementAndMaximizing) {
    ws::Hwnd w = ws::create_window("Rec", "d", ws::WS_OVERLAPPEDWINDOW, ws::CW_USEDEFAULT, ws::CW_USEDEFAULT,
                                   ws::CW_USEDEFAULT, ws::CW_USEDEFAULT, 0, 0);
    ASSERT_NE(w, 0);
    Rect r = ws::get_window_rect(w);
    EXPECT_GT(r.width(), 0);
    EXPECT_GT(r.height(), 0);
    EXPECT_LE(r.right, ws::screen_width());
    ws::show_window(w, ws::SW_SHOWMAXIMIZED);
    ws::test::pump();
    EXPECT_TRUE(ws::is_zoomed(w));
    auto sizes = seen_of(ws::WM_SIZE, w);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back().wparam, uintptr_t(ws::SIZE_MAXIMIZED));
}

TEST_F(Windows, TitlesAndStyles) {
    ws::Hwnd w = top();
    EXPECT_TRUE(ws::set_window_text(w, "15/20 ピース 00:01:05"));
    EXPECT_EQ(ws::get_window_text(w), "15/20 ピース 00:01:05");
    EXPECT_TRUE(ws::get_window_style(w) & ws::WS_VISIBLE);
    ws::show_window(w, ws::SW_HIDE);
    EXPECT_FALSE(ws::get_window_style(w) & ws::WS_VISIBLE);
    EXPECT_FALSE(ws::set_window_text(w + 100, "x"));
    EXPECT_EQ(ws::get_window_text(w + 100), "");
}

}  // namespace
