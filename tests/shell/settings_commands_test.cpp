// The menu's setting commands as the player meets them (the scripts of data/settings_commands.txt): the marks they
// set, the settings file they lead to, the windows they open (the picture list for a background, the guide, the
// piece shape chooser with what it draws) and what the desk then shows.
#include "play/jigwin_support.h"
#include "shell/menu.h"
#include "shell/state.h"

namespace {

using testsupport::at;

// The open window titled `title` ("game" for the game window), or 0.
ws::Hwnd titled(const std::string& title) {
    for (ws::Hwnd h = 1; title != "game" && h < 4096; ++h)
        if (ws::is_window(h) && ws::get_window_text(h) == title) return h;
    return title == "game" ? ::play.game_window : 0;
}

// What a window shows at (x, y) after painting, by name where the game has one for the colour.
std::string shown_at(ws::Hwnd h, int32_t x, int32_t y) {
    ws::paint_at_once(h, nullptr);
    const uint32_t word = at(*ws::client_surface(h), x, y) & 0xFFFFFF;
    const std::map<uint32_t, std::string> names = {{0xFFFFFF, "white"}, {0, "black"}, {0xFF0000, "red"},
        {0x0000FF, "blue"}, {0x9696FF, "lightblue"}, {0x96FF96, "lightgreen"}, {0x808080, "grey"},
        {0x00B000, "arrow"}, {0x90FF90, "lit"}};
    return names.count(word) ? names.at(word) : std::to_string(word);
}

// Game-window words, pieces' rectangles left out, unlike the picture `name` repeated from the window's top left or
// centred on the grey desk.
int32_t unlike_back(const std::string& name, bool centred) {
    MemDC p;
    if (p.create(BIT_SCREEN, 1, 1), !p.load_picture(name.c_str())) return -1;
    ws::paint_at_once(::play.game_window, nullptr);
    const MemDC& shown = *ws::client_surface(::play.game_window);
    const int32_t w = p.width(), h = p.height(), x0 = centred ? shown.width() / 2 - w / 2 : 0;
    const int32_t y0 = centred ? shown.height() / 2 - h / 2 : 0;
    int32_t bad = 0;
    for (int32_t y = 0; y < shown.height(); ++y)
        for (int32_t x = 0; x < shown.width(); ++x) {
            const Rect dot{x + desk.view_x, y + desk.view_y, x + desk.view_x + 1, y + desk.view_y + 1};
            bool on_piece = false;
            for (int32_t k = 0; ::play.current_game && k < ::play.current_game->item_count; ++k)
                on_piece |= !intersect_rect(::play.current_game->items[k].piece->rect, dot).empty();
            const int32_t px = centred ? x - x0 : x % w, py = centred ? y - y0 : y % h;
            const bool inside = px >= 0 && py >= 0 && px < w && py < h;
            bad += !on_piece && (at(shown, x, y) & 0xFFFFFF) != (inside ? at(p, px, py) & 0xFFFFFF : 0x808080u);
        }
    return bad;
}

class SettingsCommands : public jigwintest::WindowScript {
    std::vector<uint32_t> snapped_;

public:
    SettingsCommands() {
        actions_.insert({
            {"looping", [](const Args&) { ::play.sound_looping = 1; }},
            {"snap", [this](const Args&) { snapped_ = words_shown(); }},
            {"send", [](const Args& a) {  // TITLE MESSAGE [X Y]: a message (at a client point) to that window
                static const std::map<std::string, std::pair<uint32_t, uintptr_t>> kinds = {
                    {"down", {ws::WM_LBUTTONDOWN, 0}}, {"up", {ws::WM_LBUTTONUP, 0}},
                    {"move", {ws::WM_MOUSEMOVE, ws::MK_LBUTTON}}, {"leave", {ws::WM_MOUSELEAVE, 0}},
                    {"close", {ws::WM_CLOSE, 0}}, {"escape", {ws::WM_KEYDOWN, ws::VK_ESCAPE}}};
                const auto [msg, wparam] = kinds.at(a[1]);
                ws::send_message(titled(a[0]), msg, wparam, a.size() > 3 ? ws::make_lparam(num(a[2]), num(a[3])) : 0);
                ws::test::pump();
            }},
        });
        probes_.insert({
            {"written", [](const Args& a) {  // the line of the settings file the end of the run writes for KEY [N]
                std::istringstream in(write_settings("written.txt") ? testsupport::read_file("written.txt") : "");
                for (std::string line, key = rest(a, 0); std::getline(in, line);)
                    if (line.rfind(key, 0) == 0 && std::isspace(uint8_t(line[key.size()]))) return line;
                return std::string("none");
            }},
            {"window", [](const Args& a) {  // TITLE: visible, and its outer size; or none
                const ws::Hwnd h = titled(a[0]);
                const Rect r = ws::get_window_rect(h);
                return h ? n(ws::is_window_visible(h)) + " " + n(r.width()) + " " + n(r.height()) : "none";
            }},
            {"pixel", [](const Args& a) {  // TITLE X Y...: what the window shows there
                std::string out;
                for (size_t k = 1; k + 1 < a.size(); k += 2)
                    out += shown_at(titled(a[0]), num(a[k]), num(a[k + 1])) + " ";
                return out;
            }},
            {"hash", [](const Args& a) {  // TITLE X0 Y0 X1 Y1: a fingerprint of what the window shows there
                const ws::Hwnd h = titled(a[0]);
                ws::paint_at_once(h, nullptr);
                uint64_t hash = 1469598103934665603ull;
                for (int32_t y = num(a[2]); y < num(a[4]); ++y)
                    for (int32_t x = num(a[1]); x < num(a[3]); ++x)
                        hash = (hash ^ (at(*ws::client_surface(h), x, y) & 0xFFFFFF)) * 1099511628211ull;
                if (const char* folder = std::getenv("ZELTO_SHOT")) {  // the rectangle for a person to look at
                    std::snprintf(graphics.bmp_name, sizeof graphics.bmp_name, "%s/%llx.bmp", folder, (long long)hash);
                    const int32_t x0 = num(a[1]), y0 = num(a[2]);
                    save_bmp(*ws::client_surface(h), x0, y0, num(a[3]) - x0, num(a[4]) - y0);
                }
                return n(int64_t(hash >> 1));
            }},
            {"unlike_back", [this](const Args& a) { return n(unlike_back(path(a[0]), a[1] == "cen")); }},
            {"changed", [this](const Args&) { return n(words_shown() != snapped_); }},
            {"listed", [](const Args&) { return ::play.view_folder + " " + n(int64_t(viewer.names.size())); }},
            {"stopped", [](const Args&) {  // sounds stopped, and whether one still loops
                const auto& s = ws::test::sounds();
                return n(std::count_if(s.begin(), s.end(), [](const auto& r) { return r.path.empty(); })) + " " +
                       n(::play.sound_looping);
            }},
        });
    }
    static std::vector<uint32_t> words_shown() {
        ws::paint_at_once(::play.game_window, nullptr);
        return testsupport::top_down(*ws::client_surface(::play.game_window));
    }
};
TEST_P(SettingsCommands, Run) { run(); }
INSTANTIATE_TEST_SUITE_P(Menu, SettingsCommands,
                         ::testing::ValuesIn(testsupport::read_scripts("shell/data/settings_commands.txt")),
                         SettingsCommands::name);

}  // namespace
