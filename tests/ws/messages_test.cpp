// Window layer: the loop and quitting, thread messages, timers, the part to paint, mouse moves and capture, keys,
// pop-up menus and accelerators, owned windows, sound, text drawing, clipboard bitmaps.
#include <gtest/gtest.h>

#include <functional>

#include "support/interpreter.h"
#include "ws/ws.h"

namespace {

constexpr uint32_t MSG_A = 0xF400, MSG_B = 0xF401;

// Every message a window of the class "Rec" receives, in order, with the time the layer reported while it ran.
struct Seen { ws::Hwnd hwnd; uint32_t msg; uintptr_t wparam; intptr_t lparam; uint32_t time; };
std::vector<Seen> seen;
std::function<void(ws::Hwnd, uint32_t, uintptr_t)> hook;  // extra behaviour, run after the message is recorded

intptr_t recording_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    seen.push_back({hwnd, msg, wparam, lparam, ws::message_time()});
    if (hook) hook(hwnd, msg, wparam);
    return ws::def_window_proc(hwnd, msg, wparam, lparam);
}

// A reset layer with the recording class and one 100 x 100 window `w` at the screen's corner, its first paint done.
struct Messages : ::testing::Test {
    void SetUp() override {
        ws::test::reset();
        hook = nullptr;
        const ws::WindowClass rec{"Rec", recording_proc, 0, ws::IDC_ARROW, 0xFFFFFF};
        ASSERT_TRUE(ws::class_registered("Rec") || ws::register_class(rec));
        w = top(0);
        ws::test::pump();
        seen.clear();
    }
    void TearDown() override { ws::test::reset(); }
    ws::Hwnd top(int32_t x) {
        const ws::Hwnd hwnd = ws::create_window("Rec", "top", ws::WS_POPUP | ws::WS_VISIBLE, x, 0, 100, 100, 0, 0);
        EXPECT_NE(hwnd, 0);
        return hwnd;
    }
    ws::Hwnd w = 0;
};

// The loop, thread messages, timers, the part to paint, mouse moves and capture, keys, pop-up menus, accelerators,
// owned windows and sound as the scripts of data/messages.txt, on the windows the scripts name ("w" made first).
class WsScript : public Messages, public testsupport::BasicInterpreter {
protected:
    ws::Hwnd h(const std::string& name) const { return name == "0" ? 0 : windows_.at(name); }
    std::string name_of(ws::Hwnd hwnd) const {
        for (const auto& [name, v] : windows_)
            if (v == hwnd) return name;
        return n(int64_t(hwnd));
    }
    uint32_t u(const Args& a, size_t k) const { return uint32_t(value(a.at(k))); }
    std::map<std::string, ws::Hwnd> windows_;
    ws::Msg m_;
    ws::Hmenu file_ = 0;
    uint32_t t0_ = 0;

public:
    WsScript() {
        names_ = {{"A", MSG_A}, {"B", MSG_B}, {"paint", ws::WM_PAINT}, {"timer", ws::WM_TIMER}, {"char", ws::WM_CHAR},
                  {"move", ws::WM_MOUSEMOVE}, {"down", ws::WM_LBUTTONDOWN}, {"up", ws::WM_LBUTTONUP},
                  {"keydown", ws::WM_KEYDOWN}, {"keyup", ws::WM_KEYUP}, {"lost", ws::WM_CAPTURECHANGED},
                  {"destroy", ws::WM_DESTROY}, {"command", ws::WM_COMMAND}, {"moved", ws::WM_MOVE},
                  {"quit", ws::WM_QUIT}, {"null", ws::WM_NULL}, {"shift", ws::VK_SHIFT}, {"control", ws::VK_CONTROL},
                  {"escape", ws::VK_ESCAPE}, {"R", 'R'}, {"O", 'O'}, {"r", 'r'}, {"mk_shift", ws::MK_SHIFT},
                  {"sync", ws::SND_SYNC}, {"async_nostop", ws::SND_ASYNC | ws::SND_NOSTOP}};
        const auto style = [](const std::string& s) {  // child (shown), owned (hidden) or framed (shown)
            return s == "child" ? uint32_t(ws::WS_CHILD | ws::WS_VISIBLE)
                                : ws::WS_OVERLAPPEDWINDOW | (s == "framed" ? uint32_t(ws::WS_VISIBLE) : 0u);
        };
        actions_ = {
            {"top", [this](const Args& a) { windows_[a[0]] = top(i(a, 1)); }},
            {"create", [this, style](const Args& a) {  // NAME STYLE PARENT W H [menu]
                windows_[a[0]] = ws::create_window("Rec", a[0], style(a[1]), 0, 0, i(a, 3), i(a, 4), h(a[2]),
                                                   a.size() > 5 ? ws::load_menu("TEST_MENU") : 0);
            }},
            {"clear", [](const Args&) { seen.clear(); }},
            {"mark", [this](const Args&) { t0_ = ws::tick_count(); }},
            {"pump", [](const Args&) { ws::test::pump(); }},
            {"advance", [this](const Args& a) { ws::test::advance(u(a, 0)); }},
            {"post", [this](const Args& a) {  // [refused]: the window is gone and the post is refused
                ASSERT_EQ(ws::post_message(h(a[0]), u(a, 1), u(a, 2), i(a, 3)), a.size() < 5);
            }},
            {"quit", [this](const Args& a) { ws::post_quit_message(i(a, 0)); }},
            {"invalidate", [this](const Args& a) {  // WIN [L T R B]
                const Rect r = a.size() > 4 ? Rect{i(a, 1), i(a, 2), i(a, 3), i(a, 4)} : Rect{};
                ws::invalidate_rect(h(a[0]), a.size() > 4 ? &r : nullptr, false);
            }},
            {"loop", [this](const Args& a) {  // [WIN]: with the accelerators of IDM_ACCEL for that window
                const ws::Haccel accel = ws::load_accelerators("IDM_ACCEL");
                while (ws::get_message(m_))
                    if (a.empty() || !ws::translate_accelerator(h(a[0]), accel, m_)) ws::dispatch_message(m_);
            }},
            {"timer", [this](const Args& a) { ws::set_timer(h(a[0]), u(a, 1), u(a, 2)); }},
            {"mouse", [this](const Args& a) {  // MSG X Y [KEYS], at a screen point
                ws::test::mouse(u(a, 0), {i(a, 1), i(a, 2)}, a.size() > 3 ? u(a, 3) : 0);
            }},
            {"capture", [this](const Args& a) { ws::set_capture(h(a[0])); }},
            {"destroy", [this](const Args& a) { ws::destroy_window(h(a[0])); }},
            {"focus", [this](const Args& a) { ws::set_focus(h(a[0])); }},
            {"key", [this](const Args& a) { ws::test::key(u(a, 0), u(a, 1)); }},  // keydown|keyup VK
            {"menu", [this](const Args&) {  // TEST_MENU, whose file menu the pop-ups show
                ws::register_menu_resource("TEST_MENU", {{"ﾌｧｲﾙ(&F)", 0, {{"開く(&O)\tCtrl+O", 200}, {"終了(&X)", 210}}}});
                file_ = ws::get_sub_menu(ws::load_menu("TEST_MENU"), 0);
            }},
            {"gray", [this](const Args& a) { ws::enable_menu_item(file_, u(a, 0), ws::MF_BYCOMMAND | ws::MF_GRAYED); }},
            {"answer", [this](const Args& a) { ws::test::push_menu_answer(u(a, 0)); }},
            {"chain", [](const Args&) {  // timer 1's tick posts five A in a chain; a timer stops when it ticks
                hook = [chain = 0](ws::Hwnd h, uint32_t msg, uintptr_t wp) mutable {
                    if ((msg == ws::WM_TIMER && wp == 1) || (msg == MSG_A && ++chain < 5)) ws::post_message(h, MSG_A, 0, 0);
                    if (msg == ws::WM_TIMER) ws::kill_timer(h, wp);
                };
            }},
            {"die_on_size", [](const Args&) {
                hook = [](ws::Hwnd h, uint32_t msg, uintptr_t) { if (msg == ws::WM_SIZE) ws::destroy_window(h); };
            }},
        };
        probes_ = {
            {"quit_requested", [](const Args&) {
                int32_t code = -1;
                const bool asked = ws::test::quit_requested(&code);
                return n(asked) + " " + n(asked ? code : -1);
            }},
            {"last", [this](const Args& a) {  // the loop's last message [p: and its wparam]
                return n(m_.message) + (a.empty() ? "" : " " + n(int64_t(m_.wparam)));
            }},
            {"peek", [this](const Args& a) {  // keep|remove: whether one was there, its window, message and params
                if (!ws::peek_message(m_, a[0] == "keep" ? ws::PM_NOREMOVE : ws::PM_REMOVE)) return std::string("0");
                return "1 " + name_of(m_.hwnd) + " " + n(m_.message) + " " + n(int64_t(m_.wparam)) + " " + n(m_.lparam);
            }},
            {"dispatch", [this](const Args&) { return n(ws::dispatch_message(m_)); }},
            {"translate", [this](const Args& a) {  // WIN VK, as a key down
                ws::Msg key{h(a[0]), ws::WM_KEYDOWN, u(a, 1), 1, 0};
                return n(ws::translate_message(key));
            }},
            {"kill", [this](const Args& a) { return n(ws::kill_timer(h(a[0]), u(a, 1))); }},
            {"seen", [this](const Args& a) {  // FIELDS MSG... (or any): w window, m message, p wparam, x y the
                std::string out;               // point in lparam, r the repeat bit, t ms since mark
                for (const Seen& s : seen) {
                    if (a[1] != "any" && std::none_of(a.begin() + 1, a.end(), [&](const std::string& k) {
                            return u({k}, 0) == s.msg;
                        }))
                        continue;
                    for (const char f : a[0])
                        out += (f == 'w' ? name_of(s.hwnd) : f == 'm' ? n(s.msg) : f == 'p' ? n(int64_t(s.wparam))
                                : f == 'x' ? n(ws::lparam_x(s.lparam)) : f == 'y' ? n(ws::lparam_y(s.lparam))
                                : f == 'r' ? n(s.lparam >> 30 & 1) : n(s.time - t0_)) + " ";
                }
                return out;
            }},
            {"update", [this](const Args& a) {  // the part to paint, or none
                Rect r;
                return ws::get_update_rect(h(a[0]), r) ? sides(r) : "none";
            }},
            {"validate", [this](const Args& a) {  // WIN [L T R B]: validated, then what is left to paint
                const Rect r{i(a, 1), i(a, 2), i(a, 3), i(a, 4)};
                const std::string validated = n(ws::validate_rect(h(a[0]), &r));
                return validated + " " + probes_.at("update")({a[0]});
            }},
            {"capture", [this](const Args&) { return name_of(ws::get_capture()); }},
            {"key_state", [this](const Args& a) {
                const int32_t state = ws::get_key_state(i(a, 0));
                return state < 0 ? "down" : n(state);
            }},
            {"track", [this](const Args& a) {  // the command the file menu's pop-up gives, for window WIN
                return n(ws::track_popup_menu(file_, ws::TPM_RETURNCMD, 0, 0, h(a[0])));
            }},
            {"parent", [this](const Args& a) { return name_of(ws::get_parent(h(a[0]))); }},
            {"is_window", [this](const Args& a) { return n(ws::is_window(h(a[0]))); }},
            {"move", [this](const Args& a) { return n(ws::move_window(h(a[0]), 0, 0, i(a, 1), i(a, 2), true)); }},
            {"shorter", [this](const Args& a) {  // whether A's client area is lower than B's
                return n(ws::get_client_rect(h(a[0])).height() < ws::get_client_rect(h(a[1])).height());
            }},
            {"play", [this](const Args& a) {  // whether the game's joining sound played with those flags
                return n(ws::play_wave(std::string(ZELTO_SOURCE_DIR) + "/data/SOUND/joint.wav", u(a, 0)));
            }},
        };
    }
    void SetUp() override {
        Messages::SetUp();
        windows_ = {{"w", w}};
    }
};
TEST_P(WsScript, Runs) { run(); }
INSTANTIATE_TEST_SUITE_P(Messages, WsScript, ::testing::ValuesIn(testsupport::read_scripts("ws/data/messages.txt")),
                         WsScript::name);

// Text lands inside its box, clipped to the surface; only opaque text fills the box with its background.
TEST_F(Messages, TextExtentsAndDrawingInsideTheBox) {
    const Size one = ws::text_extent("W"), three = ws::text_extent("WWW");
    EXPECT_TRUE(one.cx > 0 && three.cy == one.cy && three.cx > 2 * one.cx);
    EXPECT_GT(ws::text_extent("完成しました").cx, 5 * one.cx / 2) << "a CJK font is found";
    EXPECT_EQ(ws::text_extent("").cx, 0);
    const ws::TextMetrics m = ws::text_metrics();
    EXPECT_EQ(std::pair(m.height, m.ascent + m.descent), std::pair(one.cy, one.cy));

    const std::tuple<std::string, int32_t, int32_t, bool> cases[] = {
        {"zelto 完成", 10, 5, false}, {"ABC", 4, 2, true}, {"Hg", 0, 0, false}, {"WWWWWWWW", -7, 30, true},
        {"x", 500, 500, true}, {"x", -500, 0, true}, {"\xe5\xae\x8c\xff\x80z", 60, 20, true}};  // bad UTF-8
    for (const auto& [text, x, y, opaque] : cases) {
        SCOPED_TRACE(text);
        std::vector<uint32_t> s(120 * 40, 0x00FFFFFF);
        ws::draw_text(s.data(), 120, 40, x, y, text, 0x000000FF, 0x00FF0000, opaque);  // red on blue
        const Size box = ws::text_extent(text);
        int in = 0, out = 0;  // changed pixels inside and outside the box; blue ones only behind opaque text
        for (size_t i = 0; i < s.size(); ++i) {
            const int32_t c = int32_t(i % 120), r = 39 - int32_t(i / 120);
            if (s[i] != 0x00FFFFFF) (c >= x && c < x + box.cx && r >= y && r < y + box.cy ? in : out)++;
            EXPECT_TRUE(s[i] == 0xFFFFFF || s[i] == 0xFF0000 || (opaque && s[i] == 0x0000FF)) << std::hex << s[i];
        }
        EXPECT_EQ(out, 0);
        EXPECT_EQ(in > 0, x < 120 && y < 40 && x + box.cx > 0);
        if (opaque && x >= 0 && x + box.cx <= 120 && y + box.cy <= 40) {
            EXPECT_EQ(in, box.cx * box.cy) << "opaque text fills its whole box";
        }
    }
    ws::draw_text(nullptr, 10, 10, 0, 0, "x", 0, 0, true);
}

// A copied bitmap comes back pixel for pixel, row order included, into a surface that had another size.
TEST_F(Messages, ClipboardBitmapsComeBackWhole) {
    MemDC src, out;
    EXPECT_FALSE(ws::clipboard_has_bitmap() || ws::clipboard_get_bitmap(out));
    src.create(BIT_SCREEN, 7, 5);
    for (int32_t i = 0; i < 35; ++i) src.words()[i] = uint32_t(i * 0x010203);  // every pixel its own colour
    ASSERT_TRUE(ws::clipboard_set_bitmap(src));
    EXPECT_TRUE(ws::clipboard_has_bitmap() && !ws::clipboard_has_files());
    out.create(BIT_SCREEN, 2, 2);
    ASSERT_TRUE(ws::clipboard_get_bitmap(out));
    ASSERT_EQ(std::pair(out.width(), out.height()), std::pair(7, 5));
    EXPECT_TRUE(std::equal(src.words(), src.words() + 35, out.words()));
}

}  // namespace
