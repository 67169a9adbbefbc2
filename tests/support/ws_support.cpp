// Shared helpers of the window-layer tests.
#include "support/ws_support.h"

namespace wstest {
namespace {
Hook& hook() {
    static Hook h;
    return h;
}
}  // namespace

std::vector<Seen>& seen() {
    static std::vector<Seen> s;
    return s;
}

void set_hook(Hook h) { hook() = std::move(h); }

intptr_t recording_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    seen().push_back({hwnd, msg, wparam, lparam, ws::message_time()});
    intptr_t result = 0;
    if (hook() && hook()(hwnd, msg, wparam, lparam, result)) return result;
    return ws::def_window_proc(hwnd, msg, wparam, lparam);
}

std::vector<Seen> seen_of(uint32_t msg, ws::Hwnd hwnd) {
    std::vector<Seen> out;
    for (const Seen& s : seen())
        if (s.msg == msg && (hwnd == 0 || s.hwnd == hwnd)) out.push_back(s);
    return out;
}

void WsTest::SetUp() {
    ws::test::reset();
    seen().clear();
    hook() = nullptr;
    if (!ws::class_registered("Rec")) {
        ws::WindowClass wc;
        wc.name = "Rec";
        wc.proc = recording_proc;
        wc.cursor = ws::IDC_ARROW;
        wc.background = 0xFFFFFF;
        ASSERT_TRUE(ws::register_class(wc));
    }
}

void WsTest::TearDown() {
    hook() = nullptr;
    ws::test::reset();
}

ws::Hwnd WsTest::top(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t style) {
    ws::Hwnd hwnd = ws::create_window("Rec", "top", style ? style : ws::WS_POPUP | ws::WS_VISIBLE, x, y, w, h, 0, 0);
    EXPECT_NE(hwnd, 0);
    return hwnd;
}

ws::Hwnd WsTest::child(ws::Hwnd parent, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t style) {
    ws::Hwnd hwnd = ws::create_window("Rec", "child", ws::WS_CHILD | ws::WS_VISIBLE | style, x, y, w, h, parent, 0);
    EXPECT_NE(hwnd, 0);
    return hwnd;
}

}  // namespace wstest
