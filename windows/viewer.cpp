// The picture list window "ViewWin": creation and closing with its loader, the timers, the pointer, the click that
// hands a file to the opener, and "削除", which asks and then moves a file to the trash.
#include "windows/viewer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "graphics/hooks.h"
#include "graphics/trace.h"
#include "play/companions.h"
#include "play/jigwin.h"
#include "play/save.h"
#include "play/state.h"
#include "windows/device_draw.h"
#include "windows/viewer_state.h"
#include "ws/tr.h"

Viewer viewer;

namespace {

constexpr const char* kClassName = "ViewWin";
constexpr const char* kMenuName = "IDM_VIEW_RMENU";
constexpr uint32_t kDeleteCommand = 400;
constexpr uintptr_t kPollTimer = 0xF501, kBlinkTimer = 0xF504, kRepeatTimer = 0xF505;
constexpr uint32_t kStyle = ws::WS_CHILD | ws::WS_CAPTION | ws::WS_THICKFRAME | ws::WS_SYSMENU |
                            ws::WS_MINIMIZEBOX | ws::WS_MAXIMIZEBOX;
constexpr const char* kTooManyText = ZT_NOOP("windows", "1000個以上のファイルは無視します。");
constexpr const char* kDeleteQuestion = ZT_NOOP("windows", "%sを削除しますか？");
constexpr const char* kNoTrashQuestion = ZT_NOOP("windows", "%sをごみ箱に移せません。\n完全に削除しますか？");
constexpr const char* kNotDeletedText = ZT_NOOP("windows", "%sを削除できませんでした。");
constexpr const char* kConfirmTitle = ZT_NOOP("windows", "確認");

intptr_t viewer_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam);

void register_viewer_class() {
    if (ws::class_registered(kClassName)) return;
    ws::WindowClass wc;
    wc.name = kClassName;
    wc.proc = viewer_proc;
    wc.cursor = ws::IDC_ARROW;
    ws::register_class(wc);
    ws::register_menu_resource(kMenuName, {{"", 0, {{ws::tr("windows", "削除"), kDeleteCommand}}, true}});
}

int32_t count() { return int32_t(viewer.thumbs.size()); }
bool valid(int32_t i) { return i >= 0 && i < count(); }

void on_create(ws::Hwnd hwnd) {
    play.list_window = hwnd;
    // The strip and the thumbnails hold the screen's own pixels, so a thumbnail shows the picture's detail; the
    // layout stays in client pixels (viewer_draw.cpp draws it through device_draw.h).
    ws::use_device_pixels(hwnd);
    const Rect outer = ws::adjust_window_rect({0, 0, kStripW, kStripH}, kStyle, false);
    ws::move_window(hwnd, 0, 0, outer.width(), outer.height(), true);
    const Rect strip = ws::device_rect(hwnd, {0, 0, kStripW, kStripH});
    viewer.strip.create(BIT_SCREEN, strip.right, strip.bottom);
    fill_on_device(viewer.strip, hwnd, {0, 0, kStripW, kStripH}, kListBackground);
    make_button_images();
    viewer.first_shown = viewer.hover = viewer.blink = viewer.scroll_dir = 0;
    viewer.menu_index = -1;
    // The list is taken here, so the window and the worker each hold their own copy of it from the start.
    bool over_limit = false;
    viewer.names = list_folder(play.view_folder, play.view_title == kViewBackground, over_limit);
    viewer.notice_due = over_limit;
    viewer.loading = true;
    viewer.loader.start(viewer.names, ws::device_rect(hwnd, {0, 0, kThumbSide, kThumbSide}).right);
    draw_strip();
    ws::set_timer(hwnd, kPollTimer, 100);
    ws::set_timer(hwnd, kBlinkTimer, 400);
}

// Stops the worker and frees everything; both closing and a destruction without a close come here.
void shut_down(ws::Hwnd hwnd) {
    if (play.list_window != hwnd) return;
    ws::kill_timer(hwnd, kPollTimer);
    ws::kill_timer(hwnd, kBlinkTimer);
    ws::kill_timer(hwnd, kRepeatTimer);
    viewer.loader.stop();
    viewer.thumbs.clear();
    viewer.labels.clear();
    viewer.names.clear();
    viewer.strip.destroy();
    for (MemDC& b : viewer.buttons) b.destroy();
    viewer.loading = false;
    play.list_window = 0;
}

void take_thumbnail() {
    auto thumb = std::make_unique<MemDC>();
    const int32_t side = viewer.loader.out().width();
    thumb->create(BIT_SCREEN, side, side);
    thumb->blit(0, 0, side, side, viewer.loader.out(), 0, 0, SRCCOPY);
    thumb->release_dc();
    viewer.loader.out().release_dc();
    viewer.loader.next();
    const std::string& name = viewer.names[viewer.thumbs.size()];
    int32_t items = 0;
    const bool saved = file_kind(name) == FileKind::saved_game && peek_item_count(name, items);
    viewer.labels.push_back(saved ? items - 1 : -1);
    viewer.thumbs.push_back(std::move(thumb));
    if (count() <= kSlots + 1) {
        viewer.first_shown = 0;
        draw_strip();
    }
}

void on_poll(ws::Hwnd hwnd) {
    if (viewer.notice_due) {
        viewer.notice_due = false;
        ws::message_box(0, ws::tr("windows", kTooManyText), "zelto", ws::MB_OK);
    }
    switch (viewer.loader.poll()) {
    case ThumbLoader::Poll::thumbnail: take_thumbnail(); break;
    case ThumbLoader::Poll::finished:
        viewer.loading = false;
        ws::kill_timer(hwnd, kPollTimer);
        break;
    case ThumbLoader::Poll::nothing: break;
    }
}

void scroll(int32_t dir) {
    if (dir < 0 && viewer.first_shown > 0) {
        --viewer.first_shown;
        draw_strip();
    } else if (dir > 0 && viewer.first_shown + kSlots <= count() - 1) {
        ++viewer.first_shown;
        draw_strip();
    }
}

void on_move(int32_t x, int32_t y) {
    if (y >= kThumbSide) {
        set_hover(x >= 200 ? kHoverRight : kHoverLeft);
        return;
    }
    const int32_t slot = x / kThumbSide;
    set_hover(x >= 0 && valid(viewer.first_shown + slot) ? slot + 1 : 0);
}

void on_left_down(ws::Hwnd hwnd, int32_t x, int32_t y) {
    ws::set_capture(hwnd);  // the repeat stops on the release even outside the window
    if (y >= kThumbSide) {  // the arrow band starts where the thumbnails end, as hovering lights it
        viewer.scroll_dir = x < 200 ? -1 : 1;
        scroll(viewer.scroll_dir);
    }
    ws::set_timer(hwnd, kRepeatTimer, 200);
}

void on_left_up(ws::Hwnd hwnd, int32_t x, int32_t y) {
    ws::kill_timer(hwnd, kRepeatTimer);
    viewer.scroll_dir = 0;
    if (ws::get_capture() == hwnd) ws::release_capture();
    const int32_t i = viewer.first_shown + x / kThumbSide;
    if (y >= kThumbSide || x <= 0 || x >= kStripW || !valid(i)) return;
    play.view_result = viewer.names[size_t(i)];
    if (!ws::post_message(viewer.parent, IDM_VIEW_END, 0, 0))
        fatal_error(module_name(Where::current()), __LINE__, "PostMessage IDM_VIEW_END", 0);
    set_hover(0);
}

void on_right_up(ws::Hwnd hwnd, int32_t x, int32_t y) {
    if (y >= kThumbSide || x < 0) return;
    viewer.menu_index = viewer.first_shown + x / kThumbSide;
    if (!valid(viewer.menu_index)) return;
    const ws::Hmenu menu = ws::load_menu(kMenuName);
    const Point at = ws::client_to_screen(hwnd, {x, y});
    ws::track_popup_menu(ws::get_sub_menu(menu, 0), ws::TPM_LEFTALIGN | ws::TPM_RIGHTBUTTON, at.x, at.y, hwnd);
    ws::destroy_menu(menu);
}

// A text with the file's name in it, in the player's language.
std::string naming(const char* format, const std::string& name) {
    char text[1024];
    std::snprintf(text, sizeof text, ws::tr("windows", format).c_str(), name.c_str());
    return text;
}

// Where no trash takes the file, it goes for good only at the player's word; false while it is still there.
bool delete_for_good(ws::Hwnd hwnd, const std::string& path, const std::string& name) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return true;  // gone already: only its entry is left to remove
    if (ws::message_box(hwnd, naming(kNoTrashQuestion, name), ws::tr("windows", kConfirmTitle), ws::MB_YESNO) !=
        ws::IDYES)
        return false;
    if (std::filesystem::remove(path, ec)) return true;
    ws::message_box(hwnd, naming(kNotDeletedText, name), "zelto", ws::MB_OK);
    return false;
}

// "削除": asked first, the file goes to the trash; its thumbnail and name leave the list together. A file that
// stays on disk stays listed.
void delete_entry(ws::Hwnd hwnd) {
    set_hover(0);
    const int32_t i = viewer.menu_index;
    if (!valid(i)) return;
    const std::string listed = viewer.names[size_t(i)];
    std::string path = listed;
    std::error_code ec;
    if (path.empty() || path[0] != '/') path = (std::filesystem::current_path(ec) / path).string();
    const std::string name = std::filesystem::path(path).filename().string();
    if (ws::message_box(hwnd, naming(kDeleteQuestion, name), ws::tr("windows", kConfirmTitle), ws::MB_YESNO) !=
        ws::IDYES)
        return;
    // While the question was up the list went on loading, or closed.
    if (!valid(i) || viewer.names[size_t(i)] != listed) return;
    if (!ws::move_to_trash(path) && !delete_for_good(hwnd, path, name)) return;
    viewer.thumbs.erase(viewer.thumbs.begin() + i);
    viewer.labels.erase(viewer.labels.begin() + i);
    viewer.names.erase(viewer.names.begin() + i);
    viewer.first_shown = std::max(0, std::min(viewer.first_shown, count() - kSlots));
    fill_on_device(viewer.strip, hwnd, {0, 0, kStripW, kStripH}, kListBackground);
    draw_strip();
    if (!viewer.loading) blink_indicator();
}

void on_paint(ws::Hwnd hwnd) {
    ws::PaintStruct ps;
    MemDC* dc = ws::begin_paint(hwnd, ps);
    if (!dc) return;
    const Rect r = ws::device_rect(hwnd, ps.paint);
    if (viewer.strip.created()) dc->blit(r.left, r.top, r.width(), r.height(), viewer.strip, r.left, r.top, SRCCOPY);
    viewer.strip.release_dc();
    ws::end_paint(hwnd, ps);
}

void on_timer(ws::Hwnd hwnd, uintptr_t id) {
    if (id == kPollTimer) on_poll(hwnd);
    if (id == kBlinkTimer && !blink_indicator()) ws::kill_timer(hwnd, kBlinkTimer);
    if (id == kRepeatTimer && viewer.scroll_dir) {
        scroll(viewer.scroll_dir);
        set_hover(-1);
    }
}

intptr_t viewer_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    const int32_t x = ws::lparam_x(lparam), y = ws::lparam_y(lparam);
    switch (msg) {
    case ws::WM_CREATE: on_create(hwnd); return 0;
    case ws::WM_CLOSE:
        shut_down(hwnd);
        ws::destroy_window(hwnd);
        return 0;
    case ws::WM_DESTROY: shut_down(hwnd); return 0;
    case ws::WM_PAINT: on_paint(hwnd); return 0;
    case ws::WM_TIMER: on_timer(hwnd, wparam); return 0;
    case ws::WM_MOUSEMOVE: on_move(x, y); return 0;
    case ws::WM_LBUTTONDOWN: on_left_down(hwnd, x, y); return 0;
    case ws::WM_LBUTTONUP: on_left_up(hwnd, x, y); return 0;
    case ws::WM_RBUTTONUP: on_right_up(hwnd, x, y); return 0;
    case ws::WM_MOUSELEAVE:
    case IDM_LIST_MOUSE: set_hover(0); return 0;
    case ws::WM_COMMAND:
        if ((wparam & 0xFFFF) == kDeleteCommand) delete_entry(hwnd);
        return 0;
    default: return ws::def_window_proc(hwnd, msg, wparam, lparam);
    }
}

}  // namespace

ws::Hwnd viewer_create(ws::Hwnd parent) {
    register_viewer_class();
    // One list at a time: its state is the program's.
    if (play.list_window) ws::send_message(play.list_window, ws::WM_CLOSE, 0, 0);
    viewer.parent = parent;
    const ws::Hwnd hwnd =
        ws::create_window(kClassName, ws::tr("play", play.view_title), kStyle, 10, 10, kStripW, kStripH, parent, 0);
    if (!hwnd) fatal_error(module_name(Where::current()), __LINE__, "CreateWindow", 0);
    ws::show_window(hwnd, ws::SW_SHOW);
    play.list_window = hwnd;
    return hwnd;
}
