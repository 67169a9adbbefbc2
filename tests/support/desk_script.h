// Mouse scripts on pieces laid by hand, read from data files: set-up lines, mouse actions and expectations run
// against a DeskWindow, one test per script.
#pragma once
#include <cmath>
#include <map>

#include "desk/state.h"
#include "pieces/desk.h"
#include "play/state.h"
#include "support/cases.h"
#include "support/desk_window.h"

namespace testsupport {

class ScriptedDesk : public DeskWindow, public ::testing::WithParamInterface<Script> {
protected:
    using Values = std::vector<double>;
    static Jig& g() { return *play.current_game; }
    static Piece& piece(double i) { return *g().items[int32_t(i)].piece; }
    // Every item's value in display order, or only item a[0]'s.
    template <class F>
    static Values each(F f, const Values& a) {
        Values v;
        for (int32_t i = 0; i < g().item_count; ++i) v.push_back(f(g().items[i]));
        return a.empty() ? v : Values{v.at(size_t(a[0]))};
    }
    static uint32_t down(const Fields& f, size_t i) {
        const char b = f.size() > i ? f[i][0] : 'l';
        return b == 'r' ? ws::WM_RBUTTONDOWN : b == 'm' ? ws::WM_MBUTTONDOWN : ws::WM_LBUTTONDOWN;
    }
    static double number(const std::string& s) {
        static const std::map<std::string, double> named{{"back", kBack}, {"beyond", kBeyondDeskColour},
            {"white", kWhite}, {"left", SOUND_LEFT}, {"right", SOUND_RIGHT}, {"hanten", SOUND_HANTEN},
            {"sel", SOUND_SEL}, {"move", SOUND_MOVE}, {"draw", SOUND_GM_DRAW}, {"joint", SOUND_JOINT},
            {"end", SOUND_GM_END}, {"screen_w", ws::screen_width()}, {"screen_h", ws::screen_height()}};
        return named.count(s) ? named.at(s) : std::stod(s);
    }
    // What an expectation looks at, with its arguments.
    Values probe(const std::string& what, const Values& a) {
        if (what == "angle") return {piece(a[0]).angle * 180 / kPi};
        if (what == "turned") return {double(piece(a[0]).turned)};
        if (what == "offset") return {double(g().items[int32_t(a[0])].home_dx), double(g().items[int32_t(a[0])].join_dx)};
        if (what == "at") return {double(piece(a[0]).cx), double(piece(a[0]).cy)};
        if (what == "grab") return {double(piece(a[0]).grab_x - desk.view_x)};
        if (what == "xs") return each([](const Item& it) { return it.piece->cx; }, a);
        if (what == "ys") return each([](const Item& it) { return it.piece->cy; }, a);
        if (what == "ids") return each([](const Item& it) { return it.id; }, a);
        if (what == "banded") return each([](const Item& it) { return it.banded; }, a);
        if (what == "merged") return each([](const Item& it) { return it.merged; }, a);
        if (what == "hidden") return each([](const Item& it) { return it.hidden; }, a);
        if (what == "seen") return each([](const Item& it) { return it.seen; }, a);
        if (what == "shown" || what == "window" || what == "desk") {  // at each x y; "shown" paints first
            Values v;
            for (size_t i = 0; i + 1 < a.size(); i += 2)
                v.push_back(what == "desk" ? at(*desk.desk_image, int32_t(a[i]), int32_t(a[i + 1]))
                                           : shown(int32_t(a[i]), int32_t(a[i + 1]), what == "shown" && i == 0));
            return v;
        }
        if (what == "faults") return {double(desk_faults(g()))};
        if (what == "cachefaults") return {double(cache_faults(g()))};
        if (what == "sound") return {double(count_played(int32_t(a[0])))};
        if (what == "cached") return {double(g().under_cache != nullptr)};
        if (what == "relaid") {  // laid round its centre as a turn lays it
            const Rect r = piece(a[0]).rect;
            piece(a[0]).set_angle(piece(a[0]).angle);
            return {double(piece(a[0]).rect == r)};
        }
        if (what == "saved") return {double(play.game_saved)};
        if (what == "holding") return {double(g().holding)};
        if (what == "moved") return {double(play.moved_far)};
        if (what == "phase") return {double(play.button_phase)};
        if (what == "capture") return {double(ws::get_capture()), double(play.captured)};
        if (what == "view") return {double(desk.view_x), double(desk.view_y)};
        if (what == "scroll") return {double(desk.scroll_dx), double(desk.scroll_dy)};
        if (what == "range")
            return {double(display.range_state), double(display.range_x1), double(display.range_y1),
                    double(display.range_x2), double(display.range_y2)};
        if (what == "sweep") return {double(g().sweep_reset)};
        if (what == "selected") return {double(play.last_selected)};
        if (what == "tray") {  // messages to the tray; the last one's window, count of pieces and point
            Values v{double(tray_messages().size())};
            if (!tray_messages().empty()) {
                const ws::Msg& m = tray_messages().back();
                v.insert(v.end(), {double(m.hwnd == play.tray_window[3]), double(m.wparam),
                                   double(ws::lparam_x(m.lparam)), double(ws::lparam_y(m.lparam))});
            }
            return v;
        }
        Values v;
        if (!probe_more(what, a, v)) ADD_FAILURE() << "no probe " << what;
        return v;
    }
    // expect WHAT ARGS... = VALUES... [~TOLERANCE]
    void expect(const Fields& f) {
        Values args, want;
        double tolerance = 1e-9;
        bool after = false;
        for (size_t i = 2; i < f.size(); ++i)
            if (f[i] == "=") after = true;
            else if (f[i][0] == '~') tolerance = std::stod(f[i].substr(1));
            else (after ? want : args).push_back(number(f[i]));
        const Values got = probe(f[1], args);
        bool same = got.size() == want.size();
        for (size_t i = 0; same && i < got.size(); ++i) same = std::abs(got[i] - want[i]) <= tolerance;
        std::ostringstream shown_got;
        for (double v : got) shown_got << " " << v << " (0x" << std::hex << int64_t(v) << std::dec << ")";
        EXPECT_TRUE(same) << "got" << shown_got.str();
    }
    void act(const Fields& f) {
        const std::string& op = f[0];
        Values n;
        for (size_t i = 1; i < f.size(); ++i) n.push_back(std::isdigit(f[i][0]) || f[i][0] == '-' ? number(f[i]) : 0);
        const Point p = n.size() >= 2 ? Point{int32_t(n[0]), int32_t(n[1])} : Point{};
        if (op == "expect") return expect(f);
        if (op == "piece") {  // cx cy w h word [columns rows [word]]: a top-left block of another word, or white
            const uint32_t word = uint32_t(n[4]), other = n.size() > 7 ? uint32_t(n[7]) : kWhite;
            const int32_t cols = n.size() > 5 ? int32_t(n[5]) : 0, rows = n.size() > 6 ? int32_t(n[6]) : 0;
            add_piece(g(), p.x, p.y, int32_t(n[2]), int32_t(n[3]),
                      [=](int32_t x, int32_t y) { return x < cols && y < rows ? other : word; });
        } else if (op == "angle") piece(n[0]).set_angle(n[1] * kPi / 180);
        else if (op == "hidden") g().items[int32_t(n[0])].hidden = int32_t(n[1]);
        else if (op == "merged") g().items[int32_t(n[0])].merged = int32_t(n[1]);
        else if (op == "banded") g().items[int32_t(n[0])].banded = int32_t(n[1]);
        else if (op == "offset") g().items[int32_t(n[0])].home_dx = g().items[int32_t(n[0])].join_dx = int32_t(n[1]);
        else if (op == "picw") g().pic_w = int32_t(n[0]);
        else if (op == "draw") g().reset_sweep(), draw_desk(g());
        else if (op == "presenter") start_presenter(g());
        else if (op == "setting") read_setting_line(joined(Fields(f.begin() + 1, f.end())) + "\n");
        else if (op == "ctrl") play.ctrl_down = int32_t(n[0]);
        else if (op == "saved") play.game_saved = int32_t(n[0]);
        else if (op == "view") desk.view_x = p.x, desk.view_y = p.y;
        else if (op == "press") press(p, down(f, 3));
        else if (op == "release") release(p, down(f, 3) + 1);
        else if (op == "drag") drag(p);
        else if (op == "click") click(p, f.size() > 3 ? f[3][0] : 'l');
        else if (op == "wait") wait(uint32_t(n[0]));
        else if (op == "range") press(p), drag({int32_t(n[0] + n[2]) / 2, int32_t(n[1] + n[3]) / 2}),
                                drag({int32_t(n[2]), int32_t(n[3])}), release({int32_t(n[2]), int32_t(n[3])});
        else if (op == "space") g().show_unseen();
        else if (op == "sweep") g().sweep_reset = int32_t(n[0]);
        else if (op == "game") new_blank_game();
        else if (op == "tray")
            play.tray_window[3] = ws::create_window("TestTray", "", ws::WS_CHILD | ws::WS_VISIBLE, p.x, p.y, 120, 120,
                                                    play.main_window, 0);
        else if (!act_more(op, n)) ADD_FAILURE() << "no action " << op;
    }

    // A folder's own actions and probes; false when unknown.
    virtual bool act_more(const std::string&, const Values&) { return false; }
    virtual bool probe_more(const std::string&, const Values&, Values&) { return false; }

public:
    void run() {
        new_blank_game();
        for (const Fields& f : GetParam().lines) {
            SCOPED_TRACE(joined(f));
            act(f);
        }
    }
    static std::string name(const ::testing::TestParamInfo<Script>& info) { return info.param.name; }
};

}  // namespace testsupport
