// The message queue and loop: posted and sent messages, WM_PAINT and WM_TIMER generation, timers, quitting.
#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <deque>

#include "ws/ws_state.h"

namespace ws {
namespace detail {
namespace {

struct Timer {
    Hwnd hwnd = 0;
    uintptr_t id = 0;
    uint32_t period = 0;
    uint32_t due = 0;
};

struct Queue {
    std::deque<Msg> posted;  // posted messages and input, in arrival order
    std::vector<Timer> timers;
    bool quit = false;
    int32_t quit_code = 0;
    int32_t depth = 0;       // window procedures running (sent or dispatched)
};

Queue& queue() {
    static Queue q;
    return q;
}

bool due(uint32_t when, uint32_t now) { return int32_t(when - now) <= 0; }

Timer* earliest_due_timer(uint32_t now) {
    Timer* best = nullptr;
    for (Timer& t : queue().timers)
        if (due(t.due, now) && (!best || int32_t(t.due - best->due) < 0)) best = &t;
    return best;
}

// Input waits in Qt until we ask for it: this turns what has arrived into queued messages (and lets Qt paint).
void take_toolkit_events() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

// The next message in the classic order: posted messages and input, the quit request, WM_PAINT, WM_TIMER.
bool next_message(Msg& m, bool remove, bool keep_quit) {
    Queue& q = queue();
    take_toolkit_events();
    uint32_t now = tick_count();
    if (!q.posted.empty()) {
        m = q.posted.front();
        if (remove) q.posted.pop_front();
        return true;
    }
    if (q.quit) {
        m = {0, WM_QUIT, uintptr_t(intptr_t(q.quit_code)), 0, now};
        if (remove && !keep_quit) q.quit = false;
        return true;
    }
    for (Window* w : all_windows())
        if (wants_paint(*w)) {
            m = {w->hwnd, WM_PAINT, 0, 0, now};  // stays due until the window is painted
            return true;
        }
    if (Timer* t = earliest_due_timer(now)) {
        m = {t->hwnd, WM_TIMER, t->id, 0, now};
        if (remove) t->due = now + t->period;
        return true;
    }
    return false;
}

// Sleeps in Qt until input, a Qt event or the next timer.
void block() {
    static QTimer* waker = [] {
        auto* t = new QTimer();
        t->setSingleShot(true);
        t->setTimerType(Qt::PreciseTimer);
        return t;
    }();
    bool any = false;
    uint32_t next = next_timer_due(any);
    if (any) waker->start(int(std::max<int32_t>(int32_t(next - tick_count()), 0)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    waker->stop();
}

intptr_t call_proc(Window& w, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    Queue& q = queue();
    ++q.depth;
    intptr_t r = w.cls->proc(w.hwnd, msg, wparam, lparam);
    --q.depth;
    return r;
}

void tidy_if_outermost() {
    if (queue().depth == 0) collect_garbage();
}

uint32_t char_of_key(uint32_t vk, bool shift, bool ctrl) {
    if (vk >= 'A' && vk <= 'Z') return ctrl ? vk - 'A' + 1 : shift ? vk : vk + ('a' - 'A');
    if (vk >= '0' && vk <= '9' && !ctrl) return vk;
    switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_BACK: return 0x08;
    case VK_TAB: return 0x09;
    case VK_ESCAPE: return 0x1B;
    default: return 0;
    }
}

}  // namespace

void enqueue(const Msg& m) {
    std::deque<Msg>& p = queue().posted;
    // A pointer that moved twice before the program looked is where it is now.
    if (m.message == WM_MOUSEMOVE && !p.empty() && p.back().message == WM_MOUSEMOVE && p.back().hwnd == m.hwnd &&
        p.back().wparam == m.wparam) {
        p.back() = m;
        return;
    }
    p.push_back(m);
}

void forget_window(Hwnd hwnd) {
    std::vector<Timer>& t = queue().timers;
    t.erase(std::remove_if(t.begin(), t.end(), [hwnd](const Timer& x) { return x.hwnd == hwnd; }), t.end());
}

void reset_queue() {
    Queue& q = queue();
    q.posted.clear();
    q.timers.clear();
    q.quit = false;
    q.quit_code = 0;
}

uint32_t next_timer_due(bool& any) {
    any = false;
    uint32_t best = 0;
    for (const Timer& t : queue().timers)
        if (!any || int32_t(t.due - best) < 0) {
            best = t.due;
            any = true;
        }
    return best;
}

}  // namespace detail

using namespace detail;

bool post_message(Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    if (hwnd != 0 && !find_window(hwnd)) return false;
    enqueue({hwnd, msg, wparam, lparam, tick_count()});
    return true;
}

intptr_t send_message(Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    Window* w = find_window(hwnd);
    return w ? call_proc(*w, msg, wparam, lparam) : 0;
}

void post_quit_message(int32_t exit_code) {
    queue().quit = true;
    queue().quit_code = exit_code;
}

bool get_message(Msg& msg) {
    tidy_if_outermost();
    for (;;) {
        if (next_message(msg, true, false)) {
            layer().message_time = msg.time;
            return msg.message != WM_QUIT;
        }
        if (layer().test) {  // nothing left and nobody to move the clock: the loop ends instead of hanging
            msg = {};
            return false;
        }
        block();
    }
}

bool peek_message(Msg& msg, uint32_t remove) {
    tidy_if_outermost();
    if (!next_message(msg, remove & PM_REMOVE, false)) return false;
    if (remove & PM_REMOVE) layer().message_time = msg.time;
    return true;
}

void wait_message() {
    Msg m;
    if (layer().test || next_message(m, false, false)) return;
    block();
}

bool translate_message(const Msg& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    uint32_t c = char_of_key(uint32_t(msg.wparam), msg.keys & MK_SHIFT, msg.keys & MK_CONTROL);
    if (c == 0) return false;
    // The character comes next, before anything that arrived after the key.
    queue().posted.push_front({msg.hwnd, WM_CHAR, c, msg.lparam, msg.time, msg.keys});
    return true;
}

intptr_t dispatch_message(const Msg& msg) {
    Window* w = find_window(msg.hwnd);
    if (!w) return 0;
    if (msg.message == WM_TIMER) {
        auto& t = queue().timers;
        bool alive = std::any_of(t.begin(), t.end(), [&](const Timer& x) { return x.hwnd == msg.hwnd && x.id == msg.wparam; });
        if (!alive) return 0;  // killed after it was taken
    }
    Rect before = w->invalid;
    intptr_t r = call_proc(*w, msg.message, msg.wparam, msg.lparam);
    if (msg.message == WM_PAINT) after_paint_dispatch(msg.hwnd, before);
    return r;
}

uintptr_t set_timer(Hwnd hwnd, uintptr_t id, uint32_t ms) {
    if (!find_window(hwnd)) return 0;
    ms = std::max<uint32_t>(ms, 10);  // the platform's shortest period
    uint32_t when = tick_count() + ms;
    for (Timer& t : queue().timers)
        if (t.hwnd == hwnd && t.id == id) {
            t.period = ms;
            t.due = when;
            return id ? id : 1;
        }
    queue().timers.push_back({hwnd, id, ms, when});
    return id ? id : 1;
}

bool kill_timer(Hwnd hwnd, uintptr_t id) {
    std::vector<Timer>& t = queue().timers;
    auto it = std::find_if(t.begin(), t.end(), [&](const Timer& x) { return x.hwnd == hwnd && x.id == id; });
    if (it == t.end()) return false;
    t.erase(it);
    return true;
}

namespace test {

int32_t pump() {
    tidy_if_outermost();
    int32_t n = 0;
    Msg m;
    // A program that keeps posting to itself forever would never let a test go on: stop after a generous number.
    while (n < 1000000 && next_message(m, true, true)) {
        if (m.message == WM_QUIT) break;
        layer().message_time = m.time;
        dispatch_message(m);
        ++n;
    }
    tidy_if_outermost();
    return n;
}

void advance(uint32_t ms) {
    Layer& l = layer();
    uint32_t target = l.virtual_now + ms;
    pump();
    for (;;) {
        bool any = false;
        uint32_t next = next_timer_due(any);
        // Still due after a pump means the pump gave up: stop rather than spin.
        if (!any || int32_t(next - target) > 0 || int32_t(next - l.virtual_now) <= 0) break;
        l.virtual_now = next;
        pump();
    }
    l.virtual_now = target;
    pump();
}

bool quit_requested(int32_t* exit_code) {
    if (exit_code && queue().quit) *exit_code = queue().quit_code;
    return queue().quit;
}

}  // namespace test
}  // namespace ws
